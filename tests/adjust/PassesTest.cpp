// What an adjust run does to the map below the clip layer: outside art goes, lines are trimmed at
// the range's box, areas are cut to the range, and lines and labels are kept whole or dropped.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "AdjustHost.h"
#include "Suites.h"
#include "core/SuiteRegistry.h"

namespace adjusttest {
namespace {

using quiltor::host::AlertKind;
using quiltor::host::Art;

const Contour kRange = Rect(100, 100, 200, 200);

TEST(AdjustRun, EndsWithTheCompletionMessageAndLeavesNoWorkBehind) {
    AdjustHost h;
    AILayerHandle roads = h.AddLayer("道路");
    h.AddLine(roads, {{120, 120}, {180, 180}});
    AILayerHandle clip = h.AddClipLayer(kRange);
    const size_t layers = h.document().layerCount();

    h.Run();

    ASSERT_EQ(h.ui().alerts().size(), 1u);
    EXPECT_EQ(h.ui().alerts()[0].kind, AlertKind::Message);
    EXPECT_EQ(h.ui().alerts()[0].text, "作業が完了しました。");
    EXPECT_EQ(h.document().layerCount(), layers);
    EXPECT_TRUE(h.Objects(clip).empty());
    EXPECT_EQ(h.Objects(roads).size(), 1u);
}

TEST(AdjustRun, DeletesWhatLiesWhollyOutsideTheBoxAndKeepsWhatTouchesIt) {
    AdjustHost h;
    AILayerHandle layer = h.AddLayer("建物");
    AIArtHandle left = h.AddFace(layer, {Rect(10, 120, 90, 180)}, Cmyk{0.1f, 0, 0, 0});
    AIArtHandle below = h.AddFace(layer, {Rect(120, 10, 180, 90)}, Cmyk{0.2f, 0, 0, 0});
    AIArtHandle touching = h.AddFace(layer, {Rect(200, 150, 260, 180)}, Cmyk{0.3f, 0, 0, 0});
    AIArtHandle inside = h.AddFace(layer, {Rect(120, 120, 180, 180)}, Cmyk{0.4f, 0, 0, 0});
    h.AddClipLayer(kRange);

    h.Run();

    EXPECT_FALSE(h.Alive(left));
    EXPECT_FALSE(h.Alive(below));
    // It touches the box, so pass 1 keeps it; it has no area inside, so the cut then removes it.
    EXPECT_FALSE(h.Alive(touching));
    // The cut puts a copy in place of an area wholly inside.
    EXPECT_FALSE(h.Alive(inside));
    const auto objects = h.Objects(layer);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(Points(objects[0]), Points(Rect(120, 120, 180, 180)));
}

TEST(AdjustRun, ShortensALineAnchorByAnchorAtTheBox) {
    AdjustHost h;
    AILayerHandle roads = h.AddLayer("道路");
    h.AddLine(roads, {{0, 140}, {20, 142}, {40, 144}, {60, 146}, {150, 150}, {250, 154}, {300, 156}, {350, 158}});
    h.AddClipLayer(kRange);

    h.Run();

    const auto objects = h.Objects(roads);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(Points(objects[0]), Points({{60, 146}, {150, 150}, {250, 154}}));
}

TEST(AdjustRun, SplitsALineThatLeavesTheBoxAndComesBack) {
    AdjustHost h;
    AILayerHandle roads = h.AddLayer("道路");
    AIArtHandle line = h.AddLine(roads, {{150, 150}, {150, 250}, {150, 300}, {160, 300}, {170, 250}, {170, 150}});
    h.AddClipLayer(kRange);

    h.Run();

    const auto objects = h.Objects(roads);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0], h.document().findArt(line));
    EXPECT_EQ(Points(objects[0]), Points({{150, 150}, {150, 250}}));
    EXPECT_EQ(Points(objects[1]), Points({{170, 250}, {170, 150}}));
    EXPECT_EQ(objects[1]->style, objects[0]->style);
}

TEST(AdjustRun, LeavesATwoAnchorLineAlone) {
    AdjustHost h;
    AILayerHandle roads = h.AddLayer("道路");
    const Contour points{{0, 140}, {400, 160}};
    h.AddLine(roads, points);
    h.AddClipLayer(kRange);

    h.Run();

    const auto objects = h.Objects(roads);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(Points(objects[0]), Points(points));
}

