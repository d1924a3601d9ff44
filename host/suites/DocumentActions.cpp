#include "suites/DocumentActions.h"

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/ActionRegistry.h"
#include "model/Document.h"
#include "model/Workspace.h"
#include "suites/SuiteContext.h"

namespace quiltor::host {
namespace {

constexpr int32_t kSelectedBits = kArtSelected | kArtFullySelected;
constexpr AIActionParamKey kHorizontalKey = AI_ACTION_KEY('h', 'o', 'z', 'n');
constexpr AIActionParamKey kVerticalKey = AI_ACTION_KEY('v', 't', 'c', 'l');

using TitlePath = std::vector<std::u16string>;

// What the last cut took. The objects live in the first layer of a document of their own, which no
// suite can reach, in cut order; pathOf[i] names the layer the i-th one came from.
struct Clipboard {
    const Workspace* workspace = nullptr;  // whose styles the objects use
    std::unique_ptr<Document> holder;
    std::vector<TitlePath> paths;
    std::vector<size_t> pathOf;

    bool empty() const { return !holder || !holder->firstLayer()->group->firstChild; }
    void clear() {
        holder.reset();
        paths.clear();
        pathOf.clear();
    }
};

// The next art after `art` in preorder without going into its members.
Art* NextSkippingMembers(const Art* art, const Art* root) {
    for (const Art* a = art; a && a != root; a = a->parent) {
        if (a->next) return a->next;
    }
    return nullptr;
}

bool IsBlocked(const Art* art) { return (art->userAttr & (kArtLocked | kArtHidden)) != 0; }
bool IsSelected(const Art* art) { return (art->userAttr & kArtSelected) != 0; }

// Writes only what changes: a scan over a large document that leaves most art as it was should
// not dirty every node.
void SetSelected(Document& document, Art* art, bool on) {
    const int32_t value = on ? (art->userAttr | kSelectedBits) : (art->userAttr & ~kSelectedBits);
    if (value != art->userAttr) document.setUserAttr(art, value);
}

// Whether a user can select art in the layer: it and every layer above it shown and unlocked.
// Walked in preorder, so a parent's answer is known before its sublayers are asked.
class LayerReach {
public:
    bool reachable(const Layer* layer) {
        const bool own = layer->options.visible && layer->options.editable;
        const bool answer = own && (!layer->parent || reach_.at(layer->parent));
        reach_[layer] = answer;
        return answer;
    }

private:
    std::unordered_map<const Layer*, bool> reach_;
};

// Selects what a click could reach inside the layer group (or the pasted root): an object not
// locked or hidden whose container is selected too. Everything else is deselected.
void SelectMembers(Document& document, Art* root, bool reachable) {
    for (Art* a = root->firstChild; a; a = NextInPreorder(a, root)) {
        const bool containerOn = a->parent == root || IsSelected(a->parent);
        SetSelected(document, a, reachable && containerOn && !IsBlocked(a));
    }
}

void SelectPasted(Document& document, Art* art) {
    if (IsBlocked(art)) return;
    document.setUserAttr(art, art->userAttr | kSelectedBits);
    SelectMembers(document, art, true);
}

void DeselectAll(Document& document) {
    for (Art* a : document.selectedArt()) SetSelected(document, a, false);
}

// Whether art inside a layer group sits in a selected group or compound path.
bool HasSelectedContainer(const Art* art) {
    for (const Art* up = art->parent; up && !up->ownerLayer; up = up->parent) {
        if (IsSelected(up)) return true;
    }
    return false;
}

// Visits the topmost selected objects (a selected object's members go with it), layer by layer in
// preorder and top to bottom inside each layer.
template <class Visit>
void ForEachSelectedRoot(Document& document, Visit visit) {
    for (Layer* layer = document.firstLayer(); layer; layer = NextLayerInPreorder(layer)) {
        Art* group = layer->group;
        for (Art* a = group->firstChild; a;) {
            if (IsSelected(a)) {
                Art* next = NextSkippingMembers(a, group);
                visit(layer, a);
                a = next;
            } else {
                a = NextInPreorder(a, group);
            }
        }
    }
}

TitlePath TitlePathOf(const Layer* layer) {
    TitlePath path;
    for (const Layer* l = layer; l; l = l->parent) path.push_back(l->title);
    return TitlePath(path.rbegin(), path.rend());
}

Document* Front() { return RunningHost() ? RunningHost()->workspace.currentDocument() : nullptr; }

AIErr SelectAll(int32_t, const _AIActionParamValue*) {
    Document* document = Front();
    if (!document) return kNoDocumentErr;
    LayerReach reach;
    for (Layer* layer = document->firstLayer(); layer; layer = NextLayerInPreorder(layer))
        SelectMembers(*document, layer->group, reach.reachable(layer));
    return kNoErr;
}

AIErr Deselect(int32_t, const _AIActionParamValue*) {
    Document* document = Front();
    if (!document) return kNoDocumentErr;
    DeselectAll(*document);
    return kNoErr;
}

AIErr Cut(Clipboard& clipboard) {
    if (!RunningHost()) return kNoDocumentErr;
    Workspace& workspace = RunningHost()->workspace;
    Document* document = workspace.currentDocument();
    if (!document) return kNoDocumentErr;

    struct Taken {
        Art* art;
        size_t path;
    };
    std::vector<Taken> taken;
    std::vector<TitlePath> paths;
    const Layer* lastLayer = nullptr;
    ForEachSelectedRoot(*document, [&](Layer* layer, Art* art) {
        // Roots come layer by layer, so a layer's path is worked out once.
        if (layer != lastLayer) {
            paths.push_back(TitlePathOf(layer));
            lastLayer = layer;
        }
        taken.push_back({art, paths.size() - 1});
    });

    // Cutting nothing leaves nothing to paste: a stale clipboard pasted again would put the
    // previous objects in twice.
    clipboard.clear();
    if (taken.empty()) return kNoErr;

    NewDocumentOptions options;
    options.title = "Clipboard";
    clipboard.holder = std::make_unique<Document>(workspace.styles(), options);
    clipboard.workspace = &workspace;
    Art* shelf = clipboard.holder->firstLayer()->group;
    for (const Taken& t : taken) {
        if (!Document::MoveArt(*document, t.art, *clipboard.holder, Place{shelf, nullptr})) continue;
        clipboard.pathOf.push_back(t.path);
    }
    clipboard.holder->purgeUndo();
    clipboard.paths = std::move(paths);
    return kNoErr;
}

// Finds the layers of title paths in a document, first of its title among its siblings at every
// level, making what is missing. New layers at one level keep the order they are asked for, on
// top of the siblings that were there.
class LayerFinder {
public:
    explicit LayerFinder(Document& document) : document_(document) {
        for (Layer* layer = document.firstLayer(); layer; layer = NextLayerInPreorder(layer))
            byTitle_.emplace(Key{layer->parent, layer->title}, layer);
    }

