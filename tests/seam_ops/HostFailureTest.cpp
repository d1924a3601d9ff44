// A host that fails halfway through a join must not cost the document
// anything: a partner is deleted only once its segments are all in the
// joined path, and a polygon only once its copy exists.
#include <functional>
#include <memory>
#include <set>

#include "SeamOpsFixture.h"
#include "SuiteFaults.h"
#include "app/Host.h"
#include "core/SuiteRegistry.h"

namespace seamtest {
namespace {

class HostFailureTest : public SeamOps {
protected:
    void SetUp() override {
        SeamOps::SetUp();
        faults_ = std::make_unique<testsupport::SuiteFaults>(host_.host().suites());
        // The calls that add to a path or copy one, counted together.
        faults_->Wrap<&AIPathSuite::SetPathSegments>();
        faults_->Wrap<&AIPathSuite::InsertPathSegments>();
        faults_->Wrap<&AIArtSuite::DuplicateArt>();
    }
    void TearDown() override { faults_.reset(); }

    // Runs the step with the n-th of those calls failing (0: none); the number of them made.
    int RunFailing(const std::function<void()>& step, int n) {
        faults_->FailNthCall(n);
        step();
        const int calls = faults_->TotalCalls();
        faults_->FailNthCall(0);
        return calls;
    }