TEST(AdjustRun, KeepsLinesThatReachTheRangeWholeAndDropsTheOthers) {
    AdjustHost h;
    AILayerHandle roads = h.AddLayer("道路");
    // A triangle: its box is [100,200]², but the corner at the top right is outside it.
    h.AddClipLayer({{100, 100}, {200, 100}, {100, 200}});
    AIArtHandle reaching = h.AddLine(roads, {{120, 120}, {190, 190}});
    AIArtHandle corner = h.AddLine(roads, {{180, 180}, {195, 195}});
    AIArtHandle level = h.AddLine(roads, {{110, 130}, {150, 130}});
    AIArtHandle upright = h.AddLine(roads, {{130, 110}, {130, 150}});

    h.Run();

    EXPECT_TRUE(h.Alive(reaching));
    EXPECT_FALSE(h.Alive(corner));
    // A level or upright line has a box without area; it is inside all the same.
    EXPECT_TRUE(h.Alive(level));
    EXPECT_TRUE(h.Alive(upright));
}

TEST(AdjustRun, ReplacesAStraddlingAreaByItsPieceInsideWithItsStyleAndPlace) {
    AdjustHost h;
    AILayerHandle blocks = h.AddLayer("街区");
    AIArtHandle above = h.AddFace(blocks, {Rect(110, 110, 130, 130)}, Cmyk{0.1f, 0, 0, 0});
    AIArtHandle straddling = h.AddFace(blocks, {Rect(150, 150, 250, 250)}, Cmyk{0, 0.5f, 0.25f, 0});
    AIArtHandle below = h.AddFace(blocks, {Rect(160, 110, 190, 130)}, Cmyk{0.3f, 0, 0, 0});
    const auto* style = h.document().findArt(straddling)->style;
    const auto* aboveStyle = h.document().findArt(above)->style;
    const auto* belowStyle = h.document().findArt(below)->style;
    h.AddClipLayer(kRange);

    h.Run();

    const auto objects = h.Objects(blocks);
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[0]->style, aboveStyle);
    EXPECT_EQ(objects[2]->style, belowStyle);
    EXPECT_FALSE(h.Alive(straddling));
    const Art* piece = objects[1];
    EXPECT_EQ(piece->type, kPathArt);
    EXPECT_TRUE(piece->closed);
    EXPECT_EQ(piece->style, style);
    const AIRealRect bounds = BoundsOf(piece);
    EXPECT_EQ(bounds.left, 150);
    EXPECT_EQ(bounds.bottom, 150);
    EXPECT_EQ(bounds.right, 200);
    EXPECT_EQ(bounds.top, 200);
    EXPECT_DOUBLE_EQ(Area(piece), 2500);
}

TEST(AdjustRun, CutsAnAreaIntoAllItsPiecesInside) {
    AdjustHost h;
    AILayerHandle blocks = h.AddLayer("街区");
    // A U-shaped range: a bar across both arms comes out as two pieces.
    const Contour range{{100, 100}, {200, 100}, {200, 200}, {170, 200}, {170, 130}, {130, 130}, {130, 200}, {100, 200}};
    AIArtHandle bar = h.AddFace(blocks, {Rect(90, 150, 210, 170)}, Cmyk{0, 0, 1, 0});
    const auto* style = h.document().findArt(bar)->style;
    h.AddClipLayer(range);

    h.Run();

    const auto objects = h.Objects(blocks);
    ASSERT_EQ(objects.size(), 2u);
    for (const Art* piece : objects) {
        EXPECT_EQ(piece->style, style);
        EXPECT_DOUBLE_EQ(Area(piece), 600);
    }
}

