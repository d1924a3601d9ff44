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
    std::vector<MenuItemInfo> menuItems() const;

    std::vector<SPPluginRef> plugins() const;
    std::string pluginName(SPPluginRef plugin) const;  // as set by SetPluginName

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    friend struct PluginManagerAccess;  // the app suites reach the menus and notifiers through it
};

}  // namespace quiltor::host
