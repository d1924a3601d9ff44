// Host paths as plain path data that reads back exactly: every number has the fewest digits that
// still give the very same float through the page's flip, and a short list says what the path data
// cannot carry (numbers that do not survive the flip, the outer handles of an open path, corner
// flags unlike the shape at their anchor).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AIHost.h"
#include "svg/SvgGeometry.h"

namespace quiltor::host::svg {

// The viewer coordinates of a page: x as is, y downward from the page's top edge.
class PageAxes {
public:
    explicit PageAxes(AIReal pageHeight) : height_(pageHeight) {}

    // The document values of the numbers a viewer reads.
    float h(double x) const { return NearestReal(x); }
    float v(double y) const { return NearestReal(height_ - y); }

    // Appends the viewer number of the coordinate and returns what reads back from it: the value
    // itself, or a stand-in where no number gives it back (not finite, lost in the flip).
    float appendH(std::string& out, float h) const;
    float appendV(std::string& out, float v) const;

private:
    double height_;
};

// A host path as it reads back.
struct ExactPath {
    std::vector<AIPathSegment> segments;
    bool closed = false;
};

// Writes host paths, keeping its buffers from one path to the next.
class ExactPathWriter {
public:
    explicit ExactPathWriter(const PageAxes& axes) : axes_(axes) {}

    // Appends the path's sub-path to `d` (nothing for no segments) and to `exact` the entries for
    // what `d` cannot carry, numbering its segments from `first`.
    void append(const std::vector<AIPathSegment>& segments, bool closed, size_t first, std::string& d,
                std::string& exact);

private:
    void point(std::string& d, const AIRealPoint& p, AIRealPoint& seen);
    void command(std::string& d, char c);

    const PageAxes& axes_;
    std::vector<AIPathSegment> seen_;
    char last_ = 0;
};

// The sub-paths of path data in the form the writer gives (absolute M, L, C and Z, numbers in any
// notation); nullopt for any other form. Corner flags are not set yet: FinishExactPaths does it.
std::optional<std::vector<ExactPath>> ReadExactPathData(std::string_view d, const PageAxes& axes);

// Applies the entries to the paths, their segments numbered on from one path to the next, and sets
// the corner flags. False, the paths half done, when an entry is malformed or names a segment
// that is not there.
bool FinishExactPaths(std::string_view exact, const std::vector<ExactPath*>& paths);

}  // namespace quiltor::host::svg
