#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "SelectionSupport.h"
#include "core/TextSelectionDialog.h"

namespace selection_test {
namespace {

struct RowListCase {
    const char* args;
    int32_t rowCount;
    bool ok;
    std::vector<int32_t> rows;
    const char* error;
};

const RowListCase kRowListCases[] = {
    {"", 5, true, {}, ""},
    {"   ", 5, true, {}, ""},
    {"1 3 5-7", 8, true, {0, 2, 4, 5, 6}, ""},
    {"7-5", 8, true, {4, 5, 6}, ""},
    {"2,2,1", 3, true, {0, 1}, ""},
    {"3 1-3", 3, true, {0, 1, 2}, ""},
    {"all", 3, true, {0, 1, 2}, ""},
    {"ALL 2", 3, true, {0, 1, 2}, ""},
    {"all", 0, true, {}, ""},
    {"1\xE3\x80\x80"
     "2",
     3,
     true,
     {0, 1},
     ""},
    {"0", 3, false, {}, "0 行目はありません（1〜3 行）。"},
    {"4", 3, false, {}, "4 行目はありません（1〜3 行）。"},
    {"1", 0, false, {}, "1 行目はありません（行が一つもありません）。"},
    {"2-9", 3, false, {}, "9 行目はありません（1〜3 行）。"},
    {"1 x", 3, false, {}, "「x」 は行番号ではありません。"},
    {"1-", 3, false, {}, "「1-」 は行番号ではありません。"},
    {"-1", 3, false, {}, "「-1」 は行番号ではありません。"},
    {"1.5", 3, false, {}, "「1.5」 は行番号ではありません。"},
    {"99999999999", 3, false, {}, "「99999999999」 は行番号ではありません。"},
};

TEST(RowList, ReadsNumbersRangesAndAll) {
    for (const RowListCase& c : kRowListCases) {
        SCOPED_TRACE(c.args);
        std::vector<int32_t> rows = {42};
        std::string error;
        EXPECT_EQ(ParseRowList(c.args, c.rowCount, &rows, &error), c.ok);
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(error, c.error);
    }
}

// Commands from a stream, as a script or a pipe gives them, and the output
// kept in memory.
class Session {
public:
    explicit Session(const std::string& commands) {
        in_ = std::tmpfile();
        std::fputs(commands.c_str(), in_);
        std::rewind(in_);
        out_ = open_memstream(&buffer_, &size_);
    }
    ~Session() {
        std::fclose(in_);
        std::fclose(out_);
        std::free(buffer_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    FILE* In() const { return in_; }
    FILE* Out() const { return out_; }
    std::string Output() {
        std::fflush(out_);
        return std::string(buffer_, size_);
    }
    // What is left of the input after the dialog.
    std::string Rest() const {
        std::string rest;
        for (int c = std::fgetc(in_); c != EOF; c = std::fgetc(in_)) rest += static_cast<char>(c);
        return rest;
    }

private:
    FILE* in_ = nullptr;
    FILE* out_ = nullptr;
    char* buffer_ = nullptr;
    size_t size_ = 0;
};

class TextDialogTest : public SelectionTest {
protected:
    void SetUp() override {
        SelectionTest::SetUp();
        AddMixedTiles(folder);
        ASSERT_EQ(ScanTileFolder(folder.Str().c_str()), ScanResult::Done);
    }

    // Shows the dialog as the driver does and runs it on commands.
    DialogResult Run(Session& session, TextSelectionDialog** shown = nullptr) {
        dialog = std::make_unique<TextSelectionDialog>(alerts, session.In(), session.Out());
        if (shown != nullptr) *shown = dialog.get();
        dialog->SetLineCheckBox(bFlgCheckBox1);
        dialog->SetFaceCheckBox(bFlgCheckBox2);
        EXPECT_TRUE(SetTableDialog());
        return dialog->RunModal();
    }

    TempFolder folder;
    RecordingAlerts alerts;
    std::unique_ptr<TextSelectionDialog> dialog;
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(TextDialogTest, ScriptedSessionEndToEnd) {
    Session session(
        "help\n"
        "add 99\n"
        "frobnicate\n"
        "add\n"
        "add 1 4\n"
        "ok\n"
        "del\n"
        "add 5-6\n"
        "line\n"
        "ok\n"
        "answer for the host\n");
    ASSERT_EQ(Run(session), DialogResult::OK);
    const std::string out = session.Output();

    EXPECT_EQ(alerts.shown, (std::vector<Alert>{{true, kMsgAddNoneChosen},
                                                {true, kMsgMixedMeshKind},
                                                {true, kMsgNoSelection},
                                                {false, kMsgDelNoneChosen}}));
    for (const char* part : {
             "■ Quiltor セレクトマージ - ファイル選択\nフォルダ内データ：\n     1  533945_1_010000.ai\n",
             "    11  53394512_02500.ai\n選択済みデータ：\n      （なし）\n状態：未選択\n",
             "  [x] 隣接図形（線）の合成を行う。（line）\n  [x] 隣接図形（面）の合成を行う。（face）\n",
             "add 1 3 5-7",
             "> add 99\n※ フォルダ内データ：99 行目はありません（1〜11 行）。何も変えていません。\n",
             "※ 「frobnicate」 というコマンドはありません。",
             "フォルダ内データ：\n      （なし）\n選択済みデータ：\n     1  533945_025000.ai\n     2  "
             "533946_025000.ai\n",
             "状態：第二次地域区画(縮尺 1/25000)を選択中\n",
             "> line\n  [ ] 隣接図形（線）の合成を行う。（line）\n  [x] 隣接図形（面）の合成を行う。（face）\n",
         }) {
        EXPECT_TRUE(Has(out, part)) << "missing: " << part << "\n--- output ---\n" << out;
    }

    EXPECT_FALSE(dialog->GetLineCheckBox());
    EXPECT_TRUE(dialog->GetFaceCheckBox());
    EXPECT_EQ(InqSelectMesh(), 2);
    EXPECT_EQ(dialog->SelectRows(), (std::vector<std::string>{"533945_025000.ai", "533946_025000.ai"}));
    EXPECT_TRUE(dialog->FolderRows().empty());
    // Nothing beyond the line that ended the dialog was read.
    EXPECT_EQ(session.Rest(), "answer for the host\n");
}

struct EndingCase {
    const char* commands;
    DialogResult result;
    size_t alerts;
    const char* rest;
};

const EndingCase kEndings[] = {
    {"", DialogResult::Closed, 0, ""},
    {"cancel\nnext\n", DialogResult::Cancel, 0, "next\n"},
    {"CLOSE\nnext\n", DialogResult::Closed, 0, "next\n"},
    {"ok\n", DialogResult::Closed, 1, ""},  // refused, then the input ends
    {"add 2\nok\r\nnext", DialogResult::OK, 0, "next"},
    {"add 2", DialogResult::Closed, 0, ""},  // a last line without its newline still counts
    {"\n\n\tcancel  \n", DialogResult::Cancel, 0, ""},
};

TEST_F(TextDialogTest, HowTheDialogEnds) {
    for (const EndingCase& c : kEndings) {
        SCOPED_TRACE(c.commands);
        ResetMeshSelection();
        ASSERT_EQ(ScanTileFolder(folder.Str().c_str()), ScanResult::Done);
        alerts.shown.clear();
        Session session(c.commands);
        EXPECT_EQ(Run(session), c.result);
        EXPECT_EQ(alerts.shown.size(), c.alerts);
        EXPECT_EQ(session.Rest(), c.rest);
    }
}

TEST_F(TextDialogTest, BadRowsChangeNothing) {
    Session session("add 0\nadd 3-99\ndel 1\nadd two\nok now\nclose\n");
    TextSelectionDialog* shown = nullptr;
    ASSERT_EQ(Run(session, &shown), DialogResult::Closed);
    const std::string out = session.Output();
    EXPECT_TRUE(alerts.shown.empty());
    EXPECT_EQ(shown->FolderRows(), kMixedFolderList);
    EXPECT_TRUE(shown->SelectRows().empty());
    EXPECT_EQ(InqSelectMesh(), 0);
    for (const char* part : {"フォルダ内データ：0 行目はありません（1〜11 行）。何も変えていません。",
                             "フォルダ内データ：99 行目はありません（1〜11 行）。",
                             "選択済みデータ：1 行目はありません（行が一つもありません）。",
                             "「two」 は行番号ではありません。", "「ok now」 は読めません。"}) {
        EXPECT_TRUE(Has(out, part)) << "missing: " << part << "\n--- output ---\n" << out;
    }
}

TEST_F(TextDialogTest, CheckBoxesStartFromTheFlagsAndToggle) {
    bFlgCheckBox1 = true;
    bFlgCheckBox2 = false;
    Session session("face\nline\nline\nface\nface\ncancel\n");
    ASSERT_EQ(Run(session), DialogResult::Cancel);
    EXPECT_TRUE(dialog->GetLineCheckBox());
    EXPECT_TRUE(dialog->GetFaceCheckBox());
    EXPECT_TRUE(Has(session.Output(),
                    "  [x] 隣接図形（線）の合成を行う。（line）\n  [ ] 隣接図形（面）の合成を行う。（face）\n"));
}

TEST_F(TextDialogTest, ClosedDialogReadsNothing) {
    Session session("add 1\nok\n");
    TextSelectionDialog closed(alerts, session.In(), session.Out());
    closed.Close();
    EXPECT_EQ(closed.RunModal(), DialogResult::Closed);
    EXPECT_EQ(session.Rest(), "add 1\nok\n");
}

TEST_F(TextDialogTest, OutOfMemoryWhileAddingEndsTheDialog) {
    Session session("add 1\nok\n");
    dialog = std::make_unique<TextSelectionDialog>(alerts, session.In(), session.Out());
    ASSERT_TRUE(SetTableDialog());
    ReallocProbe::Arm(3);
    EXPECT_EQ(dialog->RunModal(), DialogResult::Failed);
    EXPECT_TRUE(TablesFreed());
    EXPECT_TRUE(dialog->FolderRows().empty());
    EXPECT_EQ(session.Rest(), "ok\n");
}

TEST_F(TextDialogTest, NewestDialogIsTheOneTheTableFills) {
    {
        const std::unique_ptr<SelectionDialog> made = CreateSelectionDialog(alerts);
        EXPECT_EQ(dlgController, made.get());
        ASSERT_TRUE(SetTableDialog());
        EXPECT_EQ(static_cast<TextSelectionDialog*>(made.get())->FolderRows(), kMixedFolderList);
    }
    EXPECT_EQ(dlgController, nullptr);
}

}  // namespace
}  // namespace selection_test
