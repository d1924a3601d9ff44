// The Tokyo-23 layer tree built in the target, every layer reached by its
// position, so that equal titles under different groups cannot be confused.
#include "KTRPluginSelectMergePlugin.h"
#include "SelectMergeHost.h"
#include "Suites.h"
#include "core/LayerScheme.h"

int32_t KTRPluginSelectMergePlugin::make_tokyo23_layer() {
    // The target's own layer stays at the bottom and becomes the last group.
    for (int32_t n = 1; n < tokyo23LayerSchemeCount; ++n) {
        AILayerHandle added = nullptr;
        sAILayer->InsertLayer(nullptr, kPlaceAboveAll, &added);
    }

    AILayerHandle layer = nullptr;
    sAILayer->GetFirstLayer(&layer);
    for (int32_t k = 0; layer != nullptr && k < tokyo23LayerSchemeCount; ++k) {
        const LayerSchemeEntry& entry = tokyo23LayerScheme[k];
        // Each new sublayer goes on top, so the bottom one is made first.
        for (int32_t s = entry.count - 1; s >= 0; --s) {
            AILayerHandle sublayer = nullptr;
            sAILayer->InsertLayer(layer, kPlaceInsideOnTop, &sublayer);
            if (sublayer != nullptr) SetLayerTitle(sublayer, entry.sublayers[s].title);
        }
        SetLayerTitle(layer, k == tokyo23RoadNotesIndex ? tokyo23RoadNotesTitle : entry.title);
        AILayerHandle next = nullptr;
        sAILayer->GetNextLayer(layer, &next);
        layer = next;
    }

    // Outline view while the art comes in; the first tile's options are set
    // again at the end of the run.
    sAILayer->GetFirstLayer(&layer);
    while (layer != nullptr) {
        sAILayer->SetLayerPreview(layer, false);
        AILayerHandle next = nullptr;
        sAILayer->GetNextPreorderLayer(layer, &next);
        layer = next;
    }
    return 0;
}
