#include "NetworkMap.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "MapDrawing.h"

namespace samplemap {
namespace {

struct LayerPlan {
    std::vector<std::string> titles;
    int occurrence = 1;
    std::vector<Style> styles;
};

// Boundaries come in two styles, so a chain of the bolder one runs through junctions of the
// finer one; roads in one, so every crossing joins ends of equal style.
struct NetworkLegend {
    LayerPlan boundaries, roads, faces, rings;
};

NetworkLegend Legend(MeshKind kind) {
    const Style fine = Stroke(1.0f, {0, 1, 0, 0});
    const Style bold = Stroke(2.2f, {0, 1, 0, 0.3f});
    const Style rings = Stroke(0.5f, {0, 0, 0, 0.7f});
    if (kind == MeshKind::Tokyo23) {
        return {{{"行政界線", "市区町村界"}, 1, {fine, bold}},
                {{"道路", "その他主要道"}, 2, {Stroke(2.2f, {0, 0, 0, 0.25f})}},
                {{"街区", "街区"}, 1, {Fill({0, 0, 0.05f, 0.08f})}},
                {{"街区縁", "街区縁"}, 1, {rings}}};
    }
    return {{{"行政界"}, 1, {fine, bold}},
            {{"交通", "道路（地上）", "その他道路（地上）"}, 1, {Stroke(1.2f, {0, 0, 0, 0.45f})}},
            {{"施設・地形・水系", "施設/建物"}, 1, {Fill({0, 0.08f, 0.2f, 0.25f}, 0.25f, {0, 0, 0, 0.6f})}},
            {{"施設・地形・水系", "施設/敷地"}, 1, {rings}}};
}

struct Node {
    Point p;
    int degree = 0;
    bool onSeam = false;  // exactly on a seam: kept there when the anchors settle
};

struct Edge {
    int a = 0;
    int b = 0;
    int style = 0;
};

// A block's bands run along u, w goes across them; for bands running north-south x and y trade
// places.
struct Frame {
    bool uIsX = true;
    Point At(double u, double w) const { return uIsX ? Point{u, w} : Point{w, u}; }
};

class NetworkPainter {
public:
    explicit NetworkPainter(const MapOptions& options)
        : grid_(options.grid),
          random_(options.seed),
          onSeams_(options.seamJunctions),
          bounds_(grid_.Bounds()),
          unit_(std::min(grid_.tileWidth, grid_.tileHeight)),
          margin_(0.02 * unit_) {}

    // A jittered lattice of junctions over the map, some links left out so that junctions of
    // three, two and one line appear beside crossings of four. Every link is one line with
    // `bends` anchors between its junctions. Links of the middle row take the second style
    // when there is one.
    void Network(int layer, int firstStyle, int styles, double spacing, int bends, double wiggle, double drop,
                 std::vector<MapObject>& out) {
        const double inset = 3 * margin_;
        const double left = bounds_.left + inset, right = bounds_.right - inset;
        const double bottom = bounds_.bottom + inset, top = bounds_.top - inset;
        const int across = std::max(1, static_cast<int>(std::lround((right - left) / (spacing * unit_))));
        const int down = std::max(1, static_cast<int>(std::lround((top - bottom) / (spacing * unit_))));
        const double stepH = (right - left) / across, stepV = (top - bottom) / down;
        const auto id = [across](int i, int j) { return j * (across + 1) + i; };

        std::vector<Node> nodes;
        for (int j = 0; j <= down; ++j) {
            for (int i = 0; i <= across; ++i) {
                const double h = left + i * stepH + random_.Uniform(-0.2, 0.2) * stepH;
                const double v = bottom + j * stepV + random_.Uniform(-0.2, 0.2) * stepV;
                nodes.push_back({{std::clamp(h, left, right), std::clamp(v, bottom, top)}});
            }
        }
        std::vector<Edge> edges;
        const int middle = down / 2;
        for (int j = 0; j <= down; ++j) {
            for (int i = 0; i <= across; ++i) {
                if (i < across && !random_.Chance(drop)) edges.push_back({id(i, j), id(i + 1, j), j == middle ? 1 : 0});
                if (j < down && !random_.Chance(drop)) edges.push_back({id(i, j), id(i, j + 1), 0});
            }
        }
        for (Edge& e : edges) {
            e.style = std::min(e.style, styles - 1);
            ++nodes[e.a].degree;
            ++nodes[e.b].degree;
        }
        for (Node& node : nodes) {
            NearSeams(node, 0.25 * std::min(stepH, stepV));
            Contour settled{node.p};
            Settle(settled, grid_);
            if (node.onSeam) settled[0] = node.p;
            node.p = settled[0];
        }

        for (const Edge& e : edges) {
            const Node& a = nodes[e.a];
            const Node& b = nodes[e.b];
            Contour line{a.p};
            const double dh = b.p.h - a.p.h, dv = b.p.v - a.p.v;
            const double length = std::hypot(dh, dv);
            for (int k = 1; k <= bends; ++k) {
                const double t = static_cast<double>(k) / (bends + 1) + random_.Uniform(-0.1, 0.1) / (bends + 1);
                const double off = random_.Uniform(-wiggle, wiggle) * length;
                line.push_back({a.p.h + t * dh - off * dv / length, a.p.v + t * dv + off * dh / length});
            }
            line.push_back(b.p);
            Settle(line, grid_);
            if (a.onSeam) line.front() = a.p;
            if (b.onSeam) line.back() = b.p;
            MapObject object;
            object.kind = ArtKind::Line;
            object.layer = layer;
            object.style = firstStyle + e.style;
            object.contours = {std::move(line)};
            out.push_back(std::move(object));
        }
    }

