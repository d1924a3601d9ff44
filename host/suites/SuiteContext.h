// What the suites serve from. The suites are plain C function tables, so their functions reach the
// running host's parts through the one current context, which the host sets while it runs.
#pragma once

namespace quiltor::host {

class Workspace;        // model/Workspace.h
class UserInterface;    // ui/UserInterface.h
class ActionRegistry;   // core/ActionRegistry.h
class PluginDirectory;  // suites/PluginServices.h
class RunWatcher;       // suites/RunWatcher.h

// Application preferences that host actions change and document operations read.
struct Preferences {
    // Layers panel "コピー元のレイヤーにペースト": paste puts art back into the layers it was copied from.
    bool pasteRemembersLayers = false;
};

struct SuiteContext {
    Workspace& workspace;
    UserInterface& ui;
    ActionRegistry& actions;
    PluginDirectory& plugins;
    Preferences& preferences;
    RunWatcher* watcher = nullptr;  // told what a run does, when a command follows it
};

// The running host's context, or null when no host runs.
SuiteContext* RunningHost();
// Set by the host when it starts, and back to null before its parts go; the context must live
// until then.
void SetRunningHost(SuiteContext* context);

}  // namespace quiltor::host
