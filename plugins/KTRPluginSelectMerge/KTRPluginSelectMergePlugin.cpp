#include "KTRPluginSelectMergePlugin.h"

#include "PluginDescription.h"
#include "Suites.h"

const AIPanelFlyoutMenuSuite* sAIPanelFlyoutMenu = nullptr;

namespace {

// Only the macOS build asks for the flyout menus.
ImportSuite kOwnSuites[] = {
#ifndef _WIN32
    {kAIPanelFlyoutMenuSuite, kAIPanelFlyoutMenuSuiteVersion, &sAIPanelFlyoutMenu},
#endif
    {nullptr, 0, nullptr},
};

}  // namespace

// The Windows build names itself by its long title, names its item by the item's text and is the
// build for the CC generation of the host, whose suites it asks for one version higher.
#ifdef _WIN32
#define KTR_SELECTMERGE_NAME "Orvela Plateo.ai Quiltware Quiltor セレクトマージ"
#define KTR_SELECTMERGE_ITEM "Quiltor セレクトマージ"
#define KTR_SELECTMERGE_HOST "CC"
#else
#define KTR_SELECTMERGE_NAME "KTRPluginSelectMerge"
#define KTR_SELECTMERGE_ITEM "SDKObject"
#define KTR_SELECTMERGE_HOST "CS6"
#endif
constexpr int32_t kSuiteVersionStepCC = 1;

const PluginDescription gPluginDescription = {
    KTR_SELECTMERGE_NAME,
    "Quiltor セレクトマージ ...",
    "Orvela Plateo.ai Quiltware Quiltor セレクトマージ",
    "Quiltor セレクトマージ Version 1.00 " KTR_SELECTMERGE_HOST
    "\n"
    "https://www.orvela-plateo.ai/quiltware/\n"
    "Copyright (C) Orvela Plateo.ai Quiltware. All rights reserved.\n"
    "\n",
    {KTR_SELECTMERGE_ITEM, kOpenDocumentMenuGroup, "Quiltor セレクトマージ"},
    kOwnSuites,
    kSuiteVersionStepCC,
};

Plugin* AllocatePlugin(SPPluginRef pluginRef) { return new KTRPluginSelectMergePlugin(pluginRef); }

KTRPluginSelectMergePlugin::KTRPluginSelectMergePlugin(SPPluginRef pluginRef)
    : ApplicationPlugin(pluginRef, gPluginDescription) {}

KTRPluginSelectMergePlugin::~KTRPluginSelectMergePlugin() = default;
