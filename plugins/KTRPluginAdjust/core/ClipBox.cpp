#include "ClipBox.h"

#include <algorithm>

bool WhollyOutside(const Box& outline, const Box& art) {
    return outline.bottom > art.top || art.bottom > outline.top || outline.left > art.right || art.left > outline.right;
}

bool WhollyInside(const Box& outline, const Box& art) {
    return outline.bottom <= art.bottom && art.top <= outline.top && outline.left <= art.left &&
           art.right <= outline.right;
}

bool AnchorInside(const Box& outline, const PathPoint& p) {
    return outline.left <= p.h && p.h <= outline.right && outline.bottom <= p.v && p.v <= outline.top;
}

bool SegmentMeetsBox(const PathAnchor& from, const PathAnchor& to, const Box& box) {
    if (!Straight(from, to)) {
        Box hull{from.p.h, from.p.v, from.p.h, from.p.v};
        for (const PathPoint& q : {from.out, to.in, to.p}) {
            hull.left = std::min(hull.left, q.h);
            hull.right = std::max(hull.right, q.h);
            hull.bottom = std::min(hull.bottom, q.v);
            hull.top = std::max(hull.top, q.v);
        }
        return !WhollyOutside(box, hull);
    }
    double t0 = 0, t1 = 1;
    const double dh = to.p.h - from.p.h;
    const double dv = to.p.v - from.p.v;
    // Liang-Barsky: each side of the box cuts the parameter range.
    const double p[4] = {-dh, dh, -dv, dv};
    const double q[4] = {from.p.h - box.left, box.right - from.p.h, from.p.v - box.bottom, box.top - from.p.v};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}
