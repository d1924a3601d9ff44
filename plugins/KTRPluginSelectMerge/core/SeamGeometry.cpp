#include "SeamGeometry.h"

#include <cmath>
#include <limits>
#include <utility>

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72.0;

// A closed outline needs three anchors to enclose anything; below that the
// doubled-point scan would eat the rest of the path.
constexpr std::size_t kMinOutlineAnchors = 3;

std::vector<int32_t> SeamPositions(double sizeMm, int last) {
    std::vector<int32_t> positions;
    if (last >= 0) {
        positions.reserve(std::size_t(last) + 1);
        for (int k = 0; k <= last; ++k) {
            // Keep the order k, mm, 100: the last bit of the product decides
            // the rounding, and the offsets of placed tiles are made this way.
            positions.push_back(SeamRound(double(k) * sizeMm * 100.0));
        }
    }
    return positions;
}

std::unordered_set<int32_t> BothSidesOfOrigin(const std::vector<int32_t>& positions) {
    std::unordered_set<int32_t> set;
    set.reserve(positions.size() * 2);
    for (int32_t p : positions) {
        set.insert(p);
        // -INT32_MIN does not exist; a saturated position has no mirror.
        if (p != std::numeric_limits<int32_t>::min()) {
            set.insert(-p);
        }
    }
    return set;
}

}  // namespace

int32_t SeamRound(double v) {
    if (std::isnan(v)) {
        return 0;
    }
    const double r = v < 0 ? -std::trunc(std::fabs(v) + 0.5) : std::trunc(v + 0.5);
    if (r >= double(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    if (r <= double(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    return int32_t(r);
}

int32_t ToSeamUnits(double pt) { return SeamRound(pt * kMmPerInch / kPointsPerInch * 100.0); }

SeamPoint ToSeamPoint(double h, double v) { return {ToSeamUnits(h), ToSeamUnits(v)}; }

SeamGrid::SeamGrid(float tileWidth, float tileHeight, int lastColumn, int lastRow)
    : widthMm_(double(tileWidth) * kMmPerInch / kPointsPerInch),
      heightMm_(double(tileHeight) * kMmPerInch / kPointsPerInch),
      lastColumn_(lastColumn),
      lastRow_(lastRow),
      nx_(SeamRound(std::fabs(widthMm_ * 100.0))),
      ny_(SeamRound(std::fabs(heightMm_ * 100.0))),
      columns_(SeamPositions(widthMm_, lastColumn)),
      rows_(SeamPositions(heightMm_, lastRow)),
      columnSet_(BothSidesOfOrigin(columns_)),
      rowSet_(BothSidesOfOrigin(rows_)) {}

bool OnSeam(const SeamGrid& grid, SeamPoint p) {
    // The moduli first: they are cheaper than the position lookups.
    return (grid.LastColumn() >= 0 && (grid.OnColumnModulus(p.x) || grid.IsColumnPosition(p.x))) ||
           (grid.LastRow() >= 0 && (grid.OnRowModulus(p.y) || grid.IsRowPosition(p.y)));
}

bool OnSeamLine(const SeamGrid& grid, SeamPoint first, SeamPoint last) {
    return OnSeam(grid, first) || OnSeam(grid, last);
}

bool OnSeamEdge(const SeamGrid& grid, SeamPoint start, SeamPoint end) {
    return (start.x == end.x && grid.LastColumn() >= 0 &&
            (grid.OnColumnModulus(start.x) || grid.IsColumnPosition(start.x))) ||
           (start.y == end.y && grid.LastRow() >= 0 && (grid.OnRowModulus(start.y) || grid.IsRowPosition(start.y)));
}

LineJoinCase SelectLineJoinCase(const SeamGrid& grid, SeamPoint f1, SeamPoint l1, SeamPoint f2, SeamPoint l2) {
    return SelectLineJoinCaseWhere(f1, l1, f2, l2, [&](SeamPoint p) { return OnSeam(grid, p); });
}

std::optional<std::size_t> FindForwardEdge(std::span<const SeamPoint> outline, SeamPoint a, SeamPoint b) {
    const std::size_t count = outline.size();
    for (std::size_t m = 0; m < count; ++m) {
        if (outline[m] == a && outline[(m + 1) % count] == b) {
            return m;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> FindBackwardAnchor(std::span<const SeamPoint> outline, SeamPoint a, SeamPoint b) {
    const std::size_t count = outline.size();
    for (std::size_t t = count; t-- > 0;) {
        const std::size_t pred = t == 0 ? count - 1 : t - 1;
        if (outline[t] == a && outline[pred] == b) {
            return t;
        }
    }
    return std::nullopt;
}

std::vector<std::size_t> ForwardSpliceOrder(std::size_t count2, std::size_t m) {
    if (m >= count2) {
        throw std::out_of_range("ForwardSpliceOrder: edge outside art2");
    }
    std::vector<std::size_t> order;
    order.reserve(count2);
    for (std::size_t k = m + 1; k < count2; ++k) {
        order.push_back(k);
    }
    for (std::size_t k = 0; k <= m; ++k) {
        order.push_back(k);
    }
    return order;
}

std::vector<std::size_t> BackwardSpliceOrder(std::size_t count2, std::size_t t) {
    if (t >= count2) {
        throw std::out_of_range("BackwardSpliceOrder: anchor outside art2");
    }
    std::vector<std::size_t> order;
    order.reserve(count2);
    for (std::size_t k = t; k-- > 0;) {
        order.push_back(k);
    }
    for (std::size_t k = count2; k-- > t;) {
        order.push_back(k);
    }
    return order;
}

void SpliceAfter(std::span<const SeamPoint> art1, std::size_t n, std::span<const SeamPoint> art2,
                 const std::vector<std::size_t>& order, std::vector<SeamPoint>& out) {
    if (n >= art1.size()) {
        throw std::out_of_range("SpliceAfter: anchor outside art1");
    }
    out.assign(art1.begin(), art1.begin() + std::ptrdiff_t(n + 1));
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        if (*it >= art2.size()) {
            throw std::out_of_range("SpliceAfter: segment outside art2");
        }
        out.push_back(art2[*it]);
    }
    out.insert(out.end(), art1.begin() + std::ptrdiff_t(n + 1), art1.end());
}

std::vector<std::size_t> RemoveDoubledPointsIndices(std::vector<SeamPoint>& outline) {
    // After deleting anchor h the scan resumes at h - 1, so it only ever
    // steps back by one. A gap buffer in place makes that O(1): outline[0, k)
    // holds anchors 0 ... h - 1 and outline[r, end) anchors h ... len - 1,
    // with k <= r throughout.
    std::vector<std::size_t> deleted;
    const std::size_t end = outline.size();
    std::size_t k = 0;
    std::size_t r = 0;
    while (r < end) {
        if (k + (end - r) <= kMinOutlineAnchors) {
            break;
        }
        const SeamPoint here = outline[r];
        const SeamPoint follower = r + 1 < end ? outline[r + 1] : outline[0];
        const SeamPoint predecessor = k == 0 ? outline[end - 1] : outline[k - 1];
        if (here == follower || predecessor == follower) {
            deleted.push_back(k);
            if (k == 0) {
                ++r;
            } else {
                outline[r] = outline[--k];
            }
        } else {
            outline[k++] = here;
            ++r;
        }
    }
    outline.erase(outline.begin() + std::ptrdiff_t(k), outline.begin() + std::ptrdiff_t(r));
    return deleted;
}
