// The eight checks before an adjust run: each stops the run with its message and leaves the
// document as it was.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "AdjustHost.h"
#include "Suites.h"
#include "core/SuiteRegistry.h"
#include "model/Workspace.h"

namespace adjusttest {
namespace {

using quiltor::host::AlertKind;

const char* const kNoDocument = "地図範囲を調整するドキュメントを開いて下さい。";
const char* const kNoClipLayer = "Plateo.aiのレイヤの上に地図範囲の調整に使用する図形を含んだレイヤを設置して下さい。";
const char* const kClipLayerCount = "クリップ範囲を設定するレイヤは、一つのオブジェクトのみにして下さい。";
const char* const kNothingSelected = "地図範囲の調整に使用するオブジェクトを一つ選択して下さい。";
const char* const kTooManySelected = "地図範囲の調整に使用するオブジェクトは一つだけ選択して下さい。";
const char* const kNotPlainPath =
    "地図範囲の調整に使用するオブジェクトは複合パスやグループ化されていないパスアートを選択して下さい。";
const char* const kNotClosed = "地図範囲の調整に使用するオブジェクトは閉じているパスアートを選択して下さい。";
const char* const kNoArea = "地図範囲の調整に使用するオブジェクトは面積のある閉じたパスアートを選択して下さい。";

// A small map under every case: a road crossing the range and a block straddling it.
void AddMap(AdjustHost& h) {
    AILayerHandle roads = h.AddLayer("道路");
    h.AddLine(roads, {{0, 150}, {50, 150}, {150, 155}, {300, 150}, {350, 150}});
    AILayerHandle blocks = h.AddLayer("街区");
    h.AddFace(blocks, {Rect(150, 150, 250, 250)}, Cmyk{0, 0.2f, 0.4f, 0});
}

struct CheckCase {
    const char* name;
    std::function<void(AdjustHost&)> arrange;
    const char* message;
};

void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.name; }

class CheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckTest, StopsWithItsMessageAndChangesNothing) {
    AdjustHost h;
    AddMap(h);
    GetParam().arrange(h);
    const bool hasDocument = h.host().workspace().currentDocument() != nullptr;
    const std::string before = hasDocument ? h.Svg() : "";

    h.Run();

    ASSERT_EQ(h.ui().alerts().size(), 1u);
    EXPECT_EQ(h.ui().alerts()[0].kind, AlertKind::Error);
    EXPECT_EQ(h.ui().alerts()[0].text, GetParam().message);
    if (hasDocument) {
        EXPECT_EQ(h.Svg(), before);
    }
}

const CheckCase kCases[] = {
    {"NoDocument", [](AdjustHost& h) { h.host().workspace().close(h.host().workspace().current()); }, kNoDocument},
    {"ClipLayerWithoutSelection", [](AdjustHost& h) { h.AddClipLayer(Rect(100, 100, 200, 200), false); }, kNoClipLayer},
    {"SelectionOnlyBelowTheFirstLayer",
     [](AdjustHost& h) {
         AILayerHandle lower = h.AddLayer("範囲");
         h.SetAttr(h.AddRing(lower, Rect(100, 100, 200, 200)), kArtSelected);
     },
     kNoClipLayer},
    {"ClipLayerWithTwoObjects",
     [](AdjustHost& h) {
         AILayerHandle clip = h.AddClipLayer(Rect(100, 100, 200, 200));
         h.AddRing(clip, Rect(10, 10, 20, 20));
     },
     kClipLayerCount},
    {"CompoundPathWithMembersCountsItsMembers",
     [](AdjustHost& h) {
         AILayerHandle clip = h.AddClipLayer(Rect(100, 100, 200, 200));
         AIArtHandle path = h.Objects(clip).front();
         AIArtHandle compound = h.AddFace(clip, {Rect(0, 0, 50, 50), Rect(10, 10, 20, 20)}, Cmyk{});
         sAIArt->DisposeArt(path);
         h.SetAttr(compound, kArtSelected);
     },
     kClipLayerCount},
    {"SelectedArtSetEmpty",
     [](AdjustHost& h) {
         h.AddClipLayer(Rect(100, 100, 200, 200));
         auto* sets = h.host().suites().table<AIArtSetSuite>(kAIArtSetSuite, kAIArtSetSuiteVersion);
         sets->SelectedArtSet = [](AIArtSet) -> AIErr { return kNoErr; };
     },
     kNothingSelected},
    {"SecondSelectionInAMapLayer",
     [](AdjustHost& h) {
         h.AddClipLayer(Rect(100, 100, 200, 200));
         AILayerHandle layer = h.AddLayer("建物");
         h.SetAttr(h.AddRing(layer, Rect(10, 10, 20, 20)), kArtSelected);
     },
     kTooManySelected},
    {"EmptyGroupSelected",
     [](AdjustHost& h) {
         AILayerHandle clip = h.AddClipLayer(Rect(100, 100, 200, 200));
         AIArtHandle path = h.Objects(clip).front();
         AIArtHandle group = h.AddGroup(clip);
         sAIArt->DisposeArt(path);
         h.SetAttr(group, kArtSelected);
     },
     kNotPlainPath},
    {"EmptyCompoundPathSelected",
     [](AdjustHost& h) {
         AILayerHandle clip = h.AddClipLayer(Rect(100, 100, 200, 200));
         AIArtHandle path = h.Objects(clip).front();
         AIArtHandle compound = nullptr;
         AIArtHandle group = nullptr;
         sAIArt->GetFirstArtOfLayer(clip, &group);
         sAIArt->NewArt(kCompoundPathArt, kPlaceInsideOnTop, group, &compound);
         sAIArt->DisposeArt(path);
         h.SetAttr(compound, kArtSelected);
     },
     kNotPlainPath},
    {"OpenPathSelected",
     [](AdjustHost& h) {
         AILayerHandle clip = h.AddClipLayer(Rect(100, 100, 200, 200));
         sAIPath->SetPathClosed(h.Objects(clip).front(), false);
     },
     kNotClosed},
    // An outline without area used to pass: its frame had no hole, the whole map was deleted and
    // the run reported success.
    {"CollinearOutline",
     [](AdjustHost& h) {
         h.AddClipLayer({{100, 100}, {150, 150}, {200, 200}});
     },
     kNoArea},
    {"OutlineOfEqualPoints",
     [](AdjustHost& h) {
         h.AddClipLayer({{100, 100}, {100, 100}, {100, 100}});
     },
     kNoArea},
    {"SliverOutline", [](AdjustHost& h) { h.AddClipLayer(Rect(100, 100, 300, 100.004f)); }, kNoArea},
    {"OutlineDrawnTwiceRound",
     [](AdjustHost& h) {
         h.AddClipLayer(
             {{100, 100}, {200, 100}, {200, 200}, {100, 200}, {100, 100}, {200, 100}, {200, 200}, {100, 200}});
     },
     kNoArea},
    // The area check comes last.
    {"OpenOutlineWithoutArea",
     [](AdjustHost& h) {
         AILayerHandle clip = h.AddClipLayer({{100, 100}, {150, 150}, {200, 200}});
         sAIPath->SetPathClosed(h.Objects(clip).front(), false);
     },
     kNotClosed},
};

INSTANTIATE_TEST_SUITE_P(Adjust, CheckTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace adjusttest
