// Moving a tile's art into the target: the snapshot of the first tile's
// layer tree, the target's tree rebuilt from it, the comparison of every
// later tile with it, and the copy through the host's own editing actions.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "IAIArtboards.h"
#include "KTRPluginSelectMergePlugin.h"
#include "LayerSnapshot.h"
#include "SelectMergeHost.h"
#include "Suites.h"
#include "core/LayerScheme.h"

LayerRecord* layerFirstAI = nullptr;
int32_t nMaxLayer = 0;
int32_t nMaxFloor = 0;

namespace {

constexpr char kRoadTitle[] = "道路";

constexpr AIActionParamKey kKeyHorizontal = AI_ACTION_KEY('h', 'o', 'z', 'n');
constexpr AIActionParamKey kKeyVertical = AI_ACTION_KEY('v', 't', 'c', 'l');

LayerRecordReallocFunc recordRealloc = nullptr;

void* DefaultRealloc(void* block, std::size_t size) { return std::realloc(block, size); }

void FreeRecords(LayerRecord* records, int32_t count) {
    for (int32_t i = 0; records != nullptr && i < count; ++i) std::free(records[i].title);
    std::free(records);
}

// A layer tree read from the current document; owns its records.
struct LayerTree {
    LayerRecord* records = nullptr;
    int32_t count = 0;
    int32_t maxDepth = 0;

    LayerTree() = default;
    LayerTree(const LayerTree&) = delete;
    LayerTree& operator=(const LayerTree&) = delete;
    ~LayerTree() { FreeRecords(records, count); }

    LayerRecord* release() {
        LayerRecord* out = records;
        records = nullptr;
        count = 0;
        return out;
    }
};

LayerRecordReallocFunc Allocator() { return recordRealloc != nullptr ? recordRealloc : DefaultRealloc; }

// One record more at the end; on failure the records are left as they were.
bool Grow(LayerTree& tree) {
    void* block = Allocator()(tree.records, sizeof(LayerRecord) * (static_cast<std::size_t>(tree.count) + 1));
    if (block == nullptr) return false;
    tree.records = static_cast<LayerRecord*>(block);
    return true;
}

int32_t DepthOf(AILayerHandle layer) {
    int32_t depth = 0;
    AILayerHandle parent = nullptr;
    sAILayer->GetLayerParent(layer, &parent);
    while (parent != nullptr) {
        ++depth;
        AILayerHandle up = nullptr;
        sAILayer->GetLayerParent(parent, &up);
        parent = up;
    }
    return depth;
}

// False when the title finds no room; the record then owns nothing.
bool ReadRecord(AILayerHandle layer, LayerRecord& record) {
    record = LayerRecord{};
    std::string title;
    ReadLayerTitle(layer, title);
    record.title = static_cast<char*>(Allocator()(nullptr, title.size() + 1));
    if (record.title == nullptr) return false;
    std::memcpy(record.title, title.c_str(), title.size() + 1);
    sAILayer->GetLayerDimPlacedImages(layer, &record.dimPlacedImages);
    sAILayer->GetLayerEditable(layer, &record.editable);
    sAILayer->GetLayerPreview(layer, &record.preview);
    sAILayer->GetLayerPrinted(layer, &record.printed);
    sAILayer->GetLayerIsTemplate(layer, &record.isTemplate);
    sAILayer->GetLayerVisible(layer, &record.visible);
    record.depth = DepthOf(layer);
    return true;
}

// Reads the current document's tree. False when the records cannot grow; the
// tree is then left empty.
bool ReadLayerTree(LayerTree& tree) {
    AILayerHandle layer = nullptr;
    sAILayer->GetFirstLayer(&layer);
    while (layer != nullptr) {
        if (!Grow(tree) || !ReadRecord(layer, tree.records[tree.count])) {
            FreeRecords(tree.records, tree.count);
            tree.release();
            tree.maxDepth = 0;
            return false;
        }
        const LayerRecord& record = tree.records[tree.count];
        if (record.depth > tree.maxDepth) tree.maxDepth = record.depth;
        ++tree.count;
        AILayerHandle next = nullptr;
        sAILayer->GetNextPreorderLayer(layer, &next);
        layer = next;
    }
    return true;
}

bool SameRecord(const LayerRecord& a, const LayerRecord& b) {
    return a.depth == b.depth && a.visible == b.visible && a.preview == b.preview && a.editable == b.editable &&
           a.printed == b.printed && a.dimPlacedImages == b.dimPlacedImages && a.isTemplate == b.isTemplate &&
           std::strcmp(a.title, b.title) == 0;
}

// The tile's active artboard; all zero when the host has none to give.
AIRealRect ActiveArtboard() {
    try {
        const ai::ArtboardList artboards;
        return artboards.GetArtboardProperties(artboards.GetActive()).GetPosition();
    } catch (const ai::Error&) {
        return AIRealRect{};
    }
}

// Deletes the art selected in the current document.
void DeleteSelectedArt() {
    AIArtHandle* selected = nullptr;
    int32_t count = 0;
    if (sAIMatchingArt->GetSelectedArt(&selected, &count) != kNoErr || selected == nullptr) return;
    for (int32_t i = 0; i < count; ++i) sAIArt->DisposeArt(selected[i]);
    sSPBlocks->FreeBlock(selected);
}

// Opens every layer of the current document for select-all. When the target
// was built as the Tokyo-23 tree, the first "道路" (road names) is renamed so
// that its art lands in the target's "道路注記" and not among the roads. The
// target's tree decides, not the kind of tile names: the two can differ.
void PrepareTileLayers(bool targetIsTokyo23) {
    bool renamed = !targetIsTokyo23;
    AILayerHandle layer = nullptr;
    sAILayer->GetFirstLayer(&layer);
    while (layer != nullptr) {
        if (!renamed) {
            std::string title;
            if (ReadLayerTitle(layer, title) && title == kRoadTitle) {
                SetLayerTitle(layer, tokyo23RoadNotesTitle);
                renamed = true;
            }
        }
        sAILayer->SetLayerVisible(layer, true);
        sAILayer->SetLayerEditable(layer, true);
        AILayerHandle next = nullptr;
        sAILayer->GetNextPreorderLayer(layer, &next);
        layer = next;
    }
}

}  // namespace

