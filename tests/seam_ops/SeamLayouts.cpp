#include "SeamLayouts.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

namespace seamtest {

namespace {

AIColor Gray(float gray) {
    AIColor color;
    std::memset(&color, 0, sizeof color);
    color.kind = kGrayColor;
    color.c.g.gray = gray;
    return color;
}

AIColor NoColor() {
    AIColor color;
    std::memset(&color, 0, sizeof color);
    color.kind = kNoneColor;
    return color;
}

AIPathStyle Stroked(float width, AIColor fillValues) {
    AIPathStyle s;
    std::memset(&s, 0, sizeof s);
    s.fillPaint = 0;
    s.fill.color = fillValues;
    s.strokePaint = 1;
    s.stroke.color = Gray(1.0f);
    s.stroke.width = width;
    s.stroke.miterLimit = 4.0f;
    s.resolution = 800.0f;
    return s;
}

AIPathStyle Filled(float gray, bool stroke) {
    AIPathStyle s;
    std::memset(&s, 0, sizeof s);
    s.fillPaint = 1;
    s.fill.color = Gray(gray);
    s.strokePaint = stroke ? 1 : 0;
    s.stroke.color = stroke ? Gray(1.0f) : NoColor();
    s.stroke.width = 1.0f;
    s.stroke.miterLimit = 4.0f;
    s.resolution = 800.0f;
    return s;
}

std::vector<StyleSpec> MakePalette() {
    std::vector<StyleSpec> p(kStyleCount);
    p[kLine] = {Stroked(1.0f, Gray(0.0f)), 0};
    p[kLineWide] = {Stroked(2.0f, Gray(0.0f)), 0};
    p[kLineFillValue] = {Stroked(1.0f, Gray(0.4f)), 0};
    p[kLineEvenOdd] = {Stroked(1.0f, Gray(0.0f)), 0};
    p[kLineEvenOdd].path.evenodd = 1;
    p[kLineClip] = {Stroked(1.0f, Gray(0.0f)), 0};
    p[kLineClip].path.clip = 1;
    p[kLineEffect] = {Stroked(1.0f, Gray(0.0f)), 1};
    p[kFace] = {Filled(0.3f, false), 0};
    p[kFaceGray] = {Filled(0.6f, false), 0};
    p[kFaceEffect] = {Filled(0.3f, false), 2};
    p[kFaceStroked] = {Filled(0.3f, true), 0};
    p[kRing] = {Stroked(0.5f, Gray(0.0f)), 0};
    p[kRingEvenOdd] = {Stroked(0.5f, Gray(0.0f)), 0};
    p[kRingEvenOdd].path.evenodd = 1;
    p[kRingWide] = {Stroked(3.0f, Gray(0.0f)), 0};
    return p;
}

using Rng = std::mt19937;

int Uniform(Rng& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

bool Chance(Rng& rng, double p) { return std::bernoulli_distribution(p)(rng); }

float Real(Rng& rng, double lo, double hi) { return float(std::uniform_real_distribution<double>(lo, hi)(rng)); }

// Lattice points: i across, j down from the top edge of the top row. The
// seams lie on every d-th column and e-th row of the lattice.
struct Lattice {
    float w = 100;
    float h = 100;
    int cols = 1;
    int rows = 1;
    int d = 1;
    int e = 1;
    double top = 0;

    int MaxI() const { return cols * d; }
    int MaxJ() const { return rows * e; }
    bool SeamI(int i) const { return i % d == 0; }
    bool SeamJ(int j) const { return j % e == 0; }
    AIRealPoint At(int i, int j) const {
        return {float(double(i) * double(w) / d), float(top - double(j) * double(h) / e)};
    }
};

struct Cell {
    int i;
    int j;
};

void Orient(Rng& rng, std::vector<AIPathSegment>& segments, bool closed) {
    if (Chance(rng, 0.5)) {
        std::reverse(segments.begin(), segments.end());
        for (AIPathSegment& s : segments) {
            std::swap(s.in, s.out);
        }
    }
    if (closed && !segments.empty()) {
        std::rotate(segments.begin(), segments.begin() + Uniform(rng, 0, int(segments.size()) - 1), segments.end());
    }
}

AIPathSegment At(const Lattice& g, Cell c) {
    const AIRealPoint p = g.At(c.i, c.j);
    return Corner(p.h, p.v);
}

void Curve(Rng& rng, AIPathSegment& s) {
    s.in = {s.p.h + Real(rng, -3, 3), s.p.v + Real(rng, -3, 3)};
    s.out = {s.p.h + Real(rng, -3, 3), s.p.v + Real(rng, -3, 3)};
    s.corner = 0;
}

int LineStyle(Rng& rng) {
    static const int rare[] = {kLineWide, kLineFillValue, kLineEvenOdd, kLineClip, kLineEffect};
    return Chance(rng, 0.75) ? kLine : rare[Uniform(rng, 0, 4)];
}

Cell AnyCell(Rng& rng, const Lattice& g) { return {Uniform(rng, 0, g.MaxI()), Uniform(rng, 0, g.MaxJ())}; }

// A random walk from `start`, cut into pieces at seam points it passes.
void AddLine(Rng& rng, const Lattice& g, Cell start, std::vector<Item>& items) {
    std::vector<Cell> walk{start};
    const int steps = Uniform(rng, 1, 7);
    for (int k = 0; k < steps; ++k) {
        for (int tries = 0; tries < 8; ++tries) {
            const Cell c{walk.back().i + Uniform(rng, -1, 1), walk.back().j + Uniform(rng, -1, 1)};
            if (c.i >= 0 && c.i <= g.MaxI() && c.j >= 0 && c.j <= g.MaxJ() &&
                (c.i != walk.back().i || c.j != walk.back().j)) {
                walk.push_back(c);
                break;
            }
        }
    }
    if (walk.size() < 2) {
        return;
    }
    if (Chance(rng, 0.05)) {
        walk.push_back(walk.front());  // closed by a coinciding point
    }
    const int style = LineStyle(rng);
    std::vector<AIPathSegment> piece{At(g, walk[0])};
    auto flush = [&] {
        Shape shape;
        shape.segments = piece;
        shape.style = Chance(rng, 0.85) ? style : LineStyle(rng);
        shape.closed = Chance(rng, 0.03);
        if (Chance(rng, 0.03)) {
            shape.style = kFace;  // a filled open path
        }
        for (AIPathSegment& s : shape.segments) {
            if (Chance(rng, 0.1)) {
                Curve(rng, s);
            }
        }
        Orient(rng, shape.segments, false);
        items.push_back(Item{Item::Kind::Path, {shape}});
    };
    for (std::size_t k = 1; k < walk.size(); ++k) {
        piece.push_back(At(g, walk[k]));
        const bool inner = k + 1 < walk.size();
        if (inner && (g.SeamI(walk[k].i) || g.SeamJ(walk[k].j)) && Chance(rng, 0.85)) {
            flush();
            piece = {At(g, walk[k])};
        }
    }
    flush();
}

// Three or four lines leaving one lattice point, as boundaries leave a
// tripoint or roads a crossing: mostly off the seams, where they must stay
// apart, now and then on one.
void AddJunction(Rng& rng, const Lattice& g, std::vector<Item>& items) {
    Cell at = AnyCell(rng, g);
    if (g.d > 1 && g.e > 1 && Chance(rng, 0.75)) {
        at.i += at.i % g.d == 0 ? (at.i < g.MaxI() ? 1 : -1) : 0;
        at.j += at.j % g.e == 0 ? (at.j < g.MaxJ() ? 1 : -1) : 0;
    }
    for (int arms = Uniform(rng, 3, 4); arms > 0; --arms) {
        AddLine(rng, g, at, items);
    }
}

// The boundary of the block [a0, a1] x [b0, b1], clockwise on the page.
std::vector<Cell> Boundary(const Lattice& g, int a0, int a1, int b0, int b1, int subdivide) {
    std::vector<Cell> cells;
    auto edge = [&](Cell from, Cell to, bool onSeam) {
        const int di = to.i > from.i ? 1 : (to.i < from.i ? -1 : 0);
        const int dj = to.j > from.j ? 1 : (to.j < from.j ? -1 : 0);
        const bool fine = subdivide == 2 || (subdivide == 1 && onSeam);
        for (Cell c = from; c.i != to.i || c.j != to.j; c = {c.i + di, c.j + dj}) {
            if (fine || (c.i == from.i && c.j == from.j)) {
                cells.push_back(c);
            }
        }
    };
    edge({a0, b0}, {a1, b0}, g.SeamJ(b0));
    edge({a1, b0}, {a1, b1}, g.SeamI(a1));
    edge({a1, b1}, {a0, b1}, g.SeamJ(b1));
    edge({a0, b1}, {a0, b0}, g.SeamI(a0));
    return cells;
}

int OutlineStyle(Rng& rng, bool face) {
    static const int faceStyles[] = {kFaceGray, kFaceEffect, kFaceStroked};
    static const int ringStyles[] = {kRingEvenOdd, kRingWide};
    return face ? faceStyles[Uniform(rng, 0, 2)] : ringStyles[Uniform(rng, 0, 1)];
}

// One face or ring covering the block [i0, i1] x [j0, j1], cut at the seams
// inside it (most of them) into pieces drawn in `style`.
void AddBlock(Rng& rng, const Lattice& g, bool face, int style, int i0, int i1, int j0, int j1,
              std::vector<Item>& items) {
    std::vector<int> is{i0};
    for (int i = i0 + 1; i < i1; ++i) {
        if (g.SeamI(i) && Chance(rng, 0.9)) {
            is.push_back(i);
        }
    }
    is.push_back(i1);
    std::vector<int> js{j0};
    for (int j = j0 + 1; j < j1; ++j) {
        if (g.SeamJ(j) && Chance(rng, 0.9)) {
            js.push_back(j);
        }
    }
    js.push_back(j1);
    const int subdivide = Uniform(rng, 0, 2);
    for (std::size_t a = 0; a + 1 < is.size(); ++a) {
        for (std::size_t b = 0; b + 1 < js.size(); ++b) {
            Shape piece;
            piece.closed = true;
            piece.style = Chance(rng, 0.9) ? style : OutlineStyle(rng, face);
            for (Cell c : Boundary(g, is[a], is[a + 1], js[b], js[b + 1], subdivide)) {
                piece.segments.push_back(At(g, c));
            }
            if (Chance(rng, 0.05)) {
                const auto k = std::size_t(Uniform(rng, 0, int(piece.segments.size()) - 1));
                piece.segments.insert(piece.segments.begin() + std::ptrdiff_t(k), piece.segments[k]);
            }
            if (Chance(rng, 0.05)) {
                Curve(rng, piece.segments[std::size_t(Uniform(rng, 0, int(piece.segments.size()) - 1))]);
            }
            if (Chance(rng, 0.06)) {
                // A there-and-back spur along an edge: the piece then runs along
                // that edge both ways.
                const auto k = std::size_t(Uniform(rng, 0, int(piece.segments.size()) - 1));
                const AIPathSegment here = piece.segments[k];
                const AIPathSegment next = piece.segments[(k + 1) % piece.segments.size()];
                piece.segments.insert(piece.segments.begin() + std::ptrdiff_t(k + 1), {next, here});
            }
            Orient(rng, piece.segments, true);
            Item item{Item::Kind::Path, {piece}};
            if (is[a + 1] - is[a] >= 2 && js[b + 1] - js[b] >= 2 && Chance(rng, 0.3)) {
                Shape hole;
                hole.closed = true;
                hole.style = piece.style;
                for (Cell c : Boundary(g, is[a] + 1, is[a + 1] - 1, js[b] + 1, js[b + 1] - 1, 0)) {
                    hole.segments.push_back(At(g, c));
                }
                Orient(rng, hole.segments, true);
                item.kind = Item::Kind::Compound;
                item.shapes.push_back(hole);
            }
            items.push_back(item);
        }
    }
}

void AddOutline(Rng& rng, const Lattice& g, bool face, std::vector<Item>& items) {
    const int i0 = Uniform(rng, 0, g.MaxI() - 1);
    const int i1 = Uniform(rng, i0 + 1, std::min(g.MaxI(), i0 + 4));
    const int j0 = Uniform(rng, 0, g.MaxJ() - 1);
    const int j1 = Uniform(rng, j0 + 1, std::min(g.MaxJ(), j0 + 4));
    const int style = Chance(rng, 0.8) ? (face ? kFace : kRing) : OutlineStyle(rng, face);
    AddBlock(rng, g, face, style, i0, i1, j0, j1, items);
}

// Two distinct faces or rings of one style sharing a straight border that
// runs from one seam to the next, off the seams where the lattice has points
// between them: they must stay two.
void AddBorderPair(Rng& rng, const Lattice& g, bool face, std::vector<Item>& items) {
    // Across: a horizontal border between vertical seams; else a vertical one.
    const bool across = g.e > 1 || (g.d == 1 && Chance(rng, 0.5));
    const int tiles = across ? g.cols : g.rows;
    const int along = across ? g.d : g.e;    // lattice steps per tile along the border
    const int between = across ? g.e : g.d;  // and across it
    const int max = across ? g.MaxJ() : g.MaxI();
    if (max < 2) {
        return;
    }
    const int style = Chance(rng, 0.9) ? (face ? kFace : kRing) : OutlineStyle(rng, face);
    const int s0 = Uniform(rng, 0, tiles - 1) * along;
    const int s1 = Uniform(rng, s0 / along + 1, std::min(tiles, s0 / along + 2)) * along;
    int m = Uniform(rng, 1, max - 1);
    if (between > 1 && m % between == 0) {
        ++m;
    }
    const int low = Uniform(rng, std::max(0, m - 3), m - 1);
    const int high = Uniform(rng, m + 1, std::min(max, m + 3));
    for (const auto& [b0, b1] : {std::pair{low, m}, std::pair{m, high}}) {
        if (across) {
            AddBlock(rng, g, face, style, s0, s1, b0, b1, items);
        } else {
            AddBlock(rng, g, face, style, b0, b1, s0, s1, items);
        }
    }
}

// Stroked and either open or unfilled: what the polygon stacking takes for a line.
bool IsLine(const Shape& shape) {
    const bool stroked = shape.style != kFace && shape.style != kFaceGray && shape.style != kFaceEffect;
    const bool filled = !stroked || shape.style == kFaceStroked;
    return stroked && (!shape.closed || !filled);
}

// Puts the layer's first line into a compound path or group, with the path
// after it now and then.
void HoldFirstLine(Rng& rng, std::vector<Item>& items) {
    for (std::size_t k = 0; k < items.size(); ++k) {
        const std::vector<Shape>& shapes = items[k].shapes;
        if (std::none_of(shapes.begin(), shapes.end(), IsLine)) {
            continue;
        }
        if (items[k].kind == Item::Kind::Path) {
            items[k].kind = Chance(rng, 0.5) ? Item::Kind::Compound : Item::Kind::Group;
            if (k + 1 < items.size() && items[k + 1].kind == Item::Kind::Path && Chance(rng, 0.5)) {
                items[k].shapes.push_back(items[k + 1].shapes[0]);
                items.erase(items.begin() + std::ptrdiff_t(k + 1));
            }
        }
        return;
    }
}

float TileSide(Rng& rng) {
    if (Chance(rng, 0.5)) {
        // A whole number of hundredths of a millimetre.
        return float(Uniform(rng, 2000, 20000) * 72.0 / 2540.0);
    }
    return Real(rng, 30.0, 300.0);
}

}  // namespace

const std::vector<StyleSpec>& Palette() {
    static const std::vector<StyleSpec> palette = MakePalette();
    return palette;
}

AIPathSegment Corner(float h, float v) {
    AIPathSegment s{};
    s.p = {h, v};
    s.in = s.p;
    s.out = s.p;
    s.corner = 1;
    return s;
}

Shape Polyline(const std::vector<AIRealPoint>& anchors, bool closed, int style) {
    Shape shape;
    shape.closed = closed;
    shape.style = style;
    for (const AIRealPoint& p : anchors) {
        shape.segments.push_back(Corner(p.h, p.v));
    }
    return shape;
}

Item PathItem(const std::vector<AIRealPoint>& anchors, bool closed, int style) {
    return Item{Item::Kind::Path, {Polyline(anchors, closed, style)}};
}

Layout RandomLayout(uint32_t seed) {
    Rng rng(seed);
    Layout layout;
    layout.tileWidth = TileSide(rng);
    layout.tileHeight = TileSide(rng);
    layout.lastColumn = Uniform(rng, 0, 3);
    layout.lastRow = Uniform(rng, 0, 3);
    Lattice g;
    g.w = layout.tileWidth;
    g.h = layout.tileHeight;
    g.cols = layout.lastColumn + 1;
    g.rows = layout.lastRow + 1;
    g.d = Uniform(rng, 1, 3);
    g.e = Uniform(rng, 1, 3);
    // Rows are placed below the origin; sometimes the map sits above it.
    g.top = double(g.h) * Uniform(rng, 0, g.rows);

    std::vector<Item> items;
    const int lines = Uniform(rng, 0, 25);
    const int faces = Uniform(rng, 0, 8);
    const int rings = Uniform(rng, 0, 5);
    for (int k = 0; k < lines; ++k) {
        AddLine(rng, g, AnyCell(rng, g), items);
    }
    for (int k = Uniform(rng, 0, 2); k > 0; --k) {
        AddJunction(rng, g, items);
    }
    for (int k = 0; k < faces; ++k) {
        AddOutline(rng, g, true, items);
    }
    for (int k = 0; k < rings; ++k) {
        AddOutline(rng, g, false, items);
    }
    for (bool face : {true, false}) {
        if (Chance(rng, 0.4)) {
            AddBorderPair(rng, g, face, items);
        }
    }
    std::shuffle(items.begin(), items.end(), rng);
    // A few paths go into groups; their members take part like any other.
    for (std::size_t k = 0; k + 2 < items.size(); ++k) {
        if (items[k].kind == Item::Kind::Path && items[k + 1].kind == Item::Kind::Path && Chance(rng, 0.08)) {
            Item group{Item::Kind::Group, {items[k].shapes[0], items[k + 1].shapes[0]}};
            items[k] = group;
            items.erase(items.begin() + std::ptrdiff_t(k + 1));
        }
    }
    if (Chance(rng, 0.3)) {
        HoldFirstLine(rng, items);
    }
    if (Chance(rng, 0.05)) {
        items.insert(items.begin() + Uniform(rng, 0, int(items.size())), Item{Item::Kind::Text, {}});
    }
    layout.items = std::move(items);
    return layout;
}

namespace {

// Five-fold mesh tiles at 1:10000, 565 mm x 462.5 mm.
constexpr float kBenchTileWidth = float(565.0 / 25.4 * 72.0);
constexpr float kBenchTileHeight = float(462.5 / 25.4 * 72.0);
constexpr int kBenchTiles = 4;

AIRealPoint Inside(Rng& rng, int col, int row) {
    const double w = kBenchTileWidth;
    const double h = kBenchTileHeight;
    return {float(w * (col + std::uniform_real_distribution<double>(0.02, 0.98)(rng))),
            float(-h * (row + std::uniform_real_distribution<double>(0.02, 0.98)(rng)))};
}

// Every piece lies in one tile: the mean of its anchors is inside it.
void ListByTile(Layout& layout) {
    auto tileOf = [&](const Item& item) {
        double h = 0;
        double v = 0;
        const std::vector<AIPathSegment>& segments = item.shapes.front().segments;
        for (const AIPathSegment& s : segments) {
            h += s.p.h;
            v += s.p.v;
        }
        const auto column = int(std::floor(h / double(segments.size()) / layout.tileWidth));
        const auto row = int(std::floor(-v / double(segments.size()) / layout.tileHeight));
        return row * (layout.lastColumn + 1) + column;
    };
    std::vector<std::pair<int, std::size_t>> order;
    for (std::size_t k = 0; k < layout.items.size(); ++k) {
        order.emplace_back(layout.items[k].shapes.empty() ? -1 : tileOf(layout.items[k]), k);
    }
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Item> items;
    items.reserve(order.size());
    for (const auto& entry : order) {
        items.push_back(std::move(layout.items[entry.second]));
    }
    layout.items = std::move(items);
}

void List(Layout& layout, Listing listing, Rng& rng) {
    if (listing == Listing::ByTile) {
        ListByTile(layout);
    } else {
        std::shuffle(layout.items.begin(), layout.items.end(), rng);
    }
}

}  // namespace

Layout CutLinesLayout(int pieces, uint32_t seed, Listing listing) {
    Rng rng(seed);
    Layout layout;
    layout.tileWidth = kBenchTileWidth;
    layout.tileHeight = kBenchTileHeight;
    layout.lastColumn = kBenchTiles - 1;
    layout.lastRow = kBenchTiles - 1;
    std::vector<Item> items;
    while (int(items.size()) < pieces) {
        const bool across = Chance(rng, 0.5);
        const int span = Uniform(rng, 1, 2);
        const int first = Uniform(rng, 0, kBenchTiles - 1 - span);
        const int other = Uniform(rng, 0, kBenchTiles - 1);
        // The points where the line crosses the seams, shared by both pieces.
        std::vector<AIRealPoint> ends;
        for (int k = 0; k <= span + 1; ++k) {
            const int tile = first + std::min(k, span);
            AIRealPoint p = across ? Inside(rng, tile, other) : Inside(rng, other, tile);
            if (k > 0 && k <= span) {
                if (across) {
                    p.h = float(double(kBenchTileWidth) * (first + k));
                } else {
                    p.v = float(-double(kBenchTileHeight) * (first + k));
                }
            }
            ends.push_back(p);
        }
        const int style = Chance(rng, 0.9) ? kLine : kLineWide;
        for (int k = 0; k <= span; ++k) {
            const int tile = first + k;
            std::vector<AIRealPoint> anchors{ends[std::size_t(k)]};
            for (int m = Uniform(rng, 0, 3); m > 0; --m) {
                anchors.push_back(across ? Inside(rng, tile, other) : Inside(rng, other, tile));
            }
            anchors.push_back(ends[std::size_t(k + 1)]);
            Shape shape = Polyline(anchors, false, style);
            Orient(rng, shape.segments, false);
            items.push_back(Item{Item::Kind::Path, {shape}});
        }
    }
    layout.items = std::move(items);
    List(layout, listing, rng);
    return layout;
}

Layout CutFacesLayout(int pieces, uint32_t seed, int style, Listing listing) {
    Rng rng(seed);
    Layout layout;
    layout.tileWidth = kBenchTileWidth;
    layout.tileHeight = kBenchTileHeight;
    layout.lastColumn = kBenchTiles - 1;
    layout.lastRow = kBenchTiles - 1;
    const double w = kBenchTileWidth;
    const double h = kBenchTileHeight;
    std::vector<Item> items;
    while (int(items.size()) < pieces) {
        // A rectangle around a seam point, cut by the vertical seam, the
        // horizontal one, or now and then both.
        const int col = Uniform(rng, 1, kBenchTiles - 1);
        const int row = Uniform(rng, 1, kBenchTiles - 1);
        const int cut = Chance(rng, 0.05) ? 2 : Uniform(rng, 0, 1);
        const double cx = cut == 1 ? w * (Uniform(rng, 0, kBenchTiles - 1) + Real(rng, 0.1, 0.9)) : w * col;
        const double cy = cut == 0 ? -h * (Uniform(rng, 0, kBenchTiles - 1) + Real(rng, 0.1, 0.9)) : -h * row;
        std::vector<double> xs{cx - Real(rng, 1.0, 20.0), cx + Real(rng, 1.0, 20.0)};
        std::vector<double> ys{cy - Real(rng, 1.0, 20.0), cy + Real(rng, 1.0, 20.0)};
        if (cut != 1) {
            xs.insert(xs.begin() + 1, cx);
        }
        if (cut != 0) {
            ys.insert(ys.begin() + 1, cy);
        }
        for (std::size_t a = 0; a + 1 < xs.size(); ++a) {
            for (std::size_t b = 0; b + 1 < ys.size(); ++b) {
                const float x0 = float(xs[a]);
                const float x1 = float(xs[a + 1]);
                const float y0 = float(ys[b]);
                const float y1 = float(ys[b + 1]);
                Shape shape = Polyline({{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}}, true, style);
                Orient(rng, shape.segments, true);
                items.push_back(Item{Item::Kind::Path, {shape}});
            }
        }
    }
    layout.items = std::move(items);
    List(layout, listing, rng);
    return layout;
}

}  // namespace seamtest
