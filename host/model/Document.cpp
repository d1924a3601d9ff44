#include "model/Document.h"

#include <algorithm>

#include "model/ArtArena.h"

namespace quiltor::host {

namespace {

Art* NewArtNode(DocumentContent& content) { return ArtArena::Shared().make(content.home); }

std::unique_ptr<DocumentContent> NewContent() {
    auto content = std::make_unique<DocumentContent>();
    content->home = ArtArena::Shared().newHome();
    return content;
}

// Every art node of the content, layer groups included.
std::vector<Art*> ArtNodes(const DocumentContent& content) {
    std::vector<Art*> nodes;
    for (const Layer* layer = content.firstLayer; layer; layer = NextLayerInPreorder(layer)) {
        for (Art* a = layer->group; a; a = NextInPreorder(a, layer->group)) nodes.push_back(a);
    }
    return nodes;
}

Layer* NewLayerNode(DocumentContent& content) {
    auto node = std::make_unique<Layer>();
    Layer* raw = node.get();
    content.layers.emplace(raw, std::move(node));
    return raw;
}

void CopyArtFields(Art* to, const Art* from) {
    to->type = from->type;
    to->userAttr = from->userAttr;
    to->style = from->style;
    to->segments = from->segments;
    to->closed = from->closed;
    to->text = from->text;
    to->position = from->position;
    to->fontSize = from->fontSize;
}

void AppendMember(Art* container, Art* member) {
    member->parent = container;
    member->prev = container->lastChild;
    member->next = nullptr;
    if (container->lastChild)
        container->lastChild->next = member;
    else
        container->firstChild = member;
    container->lastChild = member;
}

void AppendSublayer(DocumentContent& content, Layer* parent, Layer* layer) {
    Layer*& first = parent ? parent->firstChild : content.firstLayer;
    Layer*& last = parent ? parent->lastChild : content.lastLayer;
    layer->parent = parent;
    layer->prev = last;
    layer->next = nullptr;
    if (last)
        last->next = layer;
    else
        first = layer;
    last = layer;
}

// Copies the tree under source into content, member order kept; the copy is not linked anywhere.
// Works without recursion, so deep nesting cannot exhaust the stack.
Art* CloneTree(const Art* source, DocumentContent& content) {
    Art* root = NewArtNode(content);
    CopyArtFields(root, source);
    std::vector<std::pair<const Art*, Art*>> pending{{source, root}};
    while (!pending.empty()) {
        auto [from, to] = pending.back();
        pending.pop_back();
        for (const Art* member = from->firstChild; member; member = member->next) {
            Art* copy = NewArtNode(content);
            CopyArtFields(copy, member);
            AppendMember(to, copy);
            pending.emplace_back(member, copy);
        }
    }
    return root;
}

std::unique_ptr<DocumentContent> CloneContent(const DocumentContent& source) {
    auto copy = NewContent();
    copy->setup = source.setup;
    copy->artboard = source.artboard;
    copy->colorModel = source.colorModel;
    copy->modified = source.modified;
    copy->layersMade = source.layersMade;
    std::unordered_map<const Layer*, Layer*> copies;
    for (const Layer* layer = source.firstLayer; layer; layer = NextLayerInPreorder(layer)) {
        Layer* to = NewLayerNode(*copy);
        to->title = layer->title;
        to->options = layer->options;
        to->group = CloneTree(layer->group, *copy);
        to->group->ownerLayer = to;
        AppendSublayer(*copy, layer->parent ? copies.at(layer->parent) : nullptr, to);
        copies.emplace(layer, to);
    }
    copy->currentLayer = source.currentLayer ? copies.at(source.currentLayer) : nullptr;
    return copy;
}

bool CanHoldType(const Art* container, int16_t type) {
    if (!container) return false;
    if (container->type == kGroupArt) return true;
    return container->type == kCompoundPathArt && type == kPathArt;
}

void Include(AIRealRect& r, const AIRealPoint& p, bool& any) {
    if (!any) {
        r = AIRealRect{p.h, p.v, p.h, p.v};
        any = true;
        return;
    }
    r.left = std::min(r.left, p.h);
    r.right = std::max(r.right, p.h);
    r.bottom = std::min(r.bottom, p.v);
    r.top = std::max(r.top, p.v);
}

// Text has no outlines here: its box is estimated from the font size, half an em for ASCII and a
// full em for other characters, from 0.2 em below the baseline to 0.8 em above it.
void IncludeText(AIRealRect& r, const Art* text, bool& any) {
    double ems = 0;
    for (char16_t c : text->text) {
        if (c >= 0xDC00 && c <= 0xDFFF) continue;  // second half of a pair
        ems += c < 0x80 ? 0.5 : 1.0;
    }
    const double size = text->fontSize;
    const AIRealPoint p = text->position;
    Include(r, AIRealPoint{p.h, static_cast<AIReal>(p.v - 0.2 * size)}, any);
    Include(r, AIRealPoint{static_cast<AIReal>(p.h + ems * size), static_cast<AIReal>(p.v + 0.8 * size)}, any);
}

AIRealPoint Apply(const AIRealMatrix& m, AIRealPoint p) {
    const double h = p.h, v = p.v;
    return AIRealPoint{static_cast<AIReal>(m.a * h + m.c * v + m.tx), static_cast<AIReal>(m.b * h + m.d * v + m.ty)};
}

bool SameSegment(const AIPathSegment& a, const AIPathSegment& b) {
    return a.p.h == b.p.h && a.p.v == b.p.v && a.in.h == b.in.h && a.in.v == b.in.v && a.out.h == b.out.h &&
           a.out.v == b.out.v && (a.corner != 0) == (b.corner != 0);
}

}  // namespace

Document::Document(StyleTable& styles, const NewDocumentOptions& options, bool withFirstLayer)
    : styles_(styles), title_(options.title), content_(NewContent()) {
    AIDocumentSetup& setup = content_->setup;
    setup.width = options.widthPt;
    setup.height = options.heightPt;
    setup.showPlacedImages = 1;
    setup.outputResolution = 800.0f;
    setup.splitLongPaths = 0;
    setup.useDefaultScreen = 1;
    setup.compatibleGradients = 0;
    setup.printTiles = 0;
    setup.tileFullPages = 0;
    content_->artboard = AIRealRect{0, options.heightPt, options.widthPt, 0};
    content_->colorModel = options.colorModel;
    if (withFirstLayer) {
        content_->currentLayer = insertLayer(nullptr, kPlaceAboveAll);
        mark_.reset();
        content_->modified = false;
    }
}

Document::~Document() {
    ArtArena& arena = ArtArena::Shared();
    for (const DocumentContent* content : {content_.get(), mark_.get()}) {
        if (!content) continue;
        for (Art* art : ArtNodes(*content)) arena.release(art);
    }
    flushGraveyard();
}

size_t Document::artCount() const { return ArtNodes(*content_).size(); }

void Document::setSetup(const AIDocumentSetup& setup) {
    willChange();
    content_->setup = setup;
}

void Document::setColorModel(int16_t model) {
    willChange();
    content_->colorModel = model;
}

void Document::setArtboard(const AIRealRect& rect) {
    willChange();
    content_->artboard = rect;
}

Layer* Document::findLayer(const _AILayer* handle) const {
    auto found = content_->layers.find(handle);
    return found == content_->layers.end() ? nullptr : found->second.get();
}

Art* Document::findArt(const _AIArt* handle) const {
    Art* art = ArtArena::Shared().node(handle);
    return art && holds(art) ? art : nullptr;
}

Art* Document::makeArt(int16_t type) {
    Art* art = NewArtNode(*content_);
    art->type = type;
    art->style = styles_.intern(DefaultPathStyle(content_->colorModel));
    return art;
}

Layer* Document::makeLayer() {
    Layer* layer = NewLayerNode(*content_);
    layer->title = u"Layer " + [](int32_t n) {
        std::u16string digits;
        for (char c : std::to_string(n)) digits.push_back(static_cast<char16_t>(c));
        return digits;
    }(++content_->layersMade);
    layer->group = makeArt(kGroupArt);
    layer->group->ownerLayer = layer;
    return layer;
}

void Document::linkLayer(Layer* layer, Layer* parent, Layer* next) {
    Layer*& first = parent ? parent->firstChild : content_->firstLayer;
    Layer*& last = parent ? parent->lastChild : content_->lastLayer;
    Layer* prev = next ? next->prev : last;
    layer->parent = parent;
    layer->prev = prev;
    layer->next = next;
    if (prev)
        prev->next = layer;
    else
        first = layer;
    if (next)
        next->prev = layer;
    else
        last = layer;
}

void Document::unlinkLayer(Layer* layer) {
    Layer*& first = layer->parent ? layer->parent->firstChild : content_->firstLayer;
    Layer*& last = layer->parent ? layer->parent->lastChild : content_->lastLayer;
    if (layer->prev)
        layer->prev->next = layer->next;
    else
        first = layer->next;
    if (layer->next)
        layer->next->prev = layer->prev;
    else
        last = layer->prev;
    layer->parent = layer->prev = layer->next = nullptr;
}

Layer* Document::insertLayer(Layer* reference, int16_t paintOrder) {
    Layer* parent = nullptr;
    Layer* next = nullptr;
    if (!reference) {
        switch (paintOrder) {
        case kPlaceDefault:
        case kPlaceAboveAll: next = content_->firstLayer; break;
        case kPlaceBelowAll: next = nullptr; break;
        default: return nullptr;
        }
    } else {
        switch (paintOrder) {
        case kPlaceDefault:
        case kPlaceAbove:
            parent = reference->parent;
            next = reference;
            break;
        case kPlaceBelow:
            parent = reference->parent;
            next = reference->next;
            break;
        case kPlaceInsideOnTop:
            parent = reference;
            next = reference->firstChild;
            break;
        case kPlaceInsideOnBottom:
            parent = reference;
            next = nullptr;
            break;
        default: return nullptr;
        }
    }
    willChange();
    Layer* layer = makeLayer();
    linkLayer(layer, parent, next);
    if (!content_->currentLayer) content_->currentLayer = layer;
    return layer;
}

bool Document::deleteLayer(Layer* layer) {
    if (!layer->parent && layer == content_->firstLayer && layer == content_->lastLayer) return false;
    willChange();
    bool holdsCurrent = false;
    for (const Layer* l = content_->currentLayer; l; l = l->parent) holdsCurrent |= (l == layer);
    unlinkLayer(layer);
    buryLayer(layer);
    if (holdsCurrent) content_->currentLayer = content_->firstLayer;
    return true;
}

void Document::setLayerTitle(Layer* layer, std::u16string title) {
    willChange();
    layer->title = std::move(title);
}

void Document::setLayerOptions(Layer* layer, const LayerOptions& options) {
    willChange();
    layer->options = options;
}

std::optional<Place> Document::placeFor(int16_t paintOrder, Art* prep) const {
    auto layerGroup = [&]() -> Art* {
        Layer* layer = prep ? LayerOfArt(prep) : content_->currentLayer;
        return layer ? layer->group : nullptr;
    };
    Art* container = nullptr;
    switch (paintOrder) {
    case kPlaceAbove:
        if (!prep || !prep->parent) return std::nullopt;
        return Place{prep->parent, prep};
    case kPlaceBelow:
        if (!prep || !prep->parent) return std::nullopt;
        return Place{prep->parent, prep->next};
    case kPlaceInsideOnTop:
    case kPlaceInsideOnBottom:
        container = prep ? prep : layerGroup();
        if (!container || !IsContainer(container)) return std::nullopt;
        return Place{container, paintOrder == kPlaceInsideOnTop ? container->firstChild : nullptr};
    case kPlaceDefault:
        if (prep && prep->parent) return Place{prep->parent, prep};
        [[fallthrough]];
    case kPlaceAboveAll:
        container = layerGroup();
        if (!container) return std::nullopt;
        return Place{container, container->firstChild};
    case kPlaceBelowAll:
        container = layerGroup();
        if (!container) return std::nullopt;
        return Place{container, nullptr};
    default: return std::nullopt;
    }
}

bool Document::CanHold(const Place& place, const Art* art) {
    if (art->ownerLayer || !CanHoldType(place.container, art->type)) return false;
    for (const Art* a = place.container; a; a = a->parent) {
        if (a == art) return false;
    }
    return true;
}

void Document::linkArt(Art* art, const Place& place) {
    Art* container = place.container;
    Art* next = place.next;
    Art* prev = next ? next->prev : container->lastChild;
    art->parent = container;
    art->prev = prev;
    art->next = next;
    if (prev)
        prev->next = art;
    else
        container->firstChild = art;
    if (next)
        next->prev = art;
    else
        container->lastChild = art;
    // The members of a compound path share one appearance: the first member brings its own,
    // later ones take the compound path's.
    if (container->type == kCompoundPathArt) {
        if (container->firstChild == art && !art->next)
            container->style = art->style;
        else
            art->style = container->style;
    }
}

void Document::unlinkArt(Art* art) {
    Art* container = art->parent;
    if (art->prev)
        art->prev->next = art->next;
    else
        container->firstChild = art->next;
    if (art->next)
        art->next->prev = art->prev;
    else
        container->lastChild = art->prev;
    art->parent = art->prev = art->next = nullptr;
}

Art* Document::newArt(int16_t type, const Place& place) {
    const bool known = type == kGroupArt || type == kPathArt || type == kCompoundPathArt || type == kTextFrameArt;
    if (!known || !CanHoldType(place.container, type)) return nullptr;
    willChange();
    Art* art = makeArt(type);
    linkArt(art, place);
    return art;
}

bool Document::disposeArt(Art* art) {
    if (!art->parent) return false;
    willChange();
    unlinkArt(art);
    buryArt(art);
    return true;
}

bool Document::MoveArt(Document& from, Art* art, Document& to, const Place& place) {
    if (!art->parent || !CanHold(place, art)) return false;
    if (place.next == art) return true;  // above or below itself: already there
    from.willChange();
    if (&to != &from) to.willChange();
    from.unlinkArt(art);
    if (&to != &from) {
        for (Art* a = art; a; a = NextInPreorder(a, art)) a->home = to.content_->home;
        to.noteSelected(art);
    }
    to.linkArt(art, place);
    return true;
}

Art* Document::copyArt(const Art* source, const Place& place) {
    if (source->ownerLayer || !CanHoldType(place.container, source->type)) return nullptr;
    willChange();
    Art* copy = CloneTree(source, *content_);
    linkArt(copy, place);
    noteSelected(copy);
    return copy;
}

void Document::setArtStyle(Art* art, ArtStyle* style) {
    willChange();
    art->style = style;
    if (art->type == kCompoundPathArt) {
        for (Art* member = art->firstChild; member; member = member->next) member->style = style;
    }
}

void Document::setPathStyle(Art* art, const AIPathStyle& style) {
    setArtStyle(art, styles_.intern(style, art->style ? art->style->effect() : 0));
}

void Document::willChange() {
    if (!mark_) mark_ = CloneContent(*content_);
    content_->modified = true;
}

namespace {
constexpr int32_t kSelectionBits = kArtSelected | kArtFullySelected;
}

void Document::setUserAttr(Art* art, int32_t attrs) {
    art->userAttr = attrs;
    if ((attrs & kSelectionBits) && content_->selectionWhole) content_->selection.push_back(art);
}

void Document::noteSelected(Art* root) {
    if (!content_->selectionWhole) return;
    for (Art* a = root; a; a = NextInPreorder(a, root)) {
        if (a->userAttr & kSelectionBits) content_->selection.push_back(a);
    }
}

std::vector<Art*> Document::selectedArt() {
    std::vector<Art*>& selection = content_->selection;
    if (content_->selectionWhole) {
        // Entries may be dead, deselected or repeated (and a node given back to the arena may
        // have come back as other art), so every one is asked again.
        std::erase_if(selection,
                      [this](const Art* a) { return !holds(a) || a->ownerLayer || !(a->userAttr & kSelectionBits); });
        std::sort(selection.begin(), selection.end());
        selection.erase(std::unique(selection.begin(), selection.end()), selection.end());
    } else {
        selection.clear();
        for (Layer* layer = firstLayer(); layer; layer = NextLayerInPreorder(layer)) {
            for (Art* a = layer->group->firstChild; a; a = NextInPreorder(a, layer->group)) {
                if (a->userAttr & kSelectionBits) selection.push_back(a);
            }
        }
        content_->selectionWhole = true;
    }
    return selection;
}

void Document::buryArt(Art* root) {
    std::vector<Art*> nodes;
    for (Art* a = root; a; a = NextInPreorder(a, root)) nodes.push_back(a);
    for (Art* dead : nodes) {
        dead->home = 0;
        dead->segments = {};
        dead->text = {};
        dead->parent = dead->prev = dead->next = dead->firstChild = dead->lastChild = nullptr;
        dead->ownerLayer = nullptr;
        deadArts_.push_back(dead);
    }
}

void Document::buryLayer(Layer* root) {
    std::vector<Layer*> layers;
    std::vector<Layer*> pending{root};
    while (!pending.empty()) {
        Layer* l = pending.back();
        pending.pop_back();
        layers.push_back(l);
        for (Layer* sub = l->firstChild; sub; sub = sub->next) pending.push_back(sub);
    }
    for (Layer* l : layers) {
        buryArt(l->group);
        auto node = content_->layers.extract(l);
        if (node.empty()) continue;
        std::unique_ptr<Layer> dead = std::move(node.mapped());
        dead->parent = dead->prev = dead->next = dead->firstChild = dead->lastChild = nullptr;
        dead->group = nullptr;
        deadLayers_.push_back(std::move(dead));
    }
}

void Document::undoChanges() {
    if (!mark_) return;
    std::unique_ptr<DocumentContent> changed = std::move(content_);
    content_ = std::move(mark_);
    for (Art* art : ArtNodes(*changed)) {
        art->home = 0;
        deadArts_.push_back(art);
    }
    for (auto& [handle, layer] : changed->layers) deadLayers_.push_back(std::move(layer));
}

void Document::purgeUndo() {
    mark_.reset();
    flushGraveyard();
}

void Document::flushGraveyard() {
    ArtArena& arena = ArtArena::Shared();
    for (Art* art : deadArts_) arena.release(art);
    deadArts_.clear();
    deadLayers_.clear();
}

// ---------------------------------------------------------------- queries

const Art* QueryPath(const Art* art) {
    if (art->type == kPathArt) return art;
    if (art->type == kCompoundPathArt && art->firstChild && art->firstChild->type == kPathArt) return art->firstChild;
    return nullptr;
}

Art* QueryPath(Art* art) { return const_cast<Art*>(QueryPath(static_cast<const Art*>(art))); }

bool ArtBounds(const Art* art, AIRealRect* bounds) {
    AIRealRect r{0, 0, 0, 0};
    bool any = false;
    for (const Art* a = art; a; a = NextInPreorder(a, art)) {
        if (a->type == kPathArt) {
            for (const AIPathSegment& s : a->segments) {
                Include(r, s.p, any);
                Include(r, s.in, any);
                Include(r, s.out, any);
            }
        } else if (a->type == kTextFrameArt) {
            IncludeText(r, a, any);
        }
    }
    *bounds = r;
    return any;
}

bool EqualGeometry(const Art* a, const Art* b) {
    if (a->type != b->type) return false;
    if (a->type == kPathArt) {
        return a->closed == b->closed && a->segments.size() == b->segments.size() &&
               std::equal(a->segments.begin(), a->segments.end(), b->segments.begin(), SameSegment);
    }
    if (a->type != kCompoundPathArt) return false;
    const Art* x = a->firstChild;
    const Art* y = b->firstChild;
    for (; x && y; x = x->next, y = y->next) {
        if (!EqualGeometry(x, y)) return false;
    }
    return !x && !y;
}

void TransformArtTree(Art* art, const AIRealMatrix& m) {
    for (Art* a = art; a; a = NextInPreorder(a, art)) {
        for (AIPathSegment& s : a->segments) {
            s.p = Apply(m, s.p);
            s.in = Apply(m, s.in);
            s.out = Apply(m, s.out);
        }
        if (a->type == kTextFrameArt) a->position = Apply(m, a->position);
    }
}

}  // namespace quiltor::host
