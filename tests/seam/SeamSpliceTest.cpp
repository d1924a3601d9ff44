#include "SeamPrint.h"
#include "core/SeamGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

namespace {

using Outline = std::vector<SeamPoint>;
using Indices = std::vector<std::size_t>;

// Tiles of 1 mm: seams every 100 hundredths, across and down.
const SeamGrid kMillimetreGrid(float(72.0 / 25.4), float(72.0 / 25.4), 3, 3);

TEST(SeamLineJoin, FirstMatchingCaseWins) {
    // q lies on the seam x = 100 and s on the crossing; p and r are inland.
    const SeamPoint p{50, -50}, q{100, -50}, r{150, -50}, s{200, -100};
    struct Case {
        const char* name;
        SeamPoint f1, l1, f2, l2;
        LineJoinCase want;
    };
    const Case cases[] = {
        {"L1=F2", p, q, q, r, LineJoinCase::Append},
        {"F1=L2", q, r, p, q, LineJoinCase::ReverseBoth},
        {"L1=L2", p, q, r, q, LineJoinCase::ReverseSecond},
        {"F1=F2", q, r, q, p, LineJoinCase::ReverseFirst},
        {"L1=F2 before F1=L2 (ring)", q, s, s, q, LineJoinCase::Append},
        {"F1=L2, the other ends apart", q, p, r, q, LineJoinCase::ReverseBoth},
        {"F1=L2 before L1=L2 (both ends equal)", q, q, r, q, LineJoinCase::ReverseBoth},
        {"L1=L2 before F1=F2", q, s, q, s, LineJoinCase::ReverseSecond},
        {"apart", p, q, r, s, LineJoinCase::None},
        {"only one coordinate shared", p, q, {100, -49}, r, LineJoinCase::None},
        // Regression: ends meeting inland were joined as soon as one of the
        // lines had its other end on a seam (a tripoint, a crossing).
        {"L1=F2 inland", q, p, p, r, LineJoinCase::None},
        {"F1=L2 inland", p, q, r, p, LineJoinCase::None},
        {"L1=L2 inland", q, p, r, p, LineJoinCase::None},
        {"F1=F2 inland", p, q, p, r, LineJoinCase::None},
        {"inland L1=F2 passed for F1=L2 on the seam", q, p, p, q, LineJoinCase::ReverseBoth},
        {"inland L1=L2 passed for F1=F2 on the seam", q, p, q, p, LineJoinCase::ReverseFirst},
    };
    for (const Case& c : cases) {
        const LineJoinCase got = SelectLineJoinCase(kMillimetreGrid, c.f1, c.l1, c.f2, c.l2);
        EXPECT_EQ(got, c.want) << c.name;
        if (got == LineJoinCase::None) {
            continue;
        }
        // After the named reversals art1 must end where art2 starts, on a seam.
        const SeamPoint end1 = ReversesFirst(got) ? c.f1 : c.l1;
        const SeamPoint start2 = ReversesSecond(got) ? c.l2 : c.f2;
        EXPECT_EQ(end1, start2) << c.name;
        EXPECT_TRUE(OnSeam(kMillimetreGrid, end1)) << c.name;
    }
}

TEST(SeamLineJoin, EndsRoundingToTheSameHundredthMeet) {
    auto at = [](double mm) { return ToSeamPoint(mm * 72.0 / 25.4, -5.0); };
    EXPECT_EQ(SelectLineJoinCase(kMillimetreGrid, at(0.0), at(10.001), at(10.004), at(20.0)), LineJoinCase::Append);
    EXPECT_EQ(SelectLineJoinCase(kMillimetreGrid, at(0.0), at(10.004), at(10.006), at(20.0)), LineJoinCase::None);
}

TEST(SeamForwardMatch, FirstEdgeFromAToB) {
    const SeamPoint a{1, 1}, b{2, 2}, c{3, 3};
    EXPECT_EQ(FindForwardEdge(Outline{c, a, b, c}, a, b), std::optional<std::size_t>(1));
    EXPECT_EQ(FindForwardEdge(Outline{b, c, c, a}, a, b), std::optional<std::size_t>(3));  // wraps
    EXPECT_EQ(FindForwardEdge(Outline{a, b, a, b}, a, b), std::optional<std::size_t>(0));
    EXPECT_EQ(FindForwardEdge(Outline{b, a, c}, a, b), std::nullopt);  // only b to a
    EXPECT_EQ(FindForwardEdge(Outline{}, a, b), std::nullopt);
    EXPECT_EQ(FindForwardEdge(Outline{a}, a, a), std::optional<std::size_t>(0));
}

TEST(SeamBackwardMatch, LastAnchorAPrecededByB) {
    const SeamPoint a{1, 1}, b{2, 2}, c{3, 3};
    EXPECT_EQ(FindBackwardAnchor(Outline{c, b, a, c}, a, b), std::optional<std::size_t>(2));
    EXPECT_EQ(FindBackwardAnchor(Outline{a, c, c, b}, a, b), std::optional<std::size_t>(0));  // wraps
    EXPECT_EQ(FindBackwardAnchor(Outline{b, a, b, a}, a, b), std::optional<std::size_t>(3));
    EXPECT_EQ(FindBackwardAnchor(Outline{a, b, c}, a, b), std::nullopt);  // only a to b
    EXPECT_EQ(FindBackwardAnchor(Outline{}, a, b), std::nullopt);
}

TEST(SeamSpliceOrder, IndexSequences) {
    struct Case {
        bool forward;
        std::size_t count2, at;
        Indices want;
    };
    const Case cases[] = {
        {true, 4, 0, {1, 2, 3, 0}},  {true, 4, 1, {2, 3, 0, 1}},  {true, 4, 3, {0, 1, 2, 3}},  {true, 1, 0, {0}},
        {false, 4, 0, {3, 2, 1, 0}}, {false, 4, 2, {1, 0, 3, 2}}, {false, 4, 3, {2, 1, 0, 3}}, {false, 1, 0, {0}},
    };
    for (const Case& c : cases) {
        const Indices got = c.forward ? ForwardSpliceOrder(c.count2, c.at) : BackwardSpliceOrder(c.count2, c.at);
        EXPECT_EQ(got, c.want) << (c.forward ? "forward " : "backward ") << c.count2 << " at " << c.at;
    }
    EXPECT_THROW(ForwardSpliceOrder(4, 4), std::out_of_range);
    EXPECT_THROW(BackwardSpliceOrder(0, 0), std::out_of_range);
}

// Whatever the match, the inserted piece reads as art2 walked once round:
// backwards from m after a forward match, forwards from t after a backward one.
TEST(SeamSpliceAfter, InsertedPieceWalksArt2Once) {
    const Outline art1{{0, 0}, {1, 0}, {1, 1}};
    Outline art2;
    for (int32_t k = 0; k < 5; ++k) {
        art2.push_back({10 + k, 20 + k});
    }
    const std::size_t n = 1;
    for (std::size_t at = 0; at < art2.size(); ++at) {
        const Outline fwd = SpliceAfter(art1, n, art2, ForwardSpliceOrder(art2.size(), at));
        const Outline bwd = SpliceAfter(art1, n, art2, BackwardSpliceOrder(art2.size(), at));
        ASSERT_EQ(fwd.size(), 8u);
        ASSERT_EQ(bwd.size(), 8u);
        EXPECT_EQ(fwd.front(), art1[0]);
        EXPECT_EQ(fwd.back(), art1[2]);
        for (std::size_t i = 0; i < art2.size(); ++i) {
            EXPECT_EQ(fwd[n + 1 + i], art2[(at + art2.size() - i) % art2.size()]) << at << "," << i;
            EXPECT_EQ(bwd[n + 1 + i], art2[(at + i) % art2.size()]) << at << "," << i;
        }
    }
    EXPECT_THROW(SpliceAfter(art1, 3, art2, {0}), std::out_of_range);
}

// Rectangles side by side across the seam x = 100; art1 is clockwise
// (y up) and its edge 1 runs down the seam from A to B.
const Outline kLeft{{0, 0}, {100, 0}, {100, -50}, {0, -50}};
const Outline kRightCounterClockwise{{100, -50}, {200, -50}, {200, 0}, {100, 0}};
const Outline kRightClockwise{{100, 0}, {200, 0}, {200, -50}, {100, -50}};
const Outline kJoinedRectangles{{0, 0}, {100, 0}, {200, 0}, {200, -50}, {100, -50}, {0, -50}};

TEST(SeamSplice, RectanglesOfOppositeOrientationMatchForward) {
    const SeamPoint a = kLeft[1], b = kLeft[2];
    const auto m = FindForwardEdge(kRightCounterClockwise, a, b);
    ASSERT_EQ(m, std::optional<std::size_t>(3));
    Outline joined = SpliceAfter(kLeft, 1, kRightCounterClockwise, ForwardSpliceOrder(4, *m));
    EXPECT_EQ(RemoveDoubledPointsIndices(joined), (Indices{1, 4}));
    EXPECT_EQ(joined, kJoinedRectangles);
}

TEST(SeamSplice, RectanglesOfSameOrientationMatchBackward) {
    const SeamPoint a = kLeft[1], b = kLeft[2];
    EXPECT_EQ(FindForwardEdge(kRightClockwise, a, b), std::nullopt);
    const auto t = FindBackwardAnchor(kRightClockwise, a, b);
    ASSERT_EQ(t, std::optional<std::size_t>(0));
    Outline joined = SpliceAfter(kLeft, 1, kRightClockwise, BackwardSpliceOrder(4, *t));
    RemoveDoubledPointsIndices(joined);
    EXPECT_EQ(joined, kJoinedRectangles);
}

// Twice the signed area, so that whole-unit outlines stay exact.
int64_t DoubleArea(const Outline& o) {
    int64_t sum = 0;
    for (std::size_t i = 0; i < o.size(); ++i) {
        const SeamPoint& p = o[i];
        const SeamPoint& q = o[(i + 1) % o.size()];
        sum += int64_t(p.x) * q.y - int64_t(q.x) * p.y;
    }
    return sum;
}

// The face merge pass over plain outlines, as the plug-in runs it over paths.
std::vector<Outline> MergeFaces(const SeamGrid& grid, std::vector<Outline> faces) {
    std::size_t i = 0;
    while (i < faces.size()) {
        bool merged = false;
        Outline art1 = faces[i];
        for (std::size_t n = 0; n < art1.size() && !merged; ++n) {
            const SeamPoint a = art1[n], b = art1[(n + 1) % art1.size()];
            if (!OnSeamEdge(grid, a, b)) {
                continue;
            }
            for (std::size_t j = 0; j < faces.size() && !merged; ++j) {
                if (j == i) {
                    continue;
                }
                const Outline& art2 = faces[j];
                Indices order;
                if (const auto m = FindForwardEdge(art2, a, b)) {
                    order = ForwardSpliceOrder(art2.size(), *m);
                } else if (const auto t = FindBackwardAnchor(art2, a, b)) {
                    order = BackwardSpliceOrder(art2.size(), *t);
                } else {
                    continue;
                }
                art1 = SpliceAfter(art1, n, art2, order);
                RemoveDoubledPointsIndices(art1);
                faces[i] = art1;
                faces.erase(faces.begin() + std::ptrdiff_t(j));
                merged = true;
            }
        }
        if (!merged) {
            ++i;
        }
    }
    return faces;
}

TEST(SeamSplice, FourPiecesAroundASeamCrossingBecomeOneFace) {
    // 1 mm by 0.5 mm tiles: seams every 100 and 50 hundredths.
    const SeamGrid grid(float(72.0 / 25.4), float(0.5 * 72.0 / 25.4), 1, 1);
    ASSERT_EQ(grid.Nx(), 100);
    ASSERT_EQ(grid.Ny(), 50);
    const std::vector<Outline> pieces{
        {{50, -25}, {100, -25}, {100, -50}, {50, -50}},    // top left
        {{100, -25}, {150, -25}, {150, -50}, {100, -50}},  // top right
        {{50, -50}, {100, -50}, {100, -75}, {50, -75}},    // bottom left
        {{100, -50}, {150, -50}, {150, -75}, {100, -75}},  // bottom right
    };
    int64_t area = 0;
    for (const Outline& p : pieces) {
        area += DoubleArea(p);
    }

    const std::vector<Outline> merged = MergeFaces(grid, pieces);
    ASSERT_EQ(merged.size(), 1u);
    const Outline& face = merged[0];
    EXPECT_EQ(DoubleArea(face), area);
    EXPECT_EQ(face.size(), 8u);  // four corners and four collinear seam anchors
    EXPECT_EQ(std::count(face.begin(), face.end(), SeamPoint{100, -50}), 0);
    for (std::size_t h = 0; h < face.size(); ++h) {
        const SeamPoint pred = face[(h + face.size() - 1) % face.size()];
        const SeamPoint next = face[(h + 1) % face.size()];
        EXPECT_NE(face[h], next) << h;
        EXPECT_NE(pred, next) << h;
    }
}

TEST(SeamDoubledPoints, SpursAndRepeats) {
    struct Case {
        const char* name;
        Outline in;
        Outline want;
        Indices deleted;
    };
    const SeamPoint o{0, 0}, e{10, 0}, ne{10, 10}, n{0, 10}, tip{10, 5}, mid{5, 0};
    const Case cases[] = {
        {"clean square", {o, e, ne, n}, {o, e, ne, n}, {}},
        {"repeated anchor", {o, e, e, ne, n}, {o, e, ne, n}, {1}},
        {"last repeats first", {o, e, ne, n, o}, {o, e, ne, n}, {4}},
        {"spur leaves a repeat behind", {o, e, tip, e, ne, n}, {o, e, ne, n}, {2, 1}},
        {"collinear anchor stays", {o, mid, e, ne, n}, {o, mid, e, ne, n}, {}},
    };
    for (const Case& c : cases) {
        Outline out = c.in;
        EXPECT_EQ(RemoveDoubledPointsIndices(out), c.deleted) << c.name;
        EXPECT_EQ(out, c.want) << c.name;
    }
}

// Regression: a two-anchor path always has its predecessor equal to its
// follower, so the clean-up deleted it down to nothing.
TEST(SeamDoubledPoints, StopsAtThreeAnchors) {
    const SeamPoint p{0, 0}, q{10, 0};
    const Outline cases[] = {{}, {p}, {p, q}, {p, p}, {p, q, p}, {p, p, p}};
    for (const Outline& in : cases) {
        Outline out = in;
        EXPECT_TRUE(RemoveDoubledPointsIndices(out).empty()) << in.size();
        EXPECT_EQ(out, in);
    }
    Outline back{p, q, p, q};
    EXPECT_EQ(RemoveDoubledPointsIndices(back), (Indices{0}));
    EXPECT_EQ(back, (Outline{q, p, q}));
    Outline same(9, p);
    RemoveDoubledPointsIndices(same);
    EXPECT_EQ(same.size(), 3u);
}

// The rescan as written down: fresh pass from s after every deletion.
Indices LiteralRemoveDoubledPoints(Outline& o) {
    Indices deleted;
    std::size_t s = 0;
    for (;;) {
        const std::size_t len = o.size();
        std::size_t h = s;
        for (; h < len; ++h) {
            const SeamPoint pred = o[h == 0 ? len - 1 : h - 1];
            const SeamPoint next = o[h == len - 1 ? 0 : h + 1];
            if (o[h] == next || pred == next) {
                break;
            }
        }
        if (h >= len || len <= 3) {
            return deleted;
        }
        o.erase(o.begin() + std::ptrdiff_t(h));
        deleted.push_back(h);
        s = h == 0 ? 0 : h - 1;
    }
}

TEST(SeamDoubledPoints, AgreesWithLiteralRescanAndReplays) {
    std::mt19937 rng(7);
    for (int round = 0; round < 5000; ++round) {
        // Few distinct points, so repeats and spurs are common.
        const int distinct = 1 + int(rng() % 5);
        Outline in(rng() % 14);
        for (SeamPoint& p : in) {
            p = {int32_t(rng() % unsigned(distinct)), 0};
        }
        Outline fast = in, literal = in;
        const Indices fastDeleted = RemoveDoubledPointsIndices(fast);
        ASSERT_EQ(fastDeleted, LiteralRemoveDoubledPoints(literal)) << round;
        ASSERT_EQ(fast, literal) << round;

        Outline replay = in;
        for (std::size_t h : fastDeleted) {
            replay.erase(replay.begin() + std::ptrdiff_t(h));
        }
        ASSERT_EQ(replay, fast);
        ASSERT_GE(fast.size(), std::min<std::size_t>(in.size(), 3));
    }
}

}  // namespace
