#ifndef KTR_OUTLINE_AREA_H
#define KTR_OUTLINE_AREA_H

// How much area a closed outline encloses, judged as the frame judges it: by the even-odd rule,
// so a figure eight counts both loops and an outline drawn twice round counts nothing.

#include <vector>

struct OutlinePoint {
    double h = 0, v = 0;
};

// One anchor of a closed path with its in and out control points.
struct OutlineAnchor {
    OutlinePoint p, in, out;
};

// Square points; curves are followed closely enough for a two-anchor lens to count.
double OutlineArea(const std::vector<OutlineAnchor>& anchors);

// Less than one square point (about 0.12 mm²) is no range to cut a map to.
inline constexpr double kMinOutlineArea = 1.0;

#endif
