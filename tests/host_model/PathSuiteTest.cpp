#include <cstring>

#include "ModelFixture.h"
#include "model/ArtStyle.h"

namespace quiltor::host::testing {
namespace {

class PathSuiteTest : public ModelTest {
protected:
    // An open path with anchors at h = 0, 10, 20, ... on the base line.
    AIArtHandle line(int n) {
        std::vector<Pt> anchors;
        for (int i = 0; i < n; ++i) anchors.push_back({static_cast<float>(10 * i), 0});
        return newPath(anchors, false);
    }
    AIArtHandle compound() {
        AIArtHandle c = nullptr;
        EXPECT_EQ(art->NewArt(kCompoundPathArt, kPlaceAboveAll, nullptr, &c), kNoErr);
        return c;
    }
};

// The seam joining grows a line one segment at a time by writing at the current count.
TEST_F(PathSuiteTest, SetPathSegmentsAtTheCountAppends) {
    AIArtHandle path = line(2);
    AIPathSegment s = Segment(20, 0);
    EXPECT_EQ(paths->SetPathSegments(path, 2, 1, &s), kNoErr);
    EXPECT_EQ(anchorsH(path), (std::vector<float>{0, 10, 20}));
    s = Segment(99, 0);
    EXPECT_EQ(paths->SetPathSegments(path, 4, 1, &s), kIndexOutOfRangeErr) << "past the count";
    EXPECT_EQ(paths->SetPathSegments(path, -1, 1, &s), kIndexOutOfRangeErr);
    AIPathSegment two[2] = {Segment(5, 0), Segment(6, 0)};
    EXPECT_EQ(paths->SetPathSegments(path, 2, 2, two), kNoErr) << "overwrites the last and appends one";
    EXPECT_EQ(anchorsH(path), (std::vector<float>{0, 10, 5, 6}));
    EXPECT_EQ(paths->SetPathSegments(path, 1, 1, &s), kNoErr);
    EXPECT_EQ(anchorsH(path), (std::vector<float>{0, 99, 5, 6}));
}

// The face merge splices outlines by inserting directly after a given segment.
TEST_F(PathSuiteTest, InsertPathSegmentsGoesDirectlyAfterTheIndex) {
    struct Case {
        int16_t index;
        AIErr result;
        std::vector<float> expected;
    } cases[] = {
        {-1, kNoErr, {7, 0, 10, 20}}, {0, kNoErr, {0, 7, 10, 20}},           {1, kNoErr, {0, 10, 7, 20}},
        {2, kNoErr, {0, 10, 20, 7}},  {3, kIndexOutOfRangeErr, {0, 10, 20}}, {-2, kIndexOutOfRangeErr, {0, 10, 20}},
    };
    for (const Case& c : cases) {
        AIArtHandle path = line(3);
        AIPathSegment s = Segment(7, 0);
        EXPECT_EQ(paths->InsertPathSegments(path, c.index, 1, &s), c.result) << c.index;
        EXPECT_EQ(anchorsH(path), c.expected) << c.index;
    }
    AIArtHandle empty = line(0);
    AIPathSegment s = Segment(1, 0);
    EXPECT_EQ(paths->InsertPathSegments(empty, 0, 1, &s), kIndexOutOfRangeErr);
    EXPECT_EQ(paths->InsertPathSegments(empty, -1, 1, &s), kNoErr);
    EXPECT_EQ(anchorsH(empty), std::vector<float>{1});
}

TEST_F(PathSuiteTest, DeletePathSegmentsTakesWholeRangesOnly) {
    struct Case {
        int16_t from, count;
        AIErr result;
        std::vector<float> expected;
    } cases[] = {
        {0, 1, kNoErr, {10, 20, 30}},
        {3, 1, kNoErr, {0, 10, 20}},
        {1, 2, kNoErr, {0, 30}},
        {0, 4, kNoErr, {}},
        {2, 0, kNoErr, {0, 10, 20, 30}},
        {4, 1, kIndexOutOfRangeErr, {0, 10, 20, 30}},
        {-1, 1, kIndexOutOfRangeErr, {0, 10, 20, 30}},
        {0, 5, kIndexOutOfRangeErr, {0, 10, 20, 30}},
        {1, -1, kIndexOutOfRangeErr, {0, 10, 20, 30}},
    };
    for (const Case& c : cases) {
        AIArtHandle path = line(4);
        EXPECT_EQ(paths->DeletePathSegments(path, c.from, c.count), c.result) << c.from << "+" << c.count;
        EXPECT_EQ(anchorsH(path), c.expected) << c.from << "+" << c.count;
    }
}

TEST_F(PathSuiteTest, GetPathSegmentsChecksTheRange) {
    AIArtHandle path = line(3);
    AIPathSegment out[3];
    EXPECT_EQ(paths->GetPathSegments(path, 1, 2, out), kNoErr);
    EXPECT_EQ(out[1].p.h, 20);
    EXPECT_EQ(paths->GetPathSegments(path, 2, 2, out), kIndexOutOfRangeErr);
    EXPECT_EQ(paths->GetPathSegments(path, 3, 0, out), kNoErr);
    EXPECT_EQ(paths->GetPathSegments(path, 0, 1, nullptr), kBadParameterErr);
}

TEST_F(PathSuiteTest, CountsStopAt32767) {
    AIArtHandle path = line(0);
    EXPECT_EQ(paths->SetPathSegmentCount(path, 32767), kNoErr);
    int16_t count = 0;
    paths->GetPathSegmentCount(path, &count);
    EXPECT_EQ(count, 32767);
    AIPathSegment s = Segment(1, 1);
    EXPECT_EQ(paths->SetPathSegments(path, 32767, 1, &s), kIndexOutOfRangeErr);
    EXPECT_EQ(paths->InsertPathSegments(path, 5, 1, &s), kIndexOutOfRangeErr);
    EXPECT_EQ(paths->SetPathSegmentCount(path, -1), kBadParameterErr);
    EXPECT_EQ(paths->SetPathSegmentCount(path, 2), kNoErr);
    const std::vector<AIPathSegment> grown = segmentsOf(path);
    EXPECT_EQ(grown[1].p.h, 0);
    EXPECT_EQ(grown[1].p.v, 0);
}

TEST_F(PathSuiteTest, ReverseTurnsTheOrderAndSwapsHandles) {
    AIArtHandle path = line(0);
    AIPathSegment s[3] = {Segment(0, 0), Segment(10, 0), Segment(20, 0)};
    s[0].out = AIRealPoint{3, 3};
    s[1].in = AIRealPoint{7, 3};
    s[1].corner = false;
    paths->SetPathSegments(path, 0, 3, s);
    EXPECT_EQ(paths->ReversePathSegments(path), kNoErr);
    const std::vector<AIPathSegment> r = segmentsOf(path);
    EXPECT_EQ(anchorsH(path), (std::vector<float>{20, 10, 0}));
    EXPECT_EQ(r[1].out.h, 7);
    EXPECT_EQ(r[1].corner, 0);
    EXPECT_EQ(r[2].in.h, 3);
}

// Compound paths answer path calls through their first member path; an empty one is open,
// unfilled and without segments, and cannot be changed.
TEST_F(PathSuiteTest, CompoundPathsAnswerThroughTheirFirstMember) {
    AIArtHandle c = compound();
    AIBoolean closed = 1, filled = 1, stroked = 1;
    int16_t count = 9;
    EXPECT_EQ(paths->GetPathClosed(c, &closed), kNoErr);
    EXPECT_EQ(art->ArtHasFill(c, &filled), kNoErr);
    EXPECT_EQ(art->ArtHasStroke(c, &stroked), kNoErr);
    EXPECT_EQ(paths->GetPathSegmentCount(c, &count), kNoErr);
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(filled, 0);
    EXPECT_EQ(stroked, 0);
    EXPECT_EQ(count, 0);
    AIPathSegment s = Segment(1, 1);
    EXPECT_EQ(paths->SetPathSegments(c, 0, 1, &s), kBadParameterErr);

    AIArtHandle outer = newPath({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true, kPlaceInsideOnTop, c);
    AIArtHandle hole = newPath({{2, 2}, {4, 2}, {4, 4}}, true, kPlaceInsideOnBottom, c);
    paths->GetPathClosed(c, &closed);
    art->ArtHasFill(c, &filled);
    paths->GetPathSegmentCount(c, &count);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(filled, 1);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(paths->InsertPathSegments(c, 0, 1, &s), kNoErr);
    EXPECT_EQ(segmentsOf(outer).size(), 5u) << "writes go to the first member too";
    EXPECT_EQ(segmentsOf(hole).size(), 3u);

    int16_t type = 0;
    art->GetArtType(c, &type);
    EXPECT_EQ(type, kCompoundPathArt);
}

TEST_F(PathSuiteTest, CompoundPathsHoldPathsOnly) {
    AIArtHandle c = compound();
    AIArtHandle n = nullptr;
    EXPECT_EQ(art->NewArt(kGroupArt, kPlaceInsideOnTop, c, &n), kBadParameterErr);
    EXPECT_EQ(art->NewArt(kCompoundPathArt, kPlaceInsideOnTop, c, &n), kBadParameterErr);
    AIArtHandle group = nullptr;
    art->NewArt(kGroupArt, kPlaceAboveAll, nullptr, &group);
    EXPECT_EQ(art->ReorderArt(group, kPlaceInsideOnTop, c), kBadParameterErr);
}

TEST_F(PathSuiteTest, NewPathsHaveTheDocumentsDefaultStyle) {
    AIArtHandle path = line(2);
    AIPathStyle style{};
    ASSERT_EQ(pathStyles->GetPathStyle(path, &style), kNoErr);
    EXPECT_EQ(style.fillPaint, 1);
    EXPECT_EQ(style.fill.color.kind, kFourColor);
    EXPECT_EQ(style.stroke.color.kind, kFourColor);
    EXPECT_EQ(style.stroke.color.c.f.black, 1.0f);
    EXPECT_EQ(style.stroke.width, 1.0f);
    AIArtHandle group = nullptr;
    art->NewArt(kGroupArt, kPlaceAboveAll, nullptr, &group);
    EXPECT_EQ(pathStyles->GetPathStyle(group, &style), kBadParameterErr);
}

// The host zeroes what the colour kind does not use, so leftovers from another kind never make
// two equal colours differ.
TEST_F(PathSuiteTest, SetPathStyleClearsUnusedColourMembers) {
    AIArtHandle a = line(2), b = line(2);
    AIPathStyle style{};
    pathStyles->GetPathStyle(a, &style);
    style.fill.color.kind = kGrayColor;
    style.fill.color.c.f = AIFourColorStyle{0.25f, 0.5f, 0.75f, 1.0f};  // gray reads the first real only
    pathStyles->SetPathStyle(a, &style);
    style.fill.color.c.f = AIFourColorStyle{0.25f, 0.0f, 0.0f, 0.0f};
    pathStyles->SetPathStyle(b, &style);

    AIPathStyle read{};
    pathStyles->GetPathStyle(a, &read);
    EXPECT_EQ(read.fill.color.c.g.gray, 0.25f);
    EXPECT_EQ(read.fill.color.c.f.magenta, 0.0f);
    AIArtStyleHandle sa = nullptr, sb = nullptr;
    artStyles->GetArtStyle(a, &sa);
    artStyles->GetArtStyle(b, &sb);
    EXPECT_EQ(sa, sb);
}

TEST_F(PathSuiteTest, EqualAppearancesShareOneArtStyle) {
    AIArtHandle a = line(2), b = line(3), c = line(2);
    AIArtStyleHandle sa = nullptr, sb = nullptr, sc = nullptr;
    artStyles->GetArtStyle(a, &sa);
    artStyles->GetArtStyle(b, &sb);
    AIBoolean same = 0;
    EXPECT_EQ(artStyles->CompareArtStyles(sa, sb, &same), kNoErr);
    EXPECT_EQ(same, 1);

    AIPathStyle style{};
    pathStyles->GetPathStyle(c, &style);
    style.stroke.width = 2;
    pathStyles->SetPathStyle(c, &style);
    artStyles->GetArtStyle(c, &sc);
    artStyles->CompareArtStyles(sa, sc, &same);
    EXPECT_EQ(same, 0);

    EXPECT_EQ(artStyles->SetArtStyle(a, sc), kNoErr);
    pathStyles->GetPathStyle(a, &style);
    EXPECT_EQ(style.stroke.width, 2.0f) << "the path style follows the art style";

    // An appearance with an effect differs from the same path style without it.
    ArtStyle* withEffect = workspace().styles().intern(style, 7);
    artStyles->CompareArtStyles(withEffect, sc, &same);
    EXPECT_EQ(same, 0);
    EXPECT_EQ(artStyles->CompareArtStyles(sa, Foreign<AIArtStyleHandle>(), &same), kBadParameterErr);
    EXPECT_EQ(artStyles->SetArtStyle(a, Foreign<AIArtStyleHandle>()), kBadParameterErr);
}

TEST_F(PathSuiteTest, CompoundMembersShareTheCompoundsAppearance) {
    AIArtHandle red = line(2), blue = line(2);
    AIPathStyle style{};
    pathStyles->GetPathStyle(red, &style);
    style.fill.color.c.f.magenta = 1;
    pathStyles->SetPathStyle(red, &style);
    AIArtStyleHandle redStyle = nullptr, blueStyle = nullptr, got = nullptr;
    artStyles->GetArtStyle(red, &redStyle);
    artStyles->GetArtStyle(blue, &blueStyle);

    AIArtHandle c = compound();
    art->ReorderArt(red, kPlaceInsideOnBottom, c);
    art->ReorderArt(blue, kPlaceInsideOnBottom, c);
    artStyles->GetArtStyle(c, &got);
    EXPECT_EQ(got, redStyle) << "the first member brings its appearance";
    artStyles->GetArtStyle(blue, &got);
    EXPECT_EQ(got, redStyle) << "later members take the compound path's";

    pathStyles->SetPathStyle(c, &style);
    style.stroke.width = 5;
    pathStyles->SetPathStyle(c, &style);
    artStyles->GetArtStyle(red, &got);
    AIArtStyleHandle compoundStyle = nullptr;
    artStyles->GetArtStyle(c, &compoundStyle);
    EXPECT_EQ(got, compoundStyle);
    EXPECT_NE(got, blueStyle);
}

}  // namespace
}  // namespace quiltor::host::testing