    // Two blocks of areas sharing straight borders: one of bands running east-west over a
    // horizontal seam and across whole tiles, one of bands running north-south over the
    // horizontal seams beside it. `row` picks the horizontal seam (0 = the northern one);
    // `east` puts the second block at the eastern edge rather than the western.
    void Areas(ArtKind kind, int layer, int style, int row, bool east, std::vector<MapObject>& out) {
        const double w = grid_.tileWidth, h = grid_.tileHeight;
        const double seamY = grid_.rows > 1 ? -std::min(row, grid_.rows - 2) * h : 0.5 * h;
        const double cols = grid_.columns;
        AreaBlock(kind, layer, style, {true}, {0.55 * w, std::max(cols - 0.55, 0.95) * w},
                  {seamY - 0.35 * h, seamY + 0.4 * h}, out);
        // Beside the first block, never on it: one column leaves room only in the west.
        const double north = h - 0.45 * h, south = (1 - grid_.rows) * h + 0.45 * h;
        const std::pair<double, double> across =
            east && grid_.columns > 1 ? std::pair{(cols - 0.45) * w, (cols - 0.08) * w} : std::pair{0.08 * w, 0.45 * w};
        AreaBlock(kind, layer, style, {false}, {south, north}, across, out);
    }

private:
    // Pulls a junction close to a seam to a few points off it, or, when asked and where three or
    // more lines meet, right onto it.
    void NearSeams(Node& node, double reach) {
        const auto pull = [&](double& x, double size, int first, int last) {
            const int k = std::clamp(static_cast<int>(std::lround(x / size)), first, last);
            const double seam = k * size;
            if (first > last || std::abs(x - seam) >= reach) return;
            if (onSeams_ && node.degree >= 3 && random_.Chance(0.5)) {
                x = seam;
                node.onSeam = true;
            } else if (random_.Chance(0.7)) {
                x = seam + (x >= seam ? 1 : -1) * random_.Uniform(1, 4);
            }
        };
        pull(node.p.h, grid_.tileWidth, 1, grid_.columns - 1);
        if (!node.onSeam) pull(node.p.v, grid_.tileHeight, 2 - grid_.rows, 0);
        // On the unit grid, as every anchor.
        if (node.onSeam) node.p = {Quantize(node.p.h), Quantize(node.p.v)};
    }

    // The seams strictly inside (low, high), ascending.
    std::vector<double> SeamsWithin(double low, double high, bool alongX) const {
        const double size = alongX ? grid_.tileWidth : grid_.tileHeight;
        std::vector<double> seams;
        for (int k = static_cast<int>(std::floor(low / size)) + 1; k * size < high; ++k) seams.push_back(k * size);
        return seams;
    }

    // Breaks strictly inside (low, high), ascending and well apart: `count` at random, plus one
    // a few points off a seam when `nearSeam`; with `span`, none between the first and the last
    // seam inside, so the borders beside the band run from seam to seam.
    std::vector<double> Breaks(double low, double high, bool alongX, int count, bool nearSeam, bool span) {
        const std::vector<double> seams = SeamsWithin(low, high, alongX);
        const double gap = 0.04 * unit_;
        std::vector<double> breaks;
        const auto add = [&](double x) {
            if (x <= low + gap || x >= high - gap) return;
            if (span && seams.size() > 1 && x > seams.front() - 1 && x < seams.back() + 1) return;
            for (double b : breaks) {
                if (std::abs(b - x) < gap) return;
            }
            breaks.push_back(x);
        };
        if (nearSeam && !seams.empty()) {
            const double seam = seams[random_.Below(static_cast<int>(seams.size()))];
            const double side = random_.Chance(0.5) ? 1 : -1;
            add(seam + side * random_.Uniform(1, 3));
        }
        for (int i = 0; i < count; ++i) add(random_.Uniform(low, high));
        std::sort(breaks.begin(), breaks.end());
        return breaks;
    }

