#include <array>
#include <numeric>

#include "PlainSeamLoops.h"
#include "SeamOpsFixture.h"

namespace seamtest {
namespace {

const SeamGrid kGrid(Pt(100), Pt(80), 2, 2);

// Twice the signed area, in seam units.
int64_t Area2(const std::vector<SeamPoint>& v) {
    int64_t sum = 0;
    for (std::size_t k = 0; k < v.size(); ++k) {
        const SeamPoint a = v[k];
        const SeamPoint b = v[(k + 1) % v.size()];
        sum += int64_t(a.x) * b.y - int64_t(b.x) * a.y;
    }
    return sum;
}

std::vector<SeamPoint> Seam(const std::vector<AIRealPoint>& v) {
    std::vector<SeamPoint> out;
    for (const AIRealPoint& p : v) {
        out.push_back(ToSeamPoint(p.h, p.v));
    }
    return out;
}

std::vector<AIRealPoint> Reversed(std::vector<AIRealPoint> v) {
    std::reverse(v.begin(), v.end());
    return v;
}

AIArtHandle Parent(AIArtHandle art) {
    AIArtHandle parent = nullptr;
    sAIArt->GetArtParent(art, &parent);
    return parent;
}

int16_t TypeOf(AIArtHandle art) {
    int16_t type = 0;
    sAIArt->GetArtType(art, &type);
    return type;
}

AIArtHandle Compound(AILayerHandle layer, const std::vector<Shape>& members) {
    AIArtHandle compound = nullptr;
    sAIArt->NewArt(kCompoundPathArt, kPlaceInsideOnBottom, LayerGroup(layer), &compound);
    for (const Shape& s : members) {
        AddShape(compound, s);
    }
    return compound;
}

using MergeFn = int (*)(AILayerHandle, const SeamGrid&);

// The side-by-side pieces of one outline across the seam at x = 100 mm.
const std::vector<AIRealPoint> kLeft = Rect(60, -50, 100, -10);
const std::vector<AIRealPoint> kRight = Rect(100, -50, 140, -10);
const std::vector<AIRealPoint> kJoined{Mm(60, -50),  Mm(60, -10),  Mm(100, -10),
                                       Mm(140, -10), Mm(140, -50), Mm(100, -50)};

using CompoundShapeTest = SeamOps;
using CompoundPolylineTest = SeamOps;

TEST_F(CompoundShapeTest, SideBySidePiecesBecomeOneOutlineWithTheSeamCornersKept) {
    struct Case {
        const char* name;
        MergeFn merge;
        int style;
    };
    const Case kinds[] = {{"faces", seamjoin::CompoundShape, kFace}, {"rings", seamjoin::CompoundPolyline, kRing}};
    for (const Case& kind : kinds) {
        for (int variant = 0; variant < 4; ++variant) {
            SCOPED_TRACE(std::string(kind.name) + " " + std::to_string(variant));
            Fresh();
            // Bit 0: opposite orientations (forward match); bit 1: right piece listed first.
            const auto right = variant & 1 ? Reversed(kRight) : kRight;
            const AIArtHandle first = Add(variant & 2 ? right : kLeft, true, kind.style);
            const AIArtHandle second = Add(variant & 2 ? kLeft : right, true, kind.style);
            EXPECT_EQ(kind.merge(layer_, kGrid), 1);
            const auto result = paths();
            ASSERT_EQ(result.size(), 1u);
            EXPECT_EQ(result[0].art, first);
            EXPECT_FALSE(Alive(second));
            EXPECT_TRUE(result[0].closed);
            EXPECT_TRUE(SameRing(SeamAnchors(result[0].segments), Seam(kJoined)));
        }
    }
}

TEST_F(CompoundShapeTest, FourPiecesAtASeamCrossingBecomeOneInAnyListingOrder) {
    const std::array<std::vector<AIRealPoint>, 4> pieces{Rect(60, -80, 100, -40), Rect(100, -80, 140, -40),
                                                         Rect(60, -120, 100, -80), Rect(100, -120, 140, -80)};
    std::array<int, 4> order{0, 1, 2, 3};
    do {
        SCOPED_TRACE(std::to_string(order[0]) + std::to_string(order[1]) + std::to_string(order[2]) +
                     std::to_string(order[3]));
        Fresh();
        for (int k : order) {
            Face(pieces[std::size_t(k)]);
        }
        seamjoin::CompoundShape(layer_, kGrid);
        const auto result = paths();
        ASSERT_EQ(result.size(), 1u);
        const auto outline = SeamAnchors(result[0].segments);
        EXPECT_EQ(std::llabs(Area2(outline)), 2LL * 8000 * 8000);
        // The spur to the crossing is gone; only the outer boundary is left.
        for (SeamPoint p : outline) {
            const bool onBoundary = p.x == 6000 || p.x == 14000 || p.y == -4000 || p.y == -12000;
            EXPECT_TRUE(onBoundary) << p.x << "," << p.y;
        }
        for (SeamPoint corner : Seam({Mm(60, -40), Mm(140, -40), Mm(140, -120), Mm(60, -120)})) {
            EXPECT_NE(std::find(outline.begin(), outline.end(), corner), outline.end());
        }
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(CompoundShapeTest, HolesOfTheAbsorbedPieceMoveIntoArtOnesCompoundPath) {
    const Shape hole = Polyline(Rect(110, -40, 130, -20), true, kFace);
    // The plain left piece absorbs the right one with its hole.
    const AIArtHandle left = Face(kLeft);
    const AIArtHandle compound = Compound(layer_, {Polyline(kRight, true, kFace), hole});
    seamjoin::CompoundShape(layer_, kGrid);

    const AIArtHandle made = Parent(left);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(TypeOf(made), kCompoundPathArt);
    EXPECT_NE(made, compound);
    AIArtHandle child = nullptr;
    sAIArt->GetArtFirstChild(made, &child);
    EXPECT_EQ(child, left);
    AIArtHandle next = nullptr;
    sAIArt->GetArtSibling(left, &next);
    ASSERT_NE(next, nullptr);
    AIPathSegment first{};
    sAIPath->GetPathSegments(next, 0, 1, &first);
    EXPECT_EQ(ToSeamPoint(first.p.h, first.p.v), ToSeamPoint(Pt(110), Pt(-40)));
    // The new compound path sits where the left piece was: first in the layer.
    AIArtHandle top = nullptr;
    sAIArt->GetArtFirstChild(LayerGroup(layer_), &top);
    EXPECT_EQ(top, made);
    // The compound path the right piece left empty went with it; no path is lost.
    AIBoolean valid = 1;
    sAIArt->ValidArt(compound, &valid);
    EXPECT_EQ(valid, 0);
    EXPECT_EQ(paths().size(), 2u);
}

TEST_F(CompoundShapeTest, PieceInsideACompoundPathKeepsItsHolesThere) {
    const AIArtHandle compound =
        Compound(layer_, {Polyline(kLeft, true, kFace), Polyline(Rect(70, -40, 90, -20), true, kFace)});
    Face(kRight);
    seamjoin::CompoundShape(layer_, kGrid);
    const auto result = paths();
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(Parent(result[0].art), compound);
    EXPECT_EQ(Parent(result[1].art), compound);
    EXPECT_TRUE(SameRing(SeamAnchors(result[0].segments), Seam(kJoined)));
}

TEST_F(CompoundShapeTest, ForwardRunOfThePartnerBeatsItsBackwardRun) {
    const AIRealPoint w = Mm(60, -50), x = Mm(60, -10), a = Mm(100, -10), b = Mm(100, -50);
    const AIRealPoint c = Mm(140, -50), e = Mm(120, -70), d = Mm(140, -10);
    Face({w, x, a, b});  // its seam edge runs a -> b
    // The partner runs a -> b at its start and b -> a further on; spliced at
    // the forward run it is walked backwards, e before c.
    Face({a, b, c, e, b, a, d});
    seamjoin::CompoundShape(layer_, kGrid);
    const auto result = paths();
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(SeamAnchors(result[0].segments), Seam({w, x, a, b, e, c, b}));
}

TEST_F(CompoundShapeTest, DifferentAppearancesAreNotMerged) {
    for (int other : {int(kFaceEffect), int(kFaceGray), int(kFaceStroked)}) {
        SCOPED_TRACE(other);
        Fresh();
        Face(kLeft);
        Face(kRight, other);
        seamjoin::CompoundShape(layer_, kGrid);
        EXPECT_EQ(paths().size(), 2u);
    }
}

TEST_F(CompoundShapeTest, EachPartSeesOnlyItsOwnKind) {
    Face(kLeft);
    Ring(kRight);
    Line({Mm(100, -10), Mm(100, -50)});
    const std::string before = Dump(layer_);
    seamjoin::CompoundShape(layer_, kGrid);
    seamjoin::CompoundPolyline(layer_, kGrid);
    EXPECT_EQ(Dump(layer_), before);
}

// Regression: an edge running from one seam to the next counted as a seam
// edge, so two distinct faces or rings sharing a straight inland border
// between seams were fused into one.
TEST_F(CompoundShapeTest, DistinctOutlinesSharingAStraightInlandBorderStayApart) {
    struct Case {
        const char* name;
        std::vector<std::vector<AIRealPoint>> pieces;
        std::vector<int64_t> areas;  // of the outlines left, in square millimetres
    };
    const Case cases[] = {
        // Each outline is also cut by the seam x = 100 mm and comes back whole.
        {"horizontal border from seam to seam",
         {Rect(100, -40, 200, -20), Rect(100, -60, 200, -40), Rect(60, -40, 100, -20), Rect(60, -60, 100, -40)},
         {2800, 2800}},
        {"vertical border from seam to seam", {Rect(20, -80, 50, 0), Rect(50, -80, 80, 0)}, {2400, 2400}},
    };
    const MergeFn merges[] = {seamjoin::CompoundShape, seamjoin::CompoundPolyline};
    for (const Case& c : cases) {
        for (int kind = 0; kind < 2; ++kind) {
            for (std::size_t rotate = 0; rotate < c.pieces.size(); ++rotate) {
                SCOPED_TRACE(std::string(c.name) + (kind == 0 ? ", faces" : ", rings") + ", listed from " +
                             std::to_string(rotate));
                Fresh();
                for (std::size_t k = 0; k < c.pieces.size(); ++k) {
                    Add(c.pieces[(rotate + k) % c.pieces.size()], true, kind == 0 ? kFace : kRing);
                }
                merges[kind](layer_, kGrid);
                std::vector<int64_t> areas;
                for (const PathRecord& r : paths()) {
                    areas.push_back(std::abs(Area2(SeamAnchors(r.segments))) / 20000);
                }
                std::sort(areas.begin(), areas.end());
                EXPECT_EQ(areas, c.areas);
            }
        }
    }
}

// With a tile height that is not a whole number of hundredths, a piece whose
// only seam edge lay on a horizontal seam below the origin was picked as a
// candidate and then never spliced there: faces and rings stayed cut.
TEST_F(CompoundShapeTest, EdgesOnSeamsBelowTheOriginAreSpliced) {
    const float height = Pt(33.333);
    const SeamGrid grid(Pt(100), height, 2, 2);
    const MergeFn merges[] = {seamjoin::CompoundShape, seamjoin::CompoundPolyline};
    for (int kind = 0; kind < 2; ++kind) {
        for (double k : {-2.0, -1.0, 2.0}) {
            SCOPED_TRACE(std::to_string(kind) + " " + std::to_string(k));
            Fresh();
            const float y = float(k * double(height));
            const float up = y + Pt(5);
            const float down = y - Pt(5);
            const int style = kind == 0 ? kFace : kRing;
            Add({{Pt(30), y}, {Pt(30), up}, {Pt(60), up}, {Pt(60), y}}, true, style);
            Add({{Pt(30), down}, {Pt(30), y}, {Pt(60), y}, {Pt(60), down}}, true, style);
            merges[kind](layer_, grid);
            ASSERT_EQ(paths().size(), 1u);
            EXPECT_EQ(paths()[0].segments.size(), 6u);
        }
    }
}

TEST_F(CompoundPolylineTest, RingsMustAgreeInPathAndArtStyle) {
    struct Case {
        const char* name;
        StyleSpec other;
        bool merged;
    };
    StyleSpec clip = Palette()[kRing];
    clip.path.clip = 1;
    StyleSpec fillValue = Palette()[kRing];
    fillValue.path.fill.color.c.g.gray = 0.25f;
    const Case cases[] = {
        {"same", Palette()[kRing], true},         {"even-odd", Palette()[kRingEvenOdd], false},  {"clip", clip, false},
        {"fill colour values", fillValue, false}, {"stroke width", Palette()[kRingWide], false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        Ring(kLeft);
        const AIArtHandle right = Ring(kRight);
        ApplyStyle(right, c.other);
        seamjoin::CompoundPolyline(layer_, kGrid);
        EXPECT_EQ(paths().size(), c.merged ? 1u : 2u);
    }
}

TEST_F(CompoundPolylineTest, MemberOfACompoundPathMergesAndItsSiblingsStay) {
    for (bool compoundFirst : {true, false}) {
        SCOPED_TRACE(compoundFirst);
        Fresh();
        const Shape inner = Polyline(Rect(70, -40, 90, -20), true, kRing);
        AIArtHandle compound = nullptr;
        if (compoundFirst) {
            compound = Compound(layer_, {Polyline(kLeft, true, kRing), inner});
            Ring(kRight);
        } else {
            Ring(kRight);
            compound = Compound(layer_, {Polyline(kLeft, true, kRing), inner});
        }
        seamjoin::CompoundPolyline(layer_, kGrid);
        const auto result = paths();
        ASSERT_EQ(result.size(), 2u);
        int merged = 0;
        for (const PathRecord& r : result) {
            if (SameRing(SeamAnchors(r.segments), Seam(kJoined))) {
                ++merged;
            } else {
                EXPECT_TRUE(SameRing(SeamAnchors(r.segments), Seam(Rect(70, -40, 90, -20))));
                EXPECT_EQ(Parent(r.art), compound);
            }
        }
        EXPECT_EQ(merged, 1);
    }
}

// A ring that runs along the shared edge both ways was reversed, found
// backwards again, reversed again, and so on without end.
TEST_F(CompoundPolylineTest, PartnerWithTheEdgeBothWaysIsReversedOnce) {
    Ring(kLeft);  // its seam edge runs (100,-10) -> (100,-50)
    // Backwards first, forwards later: reversed, it is backwards first again.
    const AIArtHandle partner =
        Ring({Mm(100, -50), Mm(100, -10), Mm(120, 0), Mm(100, -10), Mm(100, -50), Mm(120, -60)});
    seamjoin::CompoundPolyline(layer_, kGrid);
    EXPECT_FALSE(Alive(partner));
    const auto result = paths();
    ASSERT_EQ(result.size(), 1u);
    EXPECT_GE(result[0].segments.size(), 4u);
}

TEST_F(CompoundPolylineTest, FacesFirstThenRingsOnTheSameLayer) {
    Face(kLeft);
    Ring(Rect(100, -130, 140, -90));
    Face(kRight);
    Ring(Rect(60, -130, 100, -90));
    seamjoin::CompoundShape(layer_, kGrid);
    seamjoin::CompoundPolyline(layer_, kGrid);
    EXPECT_EQ(paths().size(), 2u);
}

TEST(RemoveDoubledPointsTest, StopsBeforeAnOutlineFallsBelowThreeAnchors) {
    SeamHost host;
    ASSERT_TRUE(host.ok());
    struct Case {
        const char* name;
        std::vector<AIRealPoint> in;
        std::size_t left;
    };
    const AIRealPoint a = Mm(10, -10), b = Mm(20, -10), c = Mm(20, -20), d = Mm(10, -20);
    const Case cases[] = {
        {"two anchors there and back", {a, b}, 2},
        {"three with a double", {a, a, b}, 3},
        {"double removed", {a, a, b, c}, 3},
        {"spur removed", {a, b, c, b, d}, 3},
        {"there and back twice", {a, b, a, b}, 3},
        {"square kept", {a, b, c, d}, 4},
        {"one anchor", {a}, 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const AILayerHandle layer = host.NewDocument();
        const AIArtHandle fast = AddShape(LayerGroup(layer), Polyline(k.in, true, kFace));
        const AIArtHandle plain = AddShape(LayerGroup(layer), Polyline(k.in, true, kFace));
        seamjoin::RemoveDoubledPoints(fast);
        plainseam::RemoveDoubledPoints(plain);
        const auto result = Paths(layer);
        ASSERT_EQ(result.size(), 2u);
        EXPECT_EQ(result[0].segments.size(), k.left);
        EXPECT_EQ(SeamAnchors(result[0].segments), SeamAnchors(result[1].segments));
        host.CloseDocument();
    }
}

}  // namespace
}  // namespace seamtest