TEST(AdjustRun, CutsAFaceWithAHole) {
    AdjustHost h;
    AILayerHandle blocks = h.AddLayer("街区");
    AIArtHandle face = h.AddFace(blocks, {Rect(120, 120, 280, 280), Rect(140, 140, 160, 160)}, Cmyk{0, 0, 0, 0.3f});
    AIArtHandle holeOutside = h.AddFace(blocks, {Rect(150, 20, 250, 120), Rect(160, 30, 190, 60)}, Cmyk{0, 0, 0, 0.6f});
    const auto* faceStyle = h.document().findArt(face)->style;
    h.AddClipLayer(kRange);

    h.Run();

    const auto objects = h.Objects(blocks);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_FALSE(h.Alive(face));
    EXPECT_FALSE(h.Alive(holeOutside));
    EXPECT_EQ(objects[0]->type, kCompoundPathArt);
    EXPECT_EQ(objects[0]->style, faceStyle);
    EXPECT_DOUBLE_EQ(Area(objects[0]), 80.0 * 80 - 20 * 20);
    // The hole lay outside the range: the piece inside is a plain path.
    EXPECT_EQ(objects[1]->type, kPathArt);
    EXPECT_DOUBLE_EQ(Area(objects[1]), 50.0 * 20);
}

TEST(AdjustRun, KeepsALabelWholeWhenItReachesIntoTheRangeAndDeletesItOtherwise) {
    AdjustHost h;
    AILayerHandle names = h.AddLayer("注記・記号");
    h.AddClipLayer({{100, 100}, {200, 100}, {100, 200}});
    AIArtHandle reaching = h.AddText(names, u"横浜駅", {90, 150}, 12);
    AIArtHandle corner = h.AddText(names, u"港", {185, 185}, 10);
    AIArtHandle far = h.AddText(names, u"東京", {400, 400}, 12);
    AIArtHandle symbol = h.AddFace(names, {Rect(180, 110, 230, 130)}, Cmyk{1, 0, 0, 0});
    AIArtHandle symbolOutside = h.AddFace(names, {Rect(185, 185, 198, 198)}, Cmyk{1, 0, 0, 0});
    const std::u16string text = h.document().findArt(reaching)->text;
    const auto symbolPoints = Points(h.document().findArt(symbol));

    h.Run();

    ASSERT_TRUE(h.Alive(reaching));
    EXPECT_EQ(h.document().findArt(reaching)->text, text);
    EXPECT_EQ(h.document().findArt(reaching)->position.h, 90);
    EXPECT_FALSE(h.Alive(corner));
    EXPECT_FALSE(h.Alive(far));
    // An area on an annotation layer is tested like a label, never cut.
    ASSERT_TRUE(h.Alive(symbol));
    EXPECT_EQ(Points(h.document().findArt(symbol)), symbolPoints);
    EXPECT_FALSE(h.Alive(symbolOutside));
}

TEST(AdjustRun, DoesNotTrimLinesOnAnAnnotationLayer) {
    AdjustHost h;
    AILayerHandle names = h.AddLayer("国道番号");
    const Contour leader{{0, 150}, {50, 152}, {150, 154}, {300, 156}};
    AIArtHandle line = h.AddLine(names, leader);
    h.AddClipLayer(kRange);

    h.Run();

    ASSERT_TRUE(h.Alive(line));
    EXPECT_EQ(Points(h.document().findArt(line)), Points(leader));
}

struct Untouched {
    const char* name;
    // Builds the case and answers the art that must come through unchanged.
    std::function<std::vector<AIArtHandle>(AdjustHost&)> arrange;
};

void PrintTo(const Untouched& c, std::ostream* out) { *out << c.name; }

class UntouchedTest : public ::testing::TestWithParam<Untouched> {};

TEST_P(UntouchedTest, LeavesTheArtAsItWas) {
    AdjustHost h;
    const std::vector<AIArtHandle> arts = GetParam().arrange(h);
    std::vector<std::vector<std::pair<AIReal, AIReal>>> before;
    for (AIArtHandle art : arts) before.push_back(Points(h.document().findArt(art)));
    h.AddClipLayer(kRange);

    h.Run();

    for (size_t i = 0; i < arts.size(); ++i) {
        ASSERT_TRUE(h.Alive(arts[i])) << i;
        EXPECT_EQ(Points(h.document().findArt(arts[i])), before[i]) << i;
    }
}

// Art that every pass would change: wholly outside, a line to trim, an area to cut, a line outside
// the range.
std::vector<AIArtHandle> AddTargets(AdjustHost& h, AILayerHandle layer, AIArtHandle parent = nullptr) {
    return {h.AddFace(layer, {Rect(300, 300, 320, 320)}, Cmyk{0, 1, 0, 0}, parent),
            h.AddLine(layer, {{0, 150}, {20, 150}, {150, 152}, {300, 150}}, parent),
            h.AddFace(layer, {Rect(150, 150, 250, 250)}, Cmyk{1, 0, 0, 0}, parent)};
}

