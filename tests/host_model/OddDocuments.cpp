#include "OddDocuments.h"

#include <limits>
#include <random>
#include <string>
#include <vector>

namespace quiltor::host::testing {

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

// A page height with many digits, so the flip is not trivially exact.
constexpr float kPageHeight = 2383.937f;

std::unique_ptr<Document> NewDocument(StyleTable& styles) {
    NewDocumentOptions options;
    options.widthPt = 3370.3938f;
    options.heightPt = kPageHeight;
    options.colorModel = kDocCMYKColor;
    return std::make_unique<Document>(styles, options);
}

Art* Add(Document& d, int16_t type, Art* container) { return d.newArt(type, Place{container, container->firstChild}); }

AIPathSegment Seg(AIRealPoint p, AIRealPoint in, AIRealPoint out, bool corner) { return {p, in, out, corner}; }

AIPathSegment Corner(float h, float v) { return Seg({h, v}, {h, v}, {h, v}, true); }

Art* Path(Document& d, Art* container, std::vector<AIPathSegment> segments, bool closed) {
    Art* path = Add(d, kPathArt, container);
    path->segments = std::move(segments);
    path->closed = closed;
    return path;
}

Art* Text(Document& d, Art* container, std::u16string text, AIRealPoint at, float size) {
    Art* frame = Add(d, kTextFrameArt, container);
    frame->text = std::move(text);
    frame->position = at;
    frame->fontSize = size;
    return frame;
}

AIPathStyle Stroked(int16_t model, float width, bool dashed) {
    AIPathStyle s = DefaultPathStyle(model);
    s.fillPaint = 0;
    s.strokePaint = 1;
    s.stroke.width = width;
    if (dashed) {
        s.stroke.dash.length = 2;
        s.stroke.dash.array[0] = 3;
        s.stroke.dash.array[1] = 1.5f;
    }
    return s;
}

}  // namespace

std::unique_ptr<Document> OddValuesDocument(StyleTable& styles) {
    std::unique_ptr<Document> owner = NewDocument(styles);
    Document& d = *owner;
    Layer* top = d.firstLayer();
    top->title = u"道路";
    Layer* sub = d.insertLayer(top, kPlaceInsideOnTop);
    sub->title = u"国道 & <県道>";
    Layer* hidden = d.insertLayer(nullptr, kPlaceBelowAll);
    hidden->options.visible = false;
    hidden->options.editable = false;
    Art* g = top->group;

    // Curves: smooth and corner anchors, an open path's outer handles off its anchors.
    Path(d, g,
         {Seg({10.5f, -20.25f}, {5, -25}, {15.125f, -15.5f}, false),
          Seg({100, 0}, {90, 10}, {110, -10}, false),   // smooth
          Seg({200, 1e-3f}, {190, 5}, {210, 5}, true),  // corner
          Seg({300, 2383.937f}, {300, 2383.937f}, {320, 2400}, true)},
         false);
    // Corner flags against the shape: a corner where the handles are in line, a smooth point
    // where they are not.
    Path(d, g,
         {Seg({0, 0}, {-1, 0}, {1, 0}, true), Seg({50, 50}, {40, 60}, {50, 50}, false),
          Seg({60, 60}, {60, 60}, {60, 60}, false)},
         false);
    // Closing edges: curved, straight back onto an anchor lying on the first, curved into it.
    Path(d, g, {Seg({0, 0}, {-5, 5}, {5, 5}, false), Corner(10, 0), Seg({5, -8}, {9, -9}, {1, -9}, false)}, true);
    Path(d, g, {Corner(1, 1), Corner(2, 1), Corner(2, 2), Corner(1, 1)}, true);
    Path(d, g, {Corner(1, 1), Corner(2, 1), Seg({1, 1}, {1.5f, 3}, {1, 1}, true)}, true);
    Path(d, g, {Corner(7, 7), Corner(7, 7)}, true);
    // One anchor: alone, closed, closed with handles.
    Path(d, g, {Corner(40, -40)}, false);
    Path(d, g, {Corner(41, -41)}, true);
    Path(d, g, {Seg({42, -42}, {30, -30}, {50, -30}, true)}, true);
    // No anchors, open and closed.
    Path(d, g, {}, false);
    Path(d, g, {}, true);
    // Numbers: not finite, signed zero, denormal, huge, far below the page's precision, and near
    // the page's top edge where the flip needs the most digits.
    Path(d, g,
         {Corner(kNaN, 1), Corner(2, kInf), Corner(-kInf, -0.0f), Corner(-0.0f, 1e-40f), Corner(3.4e38f, -3.4e38f),
          Corner(1e-30f, 1e-30f), Corner(0.1f, 0.1f), Corner(16383.25f, 2383.9368f), Corner(1.17549435e-38f, 0),
          Seg({5, 5}, {kNaN, 5}, {5, -kInf}, false)},
         false);

    // Compound paths: members empty, open, closed, one of its own style and attributes.
    Art* compound = Add(d, kCompoundPathArt, g);
    Path(d, compound, {Corner(0, 0), Corner(100, 0), Corner(100, -100), Corner(0, -100)}, true);
    Path(d, compound, {}, false);
    Art* odd = Path(d, compound, {Corner(10, -10), Corner(20, -10), Corner(20, -20)}, true);
    Path(d, compound, {}, true);
    Path(d, compound, {Seg({50, -50}, {45, -45}, {55, -45}, false)}, false);
    d.setArtStyle(compound, styles.intern(DefaultPathStyle(kDocCMYKColor), 0));
    odd->style = styles.intern(Stroked(kDocCMYKColor, 7, true));
    odd->userAttr = kArtHidden | kArtLocked;
    Add(d, kCompoundPathArt, g);  // without members
    Art* onlyEmpty = Add(d, kCompoundPathArt, g);
    Path(d, onlyEmpty, {}, true);

    // Texts: line ends of the host, spaces only, nothing, markup characters, odd places.
    Text(d, g, u"東京都\r千代田区", {12.5f, 700.25f}, 9.5f);
    Text(d, g, u"  spaced  ", {0, 0}, 12);
    Text(d, g, u"   ", {1, 2}, 12);
    Text(d, g, u"", {3, 4}, 12);
    Text(d, g, u"tab\there\nline", {-0.0f, 1e-30f}, 1e-40f);
    Text(d, g, u"A & <b> \"q\" 'r'", {kNaN, kInf}, kInf);
    Text(d, g, u"\r\n\x01", {5, 5}, 8);

    // Groups, nested, locked, hidden; art in a sublayer and a hidden layer.
    Art* group = Add(d, kGroupArt, g);
    group->userAttr = kArtLocked;
    Art* inner = Add(d, kGroupArt, group);
    Art* hiddenPath = Path(d, inner, {Corner(1, 2), Corner(3, 4)}, false);
    hiddenPath->userAttr = kArtHidden | kArtSelected | kArtFullySelected;
    hiddenPath->style = styles.intern(Stroked(kDocCMYKColor, 0.25f, false), 5);
    Path(d, sub->group, {Corner(-10, -10), Corner(-20, -10)}, false);
    Text(d, hidden->group, u"隠し", {100, 100}, 10);
    d.setCurrentLayer(sub);
    d.markOpened();
    return owner;
}

