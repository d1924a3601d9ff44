// Opening the chosen tiles and copying their art: what the run asks of the
// host for each tile, which tiles it passes over, and the merged document.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>

#include "IAIUnicodeString.h"
#include "LayerSnapshot.h"
#include "MergeFixture.h"
#include "MergeProgress.h"
#include "SuiteFaults.h"
#include "Suites.h"
#include "app/Host.h"
#include "core/ActionRegistry.h"
#include "core/MeshGrid.h"
#include "model/Workspace.h"
#include "ui/QueuedUserInterface.h"

namespace mergetest {
namespace {

constexpr char kDone[] = "作業が完了しました。";

const Tree kPlainTree = {{"地図", 0}, {"道路", 1}, {"建物", 1}, {"枠", 0}};

// A page large enough for every block these tests merge: no question.
constexpr float kLargePage = 6000.0f;

std::vector<std::string> PlayedNames(quiltor::host::Host& host) {
    std::vector<std::string> names;
    for (const auto& played : host.actions().history()) names.push_back(played.name);
    return names;
}

const std::vector<std::string> kCopyEvents = {"adobe_selectAll", "adobe_cut", "adobe_pasteInBack", "adobe_move",
                                              "adobe_deselectAll"};

std::vector<std::string> Repeat(const std::vector<std::string>& events, int times) {
    std::vector<std::string> out;
    for (int i = 0; i < times; ++i) out.insert(out.end(), events.begin(), events.end());
    return out;
}

std::vector<std::string> Events(int tiles) {
    std::vector<std::string> out = {"ai_plugin_Layer"};
    const std::vector<std::string> copies = Repeat(kCopyEvents, tiles);
    out.insert(out.end(), copies.begin(), copies.end());
    return out;
}

AIReal RealOf(const quiltor::host::ActionRegistry::Played& played, AIActionParamKey key) {
    return std::get<AIReal>(played.params.values.at(key));
}

TEST_F(MergeTest, PasteIntoOriginalLayersIsSwitchedOnBeforeTheFirstTile) {
    NewTarget(kLargePage, kLargePage);
    WriteTile("533945_050000.ai", kPlainTree);
    AnswerTileFolder();
    ScriptDialog("add 1\nok\n");
    Run();
    const auto& history = host().actions().history();
    ASSERT_FALSE(history.empty());
    const auto& layers = history.front();
    EXPECT_EQ(layers.name, "ai_plugin_Layer");
    EXPECT_EQ(layers.dialogStatus, kDialogNone);
    EXPECT_EQ(std::get<int32_t>(layers.params.values.at(AI_ACTION_KEY('m', 'u', 'i', 'd'))), 11);
    EXPECT_EQ(std::get<std::u16string>(layers.params.values.at(AI_ACTION_KEY('n', 'a', 'm', 'e'))),
              u"コピー元のレイヤーにペースト");
    EXPECT_EQ(std::get<bool>(layers.params.values.at(AI_ACTION_KEY('t', 'o', 'g', 'l'))), true);
    EXPECT_EQ(layers.params.values.size(), 3u);
}

// Tiles are taken in name order; each is moved by its grid offset: k tiles
// east from the western column, j tiles north (negative) from the northern row.
TEST_F(MergeTest, EveryTileIsMovedByItsGridOffset) {
    NewTarget(kLargePage, kLargePage);
    for (const char* name : {"533946_050000.ai", "533935_050000.ai", "533945_050000.ai", "533936_050000.ai"})
        WriteTile(name, kPlainTree);
    AnswerTileFolder();
    ScriptDialog("add all\nok\n");
    Run();
    EXPECT_EQ(Alerts(), (std::vector<std::string>{MessageLine("合成後のサイズは下記になります。\n452.000×370.000[mm]"),
                                                  MessageLine(kDone)}));
    ASSERT_EQ(PlayedNames(host()), Events(4));

    const MeshSize tile = MeshTileSize(MeshKind::Material, 50000);
    struct Offset {
        int k, j;
    };
    const Offset expected[] = {{0, -1}, {1, -1}, {0, 0}, {1, 0}};  // 533935, 533936, 533945, 533946
    const auto& history = host().actions().history();
    for (size_t t = 0; t < 4; ++t) {
        SCOPED_TRACE(t);
        const auto& move = history[1 + t * 5 + 3];
        EXPECT_EQ(move.dialogStatus, kDialogNoneAndNotify);
        EXPECT_EQ(RealOf(move, AI_ACTION_KEY('h', 'o', 'z', 'n')), float(expected[t].k) * tile.widthPt);
        EXPECT_EQ(RealOf(move, AI_ACTION_KEY('v', 't', 'c', 'l')), float(expected[t].j) * tile.heightPt);
        for (size_t e : {0, 1, 2, 4}) {
            EXPECT_EQ(history[1 + t * 5 + e].dialogStatus, kDialogNone);
            EXPECT_TRUE(history[1 + t * 5 + e].params.values.empty());
        }
    }
    // All tiles are closed; the target is left current, unmodified, with
    // the first tile's tree.
    EXPECT_EQ(host().workspace().documents().size(), 1u);
    EXPECT_EQ(ReadTree(), kPlainTree);
    AIBoolean modified = true;
    sAIDocument->GetDocumentModified(&modified);
    EXPECT_FALSE(modified);
}

// The move adds each tile's own artboard corner (left, bottom) to its grid
// offset; every tile here has another artboard, none at the origin, and the
// target's is at the origin.
TEST_F(MergeTest, EveryTileIsMovedFromItsOwnArtboard) {
    NewTarget(kLargePage, kLargePage);
    struct Tile {
        const char* name;
        AIRealRect artboard;
        int k, j;
    };
    const Tile tiles[] = {
        {"533935_050000.ai", {-40.5f, 700, 600, -12.25f}, 0, -1},
        {"533936_050000.ai", {25, 1200, 700, 300.5f}, 1, -1},
        {"533945_050000.ai", {1000, 500, 1700, -300}, 0, 0},
    };
    for (const Tile& tile : tiles) WriteTile(tile.name, kPlainTree, {}, tile.artboard);
    AnswerTileFolder();
    ScriptDialog("add all\nok\n");
    Run();
    ASSERT_EQ(PlayedNames(host()), Events(3));
    const MeshSize size = MeshTileSize(MeshKind::Material, 50000);
    const auto& history = host().actions().history();
    for (size_t t = 0; t < 3; ++t) {
        SCOPED_TRACE(tiles[t].name);
        const auto& move = history[1 + t * 5 + 3];
        EXPECT_EQ(RealOf(move, AI_ACTION_KEY('h', 'o', 'z', 'n')),
                  float(tiles[t].k) * size.widthPt + tiles[t].artboard.left);
        EXPECT_EQ(RealOf(move, AI_ACTION_KEY('v', 't', 'c', 'l')),
                  float(tiles[t].j) * size.heightPt + tiles[t].artboard.bottom);
    }
}

// Three tiles in a row, the middle one with another layer tree, all merged.
void MergeThreeWithTheMiddleOneOtherwiseLayered(MergeTest& test) {
    test.NewTarget(kLargePage, kLargePage);
    Tree other = kPlainTree;
    other[2].visible = false;
    test.WriteTile("533945_050000.ai", kPlainTree);
    test.WriteTile("533946_050000.ai", other);
    test.WriteTile("533947_050000.ai", kPlainTree);
    test.AnswerTileFolder();
    test.ScriptDialog("add all\nok\n");
    test.Run();
}

TEST_F(MergeTest, TileWithAnotherTreeIsPassedOverByName) {
    MergeThreeWithTheMiddleOneOtherwiseLayered(*this);
    EXPECT_EQ(Alerts(),
              (std::vector<std::string>{MessageLine("合成後のサイズは下記になります。\n678.000×185.000[mm]"),
                                        ErrorLine("レイヤー構成が異なるため読み飛ばします。\n533946_050000.ai"),
                                        MessageLine(kDone)}));
    EXPECT_EQ(PlayedNames(host()), Events(2));
    EXPECT_EQ(host().workspace().documents().size(), 1u);
}

// The run's progress: the placing caption, one step for each chosen row (a skipped tile too), and
// gone before the completion message is shown.
TEST_F(MergeTest, ProgressStepsOncePerRowAndGoesBeforeTheLastMessage) {
    struct Recorder : MergeProgress {
        Recorder(std::vector<std::string>& log, std::function<size_t()> alerts) : log(log), alerts(alerts) {}
        ~Recorder() override { log.push_back("gone after " + std::to_string(alerts()) + " alerts"); }
        void SetCaption(const char* text) override { log.push_back(std::string("caption ") + text); }
        void SetRange(int32_t last) override { log.push_back("range " + std::to_string(last)); }
        void SetPosition(int32_t position) override { log.push_back("at " + std::to_string(position)); }
        std::vector<std::string>& log;
        std::function<size_t()> alerts;
    };
    std::vector<std::string> log;
    SetMergeProgressFactory([&] { return std::make_unique<Recorder>(log, [&] { return Alerts().size(); }); });
    MergeThreeWithTheMiddleOneOtherwiseLayered(*this);
    SetMergeProgressFactory({});
    ASSERT_EQ(Alerts().size(), 3u);
    EXPECT_EQ(Alerts().back(), MessageLine(kDone));
    EXPECT_EQ(log, (std::vector<std::string>{"caption 選択したAdobe Illustrator ArtWorkを配置中...", "range 2", "at 1",
                                             "at 2", "at 3", "at 3", "gone after 2 alerts"}));
}

// The first tile that opens is the reference, whichever row it is. A tile
// that did not open used to be left out without a word, and the run still
// reported completion: now its name is shown and the others go on.
TEST_F(MergeTest, FirstTileThatOpensIsTheReference) {
    NewTarget(kLargePage, kLargePage);
    {
        std::ofstream broken(folder() / "533945_050000.ai");
        broken << "not a document";
    }
    Tree second = kPlainTree;
    second.push_back({"注記", 0});
    WriteTile("533946_050000.ai", second);
    WriteTile("533947_050000.ai", kPlainTree);
    AnswerTileFolder();
    ScriptDialog("add all\nok\n");
    Run();
    EXPECT_EQ(Alerts(),
              (std::vector<std::string>{MessageLine("合成後のサイズは下記になります。\n678.000×185.000[mm]"),
                                        ErrorLine("ファイルを開けないため読み飛ばします。\n533945_050000.ai"),
                                        ErrorLine("レイヤー構成が異なるため読み飛ばします。\n533947_050000.ai"),
                                        MessageLine(kDone)}));
    EXPECT_EQ(PlayedNames(host()), Events(1));
    EXPECT_EQ(ReadTree(), second);
}

// On a case-sensitive file system a tile saved as "….AI" is listed like any
// other, but the ".ai" path built from its codes does not exist.
TEST_F(MergeTest, TileWithUpperCaseExtensionOpens) {
    for (const char* name : {"533945_050000.AI", "533945_050000.Ai", "533945_050000.aI"}) {
        SCOPED_TRACE(name);
        std::filesystem::remove_all(folder());
        std::filesystem::create_directories(folder());
        user().clear();
        host().actions().clearHistory();
        CloseAllDocuments();
        NewTarget(kLargePage, kLargePage);
        WriteTile(name, kPlainTree);
        AnswerTileFolder();
        ScriptDialog("add 1\nok\n");
        Run();
        EXPECT_EQ(Alerts(),
                  (std::vector<std::string>{MessageLine("合成後のサイズは下記になります。\n226.000×185.000[mm]"),
                                            MessageLine(kDone)}));
        EXPECT_EQ(PlayedNames(host()), Events(1));
    }
}

// The target ends with the first tile's options on every layer, its first
// layer current.
TEST_F(MergeTest, LayerOptionsOfTheFirstTileAreRestored) {
    NewTarget(kLargePage, kLargePage);
    Tree tree = kPlainTree;
    tree[0].preview = false;
    tree[1].visible = false;
    tree[2].editable = false;
    tree[2].printed = false;
    tree[3].isTemplate = true;
    tree[3].dimPlacedImages = true;
    WriteTile("533945_050000.ai", tree);
    WriteTile("533946_050000.ai", tree);
    AnswerTileFolder();
    ScriptDialog("line\nface\nadd all\nok\n");
    Run();
    EXPECT_EQ(Alerts().back(), MessageLine(kDone));
    EXPECT_EQ(ReadTree(), tree);
    AILayerHandle current = nullptr;
    AILayerHandle first = nullptr;
    sAILayer->GetCurrentLayer(&current);
    sAILayer->GetFirstLayer(&first);
    EXPECT_EQ(current, first);
}

// Notes what each tile looks like when select-all is played on it.
class TileAtSelectAll : public MergeTest {
protected:
    void Spy() {
        host().actions().add("adobe_selectAll", [this](int32_t, const _AIActionParamValue*) {
            seen_.push_back(ReadTree());
            return kNoErr;
        });
    }
    std::vector<Tree> seen_;
};

// A Tokyo-23 run renames the first "道路" of each tile (road names) to
// "道路注記" and opens every layer, so that select-all takes all art.
TEST_F(TileAtSelectAll, Tokyo23TilesAreOpenedAndTheirRoadNamesRenamed) {
    NewTarget(kLargePage, kLargePage);
    Tree tile = Tokyo23Tree();
    tile[1].visible = false;
    tile[5].editable = false;
    WriteTile("53394500_02500.ai", tile);
    WriteTile("53394501_02500.ai", tile);
    Spy();
    AnswerTileFolder();
    ScriptDialog("add all\nok\n");
    Run();
    ASSERT_EQ(seen_.size(), 2u);
    Tree expected = Tokyo23Tree();
    std::vector<size_t> roads;
    for (size_t i = 0; i < expected.size(); ++i)
        if (expected[i].title == "道路") roads.push_back(i);
    ASSERT_EQ(roads.size(), 2u);
    expected[roads[0]].title = "道路注記";
    for (const Tree& seen : seen_) EXPECT_EQ(seen, expected);

    // The target: the Tokyo-23 tree with the tile's options, "道路" again,
    // scale bar and north arrow hidden.
    Tree merged = tile;
    for (LayerSpec& layer : merged)
        if (layer.title == "スケールバー" || layer.title == "方位記号") layer.visible = false;
    EXPECT_EQ(ReadTree(), merged);
    EXPECT_TRUE(plugin().check_tokyo23_layer());
}

// A standard tile named "道路" keeps its title outside Tokyo-23 runs.
TEST_F(TileAtSelectAll, OtherRunsRenameNothing) {
    NewTarget(kLargePage, kLargePage);
    WriteTile("533945_050000.ai", kPlainTree);
    Spy();
    AnswerTileFolder();
    ScriptDialog("add 1\nok\n");
    Run();
    ASSERT_EQ(seen_.size(), 1u);
    EXPECT_EQ(seen_[0], kPlainTree);
}

// ---- Whole runs with art: these need the host's editing actions.

class WholeRun : public MergeTest {
protected:
    void SetUp() override {
        MergeTest::SetUp();
        for (const char* event :
             {"adobe_selectAll", "adobe_cut", "adobe_pasteInBack", "adobe_move", "adobe_deselectAll"}) {
            if (!host().actions().knows(event)) GTEST_SKIP() << "the host does not play " << event << " yet";
        }
    }

