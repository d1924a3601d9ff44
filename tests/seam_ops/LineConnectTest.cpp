#include "SeamOpsFixture.h"

namespace seamtest {
namespace {

// Tiles of 100 mm x 80 mm, three by three: seams at x = 0, 100, 200 mm and
// y = 0, -80, -160 mm (and every multiple, by the moduli).
const SeamGrid kGrid(Pt(100), Pt(80), 2, 2);

std::vector<AIRealPoint> Reversed(std::vector<AIRealPoint> v) {
    std::reverse(v.begin(), v.end());
    return v;
}

std::vector<SeamPoint> Seam(const std::vector<AIRealPoint>& v) {
    std::vector<SeamPoint> out;
    for (const AIRealPoint& p : v) {
        out.push_back(ToSeamPoint(p.h, p.v));
    }
    return out;
}

using LineConnectTest = SeamOps;

TEST_F(LineConnectTest, EveryEndCaseGivesTheFirstLineFollowedByTheSecond) {
    const std::vector<AIRealPoint> a{Mm(30, -20), Mm(60, -25), Mm(100, -30)};
    const std::vector<AIRealPoint> b{Mm(100, -30), Mm(140, -35), Mm(170, -40)};
    const std::vector<AIRealPoint> joined{Mm(30, -20), Mm(60, -25), Mm(100, -30), Mm(140, -35), Mm(170, -40)};
    for (int flips = 0; flips < 4; ++flips) {
        SCOPED_TRACE(flips);
        Fresh();
        const AIArtHandle art1 = Line(flips & 1 ? Reversed(a) : a);
        const AIArtHandle art2 = Line(flips & 2 ? Reversed(b) : b);
        EXPECT_EQ(seamjoin::LineConnect(layer_, kGrid), 1);
        const auto result = paths();
        ASSERT_EQ(result.size(), 1u);
        EXPECT_EQ(result[0].art, art1);
        EXPECT_FALSE(Alive(art2));
        EXPECT_FALSE(result[0].closed);
        EXPECT_EQ(SeamAnchors(result[0].segments), Seam(joined));
    }
}

TEST_F(LineConnectTest, HandlesAreCarriedAndArtOnesLastSegmentStays) {
    std::vector<AIPathSegment> a{Corner(Pt(30), Pt(-20)), Corner(Pt(100), Pt(-30))};
    a[1].in = {Pt(90), Pt(-31)};
    a[1].out = {Pt(101), Pt(-29)};
    std::vector<AIPathSegment> b{Corner(Pt(100), Pt(-30)), Corner(Pt(170), Pt(-40))};
    b[0].in = {Pt(1), Pt(1)};  // dropped with b's first segment
    b[1].in = {Pt(160), Pt(-41)};
    Shape sa{a, false, kLine};
    Shape sb{b, false, kLine};
    AddShape(LayerGroup(layer_), sa);
    AddShape(LayerGroup(layer_), sb);
    seamjoin::LineConnect(layer_, kGrid);
    const auto result = paths();
    ASSERT_EQ(result.size(), 1u);
    ASSERT_EQ(result[0].segments.size(), 3u);
    EXPECT_EQ(result[0].segments[1].in.h, a[1].in.h);
    EXPECT_EQ(result[0].segments[1].out.v, a[1].out.v);
    EXPECT_EQ(result[0].segments[2].in.h, b[1].in.h);
    EXPECT_EQ(result[0].segments[2].in.v, b[1].in.v);
}

TEST_F(LineConnectTest, EndsMeetInWholeHundredthsOfAMillimetre) {
    struct Case {
        double end1, end2;
        bool joined;
    };
    const Case cases[] = {
        {-10.001, -10.004, true},   // both -1000
        {-10.004, -10.006, false},  // -1000 and -1001
        {-10.0, -10.0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.end2);
        Fresh();
        Line({Mm(50, -20), Mm(100, c.end1)});
        Line({Mm(100, c.end2), Mm(150, -20)});
        seamjoin::LineConnect(layer_, kGrid);
        EXPECT_EQ(paths().size(), c.joined ? 1u : 2u);
    }
}

TEST_F(LineConnectTest, ChainListedOutOfOrderJoinsThroughTheSameIndex) {
    // A, C, B: A joins B first (C does not meet A), then, tried again, C.
    const AIArtHandle a = Line({Mm(50, -10), Mm(100, -10)});
    const AIArtHandle c = Line({Mm(200, -10), Mm(250, -10)});
    const AIArtHandle b = Line({Mm(100, -10), Mm(150, -12), Mm(200, -10)});
    seamjoin::LineConnect(layer_, kGrid);
    const auto result = paths();
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(result[0].art, a);
    EXPECT_FALSE(Alive(b));
    EXPECT_FALSE(Alive(c));
    EXPECT_EQ(SeamAnchors(result[0].segments),
              Seam({Mm(50, -10), Mm(100, -10), Mm(150, -12), Mm(200, -10), Mm(250, -10)}));
}

// A line as a key that does not depend on its direction.
std::vector<std::pair<int32_t, int32_t>> Undirected(const std::vector<SeamPoint>& line) {
    std::vector<std::pair<int32_t, int32_t>> key;
    for (const SeamPoint& p : line) {
        key.emplace_back(p.x, p.y);
    }
    std::vector<std::pair<int32_t, int32_t>> back(key.rbegin(), key.rend());
    return std::min(key, back);
}

// Regression: ends that met anywhere were joined once one of the lines had an
// end on a seam, so boundaries at a tripoint and roads at a crossing were
// glued into one path. Only a meeting point on a seam joins.
TEST_F(LineConnectTest, EndsMeetingInlandStayApart) {
    using Lines = std::vector<std::vector<AIRealPoint>>;
    struct Case {
        const char* name;
        Lines pieces;
        Lines want;  // in any order and direction
    };
    const AIRealPoint tri = Mm(90, -70);  // next to the seam crossing (100, -80)
    const AIRealPoint cross = Mm(50, -40);
    const Lines roads{{cross, Mm(50, 0)}, {cross, Mm(50, -80)}, {Mm(0, -40), cross}, {Mm(100, -40), cross}};
    const Case cases[] = {
        {"tripoint next to a seam crossing",
         {{tri, Mm(100, -60)},
          {tri, Mm(80, -80)},
          {tri, Mm(100, -80)},
          {Mm(100, -60), Mm(120, -50)},
          {Mm(80, -80), Mm(70, -100)},
          {Mm(100, -80), Mm(110, -90)}},
         {{tri, Mm(100, -60), Mm(120, -50)}, {tri, Mm(80, -80), Mm(70, -100)}, {tri, Mm(100, -80), Mm(110, -90)}}},
        {"roads at a crossing", roads, roads},
        {"end to end inland",
         {{Mm(50, -10), Mm(100, -10)}, {Mm(100, -10), Mm(150, -10)}, {Mm(150, -10), Mm(200, -10)}},
         {{Mm(50, -10), Mm(100, -10), Mm(150, -10)}, {Mm(150, -10), Mm(200, -10)}}},
    };
    for (const Case& c : cases) {
        std::vector<std::vector<std::pair<int32_t, int32_t>>> want;
        for (const auto& line : c.want) {
            want.push_back(Undirected(Seam(line)));
        }
        std::sort(want.begin(), want.end());
        const std::size_t n = c.pieces.size();
        for (std::size_t rotate = 0; rotate < n; ++rotate) {
            for (int flips : {0, 0b010101, 0b101010, 0b111111}) {
                SCOPED_TRACE(std::string(c.name) + ", listed from " + std::to_string(rotate) + ", flips " +
                             std::to_string(flips));
                Fresh();
                for (std::size_t k = 0; k < n; ++k) {
                    const auto& piece = c.pieces[(rotate + k) % n];
                    Line(flips >> k & 1 ? Reversed(piece) : piece);
                }
                seamjoin::LineConnect(layer_, kGrid);
                std::vector<std::vector<std::pair<int32_t, int32_t>>> got;
                for (const PathRecord& r : paths()) {
                    got.push_back(Undirected(SeamAnchors(r.segments)));
                }
                std::sort(got.begin(), got.end());
                EXPECT_EQ(got, want);
            }
        }
    }
}

TEST_F(LineConnectTest, JunctionOnASeamPointKeepsItsLinesApart) {
    // Three boundaries leaving a tripoint that lay on a tile edge came back
    // with two of them glued into one path (the first listed took the next).
    // Three or more ends at one seam point are a junction, whatever their
    // styles; only two ends there are a cut.
    struct Case {
        const char* name;
        std::vector<int> styles;  // one line per style, all from (100, -10)
    };
    const Case cases[] = {
        {"three alike", {kLine, kLine, kLine}},
        {"four alike", {kLine, kLine, kLine, kLine}},
        {"two alike and a wider one", {kLine, kLine, kLineWide}},
    };
    const std::vector<AIRealPoint> arms[] = {{Mm(100, -10), Mm(130, -20)},
                                             {Mm(100, -10), Mm(70, -20)},
                                             {Mm(100, -10), Mm(100, -70)},
                                             {Mm(100, -10), Mm(100, 30)}};
    for (const Case& c : cases) {
        for (std::size_t first = 0; first < c.styles.size(); ++first) {
            SCOPED_TRACE(std::string(c.name) + ", listed from arm " + std::to_string(first));
            Fresh();
            for (std::size_t k = 0; k < c.styles.size(); ++k) {
                const std::size_t arm = (first + k) % c.styles.size();
                Line(k % 2 ? Reversed(arms[arm]) : arms[arm], c.styles[arm]);
            }
            const std::string before = Dump(layer_);
            EXPECT_EQ(seamjoin::LineConnect(layer_, kGrid), 1);
            EXPECT_EQ(Dump(layer_), before);
        }
    }
}

TEST_F(LineConnectTest, LineAtAJunctionStillJoinsAtItsOtherEnd) {
    // Three lines meet at (100, -10); the first one is also cut at x = 200.
    const AIArtHandle cut = Line({Mm(100, -10), Mm(150, -30), Mm(200, -40)});
    Line({Mm(100, -10), Mm(70, -20)});
    Line({Mm(100, -10), Mm(100, -70)});
    const AIArtHandle rest = Line({Mm(200, -40), Mm(230, -50)});
    seamjoin::LineConnect(layer_, kGrid);
    const auto result = paths();
    ASSERT_EQ(result.size(), 3u);
    EXPECT_EQ(result[0].art, cut);
    EXPECT_FALSE(Alive(rest));
    EXPECT_EQ(SeamAnchors(result[0].segments), Seam({Mm(100, -10), Mm(150, -30), Mm(200, -40), Mm(230, -50)}));
}

TEST_F(LineConnectTest, LineClosedByACoincidingPointIsNoCandidate) {
    for (bool loopFirst : {true, false}) {
        Fresh();
        const std::vector<AIRealPoint> loop{Mm(100, -10), Mm(130, -30), Mm(160, -10), Mm(100, -10)};
        const std::vector<AIRealPoint> line{Mm(100, -10), Mm(60, -10)};
        if (loopFirst) {
            Line(loop);
            Line(line);
        } else {
            Line(line);
            Line(loop);
        }
        const std::string before = Dump(layer_);
        seamjoin::LineConnect(layer_, kGrid);
        EXPECT_EQ(Dump(layer_), before);
    }
}

TEST_F(LineConnectTest, FilledClosedAndTextArtAreLeftAlone) {
    Add({Mm(100, -10), Mm(150, -10)}, false, kFace);              // filled open path
    Add({Mm(100, -10), Mm(130, -40), Mm(150, -5)}, true, kRing);  // closed
    Line({Mm(60, -10), Mm(100, -10)});
    Build(layer_, Layout{Pt(100), Pt(80), 2, 2, {Item{Item::Kind::Text, {}}}});
    const std::string before = Dump(layer_);
    seamjoin::LineConnect(layer_, kGrid);
    EXPECT_EQ(Dump(layer_), before);
}

TEST_F(LineConnectTest, StylesMustAgree) {
    struct Case {
        const char* name;
        int other;
        bool joined;
    };
    const Case cases[] = {
        {"same", kLine, true},
        {"clip flag", kLineClip, false},
        {"even-odd flag", kLineEvenOdd, false},
        {"fill colour values", kLineFillValue, false},
        {"stroke width: path styles agree, art styles differ", kLineWide, false},
        {"effect: art styles differ", kLineEffect, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        Line({Mm(50, -20), Mm(100, -10)});
        Line({Mm(100, -10), Mm(150, -20)}, c.other);
        seamjoin::LineConnect(layer_, kGrid);
        EXPECT_EQ(paths().size(), c.joined ? 1u : 2u);
    }
}

TEST_F(LineConnectTest, OneTileCountsOnlyTheOriginAndMultiplesOfTheTile) {
    const SeamGrid one(Pt(100), Pt(80), 0, 0);
    Line({Mm(50, -20), Mm(100, -10)});
    Line({Mm(100, -10), Mm(150, -20)});
    Line({Mm(20, -20), Mm(50, -30)});
    Line({Mm(50, -30), Mm(70, -20)});
    seamjoin::LineConnect(layer_, one);
    EXPECT_EQ(paths().size(), 3u);
}

// Once the tile height was not a whole number of hundredths, an end on a
// horizontal seam below the top row (negative y) was recognised only by the
// modulus, which then fails: lines cut there stayed cut.
TEST_F(LineConnectTest, EndsOnSeamsBelowTheOriginAreRecognisedByPosition) {
    const float height = Pt(33.333);  // 3333.3 hundredths
    const SeamGrid grid(Pt(100), height, 2, 2);
    for (double k : {-2.0, -1.0, 2.0}) {
        SCOPED_TRACE(k);
        Fresh();
        const float y = float(k * double(height));
        Line({Mm(30, -5), {Pt(50), y}});
        Line({{Pt(50), y}, Mm(70, -5)});
        seamjoin::LineConnect(layer_, grid);
        EXPECT_EQ(paths().size(), 1u);
    }
}

TEST_F(LineConnectTest, JoinedLineKeepsAtMostTwentyThousandAnchors) {
    auto line = [](int anchors, bool towardsSeam) {
        std::vector<AIRealPoint> v;
        for (int k = 0; k < anchors - 1; ++k) {
            v.push_back(Mm(towardsSeam ? 1 + k * 0.009 : 199 - k * 0.009, -10 - (k % 2)));
        }
        v.push_back(Mm(100, -5));
        if (!towardsSeam) {
            std::reverse(v.begin(), v.end());
        }
        return v;
    };
    struct Case {
        int count1, count2;
        bool joined;
    };
    for (const Case& c : {Case{10000, 10001, true}, Case{10001, 10001, false}}) {
        SCOPED_TRACE(c.count2);
        Fresh();
        Line(line(c.count1, true));
        Line(line(c.count2, false));
        seamjoin::LineConnect(layer_, kGrid);
        const auto result = paths();
        ASSERT_EQ(result.size(), c.joined ? 1u : 2u);
        if (c.joined) {
            EXPECT_EQ(result[0].segments.size(), 20000u);
        }
    }
}

// A compound path answers the path queries through its first member, which
// is listed on its own right after it. Taken as a candidate, the compound path
// found that member as its partner, appended it to itself and deleted it.
TEST_F(LineConnectTest, CompoundPathOfLinesLeavesTheJoiningToItsMembers) {
    AIArtHandle compound = nullptr;
    sAIArt->NewArt(kCompoundPathArt, kPlaceInsideOnBottom, LayerGroup(layer_), &compound);
    const AIArtHandle member = AddShape(compound, Polyline({Mm(50, -20), Mm(100, -10)}, false, kLine));
    AddShape(compound, Polyline({Mm(20, -50), Mm(40, -60)}, false, kLine));
    ApplyStyle(compound, Palette()[kLine]);
    Line({Mm(100, -10), Mm(150, -20)});
    seamjoin::LineConnect(layer_, kGrid);
    const auto result = paths();
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[0].art, member);
    EXPECT_EQ(SeamAnchors(result[0].segments), Seam({Mm(50, -20), Mm(100, -10), Mm(150, -20)}));
    EXPECT_EQ(SeamAnchors(result[1].segments), Seam({Mm(20, -50), Mm(40, -60)}));
}

// A partner that was the last member of a compound path takes the emptied
// compound path with it; one that still has siblings leaves them in place.
TEST_F(LineConnectTest, PartnerLeavingACompoundPathEmptyTakesItAlong) {
    for (const bool sibling : {false, true}) {
        SCOPED_TRACE(sibling);
        Fresh();
        const AIArtHandle art1 = Line({Mm(50, -20), Mm(100, -10)});
        AIArtHandle compound = nullptr;
        sAIArt->NewArt(kCompoundPathArt, kPlaceInsideOnBottom, LayerGroup(layer_), &compound);
        AddShape(compound, Polyline({Mm(100, -10), Mm(150, -20)}, false, kLine));
        if (sibling) {
            AddShape(compound, Polyline({Mm(20, -50), Mm(40, -60)}, false, kLine));
        }
        ApplyStyle(compound, Palette()[kLine]);
        seamjoin::LineConnect(layer_, kGrid);
        const auto result = paths();
        ASSERT_EQ(result.size(), sibling ? 2u : 1u);
        EXPECT_EQ(result[0].art, art1);
        EXPECT_EQ(SeamAnchors(result[0].segments), Seam({Mm(50, -20), Mm(100, -10), Mm(150, -20)}));
        EXPECT_EQ(Alive(compound), sibling);
    }
}

TEST_F(LineConnectTest, EmptyLayerAndLayerWithoutCandidatesAreUnchanged) {
    EXPECT_EQ(seamjoin::LineConnect(layer_, kGrid), 1);
    Line({Mm(20, -20), Mm(50, -30)});
    const std::string before = Dump(layer_);
    EXPECT_EQ(seamjoin::LineConnect(layer_, kGrid), 1);
    EXPECT_EQ(Dump(layer_), before);
}

}  // namespace
}  // namespace seamtest
