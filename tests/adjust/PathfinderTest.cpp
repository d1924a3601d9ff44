// The host's pathfinder: exclude flattens a compound path to its even-odd area in place; back
// minus front leaves the frontmost art's part outside everything behind it, where it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "AdjustHost.h"
#include "Suites.h"

namespace adjusttest {
namespace {

using quiltor::host::Art;

AIErr Exclude(std::vector<AIArtHandle> arts) {
    AIPathfinderData data{};
    data.fSelectedArt = arts.data();
    data.fSelectedArtCount = static_cast<int32_t>(arts.size());
    data.fOptions.ipmPrecision = 10;
    data.fOptions.extractUnpaintedArtwork = true;
    return sAIPathfinder->DoExcludeEffect(&data);
}

AIErr MinusBack(std::vector<AIArtHandle> arts) {
    AIPathfinderData data{};
    data.fSelectedArt = arts.data();
    data.fSelectedArtCount = static_cast<int32_t>(arts.size());
    data.fOptions.ipmPrecision = 10;
    data.fOptions.removeRedundantPoints = true;
    data.fOptions.extractUnpaintedArtwork = true;
    return sAIPathfinder->DoBackMinusFrontEffect(&data);
}

// Anchors as a set of points, whatever the first anchor and the direction.
std::vector<std::pair<AIReal, AIReal>> Corners(const Art* path) {
    std::vector<std::pair<AIReal, AIReal>> corners;
    for (const AIPathSegment& s : path->segments) corners.emplace_back(s.p.h, s.p.v);
    std::sort(corners.begin(), corners.end());
    return corners;
}

std::vector<std::pair<AIReal, AIReal>> Corners(const Contour& contour) {
    std::vector<std::pair<AIReal, AIReal>> corners;
    for (const AIRealPoint& p : contour) corners.emplace_back(p.h, p.v);
    std::sort(corners.begin(), corners.end());
    return corners;
}

// A circle of four curves, counter-clockwise.
std::vector<AIPathSegment> Circle(AIReal cx, AIReal cy, AIReal r) {
    const AIReal k = 0.5522847f * r;
    auto seg = [](AIReal x, AIReal y, AIReal inx, AIReal iny, AIReal outx, AIReal outy) {
        return AIPathSegment{{x, y}, {inx, iny}, {outx, outy}, 0};
    };
    return {seg(cx + r, cy, cx + r, cy - k, cx + r, cy + k), seg(cx, cy + r, cx + k, cy + r, cx - k, cy + r),
            seg(cx - r, cy, cx - r, cy + k, cx - r, cy - k), seg(cx, cy - r, cx - k, cy - r, cx + k, cy - r)};
}

void SetCurves(AIArtHandle path, std::vector<AIPathSegment> segments) {
    const auto n = static_cast<int16_t>(segments.size());
    sAIPath->SetPathSegmentCount(path, n);
    sAIPath->SetPathSegments(path, 0, n, segments.data());
    sAIPath->SetPathClosed(path, true);
}

TEST(Exclude, MakesTheInnerMemberAHoleInPlace) {
    AdjustHost h;
    AILayerHandle layer = h.AddLayer("範囲");
    // Both run the same way, so under the non-zero rule the inner square is no hole yet.
    AIArtHandle compound =
        h.AddFace(layer, {Rect(0, 0, 100, 100), Rect(25, 25, 75, 75)}, Cmyk{0, 0, 0, 1}, nullptr, false);
    const auto* style = h.document().findArt(compound)->style;
    ASSERT_EQ(Area(h.document().findArt(compound)), 10000);

    EXPECT_EQ(Exclude({compound}), kNoErr);

    const Art* art = h.document().findArt(compound);
    ASSERT_NE(art, nullptr);
    EXPECT_EQ(art->style, style);
    EXPECT_EQ(Area(art), 7500);
    ASSERT_NE(art->firstChild, nullptr);
    ASSERT_NE(art->firstChild->next, nullptr);
    EXPECT_EQ(Corners(art->firstChild), Corners(Rect(0, 0, 100, 100)));
    EXPECT_EQ(Corners(art->firstChild->next), Corners(Rect(25, 25, 75, 75)));
}

TEST(Exclude, KeepsTheCurvesOfAMemberItDoesNotCross) {
    AdjustHost h;
    AILayerHandle layer = h.AddLayer("範囲");
    AIArtHandle compound = h.AddFace(layer, {Rect(0, 0, 100, 100), Rect(0, 0, 1, 1)}, Cmyk{}, nullptr, false);
    const std::vector<AIPathSegment> circle = Circle(50, 50, 20);
    SetCurves(h.document().findArt(compound)->lastChild, circle);

    ASSERT_EQ(Exclude({compound}), kNoErr);

    const Art* hole = h.document().findArt(compound)->lastChild;
    ASSERT_EQ(hole->segments.size(), circle.size());
    // It comes back as it was or reversed, curves and all.
    const bool same = hole->segments[0].p.h == circle[0].p.h && hole->segments[0].out.v == circle[0].out.v;
    const bool reversed = hole->segments[0].p.h == circle[3].p.h && hole->segments[0].out.h == circle[3].in.h;
    EXPECT_TRUE(same || reversed);
}

TEST(Exclude, RefusesArtOtherThanCompoundPaths) {
    AdjustHost h;
    AILayerHandle layer = h.AddLayer("範囲");
    AIArtHandle path = h.AddFace(layer, {Rect(0, 0, 100, 100)}, Cmyk{});
    AIArtHandle compound = h.AddFace(layer, {Rect(0, 0, 100, 100), Rect(25, 25, 75, 75)}, Cmyk{});
    const std::string before = h.Svg();

    EXPECT_EQ(Exclude({compound, path}), kBadParameterErr);
    EXPECT_EQ(Exclude({}), kBadParameterErr);
    EXPECT_EQ(sAIPathfinder->DoExcludeEffect(nullptr), kBadParameterErr);
    EXPECT_EQ(h.Svg(), before);
}

TEST(BackMinusFront, LeavesTheFrontsPartOutsideTheBackWhereTheFrontWas) {
    AdjustHost h;
    AILayerHandle layer = h.AddLayer("街区");
    AIArtHandle top = h.AddFace(layer, {Rect(500, 500, 510, 510)}, Cmyk{0.5f, 0, 0, 0});
    AIArtHandle front = h.AddFace(layer, {Rect(50.25f, 50, 150, 150.75f)}, Cmyk{0, 1, 0, 0});
    AIArtHandle middle = h.AddFace(layer, {Rect(600, 600, 610, 610)}, Cmyk{0, 0.5f, 0, 0});
    AIArtHandle back = h.AddFace(layer, {Rect(100.125f, 0, 200, 200)}, Cmyk{0, 0, 1, 0});
    const auto* style = h.document().findArt(front)->style;

    // Listed back first: the stacking order decides which is the front.
    ASSERT_EQ(MinusBack({back, front}), kNoErr);

    EXPECT_FALSE(h.Alive(front));
    EXPECT_FALSE(h.Alive(back));
    const auto objects = h.Objects(layer);
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[0], h.document().findArt(top));
    EXPECT_EQ(objects[2], h.document().findArt(middle));
    EXPECT_EQ(objects[1]->style, style);
    EXPECT_TRUE(objects[1]->closed);
    // Straight edges come out exactly where they were.
    EXPECT_EQ(Corners(objects[1]), Corners(Rect(50.25f, 50, 100.125f, 150.75f)));
}

TEST(BackMinusFront, AnswersEmptyAndLeavesNothingWhenTheBackCoversTheFront) {
    AdjustHost h;
    AILayerHandle layer = h.AddLayer("街区");
    AIArtHandle back = h.AddFace(layer, {Rect(0, 0, 200, 200)}, Cmyk{});
    AIArtHandle front = h.AddFace(layer, {Rect(50, 50, 150, 150)}, Cmyk{});
    sAIArt->ReorderArt(front, kPlaceAbove, back);

    EXPECT_EQ(MinusBack({front, back}), kEmptyResultErr);

    EXPECT_FALSE(h.Alive(front));
    EXPECT_FALSE(h.Alive(back));
    EXPECT_TRUE(h.Objects(layer).empty());
}

TEST(BackMinusFront, GivesAPieceWithAHoleAsACompoundPath) {
    AdjustHost h;
    AILayerHandle layer = h.AddLayer("街区");
    AIArtHandle front = h.AddFace(layer, {Rect(0, 0, 100, 100), Rect(40, 40, 60, 60)}, Cmyk{0, 0, 0, 0.5f});
    AIArtHandle back = h.AddFace(layer, {Rect(80, -10, 200, 200)}, Cmyk{});
    const auto* style = h.document().findArt(front)->style;

    ASSERT_EQ(MinusBack({front, back}), kNoErr);

    const auto objects = h.Objects(layer);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]->type, kCompoundPathArt);
    EXPECT_EQ(objects[0]->style, style);
    EXPECT_DOUBLE_EQ(Area(objects[0]), 80.0 * 100 - 20 * 20);
    ASSERT_NE(objects[0]->firstChild, nullptr);
    EXPECT_EQ(Corners(objects[0]->firstChild), Corners(Rect(0, 0, 80, 100)));
    EXPECT_EQ(objects[0]->firstChild->style, style);
}

