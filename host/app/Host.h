// The one running substitute host: the composition root that builds the parts, wires the document
// model to its file format and the suites to the running parts, and tears it all down in order.
#pragma once

#include <memory>

#include "suites/SuiteContext.h"

namespace quiltor::host {

class Workspace;       // documents, the current document, the clipboard (model/Workspace.h)
class UserInterface;   // alerts, questions, the folder chooser, the transcript (ui/UserInterface.h)
class SuiteRegistry;   // suites by name and version, with test hooks (core/SuiteRegistry.h)
class ActionRegistry;  // action events by name (core/ActionRegistry.h)
class PluginManager;   // loaded plug-ins, messages, menus, notifiers (loader/PluginManager.h)

class Host {
public:
    // Builds a host with every suite registered; it becomes Current() until destroyed, and the
    // suites serve from it. Only one host exists at a time.
    explicit Host(std::unique_ptr<UserInterface> ui);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    static Host& Current();
    static bool Exists();

    Workspace& workspace() { return *workspace_; }
    UserInterface& ui() { return *ui_; }
    SuiteRegistry& suites() { return *suites_; }
    ActionRegistry& actions() { return *actions_; }
    PluginManager& plugins() { return *plugins_; }
    Preferences& preferences() { return preferences_; }
    // The watcher the suites tell what a run does; null for none. It must outlive its setting.
    void setWatcher(RunWatcher* watcher) { context_->watcher = watcher; }

private:
    std::unique_ptr<UserInterface> ui_;
    std::unique_ptr<SuiteRegistry> suites_;
    std::unique_ptr<ActionRegistry> actions_;
    std::unique_ptr<Workspace> workspace_;
    std::unique_ptr<PluginManager> plugins_;
    Preferences preferences_;
    std::unique_ptr<SuiteContext> context_;
};

}  // namespace quiltor::host
