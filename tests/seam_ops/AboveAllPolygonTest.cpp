#include <cmath>

#include "SeamOpsFixture.h"

namespace seamtest {
namespace {

// Each piece is told apart by the x of its first anchor, in millimetres.
std::vector<AIRealPoint> Piece(double x) { return Rect(x, -20, x + 5, -10); }

class AboveAllPolygonTest : public SeamOps {
protected:
    void Open(double x, int style) { Add(Piece(x), false, style); }
    void Closed(double x, int style) { Add(Piece(x), true, style); }

    // The pieces of the layer from top to bottom, by their first x.
    std::vector<int> Order() const {
        std::vector<int> xs;
        for (const PathRecord& r : paths()) {
            xs.push_back(int(std::lround(r.segments.at(0).p.h * 25.4 / 72.0)));
        }
        return xs;
    }
};

TEST_F(AboveAllPolygonTest, PolygonsGatherDirectlyAboveTheFirstLineInVisitOrder) {
    Closed(1, kFace);  // a polygon above the first line moves as well
    Open(2, kLine);    // the first line
    Open(3, kLine);
    Closed(4, kFaceStroked);  // stroked, closed and filled: a polygon
    Closed(5, kRing);         // stroked, closed, unfilled: a line
    Closed(6, kFace);
    seamjoin::AboveAllPolygon(layer_);
    EXPECT_EQ(Order(), (std::vector<int>{1, 4, 6, 2, 3, 5}));
}

TEST_F(AboveAllPolygonTest, ClosedUnfilledLineCanBeTheReference) {
    Closed(1, kRing);  // first line, a closed unfilled one
    Open(2, kLine);
    Closed(3, kFace);
    seamjoin::AboveAllPolygon(layer_);
    EXPECT_EQ(Order(), (std::vector<int>{3, 1, 2}));
}

TEST_F(AboveAllPolygonTest, LayersThatHaveNoPolygonOrNoLineOrAnyTextStayAsTheyAre) {
    struct Case {
        const char* name;
        std::vector<std::pair<bool, int>> pieces;  // closed, style
        bool text;
    };
    const Case cases[] = {
        {"only lines", {{false, kLine}, {true, kRing}}, false},
        {"only polygons", {{true, kFace}, {true, kFaceStroked}}, false},
        {"open filled path is counted but not moved", {{false, kLine}, {false, kFace}}, false},
        {"a text frame", {{false, kLine}, {true, kFace}}, true},
        {"empty", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        double x = 1;
        for (auto [closed, style] : c.pieces) {
            Add(Piece(x++), closed, style);
        }
        if (c.text) {
            Build(layer_, Layout{Pt(100), Pt(100), 0, 0, {Item{Item::Kind::Text, {}}}});
        }
        const std::string before = Dump(layer_);
        EXPECT_EQ(seamjoin::AboveAllPolygon(layer_), 1);
        EXPECT_EQ(Dump(layer_), before);
    }
}

TEST_F(AboveAllPolygonTest, CompoundPathMovesWithItsMembers) {
    Open(1, kLine);
    AIArtHandle compound = nullptr;
    sAIArt->NewArt(kCompoundPathArt, kPlaceInsideOnBottom, LayerGroup(layer_), &compound);
    AddShape(compound, Polyline(Piece(2), true, kFace));
    AddShape(compound, Polyline(Rect(2.7, -18, 3.5, -12), true, kFace));
    seamjoin::AboveAllPolygon(layer_);
    const auto result = paths();
    ASSERT_EQ(result.size(), 3u);
    EXPECT_EQ(Order(), (std::vector<int>{2, 3, 1}));
    AIArtHandle parent = nullptr;
    sAIArt->GetArtParent(result[0].art, &parent);
    int16_t type = 0;
    sAIArt->GetArtType(parent, &type);
    EXPECT_EQ(type, kCompoundPathArt);
}

// Regression: when the first line was a member of a compound path or group,
// the polygons were copied in beside it and so became members of it: a filled
// face inside an unfilled compound path of lines.
TEST_F(AboveAllPolygonTest, FirstLineInsideACompoundPathOrGroupHasThePolygonsAboveItsOutermostHolder) {
    struct Case {
        const char* name;
        std::vector<int16_t> holders;  // outermost first
    };
    const Case cases[] = {
        {"compound path", {kCompoundPathArt}},
        {"group", {kGroupArt}},
        {"compound path in a group", {kGroupArt, kCompoundPathArt}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        Closed(1, kFace);
        AIArtHandle outer = nullptr;
        AIArtHandle inner = LayerGroup(layer_);
        for (int16_t type : c.holders) {
            AIArtHandle holder = nullptr;
            sAIArt->NewArt(type, kPlaceInsideOnBottom, inner, &holder);
            inner = holder;
            outer = outer != nullptr ? outer : holder;
        }
        AddShape(inner, Polyline(Piece(2), false, kLine));  // the first line
        AddShape(inner, Polyline(Piece(3), false, kLine));
        if (c.holders.back() == kCompoundPathArt) {
            ApplyStyle(inner, Palette()[kLine]);
        }
        Closed(4, kFace);
        Closed(5, kFaceStroked);
        seamjoin::AboveAllPolygon(layer_);

        EXPECT_EQ(Order(), (std::vector<int>{1, 4, 5, 2, 3}));
        for (const PathRecord& r : paths()) {
            AIBoolean filled = false;
            sAIArt->ArtHasFill(r.art, &filled);
            EXPECT_EQ(filled != 0, r.closed);
            // Polygons sit in the layer itself, the lines still in the holders.
            AIArtHandle outermost = r.art;
            for (AIArtHandle parent = nullptr;
                 sAIArt->GetArtParent(outermost, &parent) == kNoErr && parent != LayerGroup(layer_);) {
                outermost = parent;
            }
            EXPECT_EQ(outermost, r.closed ? r.art : outer);
        }
    }
}

}  // namespace
}  // namespace seamtest