TEST(BackMinusFront, KeepsTheCurvesOfAFrontThatComesThroughWhole) {
    AdjustHost h;
    AILayerHandle layer = h.AddLayer("街区");
    AIArtHandle front = h.AddFace(layer, {Rect(0, 0, 1, 1)}, Cmyk{});
    SetCurves(front, Circle(50, 50, 20));
    AIArtHandle back = h.AddFace(layer, {Rect(200, 200, 300, 300)}, Cmyk{});
    const std::vector<AIPathSegment> before = h.document().findArt(front)->segments;

    ASSERT_EQ(MinusBack({front, back}), kNoErr);

    const auto objects = h.Objects(layer);
    ASSERT_EQ(objects.size(), 1u);
    ASSERT_EQ(objects[0]->segments.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(objects[0]->segments[i].p.h, before[i].p.h);
        EXPECT_EQ(objects[0]->segments[i].in.v, before[i].in.v);
        EXPECT_EQ(objects[0]->segments[i].out.h, before[i].out.h);
    }
}

TEST(BackMinusFront, HonoursTheFillRuleOfWhatLiesBehind) {
    for (bool evenOdd : {false, true}) {
        AdjustHost h;
        AILayerHandle layer = h.AddLayer("街区");
        AIArtHandle front = h.AddFace(layer, {Rect(40, 40, 60, 60)}, Cmyk{});
        // Both members run the same way: non-zero covers the middle, even-odd leaves it open.
        AIArtHandle back = h.AddFace(layer, {Rect(0, 0, 100, 100), Rect(25, 25, 75, 75)}, Cmyk{}, nullptr, evenOdd);

        EXPECT_EQ(MinusBack({front, back}), evenOdd ? kNoErr : kEmptyResultErr) << evenOdd;
    }
}

