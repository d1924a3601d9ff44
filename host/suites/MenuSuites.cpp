// Menus and menu groups, and the panel suites the plug-ins only acquire.
#include "core/HostStrings.h"
#include "suites/AppSuiteSupport.h"
#include "suites/PluginServices.h"
#include "suites/SuiteContext.h"

struct _AIPanelFlyoutMenu {};

namespace quiltor::host {
namespace {

MenuBar* Menus() { return RunningHost() ? &RunningHost()->plugins.menus() : nullptr; }

AIErr AddMenuItem(SPPluginRef self, const char* itemName, const char* groupName, AIUnicodeStringRef itemText,
                  int32_t options, AIMenuItemHandle* menuItem) {
    if (menuItem) *menuItem = nullptr;
    MenuBar* menus = Menus();
    if (!menus) return kCantHappenErr;
    // Choosing the item must reach a plug-in, so only loaded plug-ins may add one.
    if (!self || !RunningHost()->plugins.find(self) || !groupName || !itemText) return kBadParameterErr;
    return Guarded(
        [&] { return menus->addItem(self, itemName ? itemName : "", groupName, itemText->text, options, menuItem); });
}

AIErr AddMenuGroupAsSubMenu(const char* groupName, int32_t options, AIMenuItemHandle menuItem, AIMenuGroup* group) {
    if (group) *group = nullptr;
    MenuBar* menus = Menus();
    if (!menus) return kCantHappenErr;
    if (!groupName) return kBadParameterErr;
    return Guarded([&] { return menus->addSubMenu(groupName, options, menuItem, group); });
}

AIErr CountMenuGroups(int32_t* count) {
    if (!count) return kBadParameterErr;
    *count = 0;
    MenuBar* menus = Menus();
    if (!menus) return kCantHappenErr;
    *count = menus->groupCount();
    return kNoErr;
}

AIErr GetNthMenuGroup(int32_t n, AIMenuGroup* group) {
    if (!group) return kBadParameterErr;
    *group = nullptr;
    MenuBar* menus = Menus();
    if (!menus) return kCantHappenErr;
    *group = menus->group(n);
    return *group ? kNoErr : kIndexOutOfRangeErr;
}

AIErr GetMenuGroupName(AIMenuGroup group, const char** name) {
    if (!name) return kBadParameterErr;
    *name = nullptr;
    MenuBar* menus = Menus();
    if (!menus) return kCantHappenErr;
    if (!menus->knows(group)) return kBadParameterErr;
    *name = group->name.c_str();
    return kNoErr;
}

AIErr GetItemText(AIMenuItemHandle menuItem, AIUnicodeStringRef itemText) {
    MenuBar* menus = Menus();
    if (!menus) return kCantHappenErr;
    if (!itemText || !menus->knows(menuItem)) return kBadParameterErr;
    return Guarded([&] {
        itemText->text = menuItem->text;
        return kNoErr;
    });
}

AIErr GetMenuItemPlugin(AIMenuItemHandle menuItem, SPPluginRef* plugin) {
    if (!plugin) return kBadParameterErr;
    *plugin = nullptr;
    MenuBar* menus = Menus();
    if (!menus) return kCantHappenErr;
    if (!menus->knows(menuItem)) return kBadParameterErr;
    *plugin = menuItem->plugin;
    return kNoErr;
}

const AIMenuSuite kMenu = {AddMenuItem,      AddMenuGroupAsSubMenu, CountMenuGroups,  GetNthMenuGroup,
                           GetMenuGroupName, GetItemText,           GetMenuItemPlugin};

AIErr FlyoutCreate(AIPanelFlyoutMenuRef* menu) {
    if (!menu) return kBadParameterErr;
    *menu = new (std::nothrow) _AIPanelFlyoutMenu();
    return *menu ? kNoErr : kOutOfMemoryErr;
}

AIErr FlyoutDestroy(AIPanelFlyoutMenuRef menu) {
    delete menu;
    return kNoErr;
}

const AIPanelFlyoutMenuSuite kPanelFlyoutMenu = {FlyoutCreate, FlyoutDestroy};

// This host has no panels of plug-ins, so none is ever shown.
AIErr PanelIsShown(AIPanelRef panel, AIBoolean* shown) {
    if (!shown) return kBadParameterErr;
    *shown = false;
    return panel ? kNoErr : kBadParameterErr;
}

const AIPanelSuite kPanel = {PanelIsShown};

}  // namespace

void RegisterMenuSuites(SuiteRegistry& registry) {
    registry.add(kAIMenuSuite, kAIMenuSuiteVersion, kMenu);
    registry.add(kAIPanelFlyoutMenuSuite, kAIPanelFlyoutMenuSuiteVersion, kPanelFlyoutMenu);
    registry.add(kAIPanelSuite, kAIPanelSuiteVersion, kPanel);
}

}  // namespace quiltor::host
