#include "KTRPluginAdjustPlugin.h"

#include "PluginDescription.h"
#include "Suites.h"

const AIPathfinderSuite* sAIPathfinder = nullptr;
const AITransformArtSuite* sAITransformArt = nullptr;

namespace {

// The Windows build does without the transform suite.
ImportSuite kOwnSuites[] = {
    {kAIPathfinderSuite, kAIPathfinderSuiteVersion, &sAIPathfinder},
#ifndef _WIN32
    {kAITransformArtSuite, kAITransformArtSuiteVersion, &sAITransformArt},
#endif
    {nullptr, 0, nullptr},
};

}  // namespace

// The Windows build names itself by its long title and names its item by the item's text.
#ifdef _WIN32
#define KTR_ADJUST_NAME "Orvela Plateo.ai Quiltware Quiltor アジャスト"
#define KTR_ADJUST_ITEM "Quiltor アジャスト"
#else
#define KTR_ADJUST_NAME "KTRPluginAdjust"
#define KTR_ADJUST_ITEM "SDKObject"
#endif

const PluginDescription gPluginDescription = {
    KTR_ADJUST_NAME,
    "Quiltor アジャスト ...",
    "Orvela Plateo.ai Quiltware Quiltor アジャスト",
    "Quiltor アジャスト Version 1.00 CS6\n"
    "https://www.orvela-plateo.ai/quiltware/\n"
    "Copyright (C) Orvela Plateo.ai Quiltware. All rights reserved.\n"
    "\n",
    {KTR_ADJUST_ITEM, kObjectsMenuGroup, "Quiltor アジャスト"},
    kOwnSuites,
    0,
};

Plugin* AllocatePlugin(SPPluginRef pluginRef) { return new KTRPluginAdjustPlugin(pluginRef); }

KTRPluginAdjustPlugin::KTRPluginAdjustPlugin(SPPluginRef pluginRef)
    : ApplicationPlugin(pluginRef, gPluginDescription) {}

KTRPluginAdjustPlugin::~KTRPluginAdjustPlugin() = default;
