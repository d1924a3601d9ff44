// Seam arithmetic for rejoining art cut at tile edges: integer points in
// hundredths of a millimetre, the seam grid of one merge, the seam tests,
// and the pure index work behind the line, face and closed-line joins.
// Nothing here talks to the host; the plug-in reads and writes the paths
// and asks these functions what to do with them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <unordered_set>
#include <vector>

// Rounds half away from zero and truncates to int32. Values beyond the
// int32 range saturate and NaN gives 0, so a corrupt coordinate cannot
// trigger an undefined conversion.
int32_t SeamRound(double v);

// Points (1/72 inch) to hundredths of a millimetre.
int32_t ToSeamUnits(double pt);

struct SeamPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const SeamPoint&, const SeamPoint&) = default;
};

SeamPoint ToSeamPoint(double h, double v);

template <>
struct std::hash<SeamPoint> {
    std::size_t operator()(const SeamPoint& p) const noexcept {
        // splitmix64 finaliser: neighbouring grid points land far apart.
        uint64_t z = (uint64_t(uint32_t(p.x)) << 32) | uint32_t(p.y);
        z += 0x9e3779b97f4a7c15ULL;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return std::size_t(z ^ (z >> 31));
    }
};

// The seams of one merged map, derived once per join call. X(k) and Y(k)
// are the positive seam positions; the membership tests also accept their
// negatives, because rows are placed below the origin (negative y) and a
// tile height that is not a whole number of hundredths defeats the modulus.
class SeamGrid {
public:
    SeamGrid(float tileWidth, float tileHeight, int lastColumn, int lastRow);

    double WidthMm() const { return widthMm_; }
    double HeightMm() const { return heightMm_; }
    int LastColumn() const { return lastColumn_; }
    int LastRow() const { return lastRow_; }
    // k must lie in 0 ... LastColumn() / LastRow().
    int32_t X(int k) const { return columns_.at(std::size_t(k)); }
    int32_t Y(int k) const { return rows_.at(std::size_t(k)); }
    int32_t Nx() const { return nx_; }
    int32_t Ny() const { return ny_; }

    // Whether v equals +X(k) or -X(k) (+Y(k) or -Y(k)) for some k.
    bool IsColumnPosition(int32_t v) const { return columnSet_.contains(v); }
    bool IsRowPosition(int32_t v) const { return rowSet_.contains(v); }
    // v mod Nx = 0 (v mod Ny = 0). A modulus of 0 (a tile narrower than half
    // a hundredth) never matches rather than dividing by zero.
    bool OnColumnModulus(int32_t v) const { return nx_ != 0 && v % nx_ == 0; }
    bool OnRowModulus(int32_t v) const { return ny_ != 0 && v % ny_ == 0; }

private:
    double widthMm_;
    double heightMm_;
    int lastColumn_;
    int lastRow_;
    int32_t nx_;
    int32_t ny_;
    std::vector<int32_t> columns_;
    std::vector<int32_t> rows_;
    std::unordered_set<int32_t> columnSet_;
    std::unordered_set<int32_t> rowSet_;
};

// Whether a point lies on a seam line: x on a vertical seam or y on a
// horizontal one, by position or modulus.
bool OnSeam(const SeamGrid& grid, SeamPoint p);

// Whether an open line has an end on a seam; first and last are its end
// anchors.
bool OnSeamLine(const SeamGrid& grid, SeamPoint first, SeamPoint last);

// Whether an edge of a closed outline lies along a seam line: a vertical edge
// on a vertical seam or a horizontal edge on a horizontal one. Faces and rings
// are candidates when they have such an edge and are spliced only there; an
// edge that merely runs from one seam to the next is an inland border.
bool OnSeamEdge(const SeamGrid& grid, SeamPoint start, SeamPoint end);

