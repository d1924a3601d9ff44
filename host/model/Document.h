// One open document: its layer tree, its art tree, page and artboard, and the state that
// UndoChanges goes back to.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "AIHost.h"
#include "model/Art.h"
#include "model/ArtStyle.h"
#include "model/Workspace.h"

struct _AIDocument {};

namespace quiltor::host {

// Where art goes: into `container`, directly above `next` (null: at the bottom of the container).
struct Place {
    Art* container = nullptr;
    Art* next = nullptr;
};

// Everything of a document that undo brings back. The layer map is also the registry of the live
// layer handles; an art handle is live when its node's home is this content's (see ArtArena), and
// every live art node hangs in the layer trees.
struct DocumentContent {
    std::unordered_map<const _AILayer*, std::unique_ptr<Layer>> layers;
    uint64_t home = 0;
    Layer* firstLayer = nullptr;
    Layer* lastLayer = nullptr;
    Layer* currentLayer = nullptr;
    AIDocumentSetup setup{};
    AIRealRect artboard{};
    int16_t colorModel = kDocCMYKColor;
    bool modified = false;
    int32_t layersMade = 0;  // numbers the default titles "Layer N"
    // Art that may have a selection bit. While `selectionWhole` holds, every such node of this
    // content is in it (with stale and repeated entries besides), so the selection is found
    // without walking the document; it is lost on copies of the content and rebuilt by a walk.
    std::vector<Art*> selection;
    bool selectionWhole = false;
};

class Document : public _AIDocument {
public:
    // A document with the page and artboard of the options and, unless withFirstLayer is false,
    // one layer "Layer 1" (visible, editable) that is current.
    Document(StyleTable& styles, const NewDocumentOptions& options, bool withFirstLayer = true);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    StyleTable& styles() const { return styles_; }

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    const std::string& filePath() const { return filePath_; }
    void setFilePath(std::string path) { filePath_ = std::move(path); }
    const AIDocumentSetup& setup() const { return content_->setup; }
    void setSetup(const AIDocumentSetup& setup);
    int16_t colorModel() const { return content_->colorModel; }
    void setColorModel(int16_t model);
    const AIRealRect& artboard() const { return content_->artboard; }
    void setArtboard(const AIRealRect& rect);
    bool modified() const { return content_->modified; }
    void setModified(bool modified) { content_->modified = modified; }
    // How many layers the document has made so far; the next default title is "Layer <count + 1>".
    int32_t layersMade() const { return content_->layersMade; }
    void setLayersMade(int32_t count) { content_->layersMade = count; }

    // Null unless the handle names a live layer / art of this document.
    Layer* findLayer(const _AILayer* handle) const;
    Art* findArt(const _AIArt* handle) const;
    // Whether the node (one of ArtArena's) is live art of this document.
    bool holds(const Art* node) const { return node->home == content_->home; }
    size_t layerCount() const { return content_->layers.size(); }
    size_t artCount() const;

    // ---- Layers
    Layer* firstLayer() const { return content_->firstLayer; }
    Layer* lastLayer() const { return content_->lastLayer; }
    Layer* currentLayer() const { return content_->currentLayer; }
    void setCurrentLayer(Layer* layer) { content_->currentLayer = layer; }
    // A new layer "Layer N" placed by paintOrder: with a null reference kPlaceAboveAll/BelowAll
    // among the top-level layers, with a reference kPlaceAbove/Below beside it or
    // kPlaceInsideOnTop/OnBottom among its sublayers. Null when the order does not fit.
    Layer* insertLayer(Layer* reference, int16_t paintOrder);
    // Deletes the layer with its sublayers and their art. False when it is the document's only
    // top-level layer: a document always keeps one layer.
    bool deleteLayer(Layer* layer);
    void setLayerTitle(Layer* layer, std::u16string title);
    void setLayerOptions(Layer* layer, const LayerOptions& options);

