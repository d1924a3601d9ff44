#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "ui/ConsoleUserInterface.h"
#include "ui/QueuedUserInterface.h"
#include "ui/Transcript.h"

namespace quiltor::host {
namespace {

struct Console {
    explicit Console(std::string input, bool interactive = false)
        : in(std::move(input)), ui(in, out, prompt, interactive) {}
    std::istringstream in;
    std::ostringstream out, prompt;
    ConsoleUserInterface ui;
};

TEST(TranscriptTest, OneLinePerAlertWithBreaksEscaped) {
    EXPECT_EQ(TranscriptLine(AlertKind::Error, "作業が完了しました。"), "ERROR: 作業が完了しました。");
    EXPECT_EQ(TranscriptLine(AlertKind::Message, "Title\n\nQuiltor アジャスト Version 1.00 CS6\n"),
              "MESSAGE: Title\\n\\nQuiltor アジャスト Version 1.00 CS6\\n");
    EXPECT_EQ(QuestionTranscriptLine("合成しますか？\r\nA:\\B", 1), "QUESTION: 合成しますか？\\r\\nA:\\\\B -> yes");
    EXPECT_EQ(QuestionTranscriptLine("q", 0), "QUESTION: q -> no");
    EXPECT_EQ(QuestionTranscriptLine("q", 2), "QUESTION: q -> cancel");
    EXPECT_EQ(FolderTranscriptLine("フォルダ選択", std::string("/data/地図")), "FOLDER: フォルダ選択 -> /data/地図");
    EXPECT_EQ(FolderTranscriptLine("フォルダ選択", std::nullopt), "FOLDER: フォルダ選択 -> cancel");
}

TEST(ConsoleUserInterfaceTest, ScriptedAnswersAreReadOneLineEachInOrder) {
    Console c("yes\nn\r\nキャンセル\n  Y  \n");
    EXPECT_EQ(c.ui.yesNoAlert("one"), 1);
    EXPECT_EQ(c.ui.yesNoAlert("two"), 0);
    EXPECT_EQ(c.ui.yesNoAlert("three"), 2);
    EXPECT_EQ(c.ui.yesNoAlert("four"), 1);
    EXPECT_EQ(c.out.str(),
              "QUESTION: one -> yes\nQUESTION: two -> no\nQUESTION: three -> cancel\nQUESTION: four -> yes\n");
    EXPECT_EQ(c.prompt.str(), "");  // nothing for a person when a script answers
}

TEST(ConsoleUserInterfaceTest, EndOfInputCancelsQuestionsAndFolders) {
    Console c("");
    EXPECT_EQ(c.ui.yesNoAlert("q"), 2);
    EXPECT_EQ(c.ui.chooseFolder("t"), std::nullopt);
    EXPECT_EQ(c.out.str(), "QUESTION: q -> cancel\nFOLDER: t -> cancel\n");
}

TEST(ConsoleUserInterfaceTest, AlertsReadNothingSoLaterAnswersStayInPlace) {
    Console c("no\n");
    c.ui.errorAlert("bad\nthing");
    c.ui.messageAlert("done");
    EXPECT_EQ(c.ui.yesNoAlert("q"), 0);
    EXPECT_EQ(c.out.str(), "ERROR: bad\\nthing\nMESSAGE: done\nQUESTION: q -> no\n");
}

TEST(ConsoleUserInterfaceTest, ScriptAnswerThatIsNoAnswerCancelsAndSaysSo) {
    Console c("perhaps\nyes\n");
    EXPECT_EQ(c.ui.yesNoAlert("q"), 2);
    EXPECT_NE(c.prompt.str().find("perhaps"), std::string::npos);
    EXPECT_EQ(c.ui.yesNoAlert("q"), 1);  // the next line belongs to the next question
}

TEST(ConsoleUserInterfaceTest, PersonIsAskedAgainAfterAnUnusableAnswer) {
    Console c("perhaps\n\nno\n", true);
    EXPECT_EQ(c.ui.yesNoAlert("合成しますか？"), 0);
    EXPECT_NE(c.prompt.str().find("合成しますか？"), std::string::npos);
    EXPECT_EQ(c.out.str(), "QUESTION: 合成しますか？ -> no\n");
}

TEST(ConsoleUserInterfaceTest, FolderChooserTakesExistingFoldersOnly) {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / ("quiltor host_app " + std::to_string(::getpid()) + " 地図 フォルダ");
    fs::create_directories(folder);
    Console c(folder.string() + "/\n" + (folder / "無い").string() + "\n\n");
    EXPECT_EQ(c.ui.chooseFolder("選択"), folder.string());
    EXPECT_EQ(c.ui.chooseFolder("選択"), std::nullopt);  // not there: a chooser could not have offered it
    EXPECT_EQ(c.ui.chooseFolder("選択"), std::nullopt);  // empty line
    EXPECT_EQ(c.out.str(), "FOLDER: 選択 -> " + folder.string() + "\nFOLDER: 選択 -> cancel\nFOLDER: 選択 -> cancel\n");
    fs::remove_all(folder);
}

TEST(ConsoleUserInterfaceTest, RelativeFolderBecomesAbsolute) {
    Console c(".\n");
    auto chosen = c.ui.chooseFolder("t");
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, std::filesystem::current_path().string());
}

TEST(ParseYesNoAnswerTest, Words) {
    struct Case {
        const char* typed;
        std::optional<int> answer;
    } cases[] = {{"y", 1},
                 {"YES", 1},
                 {"はい", 1},
                 {"n", 0},
                 {"No", 0},
                 {"いいえ", 0},
                 {"c", 2},
                 {"Cancel", 2},
                 {"キャンセル", 2},
                 {"", std::nullopt},
                 {"yess", std::nullopt},
                 {"0", std::nullopt}};
    for (const Case& c : cases) EXPECT_EQ(ParseYesNoAnswer(c.typed), c.answer) << c.typed;
}

TEST(QueuedUserInterfaceTest, EmptyQueuesCancel) {
    QueuedUserInterface ui;
    ui.queueAnswer(1);
    EXPECT_EQ(ui.yesNoAlert("a"), 1);
    EXPECT_EQ(ui.yesNoAlert("b"), 2);
    EXPECT_EQ(ui.chooseFolder("t"), std::nullopt);
    ui.messageAlert("m\n");
    EXPECT_EQ(ui.transcript(),
              (std::vector<std::string>{"QUESTION: a -> yes", "QUESTION: b -> cancel", "MESSAGE: m\\n"}));
    EXPECT_EQ(ui.folderTitles(), std::vector<std::string>{"t"});
}

}  // namespace
}  // namespace quiltor::host
