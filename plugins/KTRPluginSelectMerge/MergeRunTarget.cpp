// The target document of a merge run: fresh when the run starts, and given
// the first tile's layer options when it ends.
#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "LayerSnapshot.h"
#include "MergeRunSteps.h"
#include "SelectMergeHost.h"
#include "Suites.h"
#include "core/LayerScheme.h"

namespace mergerun {

namespace {

constexpr char kMsgDone[] = "作業が完了しました。";

constexpr char kScaleBarTitle[] = "スケールバー";
constexpr char kNorthArrowTitle[] = "方位記号";
constexpr char kRoadTitle[] = "道路";

// Titles from the top-level layer down to the layer itself.
using TitlePath = std::vector<std::string>;

struct TargetLayer {
    AILayerHandle layer = nullptr;
    TitlePath path;
};

std::vector<TargetLayer> ReadTargetLayers() {
    std::vector<TargetLayer> layers;
    for (AILayerHandle layer = FirstLayer(); layer != nullptr; layer = NextPreorder(layer)) {
        TargetLayer entry{layer, {}};
        for (AILayerHandle up = layer; up != nullptr;) {
            std::string title;
            ReadLayerTitle(up, title);
            entry.path.insert(entry.path.begin(), std::move(title));
            AILayerHandle parent = nullptr;
            sAILayer->GetLayerParent(up, &parent);
            up = parent;
        }
        layers.push_back(std::move(entry));
    }
    return layers;
}

std::vector<TitlePath> SnapshotPaths() {
    std::vector<TitlePath> paths;
    TitlePath path;
    for (int32_t i = 0; layerFirstAI != nullptr && i < nMaxLayer; ++i) {
        const LayerRecord& record = layerFirstAI[i];
        path.resize(std::min(path.size(), static_cast<std::size_t>(std::max(record.depth, 0))));
        path.emplace_back(record.title);
        paths.push_back(path);
    }
    return paths;
}

// The snapshot record of each target layer, null for none. By position while
// the two trees are the same; else by title path, so that a layer the host
// made on its own does not shift every option below it onto the wrong layer
// (the n-th layer of a path takes the n-th record of that path).
std::vector<const LayerRecord*> PairWithSnapshot(const std::vector<TargetLayer>& targets) {
    const std::vector<TitlePath> paths = SnapshotPaths();
    std::vector<const LayerRecord*> pairs(targets.size(), nullptr);
    bool same = targets.size() == paths.size();
    for (std::size_t i = 0; same && i < targets.size(); ++i) same = targets[i].path == paths[i];
    if (same) {
        for (std::size_t i = 0; i < targets.size(); ++i) pairs[i] = &layerFirstAI[i];
        return pairs;
    }
    std::map<TitlePath, std::vector<std::size_t>> recordsOf;
    for (std::size_t r = 0; r < paths.size(); ++r) recordsOf[paths[r]].push_back(r);
    std::map<TitlePath, std::size_t> taken;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const auto found = recordsOf.find(targets[i].path);
        if (found == recordsOf.end()) continue;
        const std::size_t n = taken[targets[i].path]++;
        if (n < found->second.size()) pairs[i] = &layerFirstAI[found->second[n]];
    }
    return pairs;
}

// The first tile's layer options, and the Tokyo-23 touches.
void RestoreLayerOptions(bool firstIsTokyo23) {
    // The road names take their title back first: with it the target's tree
    // is the first tile's again.
    if (firstIsTokyo23) {
        for (AILayerHandle layer = FirstLayer(); layer != nullptr; layer = NextPreorder(layer)) {
            std::string title;
            if (ReadLayerTitle(layer, title) && title == tokyo23RoadNotesTitle) SetLayerTitle(layer, kRoadTitle);
        }
    }
    const std::vector<TargetLayer> targets = ReadTargetLayers();
    const std::vector<const LayerRecord*> records = PairWithSnapshot(targets);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const AILayerHandle layer = targets[i].layer;
        if (const LayerRecord* record = records[i]) {
            sAILayer->SetLayerDimPlacedImages(layer, record->dimPlacedImages);
            sAILayer->SetLayerPreview(layer, record->preview);
            sAILayer->SetLayerPrinted(layer, record->printed);
            sAILayer->SetLayerIsTemplate(layer, record->isTemplate);
            sAILayer->SetLayerVisible(layer, record->visible);
            sAILayer->SetLayerEditable(layer, record->editable);
        }
        const std::string& title = targets[i].path.back();
        if (firstIsTokyo23 && (title == kScaleBarTitle || title == kNorthArrowTitle))
            sAILayer->SetLayerVisible(layer, false);
    }
}

}  // namespace

bool IsFreshTarget() {
    int32_t count = 0;
    sAILayer->CountLayers(&count);
    if (count != 1) return false;
    const AILayerHandle layer = FirstLayer();
    if (layer == nullptr) return false;
    AIBoolean hasArt = true;
    sAILayer->LayerHasArt(layer, &hasArt);
    if (hasArt) return false;
    AIBoolean editable = false;
    sAILayer->GetLayerEditable(layer, &editable);
    if (!editable) return false;
    AIBoolean visible = false;
    sAILayer->GetLayerVisible(layer, &visible);
    if (!visible) return false;
    AILayerHandle child = nullptr;
    sAILayer->GetLayerFirstChild(layer, &child);
    return child == nullptr;
}

void Finish(bool firstIsTokyo23, std::unique_ptr<MergeProgress> progress) {
    RestoreLayerOptions(firstIsTokyo23);
    FreeLayerSnapshot();
    sAIUndo->PurgeAllUndos();
    sAIDocument->SetDocumentModified(false);
    if (const AILayerHandle first = FirstLayer()) sAILayer->SetCurrentLayer(first);
    // The progress goes before the last message.
    progress.reset();
    ShowMessageAlert(kMsgDone);
}

}  // namespace mergerun
