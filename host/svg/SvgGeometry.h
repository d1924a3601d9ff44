// Geometry of plain SVG: path data, basic shapes and transforms, in user units, turned into the
// host's path segments.
#pragma once

#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "AIHost.h"

namespace quiltor::host::svg {

struct Point2 {
    double x = 0, y = 0;
    bool operator==(const Point2&) const = default;
};

// A segment as the host keeps it: anchor, control point towards the previous anchor, control
// point towards the next one.
struct Segment2 {
    Point2 p, in, out;
};

struct Subpath {
    std::vector<Segment2> segments;
    bool closed = false;
};

// x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    Point2 apply(Point2 p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    // This transform after `inner`.
    Affine operator*(const Affine& inner) const;
    // How much lengths grow: the square root of the determinant's size.
    double scale() const;
};

// The subpaths of a `d` attribute (M, L, H, V, C, S, Q, T, A, Z and their relative forms). Stops at
// the first error, keeping what came before it, as viewers do.
std::vector<Subpath> ParsePathData(std::string_view d);

// A transform attribute (matrix, translate, scale, rotate, skewX, skewY); nullopt when malformed.
std::optional<Affine> ParseTransform(std::string_view text);

// Numbers of a points list or viewBox, separated by commas and/or white space.
std::vector<double> ParseNumberList(std::string_view text);

Subpath RectPath(double x, double y, double width, double height);
Subpath EllipsePath(double cx, double cy, double rx, double ry);
Subpath PolyPath(const std::vector<double>& coordinates, bool closed);

// The float nearest to the value, infinite beyond the floats' range (where a plain cast is
// undefined).
inline float NearestReal(double value) {
    constexpr double kBeyond = 0x1.ffffffp127;  // the largest float and half a step more
    if (value >= kBeyond) return std::numeric_limits<float>::infinity();
    if (value <= -kBeyond) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

// Whether the anchor's two control points stand on opposite sides of it in one line: a smooth
// point. Squares and products only, so that every platform decides alike.
bool SmoothAnchor(const AIPathSegment& s);

// The subpath in document coordinates. Corner flags are set where the anchor is not smooth.
std::vector<AIPathSegment> ToHostSegments(const Subpath& path, const Affine& toDocument);

}  // namespace quiltor::host::svg
