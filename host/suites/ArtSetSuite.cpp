#include <algorithm>
#include <unordered_set>

#include "core/SuiteRegistry.h"
#include "model/Handles.h"
#include "suites/RunWatcher.h"
#include "suites/SuiteContext.h"
#include "suites/SuiteSupport.h"

namespace quiltor::host::suites {

namespace {

ArtSet* FindSet(AIArtSet handle) {
    Workspace* workspace = CurrentWorkspace();
    return workspace && handle ? workspace->artSets().find(handle) : nullptr;
}

void Append(ArtSet* set, AIArtHandle art) {
    set->items.push_back(art);
    if (set->counted) ++set->occurrences[art];
}

std::unordered_map<AIArtHandle, int32_t>& Occurrences(ArtSet* set) {
    if (!set->counted) {
        set->occurrences.reserve(set->items.size());
        for (AIArtHandle art : set->items) ++set->occurrences[art];
        set->counted = true;
    }
    return set->occurrences;
}

AIErr NewArtSet(AIArtSet* artSet) {
    return Guarded([&]() -> AIErr {
        if (!artSet) return kBadParameterErr;
        *artSet = nullptr;
        Workspace* workspace = CurrentWorkspace();
        if (!workspace) return kBadParameterErr;
        *artSet = workspace->artSets().add();
        return kNoErr;
    });
}

AIErr DisposeArtSet(AIArtSet* artSet) {
    return Guarded([&]() -> AIErr {
        if (!artSet) return kBadParameterErr;
        Workspace* workspace = CurrentWorkspace();
        if (!workspace || !*artSet || !workspace->artSets().remove(*artSet)) return kBadParameterErr;
        *artSet = nullptr;
        return kNoErr;
    });
}

AIErr CountArtSet(AIArtSet handle, int32_t* count) {
    return Guarded([&]() -> AIErr {
        if (!count) return kBadParameterErr;
        *count = 0;
        ArtSet* set = FindSet(handle);
        if (!set) return kBadParameterErr;
        *count = static_cast<int32_t>(set->items.size());
        return kNoErr;
    });
}

AIErr IndexArtSet(AIArtSet handle, int32_t index, AIArtHandle* art) {
    return Guarded([&]() -> AIErr {
        if (!art) return kBadParameterErr;
        *art = nullptr;
        ArtSet* set = FindSet(handle);
        if (!set) return kBadParameterErr;
        if (index < 0 || static_cast<size_t>(index) >= set->items.size()) return kIndexOutOfRangeErr;
        *art = set->items[static_cast<size_t>(index)];
        return kNoErr;
    });
}

AIErr LayerArtSet(AILayerHandle layerHandle, AIArtSet handle) {
    return Guarded([&]() -> AIErr {
        ArtSet* set = FindSet(handle);
        Layer* layer = FindLayer(layerHandle);
        if (!set || !layer) return kBadParameterErr;
        if (RunningHost() && RunningHost()->watcher) RunningHost()->watcher->LayerArtListed(*layer);
        for (Art* a = layer->group; a; a = NextInPreorder(a, layer->group)) Append(set, a);
        return kNoErr;
    });
}

// Every selected art and every container holding selected art, in document preorder: layers in
// preorder, each layer's own group and its art in preorder.
AIErr SelectedArtSet(AIArtSet handle) {
    return Guarded([&]() -> AIErr {
        ArtSet* set = FindSet(handle);
        if (!set) return kBadParameterErr;
        Document* document = CurrentDocument();
        if (!document) return kNoDocumentErr;
        std::unordered_set<const Art*> holders;
        for (Layer* layer = document->firstLayer(); layer; layer = NextLayerInPreorder(layer)) {
            for (Art* a = layer->group; a; a = NextInPreorder(a, layer->group)) {
                if (!(a->userAttr & kArtSelected)) continue;
                for (const Art* up = a->parent; up; up = up->parent) {
                    if (!holders.insert(up).second) break;  // this one and those above are in already
                }
            }
        }
        for (Layer* layer = document->firstLayer(); layer; layer = NextLayerInPreorder(layer)) {
            for (Art* a = layer->group; a; a = NextInPreorder(a, layer->group)) {
                if ((a->userAttr & kArtSelected) || holders.count(a)) Append(set, a);
            }
        }
        return kNoErr;
    });
}

AIErr RemoveArtFromArtSet(AIArtSet handle, AIArtHandle art) {
    return Guarded([&]() -> AIErr {
        ArtSet* set = FindSet(handle);
        if (!set) return kBadParameterErr;
        auto& occurrences = Occurrences(set);
        auto found = occurrences.find(art);
        if (found == occurrences.end()) return kNoErr;
        set->items.erase(std::find(set->items.begin(), set->items.end(), art));
        if (--found->second == 0) occurrences.erase(found);
        return kNoErr;
    });
}

AIErr AddArtToArtSet(AIArtSet handle, AIArtHandle art) {
    return Guarded([&]() -> AIErr {
        ArtSet* set = FindSet(handle);
        if (!set || !FindArt(art)) return kBadParameterErr;
        if (!Occurrences(set).count(art)) Append(set, art);
        return kNoErr;
    });
}

const AIArtSetSuite kArtSetSuite = {
    .NewArtSet = NewArtSet,
    .DisposeArtSet = DisposeArtSet,
    .CountArtSet = CountArtSet,
    .IndexArtSet = IndexArtSet,
    .LayerArtSet = LayerArtSet,
    .SelectedArtSet = SelectedArtSet,
    .RemoveArtFromArtSet = RemoveArtFromArtSet,
    .AddArtToArtSet = AddArtToArtSet,
};

}  // namespace

void RegisterArtSetSuite(SuiteRegistry& registry) { registry.add(kAIArtSetSuite, kAIArtSetSuiteVersion, kArtSetSuite); }

}  // namespace quiltor::host::suites
