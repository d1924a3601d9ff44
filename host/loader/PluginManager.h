// Loaded plug-ins: loading with dlopen, the messages the host sends, menus and notifiers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "AIHost.h"

namespace quiltor::host {

struct MenuItemInfo {
    std::string group;     // the group the item is in (a submenu's name for its entries)
    std::string text;      // UTF-8
    SPPluginRef plugin;
    AIMenuItemHandle handle;
};

class PluginManager {
public:
    PluginManager();
    ~PluginManager();

    // Loads the file and finds PluginMain; on failure returns false and fills *error.
    bool load(const std::string& path, std::string* error);
    // Adds a plug-in whose entry point is linked into this program (for tests); label stands for its path.
    SPPluginRef attach(const std::string& label, PluginMainProc entry);
    // "SP Interface"/"Startup" to every loaded plug-in, then the application-started notifier.
    // Returns the first start-up error (plug-ins that failed are unloaded from the list).
    AIErr startAll();
    // "SP Interface"/"Shutdown" to every started plug-in, in reverse order.
    void shutdownAll();

    // Sends one message; the record's basic fields are filled in by the host.
    AIErr send(SPPluginRef plugin, const char* caller, const char* selector, void* message);
    AIErr sendUnload(SPPluginRef plugin);
    AIErr sendReload(SPPluginRef plugin);

    // "AI Menu"/"AI Go" to the plug-in that owns the item whose text is itemText (UTF-8).
    // kNameNotFoundErr when no item has that text.
    AIErr chooseMenuItem(const std::string& itemText);
    // kBadParameterErr for an unknown item or one that is a submenu.
    AIErr chooseMenuItem(AIMenuItemHandle item);
    std::vector<MenuItemInfo> menuItems() const;

    std::vector<SPPluginRef> plugins() const;
    std::string pluginName(SPPluginRef plugin) const;  // as set by SetPluginName
    std::string pluginPath(SPPluginRef plugin) const;
    // Whether the plug-in's code is in memory (false after an unload that no access reference held).
    bool isCodeLoaded(SPPluginRef plugin) const;
    // The globals slot the host keeps for the plug-in.
    void* globals(SPPluginRef plugin) const;

    struct StartupFailure {
        std::string path;
        AIErr error;
    };
    // The plug-ins that the last startAll dropped.
    const std::vector<StartupFailure>& startupFailures() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    friend struct PluginManagerAccess;  // the app suites reach the menus and notifiers through it
};

}  // namespace quiltor::host
