// What the host keeps per loaded plug-in and for the plug-ins together: the plug-in records
// behind SPPluginRef, menus and menu groups, notifiers, access references and application
// contexts. The app suites reach them through PluginDirectory, which the plug-in loader implements.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "AIHost.h"

struct _SPPlugin {
    std::string path;         // the plug-in file, absolute
    std::string name;         // as set by SetPluginName
    void* globals = nullptr;  // the plug-in's globals slot, kept between messages
    int32_t accessCount = 0;  // references from SPAccessSuite::AcquirePlugin
    bool started = false;     // answered "Startup" with 0 and not shut down since
    void* library = nullptr;  // dlopen handle; null while the code is unloaded
    PluginMainProc main = nullptr;
    bool inProcess = false;  // attached by a test, not loaded from a file: its code never goes
};

struct _SPAccess {
    SPPluginRef plugin;
};

struct _AINotifier {
    SPPluginRef plugin;
    std::string name;
    std::string type;
    bool active = true;
};

struct _AIMenuGroup {
    std::string name;
    AIMenuItemHandle parent = nullptr;  // the item it hangs behind; null for the host's own groups
    int32_t options = 0;
};

struct _AIMenuItem {
    SPPluginRef plugin;
    std::string name;  // the item's internal name, may be empty
    std::string group;
    std::u16string text;
    int32_t options = 0;
    AIMenuGroup submenu = nullptr;  // set when the item was turned into a submenu
};

namespace quiltor::host {

// The host's menu bar: groups by name (the stock ones exist from the start) and the items that
// plug-ins put into them, in the order they were added.
class MenuBar {
public:
    MenuBar();

    // kNameNotFoundErr for an unknown group.
    AIErr addItem(SPPluginRef plugin, const std::string& itemName, const std::string& group, std::u16string text,
                  int32_t options, AIMenuItemHandle* item);
    // kBadParameterErr when the name is taken, the item unknown or already a submenu.
    AIErr addSubMenu(const std::string& groupName, int32_t options, AIMenuItemHandle item, AIMenuGroup* group);

    int32_t groupCount() const { return static_cast<int32_t>(groups_.size()); }
    AIMenuGroup group(int32_t n) const;  // null out of range
    AIMenuGroup findGroup(const std::string& name) const;
    bool knows(AIMenuGroup group) const;
    bool knows(AIMenuItemHandle item) const;
    std::vector<AIMenuItemHandle> items() const;

    // Takes away what the plug-in added; a submenu group goes with its item once nothing else is in it.
    void removeItemsOf(SPPluginRef plugin);

    static const std::vector<std::string>& StockGroups();

private:
    std::vector<std::unique_ptr<_AIMenuGroup>> groups_;
    std::vector<std::unique_ptr<_AIMenuItem>> items_;
};

class NotifierTable {
public:
    AINotifierHandle add(SPPluginRef plugin, std::string name, std::string type);
    bool knows(AINotifierHandle notifier) const;
    std::vector<AINotifierHandle> activeOfType(const std::string& type) const;
    void removeOf(SPPluginRef plugin);

private:
    std::vector<std::unique_ptr<_AINotifier>> notifiers_;
};

// References that keep a plug-in's code loaded.
class AccessTable {
public:
    SPAccessRef acquire(SPPluginRef plugin);
    bool release(SPAccessRef access);  // false for an unknown reference
    void removeOf(SPPluginRef plugin);

private:
    std::vector<std::unique_ptr<_SPAccess>> refs_;
};

// Application contexts pushed by plug-ins; pops must come in the reverse order of the pushes.
class AppContextStack {
public:
    AIAppContextHandle push(SPPluginRef plugin);
    bool pop(AIAppContextHandle context);  // false when it is not the innermost context
    size_t depth() const { return stack_.size(); }

private:
    std::vector<SPPluginRef> stack_;
};

// What the suites need of the plug-in loader: the records of the loaded plug-ins and the tables of
// what they registered. The loader (loader/PluginManager.h) implements it.
class PluginDirectory {
public:
    // The record of a loaded plug-in; null for a handle the host did not give out.
    virtual _SPPlugin* find(SPPluginRef plugin) = 0;
    // The loaded plug-ins, in load order.
    virtual std::vector<SPPluginRef> plugins() const = 0;
    virtual MenuBar& menus() = 0;
    virtual NotifierTable& notifiers() = 0;
    virtual AccessTable& access() = 0;
    virtual AppContextStack& contexts() = 0;

protected:
    ~PluginDirectory() = default;
};

}  // namespace quiltor::host
