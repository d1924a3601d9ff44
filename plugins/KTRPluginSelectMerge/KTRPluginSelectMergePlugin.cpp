#include "KTRPluginSelectMergePlugin.h"

#include "IAIError.h"
#include "IAIUnicodeString.h"
#include "SDKAboutPluginsHelper.h"
#include "Suites.h"

namespace {

constexpr const char* kPluginName = "KTRPluginSelectMerge";

constexpr const char* kAboutGroupName = "Orvela Plateo.ai Quiltware について...";
constexpr const char* kAboutEntryText = "Quiltor セレクトマージ ...";
constexpr const char* kAboutTitle = "Orvela Plateo.ai Quiltware Quiltor セレクトマージ";
constexpr const char* kAboutText =
    "Quiltor セレクトマージ Version 1.00 CS6\n"
    "https://www.orvela-plateo.ai/quiltware/\n"
    "Copyright (C) Orvela Plateo.ai Quiltware. All rights reserved.\n"
    "\n";

constexpr const char* kMenuItemName = "SDKObject";
constexpr const char* kMenuItemText = "Quiltor セレクトマージ";

}  // namespace

Plugin* AllocatePlugin(SPPluginRef pluginRef) {
    return new KTRPluginSelectMergePlugin(pluginRef);
}

KTRPluginSelectMergePlugin::KTRPluginSelectMergePlugin(SPPluginRef pluginRef)
    : Plugin(pluginRef), fAboutPluginMenu(nullptr), fSelectMergeMenu(nullptr) {
    SetPluginName(kPluginName);
}

KTRPluginSelectMergePlugin::~KTRPluginSelectMergePlugin() = default;

AIErr KTRPluginSelectMergePlugin::StartupPlugin(SPInterfaceMessage* message) {
    AIErr error = Plugin::StartupPlugin(message);
    if (error == kNoErr)
        error = AddMenus(message);
    return error;
}

AIErr KTRPluginSelectMergePlugin::ShutdownPlugin(SPInterfaceMessage* message) {
    message->d.globals = nullptr;
    return Plugin::ShutdownPlugin(message);
}

AIErr KTRPluginSelectMergePlugin::Message(const char* caller, const char* selector, void* message) {
    return ApplicationMessage(caller, selector, message);
}

AIErr KTRPluginSelectMergePlugin::AddMenus(SPInterfaceMessage* message) {
    AddAboutEntry(message, kAboutGroupName, kAboutEntryText, &fAboutPluginMenu);

    const ai::UnicodeString itemText(kMenuItemText);
    return sAIMenu->AddMenuItem(message->d.self, kMenuItemName, kOpenDocumentMenuGroup, itemText.get(), 0,
                                &fSelectMergeMenu);
}

AIErr KTRPluginSelectMergePlugin::GoMenuItem(AIMenuMessage* message) {
    // A handle that was never set matches nothing, not even a null item.
    const AIMenuItemHandle item = message->menuItem;
    if (item != nullptr && item == fAboutPluginMenu) {
        ShowAboutBox(message, kAboutTitle, kAboutText);
    } else if (item != nullptr && item == fSelectMergeMenu) {
        KTRPluginSelectMergeMain(message);
    }
    return kNoErr;
}