// How two open lines meet, tried in this order; a case counts only when the
// point where they meet lies on a seam, so that lines meeting inland (at a
// tripoint, a crossing) stay apart. The plug-in reverses the paths as named,
// then appends the second line (minus its first anchor) to the first.
enum class LineJoinCase {
    None = 0,
    Append = 1,         // L1 = F2
    ReverseBoth = 2,    // F1 = L2: reverse art1, then art2
    ReverseSecond = 3,  // L1 = L2
    ReverseFirst = 4,   // F1 = F2
};

LineJoinCase SelectLineJoinCase(const SeamGrid& grid, SeamPoint f1, SeamPoint l1, SeamPoint f2, SeamPoint l2);

// The same order of cases, where joinsAt(p) says whether two lines may join
// at p (the seam test, narrowed by whatever else the caller knows of p).
template <class JoinsAt>
LineJoinCase SelectLineJoinCaseWhere(SeamPoint f1, SeamPoint l1, SeamPoint f2, SeamPoint l2, JoinsAt joinsAt) {
    if (l1 == f2 && joinsAt(l1)) {
        return LineJoinCase::Append;
    }
    if (f1 == l2 && joinsAt(f1)) {
        return LineJoinCase::ReverseBoth;
    }
    if (l1 == l2 && joinsAt(l1)) {
        return LineJoinCase::ReverseSecond;
    }
    if (f1 == f2 && joinsAt(f1)) {
        return LineJoinCase::ReverseFirst;
    }
    return LineJoinCase::None;
}

constexpr bool ReversesFirst(LineJoinCase c) {
    return c == LineJoinCase::ReverseBoth || c == LineJoinCase::ReverseFirst;
}

constexpr bool ReversesSecond(LineJoinCase c) {
    return c == LineJoinCase::ReverseBoth || c == LineJoinCase::ReverseSecond;
}

// First edge m of a closed outline running from a to b (anchor m = a,
// anchor m + 1 = b, wrapping).
std::optional<std::size_t> FindForwardEdge(std::span<const SeamPoint> outline, SeamPoint a, SeamPoint b);

// Last anchor t (searching from the end) with anchor t = a and its
// predecessor = b, wrapping: the outline runs from b to a.
std::optional<std::size_t> FindBackwardAnchor(std::span<const SeamPoint> outline, SeamPoint a, SeamPoint b);

// Indices of art2's segments in the order they are inserted, each directly
// after anchor n of art1: m + 1 ... count2 - 1, then 0 ... m.
std::vector<std::size_t> ForwardSpliceOrder(std::size_t count2, std::size_t m);

// The same after a backward match at t: t - 1 ... 0, then count2 - 1 ... t.
std::vector<std::size_t> BackwardSpliceOrder(std::size_t count2, std::size_t t);

// Replays the insertions of a splice order on art1: every element goes in
// directly after index n, so the last inserted ends up next to anchor n.
// The result replaces what `out` held; it must not be art1 or art2.
// Throws std::out_of_range when n or an order index lies outside its path.
void SpliceAfter(std::span<const SeamPoint> art1, std::size_t n, std::span<const SeamPoint> art2,
                 const std::vector<std::size_t>& order, std::vector<SeamPoint>& out);

inline std::vector<SeamPoint> SpliceAfter(std::span<const SeamPoint> art1, std::size_t n,
                                          std::span<const SeamPoint> art2, const std::vector<std::size_t>& order) {
    std::vector<SeamPoint> out;
    SpliceAfter(art1, n, art2, order, out);
    return out;
}

// Deletes, one at a time, every anchor equal to its follower or lying
// between two equal anchors (a there-and-back spur), rescanning from the
// anchor before each deletion. Returns the index of every deletion at the
// moment it was made, so the plug-in can replay them on the host path.
// Stops while three anchors remain: a smaller outline would collapse to
// nothing, one anchor at a time.
std::vector<std::size_t> RemoveDoubledPointsIndices(std::vector<SeamPoint>& outline);
