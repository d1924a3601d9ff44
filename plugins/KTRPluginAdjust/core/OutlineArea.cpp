#include "OutlineArea.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

struct Edge {
    PathPoint a, b;
    double left() const { return std::min(a.h, b.h); }
    double right() const { return std::max(a.h, b.h); }
    // The edge's height at h, for left() < h < right().
    double at(double h) const { return a.v + (b.v - a.v) * (h - a.h) / (b.h - a.h); }
};

constexpr int kCurveSteps = 32;

std::vector<Edge> Flatten(const std::vector<PathAnchor>& anchors) {
    std::vector<Edge> edges;
    const std::size_t n = anchors.size();
    for (std::size_t i = 0; i < n; ++i) {
        const PathAnchor& from = anchors[i];
        const PathAnchor& to = anchors[(i + 1) % n];
        if (Straight(from, to)) {
            edges.push_back({from.p, to.p});
            continue;
        }
        PathPoint last = from.p;
        for (int s = 1; s <= kCurveSteps; ++s) {
            const double t = static_cast<double>(s) / kCurveSteps, u = 1 - t;
            const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
            const PathPoint q{w0 * from.p.h + w1 * from.out.h + w2 * to.in.h + w3 * to.p.h,
                              w0 * from.p.v + w1 * from.out.v + w2 * to.in.v + w3 * to.p.v};
            edges.push_back({last, q});
            last = q;
        }
    }
    // Upright edges add no width to any strip.
    edges.erase(std::remove_if(edges.begin(), edges.end(), [](const Edge& e) { return e.a.h == e.b.h; }), edges.end());
    std::sort(edges.begin(), edges.end(), [](const Edge& x, const Edge& y) { return x.left() < y.left(); });
    return edges;
}

// Where two edges cross strictly inside both, as an h; false when they do not.
bool Crossing(const Edge& x, const Edge& y, double* h) {
    const double dxh = x.b.h - x.a.h, dxv = x.b.v - x.a.v, dyh = y.b.h - y.a.h, dyv = y.b.v - y.a.v;
    const double den = dxh * dyv - dxv * dyh;
    if (den == 0) return false;
    const double t = ((y.a.h - x.a.h) * dyv - (y.a.v - x.a.v) * dyh) / den;
    const double u = ((y.a.h - x.a.h) * dxv - (y.a.v - x.a.v) * dxh) / den;
    if (!(t > 0 && t < 1 && u > 0 && u < 1)) return false;
    *h = x.a.h + t * dxh;
    return true;
}

}  // namespace

// Between two neighbouring breaks (anchors and crossings) no edge ends or crosses another, so
// the length covered at h is linear there and its value in the middle gives the strip exactly.
double OutlineArea(const std::vector<PathAnchor>& anchors) {
    const std::vector<Edge> edges = Flatten(anchors);
    std::vector<double> breaks;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        breaks.push_back(edges[i].a.h);
        breaks.push_back(edges[i].b.h);
        for (std::size_t j = i + 1; j < edges.size() && edges[j].left() < edges[i].right(); ++j) {
            double h = 0;
            if (Crossing(edges[i], edges[j], &h)) breaks.push_back(h);
        }
    }
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());

    double area = 0;
    std::vector<double> heights;
    std::vector<const Edge*> active;  // the edges that reach over the strip
    std::size_t next = 0;             // the first edge not yet taken in (edges go by their left end)
    for (std::size_t k = 0; k + 1 < breaks.size(); ++k) {
        const double mid = (breaks[k] + breaks[k + 1]) / 2;
        for (; next < edges.size() && edges[next].left() < mid; ++next) active.push_back(&edges[next]);
        active.erase(std::remove_if(active.begin(), active.end(), [mid](const Edge* e) { return e->right() <= mid; }),
                     active.end());
        heights.clear();
        for (const Edge* e : active) heights.push_back(e->at(mid));
        std::sort(heights.begin(), heights.end());
        double length = 0;
        for (std::size_t i = 0; i + 1 < heights.size(); i += 2) length += heights[i + 1] - heights[i];
        area += length * (breaks[k + 1] - breaks[k]);
    }
    return area;
}