    Layer* find(const TitlePath& path) {
        Layer* parent = nullptr;
        for (const std::u16string& title : path) {
            auto found = byTitle_.find(Key{parent, title});
            parent = found != byTitle_.end() ? found->second : make(parent, title);
            if (!parent) return nullptr;
        }
        return parent;
    }

private:
    using Key = std::pair<const Layer*, std::u16string>;

    Layer* make(Layer* parent, const std::u16string& title) {
        auto made = lastMade_.find(parent);
        Layer* layer = made != lastMade_.end() ? document_.insertLayer(made->second, kPlaceBelow)
                       : parent                ? document_.insertLayer(parent, kPlaceInsideOnTop)
                                               : document_.insertLayer(nullptr, kPlaceAboveAll);
        if (!layer) return nullptr;
        document_.setLayerTitle(layer, title);
        lastMade_[parent] = layer;
        byTitle_.emplace(Key{parent, title}, layer);
        return layer;
    }

    Document& document_;
    std::map<Key, Layer*> byTitle_;
    std::unordered_map<const Layer*, Layer*> lastMade_;
};

AIErr PasteInBack(Clipboard& clipboard) {
    SuiteContext* host = RunningHost();
    if (!host) return kNoDocumentErr;
    Workspace& workspace = host->workspace;
    Document* document = workspace.currentDocument();
    if (!document) return kNoDocumentErr;
    if (clipboard.empty() || clipboard.workspace != &workspace) return kNoErr;

    std::vector<Layer*> targets;
    if (host->preferences.pasteRemembersLayers) {
        LayerFinder finder(*document);
        for (const TitlePath& path : clipboard.paths) targets.push_back(finder.find(path));
    } else {
        Layer* current = document->currentLayer() ? document->currentLayer() : document->firstLayer();
        targets.assign(clipboard.paths.size(), current);
    }

    DeselectAll(*document);
    size_t i = 0;
    for (const Art* item = clipboard.holder->firstLayer()->group->firstChild; item; item = item->next, ++i) {
        Layer* layer = targets[clipboard.pathOf[i]];
        if (!layer) return kCantHappenErr;
        Art* copy = document->copyArt(item, Place{layer->group, nullptr});
        if (copy) SelectPasted(*document, copy);
    }
    return kNoErr;
}

// A real parameter; a missing one is 0, and whole numbers are taken as they are.
bool ReadOffset(const _AIActionParamValue* params, AIActionParamKey key, AIReal* value) {
    *value = 0;
    if (!params) return true;
    auto it = params->values.find(key);
    if (it == params->values.end()) return true;
    if (const AIReal* real = std::get_if<AIReal>(&it->second)) {
        *value = *real;
        return true;
    }
    if (const int32_t* whole = std::get_if<int32_t>(&it->second)) {
        *value = static_cast<AIReal>(*whole);
        return true;
    }
    return false;
}

AIErr Move(int32_t, const _AIActionParamValue* params) {
    AIReal dh = 0, dv = 0;
    if (!ReadOffset(params, kHorizontalKey, &dh) || !ReadOffset(params, kVerticalKey, &dv)) return kBadParameterErr;
    Document* document = Front();
    if (!document) return kNoDocumentErr;
    if (dh == 0 && dv == 0) return kNoErr;  // nothing moves, nothing to undo
    const AIRealMatrix shift{1, 0, 0, 1, dh, dv};
    // Members go with the topmost selected art; the order does not matter to a shift.
    bool changing = false;
    for (Art* art : document->selectedArt()) {
        if (!IsSelected(art) || HasSelectedContainer(art)) continue;
        if (!changing) {
            document->willChange();
            changing = true;
        }
        TransformArtTree(art, shift);
    }
    return kNoErr;
}

}  // namespace

void RegisterDocumentActions(ActionRegistry& registry) {
    auto clipboard = std::make_shared<Clipboard>();
    registry.add("adobe_selectAll", SelectAll);
    registry.add("adobe_deselectAll", Deselect);
    registry.add("adobe_cut", [clipboard](int32_t, const _AIActionParamValue*) { return Cut(*clipboard); });
    registry.add("adobe_pasteInBack",
                 [clipboard](int32_t, const _AIActionParamValue*) { return PasteInBack(*clipboard); });
    registry.add("adobe_move", Move);
}

}  // namespace quiltor::host
