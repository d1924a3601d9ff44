// The adjust plug-in object: the "Quiltor アジャスト" item in the menu group
// "Objects" starts a map-range adjust run, and the entry in the shared About
// submenu shows the about box.
#ifndef KTR_PLUGIN_ADJUST_PLUGIN_H
#define KTR_PLUGIN_ADJUST_PLUGIN_H

#include "AIHost.h"
#include "ApplicationPlugin.h"

// Suites only this plug-in acquires (its description lists them).
extern const AIPathfinderSuite* sAIPathfinder;
extern const AITransformArtSuite* sAITransformArt;

class KTRPluginAdjustPlugin : public ApplicationPlugin {
public:
    explicit KTRPluginAdjustPlugin(SPPluginRef pluginRef);
    ~KTRPluginAdjustPlugin() override;

    // The map-range adjust run, from the menu item to its last alert.
    AIErr KTRPluginAdjustMain(AIMenuMessage* message);

    // The frame: a compound path covering everything outside the closed path,
    // or null when it cannot be made.
    AIArtHandle CreateLineArt(AIArtHandle path);
    // A filled rectangle over the bounds of object, placed by reference, or
    // null when it cannot be made.
    AIArtHandle CreateRectLineArt(AIArtHandle reference, AIArtHandle object);
    // True when the layer's own title names an annotation layer.
    bool CheckPlateoStringLayer(AILayerHandle layer);

protected:
    AIErr RunMainItem(AIMenuMessage* message) override { return KTRPluginAdjustMain(message); }
};

#endif
