// The seam joins of a merge run, after every tile is placed.
#include <string>

#include "KTRPluginSelectMergePlugin.h"
#include "MergeRunSteps.h"
#include "SelectMergeHost.h"
#include "Suites.h"
#include "core/SelectionTable.h"

namespace mergerun {

namespace {

constexpr char kNoJoinFaceTitle[] = "背景道路";

// The joins of one layer without sublayers.
void JoinSeamsOfLayer(KTRPluginSelectMergePlugin& plugin, AIMenuMessage* message, AILayerHandle layer,
                      const std::string& title, const Placement& placement, const Selection& selection,
                      MergeProgress& progress) {
    const int32_t lastColumn = selection.box.columns - 1;
    const int32_t lastRow = selection.box.rows - 1;
    if (bFlgCheckBox1)
        plugin.LineConnect(message, layer, placement.tileWidth, placement.tileHeight, lastColumn, lastRow, progress);
    // Background roads overlap by design; compounding them would fill the
    // gaps between them.
    if (bFlgCheckBox2 && !(bSelectTokyo23 && title == kNoJoinFaceTitle)) {
        plugin.CompoundShape(message, layer, placement.tileWidth, placement.tileHeight, lastColumn, lastRow, progress);
        plugin.CompoundPolyline(message, layer, placement.tileWidth, placement.tileHeight, lastColumn, lastRow,
                                progress);
    }
    plugin.AboveAllPolygon(layer);
}

}  // namespace

void JoinSeams(KTRPluginSelectMergePlugin& plugin, AIMenuMessage* message, const Placement& placement,
               const Selection& selection, MergeProgress& progress) {
    // One tile has no seams; and with no row gone through there is no tile
    // size to find seams by.
    if (nSelectAICount == 1 || !placement.tileSizeKnown) return;
    for (AILayerHandle layer = FirstLayer(); layer != nullptr; layer = NextPreorder(layer)) {
        AILayerHandle child = nullptr;
        sAILayer->GetLayerFirstChild(layer, &child);
        std::string title;
        ReadLayerTitle(layer, title);
        if (child == nullptr) JoinSeamsOfLayer(plugin, message, layer, title, placement, selection, progress);
    }
}

}  // namespace mergerun
