// The nodes of a document: layers and the art tree. The handles the suites hand out are pointers
// to these nodes (as their empty handle bases), so a handle needs no table to be turned back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "AIHost.h"

struct _AIArt {};
struct _AILayer {};

namespace quiltor::host {

class ArtStyle;
struct Layer;

// The user attributes the host keeps (GetArtUserAttr / SetArtUserAttr).
constexpr int32_t kKnownUserAttrs = kArtSelected | kArtLocked | kArtHidden | kArtFullySelected;

// A path holds at most this many segments: the counts of the path suite are 16-bit.
constexpr size_t kMaxPathSegments = 32767;

// One art object. Members are kept top to bottom in an intrusive doubly linked list, so that
// unlinking, relinking and walking siblings take constant time. The fields the path queries read
// come first and a node starts a cache line, so that a query on a large document costs one miss.
struct alignas(64) Art : _AIArt {
    uint64_t home = 0;                    // the document content holding the node; 0 when dead (see ArtArena)
    int16_t type = kGroupArt;             // kGroupArt, kPathArt, kCompoundPathArt or kTextFrameArt
    bool closed = false;                  // paths
    int32_t userAttr = 0;                 // selection bits are set through Document::setUserAttr
    ArtStyle* style = nullptr;            // never null for live art
    std::vector<AIPathSegment> segments;  // paths
    Art* parent = nullptr;                // null for a layer's own group
    Art* firstChild = nullptr;            // topmost member

    Art* prev = nullptr;          // the member above
    Art* next = nullptr;          // the member below
    Art* lastChild = nullptr;     // bottommost member
    Layer* ownerLayer = nullptr;  // set on a layer's own group only

    // Text frames: the text, the baseline start of its first line and the font size in points.
    std::u16string text;
    AIRealPoint position{0, 0};
    AIReal fontSize = 12.0f;
};

struct LayerOptions {
    bool visible = true;
    bool preview = true;
    bool editable = true;
    bool printed = true;
    bool dimPlacedImages = false;
    bool isTemplate = false;
    bool operator==(const LayerOptions&) const = default;
};

// Sublayers are kept top to bottom like art members. The layer's own art lives in `group`.
struct Layer : _AILayer {
    std::u16string title;
    LayerOptions options;
    Layer* parent = nullptr;
    Layer* prev = nullptr;
    Layer* next = nullptr;
    Layer* firstChild = nullptr;
    Layer* lastChild = nullptr;
    Art* group = nullptr;
};

// The next art after `art` in preorder, staying inside `root` (members before the next sibling).
inline Art* NextInPreorder(const Art* art, const Art* root) {
    if (art->firstChild) return art->firstChild;
    for (const Art* a = art; a && a != root; a = a->parent) {
        if (a->next) return a->next;
    }
    return nullptr;
}

// The next layer in preorder over the whole document (sublayers before the next sibling).
inline Layer* NextLayerInPreorder(const Layer* layer) {
    if (layer->firstChild) return layer->firstChild;
    for (const Layer* l = layer; l; l = l->parent) {
        if (l->next) return l->next;
    }
    return nullptr;
}

// The layer holding the art: the owner of the group at the top of its tree.
inline Layer* LayerOfArt(const Art* art) {
    while (art->parent) art = art->parent;
    return art->ownerLayer;
}

inline bool IsContainer(const Art* art) { return art->type == kGroupArt || art->type == kCompoundPathArt; }

}  // namespace quiltor::host