void FreeLayerSnapshot() {
    FreeRecords(layerFirstAI, nMaxLayer);
    layerFirstAI = nullptr;
    nMaxLayer = 0;
    nMaxFloor = 0;
}

void SetLayerRecordRealloc(LayerRecordReallocFunc func) { recordRealloc = func; }

int32_t KTRPluginSelectMergePlugin::read_first_ai_layer() {
    FreeLayerSnapshot();
    // A snapshot that could not grow stays empty: no tile then matches it, so
    // every tile is passed over and none is half placed.
    LayerTree tree;
    if (ReadLayerTree(tree)) {
        nMaxFloor = tree.maxDepth;
        nMaxLayer = tree.count;
        layerFirstAI = tree.release();
    }
    return 1;
}

int32_t KTRPluginSelectMergePlugin::write_ai_layer() {
    if (layerFirstAI == nullptr) return 1;
    // The layer made for each record. A sublayer goes into the layer made for
    // the nearest record above it one level up, so that parents with equal
    // titles keep their own sublayers.
    std::vector<AILayerHandle> made(static_cast<std::size_t>(nMaxLayer), nullptr);

    bool first = true;
    for (int32_t i = 0; i < nMaxLayer; ++i) {
        const LayerRecord& record = layerFirstAI[i];
        if (record.depth != 0) continue;
        AILayerHandle layer = nullptr;
        if (first) {
            sAILayer->GetFirstLayer(&layer);
            first = false;
        } else {
            sAILayer->InsertLayer(nullptr, kPlaceBelowAll, &layer);
        }
        if (layer != nullptr) SetLayerTitle(layer, record.title);
        made[static_cast<std::size_t>(i)] = layer;
    }

    for (int32_t level = 1; level <= nMaxFloor; ++level) {
        AILayerHandle parent = nullptr;
        for (int32_t i = 0; i < nMaxLayer; ++i) {
            const LayerRecord& record = layerFirstAI[i];
            if (record.depth != level) continue;
            if (i > 0 && layerFirstAI[i - 1].depth == level - 1) parent = made[static_cast<std::size_t>(i - 1)];
            AILayerHandle layer = nullptr;
            if (parent != nullptr) sAILayer->InsertLayer(parent, kPlaceInsideOnBottom, &layer);
            if (layer != nullptr) SetLayerTitle(layer, record.title);
            made[static_cast<std::size_t>(i)] = layer;
        }
    }
    return 1;
}

bool KTRPluginSelectMergePlugin::check_second_ai_layer() {
    LayerTree tree;
    // A tree that cannot be read whole cannot be shown to match.
    if (!ReadLayerTree(tree) || layerFirstAI == nullptr || tree.count != nMaxLayer) return false;
    for (int32_t i = 0; i < tree.count; ++i) {
        if (!SameRecord(tree.records[i], layerFirstAI[i])) return false;
    }
    return true;
}

bool KTRPluginSelectMergePlugin::CopyObjectMain(AIDocumentHandle tile, AIDocumentHandle target, float tileWidth,
                                                float tileHeight, int32_t k, int32_t j, bool firstIsTokyo23,
                                                bool /*firstIsMaterial*/) {
    // Every step is checked: a cut from the wrong document, or a paste that did
    // not come, would lose art.
    if (sAIDocumentList->Activate(tile, true) != kNoErr) return false;
    const AIRealRect artboard = ActiveArtboard();
    AIBoolean converted = false;
    sAILegacyTextConversion->ConvertAllToNative(&converted);

    const float rowMove = static_cast<float>(j) * tileHeight;
    const float columnMove = static_cast<float>(k) * tileWidth;

    // All that may throw comes before the cut: once the art has left the tile
    // it goes into the target whole and moved, never half way.
    const PreparedAction selectAll("adobe_selectAll", kDialogNone);
    const PreparedAction cut("adobe_cut", kDialogNone);
    const PreparedAction paste("adobe_pasteInBack", kDialogNone);
    const PreparedAction move("adobe_move", kDialogNoneAndNotify);
    if (sAIActionManager->AIActionSetReal(move.params(), kKeyHorizontal, columnMove + artboard.left) != kNoErr ||
        sAIActionManager->AIActionSetReal(move.params(), kKeyVertical, rowMove + artboard.bottom) != kNoErr) {
        return false;
    }
    const PreparedAction deselect("adobe_deselectAll", kDialogNone);
    PrepareTileLayers(firstIsTokyo23);

    // Until the paste the art is still the tile's, which is undone afterwards.
    if (selectAll.Play() != kNoErr || cut.Play() != kNoErr) return false;
    if (sAIDocumentList->Activate(target, true) != kNoErr || paste.Play() != kNoErr) return false;
    if (move.Play() != kNoErr) {
        // Left where it is the tile would lie on another; it goes, and the tile is named.
        DeleteSelectedArt();
        return false;
    }
    deselect.Play();
    return true;
}
