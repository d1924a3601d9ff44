// The select-merge plug-in object: the "Quiltor セレクトマージ" item in the
// File-menu group "Open Document" starts a merge run, and the entry in the
// shared About submenu shows the about box.
#ifndef KTR_PLUGIN_SELECTMERGE_PLUGIN_H
#define KTR_PLUGIN_SELECTMERGE_PLUGIN_H

#include "AIHost.h"
#include "ApplicationPlugin.h"
#include "MergeProgress.h"

// Suites only this plug-in acquires (its description lists them).
extern const AIPanelFlyoutMenuSuite* sAIPanelFlyoutMenu;

class KTRPluginSelectMergePlugin : public ApplicationPlugin {
public:
    explicit KTRPluginSelectMergePlugin(SPPluginRef pluginRef);
    ~KTRPluginSelectMergePlugin() override;

    // The merge run, from the menu item to its last alert.
    AIErr KTRPluginSelectMergeMain(AIMenuMessage* message);

    // Tile placement (LayerSnapshot.h holds the snapshot these work on).
    // Snapshot of the current document's layer tree; always 1.
    int32_t read_first_ai_layer();
    // Builds the snapshot's tree in the current document, a fresh one with one
    // layer; always 1.
    int32_t write_ai_layer();
    // True when the current document's tree equals the snapshot, options included.
    bool check_second_ai_layer();
    // Cuts all art of tile and pastes it into target, moved by k tiles east and
    // j tiles north (j <= 0). False when a step the host refused kept the art
    // from landing there whole and in place: none of it is then in the target,
    // and the tile, undone, still has it.
    bool CopyObjectMain(AIDocumentHandle tile, AIDocumentHandle target, float tileWidth, float tileHeight, int32_t k,
                        int32_t j, bool firstIsTokyo23, bool firstIsMaterial);

    // Layer schemes: whether the current document follows the standard or the
    // Tokyo-23 tree, and the Tokyo-23 tree built in it (always 0).
    bool check_material_layer();
    bool check_tokyo23_layer();
    int32_t make_tokyo23_layer();

    // Seam joining for one layer without sublayers, after all tiles are
    // placed. tileWidth and tileHeight are one tile in points, lastColumn and
    // lastRow the grid's last column and row; each answers 1.
    // The joins show their progress through the caption and bar of progress.
    int LineConnect(AIMenuMessage* message, AILayerHandle layer, float tileWidth, float tileHeight, int lastColumn,
                    int lastRow, MergeProgress& progress = NoMergeProgress());
    int CompoundShape(AIMenuMessage* message, AILayerHandle layer, float tileWidth, float tileHeight, int lastColumn,
                      int lastRow, MergeProgress& progress = NoMergeProgress());
    int CompoundPolyline(AIMenuMessage* message, AILayerHandle layer, float tileWidth, float tileHeight, int lastColumn,
                         int lastRow, MergeProgress& progress = NoMergeProgress());
    int AboveAllPolygon(AILayerHandle layer);
    static bool SamePathStyle(const AIPathStyle& a, const AIPathStyle& b);
    static void RemoveDoubledPoints(AIArtHandle path);

protected:
    AIErr RunMainItem(AIMenuMessage* message) override { return KTRPluginSelectMergeMain(message); }
};

#endif