    // Bounds of every art object directly in the layer at preorder position index.
    std::vector<AIRealRect> ArtIn(size_t index) {
        AILayerHandle layer = nullptr;
        sAILayer->GetFirstLayer(&layer);
        for (size_t i = 0; i < index && layer != nullptr; ++i) {
            AILayerHandle next = nullptr;
            sAILayer->GetNextPreorderLayer(layer, &next);
            layer = next;
        }
        std::vector<AIRealRect> out;
        if (layer == nullptr) return out;
        AIArtHandle group = nullptr;
        sAIArt->GetFirstArtOfLayer(layer, &group);
        AIArtHandle art = nullptr;
        sAIArt->GetArtFirstChild(group, &art);
        while (art != nullptr) {
            AIRealRect bounds{};
            sAIArt->GetArtBounds(art, &bounds);
            out.push_back(bounds);
            AIArtHandle next = nullptr;
            sAIArt->GetArtSibling(art, &next);
            art = next;
        }
        return out;
    }
};

bool Near(const AIRealRect& a, const AIRealRect& b) {
    const float tolerance = 0.01f;
    return std::fabs(a.left - b.left) < tolerance && std::fabs(a.top - b.top) < tolerance &&
           std::fabs(a.right - b.right) < tolerance && std::fabs(a.bottom - b.bottom) < tolerance;
}

void ExpectSameRects(std::vector<AIRealRect> actual, std::vector<AIRealRect> expected) {
    ASSERT_EQ(actual.size(), expected.size());
    const auto before = [](const AIRealRect& a, const AIRealRect& b) {
        return std::tie(a.left, a.bottom) < std::tie(b.left, b.bottom);
    };
    std::sort(actual.begin(), actual.end(), before);
    std::sort(expected.begin(), expected.end(), before);
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_TRUE(Near(actual[i], expected[i])) << i << ": " << actual[i].left << "," << actual[i].bottom << " vs "
                                                  << expected[i].left << "," << expected[i].bottom;
}

// 3 x 2 secondary squares at 1/25000: each tile's art lands at its grid
// offset, in the layer it came from, locked layer included; nothing is lost.
TEST_F(WholeRun, ThreeByTwoBlockLandsAtTheGridOffsets) {
    NewTarget(kLargePage, kLargePage);
    Tree tree = kPlainTree;
    tree[2].editable = false;
    const AIRealRect road{100, 150, 200, 100};
    const AIRealRect house{300, 400, 350, 320};
    const char* names[] = {"533944_025000.ai", "533945_025000.ai", "533946_025000.ai",
                           "533934_025000.ai", "533935_025000.ai", "533936_025000.ai"};
    for (const char* name : names) WriteTile(name, tree, {{1, road}, {2, house}});
    AnswerTileFolder();
    user().queueAnswer(1);
    ScriptDialog("add all\nok\n");
    Run();
    EXPECT_EQ(Alerts().back(), MessageLine(kDone));
    EXPECT_EQ(ReadTree(), tree);
    EXPECT_EQ(host().workspace().documents().size(), 1u);

    const MeshSize tile = MeshTileSize(MeshKind::Material, 25000);
    std::vector<AIRealRect> roads;
    std::vector<AIRealRect> houses;
    for (int j = -1; j <= 0; ++j) {
        for (int k = 0; k <= 2; ++k) {
            const float dx = float(k) * tile.widthPt;
            const float dy = float(j) * tile.heightPt;
            roads.push_back({road.left + dx, road.top + dy, road.right + dx, road.bottom + dy});
            houses.push_back({house.left + dx, house.top + dy, house.right + dx, house.bottom + dy});
        }
    }
    ExpectSameRects(ArtIn(1), roads);
    ExpectSameRects(ArtIn(2), houses);
    EXPECT_TRUE(ArtIn(0).empty());
    EXPECT_TRUE(ArtIn(3).empty());
}

// The merged map is where undo goes back to: undoing right after the run
// must not take the tiles' art and layers out again.
TEST_F(WholeRun, UndoAfterTheRunKeepsTheMergedMap) {
    NewTarget(kLargePage, kLargePage);
    const AIRealRect road{100, 150, 200, 100};
    WriteTile("533945_025000.ai", kPlainTree, {{1, road}});
    WriteTile("533946_025000.ai", kPlainTree, {{1, road}});
    AnswerTileFolder();
    ScriptDialog("add all\nok\n");
    Run();
    EXPECT_EQ(Alerts().back(), MessageLine(kDone));
    sAIUndo->UndoChanges();
    EXPECT_EQ(ReadTree(), kPlainTree);
    EXPECT_EQ(ArtIn(1).size(), 2u);
}

// Memory running out while tiles were placed (here while a tile's layer tree
// is read) went up past the run unseen: the open tile stayed open with its
// layers changed. Tried at every allocation of the layer records in turn.
TEST_F(WholeRun, ExhaustedMemoryDuringPlacementClosesTheTileAndSaysSo) {
    // Off the origin, so that art pasted but never moved would show.
    const AIRealRect artboard{30, 900, 700, -20};
    const AIRealRect road{100, 150, 200, 100};
    for (const char* name : {"533945_025000.ai", "533946_025000.ai", "533947_025000.ai"})
        WriteTile(name, kPlainTree, {{1, road}}, artboard);
    const float width = MeshTileSize(MeshKind::Material, 25000).widthPt;
    std::vector<AIRealRect> placed;
    for (int k = 0; k < 3; ++k) {
        const float dx = float(k) * width + artboard.left;
        placed.push_back({road.left + dx, road.top + artboard.bottom, road.right + dx, road.bottom + artboard.bottom});
    }

    for (int failAt = 1; failAt < 1000; ++failAt) {
        SCOPED_TRACE(failAt);
        CloseAllDocuments();
        user().clear();
        NewTarget(kLargePage, kLargePage);
        AnswerTileFolder();
        ScriptDialog("add all\nok\n");
        testsupport::SuiteFaults::FailReallocAt(failAt);
        SetLayerRecordRealloc(testsupport::SuiteFaults::ThrowingRealloc);
        Run();
        SetLayerRecordRealloc(nullptr);

        EXPECT_EQ(host().workspace().documents().size(), 1u);
        const std::vector<std::string> alerts = Alerts();
        ASSERT_FALSE(alerts.empty());
        std::vector<AIRealRect> art = ArtIn(1);
        if (!testsupport::SuiteFaults::ReallocFailed()) {
            EXPECT_EQ(alerts.back(), MessageLine(kDone));
            ExpectSameRects(art, placed);
            return;
        }
        EXPECT_EQ(alerts.back(), ErrorLine("予期しないエラーが発生しました。"));
        EXPECT_EQ(std::count(alerts.begin(), alerts.end(), MessageLine(kDone)), 0);
        // The tiles placed before are there whole and in place, in order.
        ASSERT_LE(art.size(), placed.size());
        ExpectSameRects(art, std::vector<AIRealRect>(placed.begin(), placed.begin() + std::ptrdiff_t(art.size())));
    }
    ADD_FAILURE() << "the run never ended without a failure";
}

// Road names go to the first "道路", roads to the second.
TEST_F(WholeRun, Tokyo23RoadNamesAndRoadsLandApart) {
    NewTarget(kLargePage, kLargePage);
    const Tree tree = Tokyo23Tree();
    size_t firstRoadSub = 0;
    size_t secondRoadSub = 0;
    for (size_t i = 0, roads = 0; i < tree.size(); ++i) {
        if (tree[i].title == "道路" && tree[i].depth == 0) (++roads == 1 ? firstRoadSub : secondRoadSub) = i + 1;
    }
    const AIRealRect label{10, 20, 30, 10};
    const AIRealRect road{40, 60, 80, 50};
    WriteTile("53394500_02500.ai", tree, {{firstRoadSub, label}, {secondRoadSub, road}});
    WriteTile("53394501_02500.ai", tree, {{firstRoadSub, label}, {secondRoadSub, road}});
    AnswerTileFolder();
    ScriptDialog("add all\nok\n");
    Run();
    EXPECT_EQ(Alerts().back(), MessageLine(kDone));
    const float width = MeshTileSize(MeshKind::Tokyo23, 2500).widthPt;
    ExpectSameRects(ArtIn(firstRoadSub), {label, {label.left + width, label.top, label.right + width, label.bottom}});
    ExpectSameRects(ArtIn(secondRoadSub), {road, {road.left + width, road.top, road.right + width, road.bottom}});
}

// Titles used to be cut to 100 bytes: the target got the cut titles, the
// host pasted the art by the whole ones into layers made for it, and two
// layers alike in their first 100 bytes were taken for one.
TEST_F(WholeRun, LongTitlesAreKeptWhole) {
    NewTarget(kLargePage, kLargePage);
    std::string longTitle;
    while (longTitle.size() <= 120) longTitle += "市区町村界";
    const Tree tree = {{longTitle, 0}, {longTitle + "（注記）", 1}, {longTitle + "（線）", 1}, {"枠", 0}};
    Tree shown = tree;
    shown[2].visible = false;
    shown[3].preview = false;
    const AIRealRect notes{10, 20, 30, 10};
    const AIRealRect line{40, 60, 80, 50};
    WriteTile("533945_025000.ai", shown, {{1, notes}, {2, line}});
    WriteTile("533946_025000.ai", shown, {{1, notes}, {2, line}});
    AnswerTileFolder();
    ScriptDialog("add all\nok\n");
    Run();
    EXPECT_EQ(Alerts().back(), MessageLine(kDone));
    EXPECT_EQ(ReadTree(), shown);
    const float width = MeshTileSize(MeshKind::Material, 25000).widthPt;
    ExpectSameRects(ArtIn(1), {notes, {notes.left + width, notes.top, notes.right + width, notes.bottom}});
    ExpectSameRects(ArtIn(2), {line, {line.left + width, line.top, line.right + width, line.bottom}});
}

// The options were restored layer by layer in preorder whatever the target
// held: one layer the host made on its own shifted every option below it onto
// the wrong layer. Paired by title path, the layer made keeps its own.
TEST_F(WholeRun, OptionsFollowTheTitlesWhenTheTreesDiffer) {
    NewTarget(kLargePage, kLargePage);
    Tree tree = kPlainTree;
    tree[0].preview = false;
    tree[1].visible = false;
    tree[2].editable = false;
    tree[3].printed = false;
    WriteTile("533945_025000.ai", tree);
    WriteTile("533946_025000.ai", tree);
    auto paste = host().actions().handler("adobe_pasteInBack");
    ASSERT_TRUE(paste);
    bool made = false;
    host().actions().add("adobe_pasteInBack", [&](int32_t status, const _AIActionParamValue* params) {
        if (!made) {
            AILayerHandle layer = nullptr;
            sAILayer->InsertLayer(nullptr, kPlaceAboveAll, &layer);
            sAILayer->SetLayerTitle(layer, ai::UnicodeString("貼り付け", kAIUTF8CharacterEncoding).get());
            made = true;
        }
        return paste(status, params);
    });
    AnswerTileFolder();
    ScriptDialog("add all\nok\n");
    Run();
    EXPECT_EQ(Alerts().back(), MessageLine(kDone));
    Tree expected = tree;
    expected.insert(expected.begin(), LayerSpec{"貼り付け", 0});
    EXPECT_EQ(ReadTree(), expected);
}

// Preorder positions of the sublayers under the two top-level "道路" layers
// of a Tokyo-23 tree: road names first, roads second.
std::pair<size_t, size_t> RoadSublayers(const Tree& tree) {
    std::vector<size_t> firsts;
    for (size_t i = 0; i + 1 < tree.size(); ++i)
        if (tree[i].title == "道路" && tree[i].depth == 0) firsts.push_back(i + 1);
    EXPECT_EQ(firsts.size(), 2u);
    return firsts.size() == 2 ? std::pair{firsts[0], firsts[1]} : std::pair<size_t, size_t>{};
}

// The road names used to be renamed by the kind of the tile names, while the
// target's tree follows the first tile's own tree. Secondary-mesh names with
// the Tokyo-23 tree put the road names among the roads (into a "道路" made
// for them there); the target's "道路注記" stayed empty.
TEST_F(WholeRun, Tokyo23TreeUnderOtherNamesKeepsRoadNamesApart) {
    NewTarget(kLargePage, kLargePage);
    const Tree tree = Tokyo23Tree();
    const auto [names, roads] = RoadSublayers(tree);
    const AIRealRect label{10, 20, 30, 10};
    const AIRealRect road{40, 60, 80, 50};
    WriteTile("533945_025000.ai", tree, {{names, label}, {roads, road}});
    WriteTile("533946_025000.ai", tree, {{names, label}, {roads, road}});
    AnswerTileFolder();
    ScriptDialog("add all\nok\n");
    Run();
    EXPECT_EQ(Alerts().back(), MessageLine(kDone));
    Tree merged = tree;
    for (LayerSpec& layer : merged)
        if (layer.title == "スケールバー" || layer.title == "方位記号") layer.visible = false;
    EXPECT_EQ(ReadTree(), merged);
    const float width = MeshTileSize(MeshKind::Material, 25000).widthPt;
    ExpectSameRects(ArtIn(names), {label, {label.left + width, label.top, label.right + width, label.bottom}});
    ExpectSameRects(ArtIn(roads), {road, {road.left + width, road.top, road.right + width, road.bottom}});
}

// And the other way round: Tokyo-23 names whose tree fails the Tokyo-23 check
// (one layer more) got the target copied from their tree, yet their road
// names were renamed "道路注記" and landed in a layer made for them.
TEST_F(WholeRun, Tokyo23NamesWithAnotherTreeRenameNothing) {
    NewTarget(kLargePage, kLargePage);
    Tree tree = Tokyo23Tree();
    tree.push_back({"余白", 0});
    const size_t names = RoadSublayers(tree).first;
    const AIRealRect label{10, 20, 30, 10};
    WriteTile("53394500_02500.ai", tree, {{names, label}});
    WriteTile("53394501_02500.ai", tree, {{names, label}});
    AnswerTileFolder();
    ScriptDialog("add all\nok\n");
    Run();
    EXPECT_EQ(Alerts().back(), MessageLine(kDone));
    EXPECT_EQ(ReadTree(), tree);
    const float width = MeshTileSize(MeshKind::Tokyo23, 2500).widthPt;
    ExpectSameRects(ArtIn(names), {label, {label.left + width, label.top, label.right + width, label.bottom}});
}

}  // namespace
}  // namespace mergetest
