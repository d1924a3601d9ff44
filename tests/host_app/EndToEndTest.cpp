// quiltor-host as a user runs it, with the plug-ins of this build. Skipped while a plug-in is not built.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "../support/ShellCommand.h"

using testsupport::ShellQuote;

namespace {

namespace fs = std::filesystem;

const fs::path kBinaryDir = QUILTOR_BINARY_DIR;
const fs::path kProgram = kBinaryDir / "host" / "quiltor-host";
const fs::path kPluginDir = kBinaryDir / "plugins";
constexpr const char* kSubmenu = "Orvela Plateo.ai Quiltware について...";

struct Outcome {
    int status = -1;
    std::string out, err;
    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);) result.push_back(line);
        return result;
    }
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Outcome RunHost(const std::vector<std::string>& args, const std::string& input = "") {
    fs::path dir = fs::temp_directory_path() / ("quiltor-host-e2e-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "in") << input;
    std::string command = "QUILTOR_PLUGIN_DIR=" + ShellQuote(kPluginDir.string()) + " " + ShellQuote(kProgram.string());
    for (const auto& arg : args) command += " " + ShellQuote(arg);
    command += " <" + ShellQuote((dir / "in").string()) + " >" + ShellQuote((dir / "out").string()) + " 2>" +
               ShellQuote((dir / "err").string());
    Outcome outcome;
    int raw = std::system(command.c_str());
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = ReadFile(dir / "out");
    outcome.err = ReadFile(dir / "err");
    fs::remove_all(dir);
    return outcome;
}

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kProgram)) GTEST_SKIP() << kProgram << " is not built";
    }
    static bool pluginsBuilt() {
        for (const char* file : {"KTRQuiltorSelectMerge.so", "KTRQuiltorAdjust.so"})
            if (!fs::exists(kPluginDir / file)) return false;
        return true;
    }
};

TEST_F(EndToEndTest, MenusListsBothPluginsAndTheSharedAboutSubmenu) {
    if (!pluginsBuilt()) GTEST_SKIP() << "the plug-ins are not built yet";
    Outcome run = RunHost({"menus"});
    ASSERT_EQ(run.status, 0) << run.err;
    auto lines = run.lines();
    for (const std::string& expected :
         {std::string("Open Document\tQuiltor セレクトマージ"), std::string("Objects\tQuiltor アジャスト"),
          std::string(kSubmenu) + "\tQuiltor セレクトマージ ...", std::string(kSubmenu) + "\tQuiltor アジャスト ..."})
        EXPECT_EQ(std::count(lines.begin(), lines.end(), expected), 1) << expected << "\n" << run.out;
}

TEST_F(EndToEndTest, AboutEntryPrintsTheAboutBox) {
    if (!pluginsBuilt()) GTEST_SKIP() << "the plug-ins are not built yet";
    struct Case {
        const char* item;
        const char* start;
    } cases[] = {
        {"Quiltor セレクトマージ ...",
         "MESSAGE: Orvela Plateo.ai Quiltware Quiltor セレクトマージ\\n\\nQuiltor セレクトマージ Version 1.00 CS6\\n"},
        {"Quiltor アジャスト ...",
         "MESSAGE: Orvela Plateo.ai Quiltware Quiltor アジャスト\\n\\nQuiltor アジャスト Version 1.00 CS6\\n"},
    };
    for (const Case& c : cases) {
        Outcome run = RunHost({"run", c.item});
        ASSERT_EQ(run.status, 0) << run.err;
        auto lines = run.lines();
        ASSERT_EQ(lines.size(), 1u) << run.out;
        EXPECT_EQ(lines[0].rfind(c.start, 0), 0u) << lines[0];
    }
}

TEST_F(EndToEndTest, UnknownItemFailsAndListsTheItems) {
    if (!pluginsBuilt()) GTEST_SKIP() << "the plug-ins are not built yet";
    Outcome run = RunHost({"run", "Quiltor マージ"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no menu item \"Quiltor マージ\""), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Quiltor アジャスト"), std::string::npos) << run.err;
}

TEST_F(EndToEndTest, FileThatCannotBeOpenedFails) {
    if (!pluginsBuilt()) GTEST_SKIP() << "the plug-ins are not built yet";
    Outcome run = RunHost({"run", "Quiltor アジャスト ...", "--open", "/no/such/map.svg"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot open /no/such/map.svg"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");  // the item was not chosen
}

TEST_F(EndToEndTest, PluginThatCannotBeLoadedFails) {
    Outcome run = RunHost({"--plugin", "/no/such/plugin.so", "menus"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot load plug-in /no/such/plugin.so"), std::string::npos) << run.err;
}

TEST_F(EndToEndTest, PluginsThatCannotStartFailWithTheirError) {
    if (!pluginsBuilt()) GTEST_SKIP() << "the plug-ins are not built yet";
    Outcome run = RunHost({"--without-suite", "AI Menu Suite", "menus"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("KTRQuiltorSelectMerge.so failed to start (error 'S!Fd')"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("KTRQuiltorAdjust.so failed to start (error 'S!Fd')"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");

    Outcome unknown = RunHost({"--without-suite", "AI Frobnicator Suite", "menus"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("no suite \"AI Frobnicator Suite\""), std::string::npos) << unknown.err;
}

TEST_F(EndToEndTest, HelpAndUsageMistakes) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* part;  // in standard output for help, standard error otherwise
    } cases[] = {
        {{"--help"}, 0, "Examples:"},
        {{"help", "run"}, 0, "--new WIDTH HEIGHT"},
        {{"run", "--help"}, 0, "A3-landscape"},
        {{"menus", "--help"}, 0, "GROUP<TAB>ITEM TEXT"},
        {{}, 2, "Usage:"},
        {{"frobnicate"}, 2, "unknown command"},
        {{"run"}, 2, "which menu item"},
        {{"run", "x", "--new", "A7"}, 2, "A7"},
        {{"menus", "extra"}, 2, "no arguments"},
    };
    for (const Case& c : cases) {
        Outcome run = RunHost(c.args);
        EXPECT_EQ(run.status, c.status) << ::testing::PrintToString(c.args) << run.err;
        const std::string& text = c.status == 0 ? run.out : run.err;
        EXPECT_NE(text.find(c.part), std::string::npos) << ::testing::PrintToString(c.args) << "\n" << text;
    }
}

}  // namespace