const Untouched kUntouched[] = {
    {"HiddenLayer",
     [](AdjustHost& h) {
         AILayerHandle layer = h.AddLayer("道路");
         h.SetLayerVisible(layer, false);
         return AddTargets(h, layer);
     }},
    {"LockedLayer",
     [](AdjustHost& h) {
         AILayerHandle layer = h.AddLayer("道路");
         h.SetLayerEditable(layer, false);
         return AddTargets(h, layer);
     }},
    {"LayerWithSublayers",
     [](AdjustHost& h) {
         AILayerHandle layer = h.AddLayer("交通");
         h.AddLayer("鉄道", layer);
         return AddTargets(h, layer);
     }},
    {"UnderHiddenParent",
     [](AdjustHost& h) {
         AILayerHandle parent = h.AddLayer("交通");
         AILayerHandle layer = h.AddLayer("鉄道", parent);
         h.SetLayerVisible(parent, false);
         return AddTargets(h, layer);
     }},
    {"UnderLockedGrandparent",
     [](AdjustHost& h) {
         AILayerHandle top = h.AddLayer("交通");
         AILayerHandle middle = h.AddLayer("鉄道", top);
         AILayerHandle layer = h.AddLayer("JR", middle);
         h.SetLayerEditable(top, false);
         return AddTargets(h, layer);
     }},
    {"HiddenObjects",
     [](AdjustHost& h) {
         AILayerHandle layer = h.AddLayer("道路");
         auto arts = AddTargets(h, layer);
         for (AIArtHandle art : arts) h.SetAttr(art, kArtHidden);
         return arts;
     }},
    {"LockedObjects",
     [](AdjustHost& h) {
         AILayerHandle layer = h.AddLayer("道路");
         auto arts = AddTargets(h, layer);
         for (AIArtHandle art : arts) h.SetAttr(art, kArtLocked);
         return arts;
     }},
    {"InsideALockedGroup",
     [](AdjustHost& h) {
         AILayerHandle layer = h.AddLayer("道路");
         AIArtHandle group = h.AddGroup(layer);
         auto arts = AddTargets(h, layer, group);
         h.SetAttr(group, kArtLocked);
         return arts;
     }},
};

INSTANTIATE_TEST_SUITE_P(Adjust, UntouchedTest, ::testing::ValuesIn(kUntouched),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AdjustRun, WorksOnASublayerOfVisibleEditableLayers) {
    AdjustHost h;
    AILayerHandle parent = h.AddLayer("交通");
    AILayerHandle layer = h.AddLayer("鉄道", parent);
    auto arts = AddTargets(h, layer);
    h.AddClipLayer(kRange);

    h.Run();

    EXPECT_FALSE(h.Alive(arts[0]));
    ASSERT_TRUE(h.Alive(arts[1]));
    EXPECT_EQ(Points(h.document().findArt(arts[1])), Points({{20, 150}, {150, 152}, {300, 150}}));
    EXPECT_FALSE(h.Alive(arts[2]));
    EXPECT_EQ(h.Objects(layer).size(), 2u);  // the trimmed line and the piece of the area
}

TEST(AdjustRun, TestsAGroupWhole) {
    AdjustHost h;
    AILayerHandle layer = h.AddLayer("建物");
    h.AddClipLayer({{100, 100}, {200, 100}, {100, 200}});
    AIArtHandle reaching = h.AddGroup(layer);
    AIArtHandle part1 = h.AddFace(layer, {Rect(110, 110, 130, 130)}, Cmyk{}, reaching);
    AIArtHandle part2 = h.AddFace(layer, {Rect(180, 180, 199, 199)}, Cmyk{}, reaching);
    AIArtHandle outside = h.AddGroup(layer);
    h.AddFace(layer, {Rect(180, 180, 199, 199)}, Cmyk{}, outside);

    h.Run();

    EXPECT_TRUE(h.Alive(reaching));
    EXPECT_TRUE(h.Alive(part1));
    EXPECT_TRUE(h.Alive(part2));
    EXPECT_FALSE(h.Alive(outside));
}

}  // namespace
}  // namespace adjusttest
