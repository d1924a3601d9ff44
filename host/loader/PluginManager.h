// Loaded plug-ins: loading with dlopen, the messages the host sends, menus and notifiers. The
// suites reach the plug-ins' records and tables through PluginDirectory, which this implements.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "AIHost.h"
#include "suites/PluginServices.h"

namespace quiltor::host {

struct MenuItemInfo {
    std::string group;  // the group the item is in (a submenu's name for its entries)
    std::string text;   // UTF-8
    SPPluginRef plugin;
    AIMenuItemHandle handle;
};

class PluginManager final : public PluginDirectory {
public:
    PluginManager();
    ~PluginManager();
    PluginManager(const PluginManager&) = delete;
    PluginManager& operator=(const PluginManager&) = delete;

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

    std::vector<SPPluginRef> plugins() const override;
    _SPPlugin* find(SPPluginRef plugin) override;
    MenuBar& menus() override;
    NotifierTable& notifiers() override;
    AccessTable& access() override;
    AppContextStack& contexts() override;
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
};

// A manager's tables by name, as tests reach them.
struct PluginManagerAccess {
    static MenuBar& menus(PluginManager& manager) { return manager.menus(); }
    static NotifierTable& notifiers(PluginManager& manager) { return manager.notifiers(); }
    static AccessTable& access(PluginManager& manager) { return manager.access(); }
    static AppContextStack& contexts(PluginManager& manager) { return manager.contexts(); }
    static _SPPlugin* find(PluginManager& manager, SPPluginRef plugin) { return manager.find(plugin); }
};

}  // namespace quiltor::host
