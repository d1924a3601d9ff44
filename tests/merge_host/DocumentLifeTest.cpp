// A tile's life in a merge run, through the suites: opened with a dialog status, activated, cut
// empty, brought back by undo to its state as opened, marked unmodified and closed.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "../support/TempDir.h"
#include "ActionsFixture.h"
#include "svg/Svg.h"

namespace mergehost {
namespace {

namespace fs = std::filesystem;
using namespace quiltor::host;

class DocumentLifeTest : public ActionsTest {
protected:
    DocumentLifeTest() {
        documents = Acquire<AIDocumentSuite>(kAIDocumentSuite, kAIDocumentSuiteVersion);
        list = Acquire<AIDocumentListSuite>(kAIDocumentListSuite, kAIDocumentListSuiteVersion);
        undo = Acquire<AIUndoSuite>(kAIUndoSuite, kAIUndoSuiteVersion);
    }

    template <class Suite>
    const Suite* Acquire(const char* name, int32_t version) {
        const void* suite = nullptr;
        EXPECT_EQ(BasicSuite()->AcquireSuite(name, version, &suite), kNoErr);
        return static_cast<const Suite*>(suite);
    }

    // A tile file with layer "L" holding three texts and a sublayer "S" holding one.
    std::string WriteTile(const std::string& name) {
        Document& d = NewDocument("L");
        for (const char* t : {"a", "b", "c"}) AddText(d, d.firstLayer()->group, t);
        AddText(d, AddLayer(d, d.firstLayer(), "S")->group, "s");
        const std::string path = (dir_ / name).string();
        std::string error;
        EXPECT_TRUE(WriteSvgFile(d, path, &error)) << error;
        workspace().close(&d);
        return path;
    }

    AIErr Open(const std::string& path, int32_t dialogStatus, AIDocumentHandle* document) {
        _AIFilePath file{path};
        return list->Open(&file, kDocUnknownColor, dialogStatus, false, document);
    }

    const AIDocumentSuite* documents = nullptr;
    const AIDocumentListSuite* list = nullptr;
    const AIUndoSuite* undo = nullptr;
    testsupport::TempDir dir_{"quiltor-life"};
};

TEST_F(DocumentLifeTest, ATileCutEmptyComesBackAsOpened) {
    Document& target = NewDocument("L");
    AddLayer(target, target.firstLayer(), "S");
    const std::string path = WriteTile("533945_025000.ai");

    AIDocumentHandle tile = nullptr;
    ASSERT_EQ(Open(path, kDialogNoneAndNotify, &tile), kNoErr);
    ASSERT_NE(tile, nullptr);
    Document& opened = *workspace().find(tile);
    EXPECT_EQ(workspace().current(), tile);
    EXPECT_FALSE(opened.modified());
    const std::vector<std::string> before = LayerPaths(opened);
    const size_t artBefore = opened.artCount();

    // What the copy step does to a tile.
    LayerOptions shown;
    for (Layer* layer = opened.firstLayer(); layer; layer = NextLayerInPreorder(layer))
        opened.setLayerOptions(layer, shown);
    ASSERT_EQ(PlayLayersOption(true), kNoErr);
    ASSERT_EQ(Play("adobe_selectAll"), kNoErr);
    ASSERT_EQ(Play("adobe_cut"), kNoErr);
    EXPECT_EQ(opened.artCount(), opened.layerCount());
    ASSERT_EQ(list->Activate(&target, true), kNoErr);
    ASSERT_EQ(Play("adobe_pasteInBack"), kNoErr);
    ASSERT_EQ(Play("adobe_deselectAll"), kNoErr);

    ASSERT_EQ(list->Activate(tile, true), kNoErr);
    EXPECT_EQ(workspace().current(), tile);
    AIBoolean modified = false;
    documents->GetDocumentModified(&modified);
    EXPECT_TRUE(modified);
    ASSERT_EQ(undo->SetSilent(true), kNoErr);
    ASSERT_EQ(undo->UndoChanges(), kNoErr);
    ASSERT_EQ(documents->SetDocumentModified(false), kNoErr);

    EXPECT_EQ(LayerPaths(opened), before);
    EXPECT_EQ(opened.artCount(), artBefore);
    EXPECT_EQ(TextsIn(opened.firstLayer()->group), (std::vector<std::string>{"a", "b", "c"}));
    documents->GetDocumentModified(&modified);
    EXPECT_FALSE(modified);

    ASSERT_EQ(list->Close(tile), kNoErr);
    EXPECT_EQ(workspace().current(), &target);
    EXPECT_EQ(TextsIn(target.firstLayer()->group), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(TextsIn(FindLayer(target, "L/S")->group), std::vector<std::string>{"s"});
    // The handle is dead: closing again is refused.
    EXPECT_EQ(list->Close(tile), kBadParameterErr);
}

TEST_F(DocumentLifeTest, UndoBeforeAnyChangeKeepsTheTile) {
    AIDocumentHandle tile = nullptr;
    ASSERT_EQ(Open(WriteTile("t.ai"), kDialogNoneAndNotify, &tile), kNoErr);
    const size_t art = workspace().find(tile)->artCount();
    ASSERT_EQ(undo->UndoChanges(), kNoErr);
    ASSERT_EQ(undo->UndoChanges(), kNoErr);
    EXPECT_EQ(workspace().find(tile)->artCount(), art);
}

TEST_F(DocumentLifeTest, TilesThatDoNotOpen) {
    std::ofstream(dir_ / "garbage.ai") << "%!PS-Adobe-3.0 not a document of this host";
    struct Case {
        const char* name;
        std::string path;
        int32_t dialogStatus;
        AIErr result;
        size_t alerts;  // the host tells the user only when asked to show dialogs
    };
    const Case cases[] = {
        {"missing, dialogs on", (dir_ / "missing.ai").string(), kDialogOn, kFileNotFoundErr, 1},
        {"missing, no dialogs", (dir_ / "missing.ai").string(), kDialogNoneAndNotify, kFileNotFoundErr, 0},
        {"not a document", (dir_ / "garbage.ai").string(), kDialogNoneAndNotify, kBadFileFormatErr, 0},
        {"a folder", dir_.path().string(), kDialogNoneAndNotify, kFileNotFoundErr, 0},
    };
    for (const Case& c : cases) {
        user().clear();
        const size_t open = workspace().documents().size();
        Document& stale = NewDocument();
        workspace().close(&stale);
        AIDocumentHandle document = &stale;  // must be cleared
        EXPECT_EQ(Open(c.path, c.dialogStatus, &document), c.result) << c.name;
        EXPECT_EQ(document, nullptr) << c.name;
        EXPECT_EQ(workspace().documents().size(), open) << c.name;
        EXPECT_EQ(user().alerts().size(), c.alerts) << c.name;
    }
}

}  // namespace
}  // namespace mergehost