TEST(BackMinusFront, RefusesWhatItCannotWorkOnAndChangesNothing) {
    AdjustHost h;
    AILayerHandle layer = h.AddLayer("街区");
    AIArtHandle a = h.AddFace(layer, {Rect(0, 0, 100, 100)}, Cmyk{});
    AIArtHandle compound = h.AddFace(layer, {Rect(0, 0, 100, 100), Rect(25, 25, 75, 75)}, Cmyk{});
    AIArtHandle member = h.document().findArt(compound)->firstChild;
    AIArtHandle text = h.AddText(layer, u"駅", {10, 10}, 10);
    AIArtHandle dead = h.AddFace(layer, {Rect(0, 0, 10, 10)}, Cmyk{});
    sAIArt->DisposeArt(dead);
    AIArtHandle group = nullptr;
    sAIArt->GetFirstArtOfLayer(layer, &group);
    AIArtHandle huge = h.AddFace(layer, {Rect(0, 0, 1e30f, 10)}, Cmyk{});
    const std::string before = h.Svg();

    EXPECT_EQ(sAIPathfinder->DoBackMinusFrontEffect(nullptr), kBadParameterErr);
    EXPECT_EQ(MinusBack({a}), kBadParameterErr);
    EXPECT_EQ(MinusBack({a, a}), kBadParameterErr);
    EXPECT_EQ(MinusBack({a, dead}), kBadParameterErr);
    EXPECT_EQ(MinusBack({a, nullptr}), kBadParameterErr);
    EXPECT_EQ(MinusBack({compound, member}), kBadParameterErr);
    EXPECT_EQ(MinusBack({a, text}), kBadParameterErr);
    EXPECT_EQ(MinusBack({a, group}), kBadParameterErr);
    EXPECT_EQ(MinusBack({a, huge}), kBadParameterErr);
    EXPECT_EQ(h.Svg(), before);
}

}  // namespace
}  // namespace adjusttest
