// Faults of the adjust run as first described, each mended here, and the run under host
// failures: nothing crashes, no dead handle reaches the host, nothing inside the range is lost.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "AdjustHost.h"
#include "SuiteFaults.h"
#include "Suites.h"

namespace adjusttest {
namespace {

using quiltor::host::Art;
using testsupport::SuiteFaults;

const Contour kRange = Rect(100, 100, 200, 200);
const Contour kTriangle{{100, 100}, {200, 100}, {100, 200}};

bool LastMessageIsCompletion(AdjustHost& h) {
    return !h.ui().alerts().empty() && h.ui().alerts().back().text == "作業が完了しました。";
}

// A block outline or a boundary ring is a closed path without fill. Cut, its unfilled pieces
// were never put back, so every such ring was deleted, even one wholly inside the range.
TEST(Mend, AClosedPathWithoutFillIsKeptWholeOrDeletedNeverCut) {
    AdjustHost h;
    AILayerHandle blocks = h.AddLayer("街区線");
    h.AddClipLayer(kTriangle);
    AIArtHandle inside = h.AddRing(blocks, Rect(110, 110, 130, 130));
    AIArtHandle straddling = h.AddRing(blocks, Rect(150, 110, 250, 130));
    AIArtHandle outsideInBox = h.AddRing(blocks, Rect(180, 180, 195, 195));

    h.Run();

    ASSERT_TRUE(h.Alive(inside));
    EXPECT_EQ(Points(h.document().findArt(inside)), Points(Rect(110, 110, 130, 130)));
    ASSERT_TRUE(h.Alive(straddling));
    EXPECT_EQ(Points(h.document().findArt(straddling)), Points(Rect(150, 110, 250, 130)));
    EXPECT_FALSE(h.Alive(outsideInBox));
    EXPECT_EQ(h.Objects(blocks).size(), 2u);
}

// Judged by its anchors alone, a road whose anchors all lie outside the box lost anchor after
// anchor, the stretch across the box with them, until the rest lay outside and was deleted.
TEST(Mend, AStraightStretchAcrossTheBoxIsKept) {
    AdjustHost h;
    AILayerHandle roads = h.AddLayer("道路");
    h.AddClipLayer(kRange);
    AIArtHandle road = h.AddLine(roads, {{0, 150}, {50, 150}, {250, 152}, {300, 152}});
    AIArtHandle curve = h.AddLine(roads, {{0, 250}, {50, 250}, {250, 250}});
    // Its anchors lie above the box, but the curve from the second anchor dips into it.
    AIPathSegment segments[3];
    sAIPath->GetPathSegments(curve, 0, 3, segments);
    segments[1].out = {100, 100};
    segments[2].in = {200, 100};
    sAIPath->SetPathSegments(curve, 0, 3, segments);

    h.Run();

    ASSERT_TRUE(h.Alive(road));
    EXPECT_EQ(Points(h.document().findArt(road)), Points({{50, 150}, {250, 152}}));
    ASSERT_TRUE(h.Alive(curve));
    EXPECT_EQ(Points(h.document().findArt(curve)), Points({{50, 250}, {250, 250}}));
}

// Lines and labels on both sides of the range: with a working host the run keeps the first two
// and deletes the other two.
struct KeepTestMap {
    AIArtHandle lineIn, lineOut, labelIn, labelOut;
};

KeepTestMap AddKeepTestMap(AdjustHost& h) {
    AILayerHandle roads = h.AddLayer("道路");
    AILayerHandle names = h.AddLayer("地名");
    AILayerHandle labels = h.AddLayer("市区町村名");
    (void)names;
    h.AddClipLayer(kTriangle);
    return {h.AddLine(roads, {{110, 110}, {140, 120}}), h.AddLine(roads, {{180, 180}, {195, 190}}),
            h.AddText(labels, u"中区", {110, 110}, 10), h.AddText(labels, u"港", {185, 185}, 8)};
}

// A host failure while the test rectangle or the work object was made used to count as "outside"
// and deleted the map object. Only an empty result of the clip may delete it.
TEST(Mend, AFailureBuildingTheTestRectangleKeepsTheObject) {
    AdjustHost h;
    SuiteFaults faults(h.host().suites());
    KeepTestMap map = AddKeepTestMap(h);
    faults.FailWhen<&AIArtSuite::NewArt>([](int16_t type, int16_t, AIArtHandle prep, AIArtHandle*) {
        int16_t prepType = kUnknownArt;
        sAIArt->GetArtType(prep, &prepType);
        return type == kPathArt && prepType == kCompoundPathArt;
    });

    h.Run();

    EXPECT_TRUE(LastMessageIsCompletion(h));
    EXPECT_TRUE(h.Alive(map.lineIn));
    EXPECT_TRUE(h.Alive(map.lineOut));
    EXPECT_TRUE(h.Alive(map.labelIn));
    EXPECT_TRUE(h.Alive(map.labelOut));
}

TEST(Mend, AFailureCopyingTheFrameKeepsEveryObject) {
    AdjustHost h;
    SuiteFaults faults(h.host().suites());
    KeepTestMap map = AddKeepTestMap(h);
    AILayerHandle blocks = h.AddLayer("街区");
    AIArtHandle face = h.AddFace(blocks, {Rect(150, 110, 250, 130)}, Cmyk{0, 1, 0, 0});
    faults.FailWhen<&AIArtSuite::DuplicateArt>(
        [](AIArtHandle, int16_t order, AIArtHandle, AIArtHandle*) { return order == kPlaceAboveAll; });

    h.Run();

    EXPECT_TRUE(LastMessageIsCompletion(h));
    for (AIArtHandle art : {map.lineIn, map.lineOut, map.labelIn, map.labelOut, face}) EXPECT_TRUE(h.Alive(art));
    EXPECT_EQ(Points(h.document().findArt(face)), Points(Rect(150, 110, 250, 130)));
}

TEST(Mend, AFailureCopyingTheAreaKeepsItUncut) {
    AdjustHost h;
    SuiteFaults faults(h.host().suites());
    AILayerHandle blocks = h.AddLayer("街区");
    h.AddClipLayer(kRange);
    AIArtHandle face = h.AddFace(blocks, {Rect(150, 150, 250, 250)}, Cmyk{0, 1, 0, 0});
    faults.FailWhen<&AIArtSuite::DuplicateArt>([](AIArtHandle art, int16_t order, AIArtHandle, AIArtHandle*) {
        int16_t type = kUnknownArt;
        sAIArt->GetArtType(art, &type);
        return order == kPlaceAboveAll && type == kPathArt;
    });

    h.Run();

    ASSERT_TRUE(h.Alive(face));
    EXPECT_EQ(Points(h.document().findArt(face)), Points(Rect(150, 150, 250, 250)));
    EXPECT_EQ(h.Objects(blocks).size(), 1u);
}

TEST(Mend, AFailurePlacingThePiecesKeepsTheAreaAndLeavesNoPiece) {
    AdjustHost h;
    SuiteFaults faults(h.host().suites());
    AILayerHandle blocks = h.AddLayer("街区");
    h.AddClipLayer(kRange);
    AIArtHandle face = h.AddFace(blocks, {Rect(150, 150, 250, 250)}, Cmyk{0, 1, 0, 0});
    faults.FailWhen<&AIArtSuite::DuplicateArt>(
        [](AIArtHandle, int16_t order, AIArtHandle, AIArtHandle*) { return order == kPlaceBelow; });

    h.Run();

    ASSERT_TRUE(h.Alive(face));
    EXPECT_EQ(h.Objects(blocks).size(), 1u);
}

// A lens of two anchors has its area in its curves alone; it is a range like any other.
TEST(Mend, ALensOfTwoAnchorsIsARange) {
    AdjustHost h;
    AILayerHandle blocks = h.AddLayer("街区");
    AILayerHandle clip = h.AddClipLayer({{100, 150}, {200, 150}});
    AIPathSegment lens[2];
    sAIPath->GetPathSegments(h.Objects(clip).front(), 0, 2, lens);
    lens[0].in = {100, 100};
    lens[0].out = {100, 200};
    lens[1].in = {200, 200};
    lens[1].out = {200, 100};
    sAIPath->SetPathSegments(h.Objects(clip).front(), 0, 2, lens);
    h.AddFace(blocks, {Rect(140, 140, 160, 160)}, Cmyk{0, 1, 0, 0});
    h.AddFace(blocks, {Rect(300, 300, 310, 310)}, Cmyk{0, 1, 0, 0});

    h.Run();

    EXPECT_TRUE(LastMessageIsCompletion(h));
    const auto objects = h.Objects(blocks);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_NEAR(Area(objects.front()), 400, 1e-6);
}

struct ClipFailure {
    const char* name;
    AIErr code;
    bool deleted;
};

void PrintTo(const ClipFailure& c, std::ostream* out) { *out << c.name; }

class ClipResultTest : public ::testing::TestWithParam<ClipFailure> {};

TEST_P(ClipResultTest, OnlyAnEmptyResultDeletes) {
    AdjustHost h;
    SuiteFaults faults(h.host().suites());
    KeepTestMap map = AddKeepTestMap(h);
    faults.FailWhen<&AIPathfinderSuite::DoBackMinusFrontEffect>([](AIPathfinderData*) { return true; },
                                                                GetParam().code);

    h.Run();

    EXPECT_TRUE(LastMessageIsCompletion(h));
    for (AIArtHandle art : {map.lineIn, map.lineOut, map.labelIn, map.labelOut})
        EXPECT_EQ(h.Alive(art), !GetParam().deleted);
}

const ClipFailure kClipFailures[] = {
    {"Empty", kEmptyResultErr, true},
    {"Injected", kInjectedFailureErr, false},
    {"BadParameter", kBadParameterErr, false},
    {"OutOfMemory", kOutOfMemoryErr, false},
};

INSTANTIATE_TEST_SUITE_P(Mend, ClipResultTest, ::testing::ValuesIn(kClipFailures),
                         [](const auto& info) { return std::string(info.param.name); });

// The layer was run again whenever a line "was shortened", even when the host had not changed
// it, so a host that refused the change kept the run going for ever.
struct RefusedTrim {
    const char* name;
    AIErr answer;
    // Which deletions the host refuses, by their first segment.
    bool (*refuses)(int16_t segNumber);
    Contour shortened;  // what becomes of the line that only loses anchors at its ends
};

void PrintTo(const RefusedTrim& c, std::ostream* out) { *out << c.name; }

const Contour kShortened{{0, 140}, {20, 142}, {150, 150}, {300, 156}, {350, 158}};

class RefusedTrimTest : public ::testing::TestWithParam<RefusedTrim> {};

TEST_P(RefusedTrimTest, EndsAndLeavesTheLineWhole) {
    AdjustHost h;
    SuiteFaults faults(h.host().suites());
    AILayerHandle roads = h.AddLayer("道路");
    h.AddClipLayer(kRange);
    const Contour& shortened = kShortened;
    const Contour split{{150, 150}, {150, 250}, {150, 300}, {160, 300}, {170, 250}, {170, 150}};
    AIArtHandle a = h.AddLine(roads, shortened);
    AIArtHandle b = h.AddLine(roads, split);
    static RefusedTrim param;
    param = GetParam();
    // With kNoErr the host answers success without doing anything.
    faults.FailWhen<&AIPathSuite::DeletePathSegments>(
        [](AIArtHandle, int16_t segNumber, int16_t) { return param.refuses(segNumber); }, GetParam().answer);

    h.Run();

    EXPECT_TRUE(LastMessageIsCompletion(h));
    const auto objects = h.Objects(roads);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(Points(h.document().findArt(a)), Points(GetParam().shortened));
    EXPECT_EQ(Points(h.document().findArt(b)), Points(split));
}

const RefusedTrim kRefusedTrims[] = {
    {"SucceedsWithoutChange", kNoErr, [](int16_t) { return true; }, kShortened},
    {"FailsEverywhere", kInjectedFailureErr, [](int16_t) { return true; }, kShortened},
    // The copy of a split gives up its start, the path refuses to give up its end.
    {"PathRefusesItsEnd",
     kInjectedFailureErr,
     [](int16_t segNumber) { return segNumber > 0; },
     {{20, 142}, {150, 150}, {300, 156}, {350, 158}}},
};

INSTANTIATE_TEST_SUITE_P(Mend, RefusedTrimTest, ::testing::ValuesIn(kRefusedTrims),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Mend, ASplitWithoutItsCopyLeavesTheLineWhole) {
    AdjustHost h;
    SuiteFaults faults(h.host().suites());
    AILayerHandle roads = h.AddLayer("道路");
    h.AddClipLayer(kRange);
    const Contour split{{150, 150}, {150, 250}, {150, 300}, {160, 300}, {170, 250}, {170, 150}};
    AIArtHandle line = h.AddLine(roads, split);
    faults.FailWhen<&AIArtSuite::DuplicateArt>(
        [](AIArtHandle, int16_t order, AIArtHandle, AIArtHandle*) { return order == kPlaceBelow; });

    h.Run();

    ASSERT_EQ(h.Objects(roads).size(), 1u);
    EXPECT_EQ(Points(h.document().findArt(line)), Points(split));
}

// ---- no dead handle ever reaches the host

// Counts into `uses` the calls that name art no longer alive in the document.
void WatchDeadHandles(AdjustHost& h, SuiteFaults& faults, int& uses) {
    auto note = [document = &h.document(), uses = &uses](AIArtHandle art) {
        if (art && !document->findArt(art)) ++*uses;
    };
    faults.Watch<&AIArtSuite::NewArt>([note](int16_t, int16_t, AIArtHandle prep, AIArtHandle*) { note(prep); });
    faults.Watch<&AIArtSuite::DisposeArt>([note](AIArtHandle a) { note(a); });
    faults.Watch<&AIArtSuite::ReorderArt>([note](AIArtHandle a, int16_t, AIArtHandle prep) {
        note(a);
        note(prep);
    });
    faults.Watch<&AIArtSuite::DuplicateArt>([note](AIArtHandle a, int16_t, AIArtHandle prep, AIArtHandle*) {
        note(a);
        note(prep);
    });
    faults.Watch<&AIArtSuite::GetArtType>([note](AIArtHandle a, int16_t*) { note(a); });
    faults.Watch<&AIArtSuite::GetArtUserAttr>([note](AIArtHandle a, int32_t, int32_t*) { note(a); });
    faults.Watch<&AIArtSuite::GetArtParent>([note](AIArtHandle a, AIArtHandle*) { note(a); });
    faults.Watch<&AIArtSuite::GetArtFirstChild>([note](AIArtHandle a, AIArtHandle*) { note(a); });
    faults.Watch<&AIArtSuite::GetArtSibling>([note](AIArtHandle a, AIArtHandle*) { note(a); });
    faults.Watch<&AIArtSuite::GetArtBounds>([note](AIArtHandle a, AIRealRect*) { note(a); });
    faults.Watch<&AIArtSuite::ArtHasFill>([note](AIArtHandle a, AIBoolean*) { note(a); });
    faults.Watch<&AIPathSuite::GetPathSegments>([note](AIArtHandle a, int16_t, int16_t, AIPathSegment*) { note(a); });
    faults.Watch<&AIPathSuite::DeletePathSegments>([note](AIArtHandle a, int16_t, int16_t) { note(a); });
    faults.Watch<&AIPathSuite::GetPathSegmentCount>([note](AIArtHandle a, int16_t*) { note(a); });
    faults.Watch<&AIPathSuite::GetPathClosed>([note](AIArtHandle a, AIBoolean*) { note(a); });
    faults.Watch<&AIArtStyleSuite::GetArtStyle>([note](AIArtHandle a, AIArtStyleHandle*) { note(a); });
    faults.Watch<&AIPathStyleSuite::GetPathStyle>([note](AIArtHandle a, AIPathStyle*) { note(a); });
}

// When the host failed to make the frame, the run went on: lines and areas outside the box were
// deleted and trimmed, nothing was cut, and the run reported success.
struct FrameFailure {
    const char* name;
    void (*install)(SuiteFaults& faults);
    bool outlineKept;  // whether the host left the outline alive to be given back
};

void PrintTo(const FrameFailure& c, std::ostream* out) { *out << c.name; }

class FrameFailureTest : public ::testing::TestWithParam<FrameFailure> {};

TEST_P(FrameFailureTest, EndsWithAnErrorAndTheMapAsItWas) {
    AdjustHost h;
    SuiteFaults faults(h.host().suites());
    AILayerHandle roads = h.AddLayer("道路");
    h.AddLine(roads, {{0, 150}, {50, 150}, {150, 155}, {300, 150}, {350, 150}});
    h.AddLine(roads, {{300, 300}, {350, 350}});
    AILayerHandle blocks = h.AddLayer("街区");
    h.AddFace(blocks, {Rect(150, 150, 250, 250)}, Cmyk{0, 0.2f, 0.4f, 0});
    AILayerHandle clip = h.AddClipLayer(kTriangle);
    const std::string before = h.Svg();
    std::vector<std::string> mapBefore;
    for (AILayerHandle layer : {roads, blocks}) {
        for (const Art* art : h.Objects(layer))
            mapBefore.push_back(std::to_string(art->type) + ":" + ::testing::PrintToString(Points(art)));
    }
    int deadUses = 0;
    WatchDeadHandles(h, faults, deadUses);
    GetParam().install(faults);

    h.Run();

    ASSERT_EQ(h.ui().alerts().size(), 1u);
    EXPECT_EQ(h.ui().alerts()[0].kind, quiltor::host::AlertKind::Error);
    EXPECT_EQ(h.ui().alerts()[0].text, "予期しないエラーが発生しました。");
    EXPECT_EQ(deadUses, 0);
    if (GetParam().outlineKept) {
        EXPECT_EQ(h.Svg(), before);
        return;
    }
    std::vector<std::string> mapAfter;
    for (AILayerHandle layer : {roads, blocks}) {
        for (const Art* art : h.Objects(layer))
            mapAfter.push_back(std::to_string(art->type) + ":" + ::testing::PrintToString(Points(art)));
    }
    EXPECT_EQ(mapAfter, mapBefore);
    EXPECT_EQ(h.Objects(clip).size(), 0u);
    EXPECT_EQ(h.document().firstLayer(), h.LayerOf(clip));
}

const FrameFailure kFrameFailures[] = {
    {"Square", [](SuiteFaults& f) { f.FailAt<&AIArtSuite::NewArt>(1); }, true},
    {"SquareStyle", [](SuiteFaults& f) { f.FailAt<&AIPathStyleSuite::SetPathStyle>(1); }, true},
    {"CompoundPath", [](SuiteFaults& f) { f.FailAt<&AIArtSuite::NewArt>(2); }, true},
    {"SquareIntoTheCompound", [](SuiteFaults& f) { f.FailAt<&AIArtSuite::ReorderArt>(1); }, true},
    {"OutlineIntoTheCompound", [](SuiteFaults& f) { f.FailAt<&AIArtSuite::ReorderArt>(2); }, true},
    {"WorkLayer", [](SuiteFaults& f) { f.FailAt<&AILayerSuite::InsertLayer>(1); }, true},
    // A flattening that fails after it has emptied the frame.
    {"ExcludeEmptiesTheFrame",
     [](SuiteFaults& f) {
         f.FailWhen<&AIPathfinderSuite::DoExcludeEffect>([](AIPathfinderData* data) {
             AIArtHandle member = nullptr;
             while (sAIArt->GetArtFirstChild(data->fSelectedArt[0], &member) == kNoErr && member)
                 sAIArt->DisposeArt(member);
             return true;
         });
     },
     false},
    {"ExcludeTakesTheFrame",
     [](SuiteFaults& f) {
         f.FailWhen<&AIPathfinderSuite::DoExcludeEffect>([](AIPathfinderData* data) {
             sAIArt->DisposeArt(data->fSelectedArt[0]);
             return true;
         });
     },
     false},
};

INSTANTIATE_TEST_SUITE_P(Mend, FrameFailureTest, ::testing::ValuesIn(kFrameFailures),
                         [](const auto& info) { return std::string(info.param.name); });

// Groups and compound paths wholly outside, nested groups, lines that go in pass 2, areas cut in
// pass 3, labels on an annotation layer.
void AddMixedMap(AdjustHost& h) {
    AILayerHandle roads = h.AddLayer("道路");
    AIArtHandle outsideGroup = h.AddGroup(roads);
    h.AddLine(roads, {{300, 300}, {310, 320}}, outsideGroup);
    AIArtHandle nested = h.AddGroup(roads, outsideGroup);
    h.AddLine(roads, {{330, 300}, {340, 320}}, nested);
    h.AddFace(roads, {Rect(300, 330, 320, 350)}, Cmyk{}, nested);
    h.AddLine(roads, {{0, 150}, {20, 150}, {40, 152}, {150, 151}, {300, 150}, {320, 155}});
    AIArtHandle straddlingGroup = h.AddGroup(roads);
    h.AddLine(roads, {{150, 150}, {150, 250}, {150, 300}, {160, 300}, {170, 250}, {170, 150}}, straddlingGroup);
    h.AddLine(roads, {{300, 150}, {320, 150}, {330, 160}}, straddlingGroup);
    AILayerHandle blocks = h.AddLayer("街区");
    h.AddFace(blocks, {Rect(300, 300, 400, 400), Rect(320, 320, 340, 340)}, Cmyk{0, 0, 0, 0.2f});
    h.AddFace(blocks, {Rect(150, 150, 250, 250), Rect(160, 160, 170, 170)}, Cmyk{0, 0, 0, 0.3f});
    h.AddFace(blocks, {Rect(120, 120, 130, 130)}, Cmyk{0, 0, 0, 0.4f});
    h.AddFace(blocks, {Rect(-50, 120, 130, 130)}, Cmyk{0, 0, 0, 0.5f});
    AILayerHandle labels = h.AddLayer("漢字");
    AIArtHandle label = h.AddGroup(labels);
    h.AddText(labels, u"外", {400, 400}, 10);
    h.AddFace(labels, {Rect(400, 400, 410, 410)}, Cmyk{}, label);
    h.AddFace(labels, {Rect(150, 90, 160, 98)}, Cmyk{});
    h.AddClipLayer(kTriangle);
}

TEST(DeadHandles, NoneReachesTheHost) {
    AdjustHost h;
    SuiteFaults faults(h.host().suites());
    AddMixedMap(h);
    int deadUses = 0;
    WatchDeadHandles(h, faults, deadUses);

    h.Run();

    EXPECT_TRUE(LastMessageIsCompletion(h));
    EXPECT_EQ(deadUses, 0);
}

// ---- the run under single host failures

struct Failing {
    const char* name;
    void (*install)(SuiteFaults& faults, int n);
};

void PrintTo(const Failing& failing, std::ostream* out) { *out << failing.name; }

template <auto Field>
void Nth(SuiteFaults& faults, int n) {
    faults.FailAt<Field>(n);
}

const Failing kFailing[] = {
    {"NewArt", Nth<&AIArtSuite::NewArt>},
    {"DisposeArt", Nth<&AIArtSuite::DisposeArt>},
    {"DuplicateArt", Nth<&AIArtSuite::DuplicateArt>},
    {"ReorderArt", Nth<&AIArtSuite::ReorderArt>},
    {"GetArtBounds", Nth<&AIArtSuite::GetArtBounds>},
    {"GetArtParent", Nth<&AIArtSuite::GetArtParent>},
    {"DeletePathSegments", Nth<&AIPathSuite::DeletePathSegments>},
    {"IndexArtSet", Nth<&AIArtSetSuite::IndexArtSet>},
    {"CompareArtStyles", Nth<&AIArtStyleSuite::CompareArtStyles>},
    {"DoBackMinusFrontEffect", Nth<&AIPathfinderSuite::DoBackMinusFrontEffect>},
    {"DoExcludeEffect", Nth<&AIPathfinderSuite::DoExcludeEffect>},
    {"InsertLayer", Nth<&AILayerSuite::InsertLayer>},
};

class FailingCallTest : public ::testing::TestWithParam<Failing> {};

// Whichever call fails, and on whichever use, the run either stops at a check with the document
// unchanged or finishes; it touches no dead art, and what lay inside the range keeps at least
// its area there.
TEST_P(FailingCallTest, LosesNothingInside) {
    for (int n = 1; n <= 12; ++n) {
        AdjustHost h;
        SuiteFaults faults(h.host().suites());
        AddMixedMap(h);
        std::map<const void*, double> inside;  // style -> area inside the range before the run
        for (AILayerHandle layer : {h.document().firstLayer()->next, h.document().firstLayer()->next->next}) {
            for (const Art* art : h.Objects(layer)) {
                if (art->type == kGroupArt) continue;
                std::vector<Contour> contours;
                for (const Art* p = art->type == kPathArt ? art : art->firstChild; p;
                     p = art->type == kPathArt ? nullptr : p->next)
                    contours.push_back(Anchors(p));
                if (art->style->pathStyle().fillPaint) inside[art->style] += AreaInside(contours, kTriangle);
            }
        }
        const std::string before = h.Svg();
        int deadUses = 0;
        WatchDeadHandles(h, faults, deadUses);
        GetParam().install(faults, n);

        h.Run();

        EXPECT_EQ(deadUses, 0) << n;
        ASSERT_EQ(h.ui().alerts().size(), 1u) << n;
        if (!LastMessageIsCompletion(h)) {
            EXPECT_EQ(h.Svg(), before) << n;
            continue;
        }
        std::map<const void*, double> after;
        for (AILayerHandle layer : {h.document().firstLayer()->next, h.document().firstLayer()->next->next}) {
            for (const Art* art : h.Objects(layer)) {
                if (art->type != kGroupArt && art->style->pathStyle().fillPaint) after[art->style] += Area(art);
            }
        }
        for (const auto& [style, area] : inside) EXPECT_GE(after[style], area - 1e-6) << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Adjust, FailingCallTest, ::testing::ValuesIn(kFailing),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace adjusttest
