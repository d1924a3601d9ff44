#ifndef KTR_PATH_ANCHOR_H
#define KTR_PATH_ANCHOR_H

// Points of a path in document points, v growing upward.
struct PathPoint {
    double h = 0, v = 0;
};

// One anchor with its in and out control points.
struct PathAnchor {
    PathPoint p, in, out;
};

// The way between two anchors is a straight line when neither control point leaves its anchor.
inline bool Straight(const PathAnchor& from, const PathAnchor& to) {
    return from.out.h == from.p.h && from.out.v == from.p.v && to.in.h == to.p.h && to.in.v == to.p.v;
}

#endif
