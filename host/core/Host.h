// The one running substitute host. The suites are plain C function tables, so their functions
// reach the host's state through Host::Current().
#pragma once

#include <memory>

namespace quiltor::host {

class Workspace;       // documents, the current document, the clipboard (model/Workspace.h)
class UserInterface;   // alerts, questions, the folder chooser, the transcript (ui/UserInterface.h)
class SuiteRegistry;   // suites by name and version, with test hooks (core/SuiteRegistry.h)
class ActionRegistry;  // action events by name (core/ActionRegistry.h)
class PluginManager;   // loaded plug-ins, messages, menus, notifiers (loader/PluginManager.h)

// Application preferences that host actions change and document operations read.
struct Preferences {
    // Layers panel "コピー元のレイヤーにペースト": paste puts art back into the layers it was copied from.
    bool pasteRemembersLayers = false;
};

class Host {
public:
    // Builds a host with every suite registered; it becomes Current() until destroyed.
    // Only one host exists at a time.
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

private:
    std::unique_ptr<UserInterface> ui_;
    std::unique_ptr<SuiteRegistry> suites_;
    std::unique_ptr<ActionRegistry> actions_;
    std::unique_ptr<Workspace> workspace_;
    std::unique_ptr<PluginManager> plugins_;
    Preferences preferences_;
};

}  // namespace quiltor::host
