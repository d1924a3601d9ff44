#include "KTRPluginSelectMergePlugin.h"

#include <cstddef>

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

// Texts reach the host through a platform buffer of this size.
constexpr std::size_t kPlatformBufferSize = 260;

struct PlatformText {
    char bytes[kPlatformBufferSize];
    explicit PlatformText(const char* text) {
        ai::UnicodeString(text).getToBuffer(bytes, sizeof bytes, kAIPlatformCharacterEncoding);
    }
};

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
    AIErr error = kNoErr;
    try {
        error = Plugin::Message(caller, selector, message);
    } catch (const ai::Error& e) {
        error = e.GetErr();
    } catch (...) {
        error = kCantHappenErr;
    }
    if (error == kUnhandledMsgErr)
        error = kNoErr;
    if (error != kNoErr)
        ReportError(error, caller, selector, message);
    return error;
}

AIErr KTRPluginSelectMergePlugin::AddMenus(SPInterfaceMessage* message) {
    // A missing About entry must not stop the plug-in from starting.
    try {
        const PlatformText groupName(kAboutGroupName);
        const PlatformText entryText(kAboutEntryText);
        SDKAboutPluginsHelper aboutPluginsHelper;
        aboutPluginsHelper.AddAboutPluginsMenuItem(message, groupName.bytes, ai::UnicodeString(groupName.bytes),
                                                   entryText.bytes, &fAboutPluginMenu);
    } catch (const ai::Error&) {
    }

    const ai::UnicodeString itemText(kMenuItemText);
    return sAIMenu->AddMenuItem(message->d.self, kMenuItemName, kOpenDocumentMenuGroup, itemText.get(), 0,
                                &fSelectMergeMenu);
}

AIErr KTRPluginSelectMergePlugin::GoMenuItem(AIMenuMessage* message) {
    // A handle that was never set matches nothing, not even a null item.
    const AIMenuItemHandle item = message->menuItem;
    if (item != nullptr && item == fAboutPluginMenu) {
        const PlatformText title(kAboutTitle);
        const PlatformText text(kAboutText);
        SDKAboutPluginsHelper aboutPluginsHelper;
        aboutPluginsHelper.PopAboutBox(message, title.bytes, text.bytes);
    } else if (item != nullptr && item == fSelectMergeMenu) {
        KTRPluginSelectMergeMain(message);
    }
    return kNoErr;
}