std::unique_ptr<Document> RandomDocument(StyleTable& styles, uint32_t seed) {
    std::mt19937 random(seed);
    auto below = [&](uint32_t n) { return static_cast<uint32_t>(random() % n); };
    auto chance = [&](int percent) { return below(100) < static_cast<uint32_t>(percent); };
    const float odd[] = {kNaN, kInf, -kInf, -0.0f, 0, 1e-40f, -1e-45f, 3.4e38f, -3.4e38f, 1e-30f, kPageHeight, 0.1f};
    auto number = [&]() -> float {
        if (chance(3)) return odd[below(sizeof odd / sizeof odd[0])];
        // Map coordinates: reaching beyond the page on every side, on a fine grid or not at all.
        const float wide = std::uniform_real_distribution<float>(-4000, 6000)(random);
        return chance(30) ? static_cast<float>(static_cast<int>(wide * 100)) / 100 : wide;
    };
    auto point = [&]() { return AIRealPoint{number(), number()}; };
    auto near = [&](AIRealPoint p) {
        return AIRealPoint{p.h + std::uniform_real_distribution<float>(-50, 50)(random),
                           p.v + std::uniform_real_distribution<float>(-50, 50)(random)};
    };
    auto segments = [&]() {
        std::vector<AIPathSegment> s(below(5) == 0 ? below(2) : 1 + below(12));
        for (AIPathSegment& seg : s) {
            seg.p = point();
            seg.in = chance(60) ? seg.p : near(seg.p);
            // Now and then smooth: the out handle mirrors the in handle.
            seg.out = chance(50)   ? seg.p
                      : chance(50) ? AIRealPoint{2 * seg.p.h - seg.in.h, 2 * seg.p.v - seg.in.v}
                                   : near(seg.p);
            seg.corner = chance(50);
            // An anchor repeated: on the first, or on the one before.
            if (&seg != &s.front() && chance(10)) seg.p = chance(50) ? s.front().p : (&seg - 1)->p;
        }
        return s;
    };
    const ArtStyle* appearances[] = {styles.intern(DefaultPathStyle(kDocCMYKColor)),
                                     styles.intern(Stroked(kDocCMYKColor, 0.5f, false)),
                                     styles.intern(Stroked(kDocCMYKColor, 2, true), 7)};
    auto style = [&]() { return const_cast<ArtStyle*>(appearances[below(3)]); };
    auto attrs = [&]() { return chance(80) ? 0 : static_cast<int32_t>(below(16)) & kKnownUserAttrs; };
    const char16_t letters[] = u"ab 東京\r\n\t&<>\"";
    auto text = [&]() {
        std::u16string t;
        for (uint32_t n = below(8); n > 0; --n) t += letters[below(sizeof letters / sizeof letters[0] - 1)];
        return t;
    };

    std::unique_ptr<Document> owner = NewDocument(styles);
    Document& d = *owner;
    std::vector<Art*> containers = {d.firstLayer()->group};
    for (int i = 0; i < 3; ++i) {
        Layer* layer = d.insertLayer(i == 2 ? d.firstLayer() : nullptr, i == 2 ? kPlaceInsideOnTop : kPlaceBelowAll);
        containers.push_back(layer->group);
    }
    for (uint32_t n = 5 + below(30); n > 0; --n) {
        Art* container = containers[below(static_cast<uint32_t>(containers.size()))];
        const uint32_t kind = below(10);
        Art* art = nullptr;
        if (kind < 5) {
            art = Path(d, container, segments(), chance(50));
            art->style = style();
        } else if (kind < 7) {
            art = Add(d, kCompoundPathArt, container);
            for (uint32_t m = below(4); m > 0; --m) Path(d, art, segments(), chance(50));
            d.setArtStyle(art, style());
            for (Art* member = art->firstChild; member; member = member->next) {
                if (chance(15)) member->style = style();
                member->userAttr = attrs();
            }
        } else if (kind < 9) {
            art = Text(d, container, text(), point(), chance(90) ? 9 : number());
            art->style = style();
        } else {
            art = Add(d, kGroupArt, container);
            containers.push_back(art);
        }
        art->userAttr = attrs();
    }
    d.markOpened();
    return owner;
}

}  // namespace quiltor::host::testing
