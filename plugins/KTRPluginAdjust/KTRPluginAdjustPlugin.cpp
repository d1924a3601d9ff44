#include "KTRPluginAdjustPlugin.h"

#include "PluginDescription.h"
#include "Suites.h"

const AIPathfinderSuite* sAIPathfinder = nullptr;
const AITransformArtSuite* sAITransformArt = nullptr;

namespace {

ImportSuite kOwnSuites[] = {
    {kAIPathfinderSuite, kAIPathfinderSuiteVersion, &sAIPathfinder},
    {kAITransformArtSuite, kAITransformArtSuiteVersion, &sAITransformArt},
    {nullptr, 0, nullptr},
};

}  // namespace

const PluginDescription gPluginDescription = {
    "KTRPluginAdjust",
    "Quiltor アジャスト ...",
    "Orvela Plateo.ai Quiltware Quiltor アジャスト",
    "Quiltor アジャスト Version 1.00 CS6\n"
    "https://www.orvela-plateo.ai/quiltware/\n"
    "Copyright (C) Orvela Plateo.ai Quiltware. All rights reserved.\n"
    "\n",
    {"SDKObject", kObjectsMenuGroup, "Quiltor アジャスト"},
    kOwnSuites,
};

Plugin* AllocatePlugin(SPPluginRef pluginRef) { return new KTRPluginAdjustPlugin(pluginRef); }

KTRPluginAdjustPlugin::KTRPluginAdjustPlugin(SPPluginRef pluginRef)
    : ApplicationPlugin(pluginRef, gPluginDescription) {}

KTRPluginAdjustPlugin::~KTRPluginAdjustPlugin() = default;