    // ---- Art
    // Where paintOrder puts art relative to prep (a live art of this document, or null for the
    // current layer); nullopt when the order does not fit. kPlaceDefault is kPlaceAbove with a
    // prep and kPlaceAboveAll without one.
    std::optional<Place> placeFor(int16_t paintOrder, Art* prep) const;
    // Whether art may go to the place: groups and layer groups take any art, compound paths take
    // paths only, and nothing goes inside itself.
    static bool CanHold(const Place& place, const Art* art);
    // New empty art of the type at the place, with the default style of the document; null when
    // the place cannot hold it.
    Art* newArt(int16_t type, const Place& place);
    // Deletes the art and everything inside it. A layer's own group cannot be deleted (false).
    bool disposeArt(Art* art);
    // Moves art (with its members) to a place in `to`, which may be another document.
    // False (nothing moved) when the place cannot hold it or the art is a layer's own group.
    static bool MoveArt(Document& from, Art* art, Document& to, const Place& place);
    // A deep copy of source (which may belong to another document) at the place; null when the
    // place cannot hold it.
    Art* copyArt(const Art* source, const Place& place);

    // Gives the art the appearance; a compound path passes it on to its members.
    void setArtStyle(Art* art, ArtStyle* style);
    // Gives the art the path style, keeping its effect; a compound path passes it on to its members.
    void setPathStyle(Art* art, const AIPathStyle& style);
    // To be called before changing fields of live art or layers directly: keeps the undo state.
    void willChange();

    // ---- Selection
    // Sets the art's user attributes (the caller keeps the undo state). Selection bits are set
    // through here, so that the document can find its selection without a walk.
    void setUserAttr(Art* art, int32_t attrs);
    // Every art of the layer trees with kArtSelected or kArtFullySelected set, layer groups left
    // out, in no particular order. Costs the size of the selection, not of the document.
    std::vector<Art*> selectedArt();

    // ---- Undo
    // Whether anything changed since the document was made, opened or last purged.
    bool hasChanges() const { return mark_ != nullptr; }
    // Brings the content back to its state when made, opened or last purged. Every layer and art
    // handle of the changed state is dead afterwards.
    void undoChanges();
    // Makes the present state the one undo goes back to.
    void purgeUndo();
    // Forget the changes so far without undoing them, as after opening a file.
    void markOpened() {
        purgeUndo();
        content_->modified = false;
    }

private:
    void linkArt(Art* art, const Place& place);
    void unlinkArt(Art* art);
    void linkLayer(Layer* layer, Layer* parent, Layer* next);
    void unlinkLayer(Layer* layer);
    Art* makeArt(int16_t type);
    Layer* makeLayer();
    // Moves the nodes of the subtree into the graveyard; the caller has unlinked its root.
    void buryArt(Art* root);
    void buryLayer(Layer* root);
    void flushGraveyard();
    void noteSelected(Art* root);

    StyleTable& styles_;
    std::string title_;
    std::string filePath_;
    std::unique_ptr<DocumentContent> content_;
    std::unique_ptr<DocumentContent> mark_;  // the state undo goes back to; null while unchanged
    // Dead nodes stay out of reuse until the next purge or close, so that a dead handle is never
    // mistaken for a new object at the same address.
    std::vector<Art*> deadArts_;
    std::vector<std::unique_ptr<Layer>> deadLayers_;
};

// ---- Queries over the art tree

// The path that answers path queries for the art: the art itself for a path, the first member
// for a compound path whose first member is a path, else null (an empty compound path).
const Art* QueryPath(const Art* art);
Art* QueryPath(Art* art);

// Geometric bounds with the control points of curves. False (and *bounds zero) for art with
// nothing to measure: an empty path, an empty group.
bool ArtBounds(const Art* art, AIRealRect* bounds);

// Same segments (every field) and closed flag; compound paths compare member by member.
bool EqualGeometry(const Art* a, const Art* b);

// Applies the matrix to every anchor and control point (and text position) inside the art.
void TransformArtTree(Art* art, const AIRealMatrix& m);

}  // namespace quiltor::host
