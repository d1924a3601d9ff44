// The select-merge plug-in object: the "Quiltor セレクトマージ" item in the
// File-menu group "Open Document" starts a merge run, and the entry in the
// shared About submenu shows the about box.
#ifndef KTR_PLUGIN_SELECTMERGE_PLUGIN_H
#define KTR_PLUGIN_SELECTMERGE_PLUGIN_H

#include "AIHost.h"
#include "Plugin.h"

// Suites only this plug-in acquires (its Suites source lists them).
extern const AIPanelFlyoutMenuSuite* sAIPanelFlyoutMenu;

class KTRPluginSelectMergePlugin : public Plugin {
public:
    explicit KTRPluginSelectMergePlugin(SPPluginRef pluginRef);
    ~KTRPluginSelectMergePlugin() override;

    AIErr StartupPlugin(SPInterfaceMessage* message) override;
    AIErr ShutdownPlugin(SPInterfaceMessage* message) override;
    AIErr Message(const char* caller, const char* selector, void* message) override;
    // Always 0: a run's errors never reach the framework's error path.
    AIErr GoMenuItem(AIMenuMessage* message) override;

    AIErr AddMenus(SPInterfaceMessage* message);

    // The merge run, from the menu item to its last alert.
    AIErr KTRPluginSelectMergeMain(AIMenuMessage* message);

    // Seam joining for one layer without sublayers, after all tiles are
    // placed. tileWidth and tileHeight are one tile in points, lastColumn and
    // lastRow the grid's last column and row; each answers 1.
    int LineConnect(AIMenuMessage* message, AILayerHandle layer, float tileWidth, float tileHeight, int lastColumn,
                    int lastRow);
    int CompoundShape(AIMenuMessage* message, AILayerHandle layer, float tileWidth, float tileHeight, int lastColumn,
                      int lastRow);
    int CompoundPolyline(AIMenuMessage* message, AILayerHandle layer, float tileWidth, float tileHeight,
                         int lastColumn, int lastRow);
    int AboveAllPolygon(AILayerHandle layer);
    static bool SamePathStyle(const AIPathStyle& a, const AIPathStyle& b);
    static void RemoveDoubledPoints(AIArtHandle path);

private:
    AIMenuItemHandle fAboutPluginMenu;
    AIMenuItemHandle fSelectMergeMenu;
};

#endif
