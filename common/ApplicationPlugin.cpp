#include "ApplicationPlugin.h"

#include "IAIError.h"
#include "IAIUnicodeString.h"
#include "LiteralEncoding.h"
#include "SDKAboutPluginsHelper.h"
#include "Suites.h"

namespace {

// The submenu every plug-in of the family shares.
constexpr const char* kAboutGroupName = "Orvela Plateo.ai Quiltware について...";

}  // namespace

ApplicationPlugin::ApplicationPlugin(SPPluginRef pluginRef, const PluginDescription& description)
    : Plugin(pluginRef), fDescription(description), fAboutPluginMenu(nullptr), fMainMenu(nullptr) {
    SetPluginName(fDescription.pluginName);
}

ApplicationPlugin::~ApplicationPlugin() = default;

AIErr ApplicationPlugin::StartupPlugin(SPInterfaceMessage* message) {
    AIErr error = Plugin::StartupPlugin(message);
    if (error == kNoErr) error = AddMenus(message);
    return error;
}

AIErr ApplicationPlugin::ShutdownPlugin(SPInterfaceMessage* message) {
    message->d.globals = nullptr;
    return Plugin::ShutdownPlugin(message);
}

AIErr ApplicationPlugin::Message(const char* caller, const char* selector, void* message) {
    AIErr error = kNoErr;
    try {
        error = Plugin::Message(caller, selector, message);
    } catch (const ai::Error& e) {
        error = e.GetErr();
    } catch (...) {
        error = kCantHappenErr;
    }
    if (error == kUnhandledMsgErr) error = kNoErr;
    if (error != kNoErr) ReportError(error, caller, selector, message);
    return error;
}

AIErr ApplicationPlugin::AddMenus(SPInterfaceMessage* message) {
    AddAboutEntry(message, kAboutGroupName, fDescription.aboutEntryText, &fAboutPluginMenu);

    const MenuItemDescription& item = fDescription.mainItem;
    const ai::UnicodeString itemText(item.text, kLiteralEncoding);
    return sAIMenu->AddMenuItem(message->d.self, item.name, item.group, itemText.get(), 0, &fMainMenu);
}

AIErr ApplicationPlugin::GoMenuItem(AIMenuMessage* message) {
    // A handle that was never set matches nothing, not even a null item.
    const AIMenuItemHandle item = message->menuItem;
    if (item != nullptr && item == fAboutPluginMenu) {
        ShowAboutBox(message, fDescription.aboutTitle, fDescription.aboutText);
    } else if (item != nullptr && item == fMainMenu) {
        RunMainItem(message);
    }
    return kNoErr;
}
