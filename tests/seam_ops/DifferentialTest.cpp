// The indexed joins against the pairwise loops, on the same layouts built into
// two documents: the documents must come out identical after every step.
#include <array>
#include <cstdlib>
#include <map>
#include <set>

#include "PlainSeamLoops.h"
#include "SeamOpsFixture.h"

namespace seamtest {
namespace {

using JoinFn = int (*)(AILayerHandle, const SeamGrid&);

struct Steps {
    JoinFn lines;
    JoinFn faces;
    JoinFn rings;
};

const Steps kPlain{plainseam::LineConnect, plainseam::CompoundShape, plainseam::CompoundPolyline};
const Steps kIndexed{seamjoin::LineConnect, seamjoin::CompoundShape, seamjoin::CompoundPolyline};

// What the random layouts gave the joins and the stacking to get right, by the
// number of layouts.
struct Seen {
    std::array<int, 3> joined{0, 0, 0};  // lines, faces, rings
    int linesMeetingInland = 0;          // left apart where they meet off the seams
    int junctionsOnSeams = 0;            // three or more line ends at one seam point
    int bordersFromSeamToSeam = 0;       // two outlines left sharing such a border
    int heldFirstLines = 0;              // a first line in a compound path or group
};

SeamPoint SeamOf(const AIPathSegment& s) { return ToSeamPoint(s.p.h, s.p.v); }

bool Flag(AIErr (*query)(AIArtHandle, AIBoolean*), AIArtHandle art) {
    AIBoolean answer = false;
    query(art, &answer);
    return answer != 0;
}

// Two open paths, one with an end on a seam, ending at one point off the seams.
bool LinesMeetInland(const std::vector<PathRecord>& paths, const SeamGrid& grid) {
    std::map<std::pair<int32_t, int32_t>, std::pair<int, bool>> ends;  // paths, a candidate among them
    for (const PathRecord& r : paths) {
        if (r.closed || r.segments.empty()) {
            continue;
        }
        const SeamPoint both[2] = {SeamOf(r.segments.front()), SeamOf(r.segments.back())};
        const bool candidate = plainseam::OnAnySeam(grid, both[0]) || plainseam::OnAnySeam(grid, both[1]);
        for (int e = both[0] == both[1] ? 1 : 0; e < 2; ++e) {
            const SeamPoint p = both[e];
            if (!plainseam::OnAnySeam(grid, p)) {
                auto& [count, any] = ends[{p.x, p.y}];
                ++count;
                any = any || candidate;
            }
        }
    }
    return std::any_of(ends.begin(), ends.end(), [](const auto& e) { return e.second.first >= 2 && e.second.second; });
}

// Three or more open, unfilled paths ending at one point on a seam.
bool JunctionOnASeam(const std::vector<PathRecord>& paths, const SeamGrid& grid) {
    std::map<std::pair<int32_t, int32_t>, int> ends;
    for (const PathRecord& r : paths) {
        if (r.closed || r.segments.empty() || Flag(sAIArt->ArtHasFill, r.art)) {
            continue;
        }
        const SeamPoint both[2] = {SeamOf(r.segments.front()), SeamOf(r.segments.back())};
        for (int e = both[0] == both[1] ? 2 : 0; e < 2; ++e) {
            if (plainseam::OnAnySeam(grid, both[e])) {
                ++ends[{both[e].x, both[e].y}];
            }
        }
    }
    return std::any_of(ends.begin(), ends.end(), [](const auto& e) { return e.second >= 3; });
}

// Two closed paths sharing a straight edge from seam to seam, not along one.
bool OutlinesShareABorderFromSeamToSeam(const std::vector<PathRecord>& paths, const SeamGrid& grid) {
    std::map<std::array<int32_t, 4>, std::set<AIArtHandle>> borders;
    for (const PathRecord& r : paths) {
        for (std::size_t k = 0; r.closed && k < r.segments.size(); ++k) {
            SeamPoint a = SeamOf(r.segments[k]);
            SeamPoint b = SeamOf(r.segments[(k + 1) % r.segments.size()]);
            if (a == b || (a.x != b.x && a.y != b.y) || plainseam::AlongSeam(grid, a, b) ||
                !plainseam::OnAnySeam(grid, a) || !plainseam::OnAnySeam(grid, b)) {
                continue;
            }
            if (std::pair{b.x, b.y} < std::pair{a.x, a.y}) {
                std::swap(a, b);
            }
            borders[{a.x, a.y, b.x, b.y}].insert(r.art);
        }
    }
    return std::any_of(borders.begin(), borders.end(), [](const auto& b) { return b.second.size() >= 2; });
}

// The first path the stacking takes for a line, and its outermost holder in
// the layer (itself when it has none); null when there is no line.
std::pair<AIArtHandle, AIArtHandle> FirstLine(AILayerHandle layer) {
    for (const PathRecord& r : Paths(layer)) {
        if (Flag(sAIArt->ArtHasStroke, r.art) && (!r.closed || !Flag(sAIArt->ArtHasFill, r.art))) {
            AIArtHandle outermost = r.art;
            for (AIArtHandle parent = nullptr;
                 sAIArt->GetArtParent(outermost, &parent) == kNoErr && parent != LayerGroup(layer);) {
                outermost = parent;
            }
            return {r.art, outermost};
        }
    }
    return {nullptr, nullptr};
}

bool Inside(AIArtHandle art, AIArtHandle holder) {
    for (AIArtHandle parent = nullptr; sAIArt->GetArtParent(art, &parent) == kNoErr && parent != nullptr;) {
        if (parent == holder) {
            return true;
        }
        art = parent;
    }
    return false;
}

// The layer after each step: lines, faces, rings, polygon stacking. `seen`
// (on one of the two runs) gathers what the layout exercised.
std::vector<std::string> Run(SeamHost& host, const Layout& layout, const Steps& steps, Seen* seen) {
    const AILayerHandle layer = host.NewDocument();
    Build(layer, layout);
    const SeamGrid grid = layout.Grid();
    std::vector<std::string> dumps;
    std::size_t before = Paths(layer).size();
    if (seen != nullptr) {
        seen->junctionsOnSeams += JunctionOnASeam(Paths(layer), grid) ? 1 : 0;
    }
    int k = 0;
    for (JoinFn step : {steps.lines, steps.faces, steps.rings}) {
        EXPECT_EQ(step(layer, grid), 1);
        dumps.push_back(Dump(layer));
        const std::vector<PathRecord> paths = Paths(layer);
        if (seen != nullptr) {
            seen->joined[std::size_t(k)] += paths.size() < before ? 1 : 0;
            seen->linesMeetingInland += k == 0 && LinesMeetInland(paths, grid) ? 1 : 0;
            seen->bordersFromSeamToSeam += k == 2 && OutlinesShareABorderFromSeamToSeam(paths, grid) ? 1 : 0;
        }
        before = paths.size();
        ++k;
    }
    const auto [firstLine, holder] = FirstLine(layer);
    if (seen != nullptr) {
        seen->heldFirstLines += firstLine != holder ? 1 : 0;
    }
    seamjoin::AboveAllPolygon(layer);
    dumps.push_back(Dump(layer));
    // Unless text keeps the layer as it was, no polygon is left in (or moved
    // into) what holds the first line.
    const bool text = std::any_of(layout.items.begin(), layout.items.end(),
                                  [](const Item& item) { return item.kind == Item::Kind::Text; });
    if (firstLine != holder && !text) {
        for (const PathRecord& r : Paths(layer)) {
            EXPECT_FALSE(r.closed && Flag(sAIArt->ArtHasFill, r.art) && Inside(r.art, holder))
                << "a polygon is in the compound path or group that holds the first line";
        }
    }
    host.CloseDocument();
    return dumps;
}

int LayoutCount(int fallback) {
    const char* env = std::getenv("QUILTOR_SEAM_LAYOUTS");
    return env != nullptr ? std::max(1, std::atoi(env)) : fallback;
}

void Compare(SeamHost& host, const Layout& layout, uint32_t seed, Seen* seen) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const auto plain = Run(host, layout, kPlain, seen);
    const auto indexed = Run(host, layout, kIndexed, nullptr);
    const char* steps[] = {"lines", "faces", "rings", "stacking"};
    for (std::size_t k = 0; k < plain.size(); ++k) {
        ASSERT_EQ(indexed[k], plain[k]) << "seed " << seed << ", after " << steps[k];
    }
}

TEST(SeamOpsDifferential, RandomSeamLayoutsComeOutTheSame) {
    SeamHost host;
    ASSERT_TRUE(host.ok());
    const int layouts = LayoutCount(3000);
    Seen seen;
    for (int seed = 1; seed <= layouts; ++seed) {
        ASSERT_NO_FATAL_FAILURE(Compare(host, RandomLayout(uint32_t(seed)), uint32_t(seed), &seen));
    }
    // The layouts must give the joins something to choose between.
    EXPECT_GT(seen.joined[0], layouts / 2);
    EXPECT_GT(seen.joined[1], layouts / 4);
    EXPECT_GT(seen.joined[2], layouts / 8);
    EXPECT_GT(seen.linesMeetingInland, layouts / 3);
    EXPECT_GT(seen.junctionsOnSeams, layouts / 8);
    EXPECT_GT(seen.bordersFromSeamToSeam, layouts / 3);
    EXPECT_GT(seen.heldFirstLines, layouts / 4);
}

TEST(SeamOpsDifferential, CutLinesAndFacesOnAFourByFourGridComeOutTheSame) {
    SeamHost host;
    ASSERT_TRUE(host.ok());
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        ASSERT_NO_FATAL_FAILURE(Compare(host, CutLinesLayout(400, seed), seed, nullptr));
        ASSERT_NO_FATAL_FAILURE(Compare(host, CutFacesLayout(400, seed), seed, nullptr));
    }
}

}  // namespace
}  // namespace seamtest