    std::unique_ptr<testsupport::SuiteFaults> faults_;
};

bool OnAnySeam(const SeamGrid& g, SeamPoint p) {
    return g.IsColumnPosition(p.x) || g.OnColumnModulus(p.x) || g.IsRowPosition(p.y) || g.OnRowModulus(p.y);
}

// Anchors that no join may drop: all of them for lines; for outlines those
// off the seams (doubled points and spurs on seams go by design).
std::multiset<std::pair<int32_t, int32_t>> Kept(const std::vector<PathRecord>& paths, const SeamGrid& grid, bool all) {
    std::multiset<std::pair<int32_t, int32_t>> points;
    for (const PathRecord& r : paths) {
        std::set<std::pair<int32_t, int32_t>> seen;  // doubled anchors count once per path
        for (SeamPoint p : SeamAnchors(r.segments)) {
            if ((all || !OnAnySeam(grid, p)) && seen.insert({p.x, p.y}).second) {
                points.insert({p.x, p.y});
            }
        }
    }
    return points;
}

std::set<std::pair<int32_t, int32_t>> Distinct(const std::multiset<std::pair<int32_t, int32_t>>& m) {
    return {m.begin(), m.end()};
}

TEST_F(HostFailureTest, JoinsThatFailHalfwayLoseNothing) {
    struct Case {
        const char* name;
        int (*join)(AILayerHandle, const SeamGrid&);
        bool lines;
    };
    const Case cases[] = {
        {"lines", seamjoin::LineConnect, true},
        {"faces", seamjoin::CompoundShape, false},
        {"rings", seamjoin::CompoundPolyline, false},
    };
    int failures = 0;
    for (const Case& c : cases) {
        for (uint32_t seed = 1; seed <= 30; ++seed) {
            // Cut rectangles, which no merge can fold away, for the outlines.
            const Layout layout = c.lines ? RandomLayout(seed)
                                          : CutFacesLayout(24, seed, c.join == cases[1].join ? kFace : kRing);
            const SeamGrid grid = layout.Grid();
            Fresh();
            Build(layer_, layout);
            const auto original = Distinct(Kept(paths(), grid, c.lines));
            const int total = RunFailing([&] { c.join(layer_, grid); }, 0);
            ASSERT_EQ(Distinct(Kept(paths(), grid, c.lines)), original) << c.name << " seed " << seed;
            for (int n = 1; n <= std::min(total, 25); ++n) {
                SCOPED_TRACE(std::string(c.name) + " seed " + std::to_string(seed) + " failing call " +
                             std::to_string(n));
                Fresh();
                Build(layer_, layout);
                RunFailing([&] { EXPECT_EQ(c.join(layer_, grid), 1); }, n);
                EXPECT_EQ(Distinct(Kept(paths(), grid, c.lines)), original);
                ++failures;
            }
        }
    }
    EXPECT_GT(failures, 300);
}

TEST_F(HostFailureTest, PartnerStaysWhenItsSegmentsCouldNotAllBeAppended) {
    const AIArtHandle a = Line({Mm(50, -20), Mm(70, -15), Mm(100, -10)});
    const AIArtHandle b = Line({Mm(100, -10), Mm(120, -15), Mm(150, -20)});
    const SeamGrid grid(Pt(100), Pt(80), 2, 2);
    RunFailing([&] { seamjoin::LineConnect(layer_, grid); }, 2);
    const auto result = paths();
    ASSERT_EQ(result.size(), 2u);
    EXPECT_TRUE(Alive(a));
    EXPECT_TRUE(Alive(b));
    // art1 is cut back to its own anchors.
    EXPECT_EQ(result[0].segments.size(), 3u);
    EXPECT_EQ(result[1].segments.size(), 3u);
}

TEST_F(HostFailureTest, FailedSpliceIsTakenBackAndTheNextChanceTaken) {
    // The left piece's splice fails on its third insertion and is undone; the
    // right piece, tried next, absorbs the left one.
    const SeamGrid grid(Pt(100), Pt(80), 2, 2);
    const AIArtHandle left = Face(Rect(60, -50, 100, -10));
    const AIArtHandle right = Face(Rect(100, -50, 140, -10));
    RunFailing([&] { seamjoin::CompoundShape(layer_, grid); }, 3);
    const auto result = paths();
    ASSERT_EQ(result.size(), 1u);
    EXPECT_FALSE(Alive(left));
    EXPECT_EQ(result[0].art, right);
    EXPECT_TRUE(SameRing(
        SeamAnchors(result[0].segments),
        SeamAnchors(
            Polyline({Mm(60, -50), Mm(60, -10), Mm(100, -10), Mm(140, -10), Mm(140, -50), Mm(100, -50)}, true, kFace)
                .segments)));
}

TEST_F(HostFailureTest, AfterAbsorbingAnEarlierPieceTheNextMemberIsTried) {
    // L's splice into M fails and L moves on. M then absorbs L, which was
    // listed before it, so M's place in the working set passes to R: R
    // absorbs M rather than M absorbing R.
    const SeamGrid grid(Pt(100), Pt(80), 2, 2);
    const AIArtHandle l = Face(Rect(60, -50, 100, -10));
    const AIArtHandle m = Face(Rect(100, -50, 200, -10));  // its first edge is the one shared with L
    const AIArtHandle r = Face(Rect(200, -50, 240, -10));
    RunFailing([&] { seamjoin::CompoundShape(layer_, grid); }, 1);
    const auto result = paths();
    ASSERT_EQ(result.size(), 1u);
    EXPECT_FALSE(Alive(l));
    EXPECT_FALSE(Alive(m));
    EXPECT_EQ(result[0].art, r);
    EXPECT_EQ(result[0].segments.size(), 8u);
}

TEST_F(HostFailureTest, EdgesGainedInAMergeAreFoundByLaterPieces) {
    // L absorbs M (four insertions) and so gains M's edge at x = 200 mm; its
    // splice of R there fails, and L moves on. R must still find L by the
    // edge L took over from M.
    const SeamGrid grid(Pt(100), Pt(80), 2, 2);
    Face(Rect(60, -50, 100, -10));
    Face(Rect(100, -50, 200, -10));
    const AIArtHandle r = Face(Rect(200, -50, 240, -10));
    RunFailing([&] { seamjoin::CompoundShape(layer_, grid); }, 5);
    const auto result = paths();
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(result[0].art, r);
}

TEST_F(HostFailureTest, OutlineIsReadAgainWhenItsDoubledPointsCouldNotBeRemoved) {
    // L absorbs M but keeps the doubled anchors; what L holds now is read
    // back, so it still finds R by the edge it took over from M.
    const SeamGrid grid(Pt(100), Pt(80), 2, 2);
    const AIArtHandle l = Face(Rect(60, -50, 100, -10));
    Face(Rect(100, -50, 200, -10));
    Face(Rect(200, -50, 240, -10));
    faults_->FailAlways<&AIPathSuite::DeletePathSegments>();
    seamjoin::CompoundShape(layer_, grid);
    faults_->Disarm<&AIPathSuite::DeletePathSegments>();
    const auto result = paths();
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(result[0].art, l);
    EXPECT_EQ(result[0].segments.size(), 12u);
}

TEST_F(HostFailureTest, PolygonIsDeletedOnlyOnceItsCopyExists) {
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        Fresh();
        Line({Mm(1, -1), Mm(2, -2)});
        for (double x : {10.0, 20.0, 30.0}) {
            Face(Rect(x, -20, x + 5, -10));
        }
        RunFailing([&] { seamjoin::AboveAllPolygon(layer_); }, n);
        const auto result = paths();
        EXPECT_EQ(result.size(), 4u);
    }
}

}  // namespace
}  // namespace seamtest
