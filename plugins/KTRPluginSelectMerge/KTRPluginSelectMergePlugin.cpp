#include "KTRPluginSelectMergePlugin.h"

#include "PluginDescription.h"
#include "Suites.h"

const AIPanelFlyoutMenuSuite* sAIPanelFlyoutMenu = nullptr;

namespace {

ImportSuite kOwnSuites[] = {
    {kAIPanelFlyoutMenuSuite, kAIPanelFlyoutMenuSuiteVersion, &sAIPanelFlyoutMenu},
    {nullptr, 0, nullptr},
};

}  // namespace

const PluginDescription gPluginDescription = {
    "KTRPluginSelectMerge",
    "Quiltor セレクトマージ ...",
    "Orvela Plateo.ai Quiltware Quiltor セレクトマージ",
    "Quiltor セレクトマージ Version 1.00 CS6\n"
    "https://www.orvela-plateo.ai/quiltware/\n"
    "Copyright (C) Orvela Plateo.ai Quiltware. All rights reserved.\n"
    "\n",
    {"SDKObject", kOpenDocumentMenuGroup, "Quiltor セレクトマージ"},
    kOwnSuites,
};

Plugin* AllocatePlugin(SPPluginRef pluginRef) { return new KTRPluginSelectMergePlugin(pluginRef); }

KTRPluginSelectMergePlugin::KTRPluginSelectMergePlugin(SPPluginRef pluginRef)
    : ApplicationPlugin(pluginRef, gPluginDescription) {}

KTRPluginSelectMergePlugin::~KTRPluginSelectMergePlugin() = default;
