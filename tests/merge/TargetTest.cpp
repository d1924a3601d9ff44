// The front document must be fresh before any dialog is shown.
#include <functional>

#include "MergeFixture.h"
#include "Suites.h"
#include "ui/QueuedUserInterface.h"

namespace mergetest {
namespace {

constexpr char kNoDocument[] = "新規ドキュメントを作成してから、Quiltor セレクトマージを実行して下さい。";
constexpr char kNotFresh[] = "新規ドキュメントを作成した直後の状態で、Quiltor セレクトマージを実行して下さい。";

AILayerHandle FirstLayer() {
    AILayerHandle layer = nullptr;
    sAILayer->GetFirstLayer(&layer);
    return layer;
}

struct TargetCase {
    const char* name;
    std::function<void(MergeTest&)> spoil;
};

void PrintTo(const TargetCase& c, std::ostream* out) { *out << c.name; }

class TargetRefusal : public MergeTest, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(TargetRefusal, IsRefusedBeforeAnyDialog) {
    NewTarget();
    GetParam().spoil(*this);
    AnswerTileFolder();
    Run();
    EXPECT_EQ(Alerts(), std::vector<std::string>{ErrorLine(kNotFresh)});
    EXPECT_TRUE(user().folderTitles().empty());
    EXPECT_TRUE(showings().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Spoilt, TargetRefusal,
    ::testing::Values(TargetCase{"TwoLayers",
                                 [](MergeTest&) {
                                     AILayerHandle added = nullptr;
                                     sAILayer->InsertLayer(nullptr, kPlaceAboveAll, &added);
                                 }},
                      TargetCase{"Hidden", [](MergeTest&) { sAILayer->SetLayerVisible(FirstLayer(), false); }},
                      TargetCase{"Locked", [](MergeTest&) { sAILayer->SetLayerEditable(FirstLayer(), false); }},
                      TargetCase{"HoldsArt",
                                 [](MergeTest& t) {
                                     t.BuildTree({{"Layer 1", 0}}, {{0, {0, 10, 10, 0}}});
                                 }},
                      // A sublayer would shift every layer of the rebuilt tree by one.
                      TargetCase{"HoldsSublayer",
                                 [](MergeTest&) {
                                     AILayerHandle sub = nullptr;
                                     sAILayer->InsertLayer(FirstLayer(), kPlaceInsideOnTop, &sub);
                                 }}),
    [](const ::testing::TestParamInfo<TargetCase>& info) { return info.param.name; });

TEST_F(MergeTest, NoDocumentIsRefused) {
    CloseAllDocuments();
    AnswerTileFolder();
    Run();
    EXPECT_EQ(Alerts(), std::vector<std::string>{ErrorLine(kNoDocument)});
    EXPECT_TRUE(user().folderTitles().empty());
}

TEST_F(MergeTest, FreshTargetGoesOnToTheFolderChooser) {
    NewTarget();
    Run();
    EXPECT_EQ(user().folderTitles(), std::vector<std::string>{"Quiltor セレクトマージ - フォルダ選択"});
}

}  // namespace
}  // namespace mergetest