    // Bands along u over [u0, u1] x [w0, w1], each cut into cells; every cell one area. A cell's
    // border with the next band carries that band's breaks as anchors, so neighbours share their
    // borders edge for edge.
    void AreaBlock(ArtKind kind, int layer, int style, Frame frame, std::pair<double, double> u,
                   std::pair<double, double> w, std::vector<MapObject>& out) {
        const auto settle = [&](double x, bool alongX) {
            Contour c{alongX ? Point{x, 0.5 * grid_.tileHeight} : Point{0.5 * grid_.tileWidth, x}};
            Settle(c, grid_);
            return alongX ? c[0].h : c[0].v;
        };
        const int bandBreaks = 2 + random_.Below(3);
        std::vector<double> bands = Breaks(w.first, w.second, !frame.uIsX, bandBreaks, true, false);
        bands.insert(bands.begin(), w.first);
        bands.push_back(w.second);
        for (double& b : bands) b = settle(b, !frame.uIsX);
        std::vector<std::vector<double>> cuts;
        for (size_t r = 0; r + 1 < bands.size(); ++r) {
            // The first two bands always span, so one border at least runs from seam to seam. (One
            // draw per statement: the order of arguments is not fixed, that of statements is.)
            const int count = 1 + random_.Below(3);
            const bool nearSeam = random_.Chance(0.6);
            const bool span = r < 2 || random_.Chance(0.5);
            std::vector<double> c = Breaks(u.first, u.second, frame.uIsX, count, nearSeam, span);
            c.insert(c.begin(), u.first);
            c.push_back(u.second);
            for (double& x : c) x = settle(x, frame.uIsX);
            cuts.push_back(std::move(c));
        }
        const auto between = [](const std::vector<double>& at, double a, double b, bool down, Contour& into,
                                const Frame& f, double across) {
            std::vector<double> inside;
            for (double x : at) {
                if (x > std::min(a, b) && x < std::max(a, b)) inside.push_back(x);
            }
            if (down) std::reverse(inside.begin(), inside.end());
            for (double x : inside) into.push_back(f.At(x, across));
        };
        static const std::vector<double> kNone;
        for (size_t r = 0; r < cuts.size(); ++r) {
            const std::vector<double>& below = r > 0 ? cuts[r - 1] : kNone;
            const std::vector<double>& above = r + 1 < cuts.size() ? cuts[r + 1] : kNone;
            for (size_t i = 0; i + 1 < cuts[r].size(); ++i) {
                const double a = cuts[r][i], b = cuts[r][i + 1];
                Contour cell{frame.At(a, bands[r])};
                between(below, a, b, false, cell, frame, bands[r]);
                cell.push_back(frame.At(b, bands[r]));
                cell.push_back(frame.At(b, bands[r + 1]));
                between(above, a, b, true, cell, frame, bands[r + 1]);
                cell.push_back(frame.At(a, bands[r + 1]));
                MapObject object;
                object.kind = kind;
                object.layer = layer;
                object.style = style;
                object.contours = {std::move(cell)};
                out.push_back(std::move(object));
            }
        }
    }

    const TileGrid& grid_;
    Random random_;
    bool onSeams_;
    Rect bounds_;
    double unit_;
    double margin_;
};

int AddLayer(SampleMap& map, const LayerPlan& plan) {
    map.layers.push_back(FindLayer(map.scheme, map.schemeCount, plan.titles, plan.occurrence));
    return static_cast<int>(map.layers.size()) - 1;
}

int AddStyles(SampleMap& map, const LayerPlan& plan) {
    map.styles.insert(map.styles.end(), plan.styles.begin(), plan.styles.end());
    return static_cast<int>(map.styles.size() - plan.styles.size());
}

}  // namespace

SampleMap DrawNetworkMap(const MapOptions& options) {
    SampleMap map;
    map.kind = options.kind;
    const bool tokyo = options.kind == MeshKind::Tokyo23;
    map.scheme = tokyo ? tokyo23LayerScheme : materialLayerScheme;
    map.schemeCount = tokyo ? tokyo23LayerSchemeCount : materialLayerSchemeCount;
    const NetworkLegend legend = Legend(options.kind);
    const double density = std::sqrt(static_cast<double>(std::max<int32_t>(1, options.density)));

    NetworkPainter painter(options);
    // Boundaries wander between junctions about half a tile apart; roads run nearly straight
    // between closer crossings.
    struct Net {
        const LayerPlan* plan;
        double spacing;
        int bends;
        double wiggle;
        double drop;
    };
    for (const Net& net : {Net{&legend.boundaries, 0.45, 4, 0.08, 0.15}, Net{&legend.roads, 0.3, 1, 0.03, 0.1}}) {
        const int layer = AddLayer(map, *net.plan);
        const int style = AddStyles(map, *net.plan);
        painter.Network(layer, style, static_cast<int>(net.plan->styles.size()), net.spacing / density, net.bends,
                        net.wiggle, net.drop, map.objects);
    }
    const int faces = AddLayer(map, legend.faces);
    painter.Areas(ArtKind::Face, faces, AddStyles(map, legend.faces), 0, false, map.objects);
    const int rings = AddLayer(map, legend.rings);
    painter.Areas(ArtKind::Ring, rings, AddStyles(map, legend.rings), 1, true, map.objects);
    return map;
}

}  // namespace samplemap
