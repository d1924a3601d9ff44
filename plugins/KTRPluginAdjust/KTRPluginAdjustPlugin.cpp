#include "KTRPluginAdjustPlugin.h"

#include "IAIError.h"
#include "IAIUnicodeString.h"
#include "SDKAboutPluginsHelper.h"
#include "Suites.h"

namespace {

constexpr const char* kPluginName = "KTRPluginAdjust";

constexpr const char* kAboutGroupName = "Orvela Plateo.ai Quiltware について...";
constexpr const char* kAboutEntryText = "Quiltor アジャスト ...";
constexpr const char* kAboutTitle = "Orvela Plateo.ai Quiltware Quiltor アジャスト";
constexpr const char* kAboutText =
    "Quiltor アジャスト Version 1.00 CS6\n"
    "https://www.orvela-plateo.ai/quiltware/\n"
    "Copyright (C) Orvela Plateo.ai Quiltware. All rights reserved.\n"
    "\n";

constexpr const char* kMenuItemName = "SDKObject";
constexpr const char* kMenuItemText = "Quiltor アジャスト";

}  // namespace

Plugin* AllocatePlugin(SPPluginRef pluginRef) {
    return new KTRPluginAdjustPlugin(pluginRef);
}

KTRPluginAdjustPlugin::KTRPluginAdjustPlugin(SPPluginRef pluginRef)
    : Plugin(pluginRef), fAboutPluginMenu(nullptr), fAdjustMenu(nullptr) {
    SetPluginName(kPluginName);
}

KTRPluginAdjustPlugin::~KTRPluginAdjustPlugin() = default;

AIErr KTRPluginAdjustPlugin::StartupPlugin(SPInterfaceMessage* message) {
    AIErr error = Plugin::StartupPlugin(message);
    if (error == kNoErr)
        error = AddMenus(message);
    return error;
}

AIErr KTRPluginAdjustPlugin::ShutdownPlugin(SPInterfaceMessage* message) {
    message->d.globals = nullptr;
    return Plugin::ShutdownPlugin(message);
}

AIErr KTRPluginAdjustPlugin::Message(const char* caller, const char* selector, void* message) {
    return ApplicationMessage(caller, selector, message);
}

AIErr KTRPluginAdjustPlugin::AddMenus(SPInterfaceMessage* message) {
    AddAboutEntry(message, kAboutGroupName, kAboutEntryText, &fAboutPluginMenu);

    const ai::UnicodeString itemText(kMenuItemText);
    return sAIMenu->AddMenuItem(message->d.self, kMenuItemName, kObjectsMenuGroup, itemText.get(), 0,
                                &fAdjustMenu);
}

AIErr KTRPluginAdjustPlugin::GoMenuItem(AIMenuMessage* message) {
    // A handle that was never set matches nothing, not even a null item.
    const AIMenuItemHandle item = message->menuItem;
    if (item != nullptr && item == fAboutPluginMenu) {
        ShowAboutBox(message, kAboutTitle, kAboutText);
    } else if (item != nullptr && item == fAdjustMenu) {
        KTRPluginAdjustMain(message);
    }
    return kNoErr;
}
