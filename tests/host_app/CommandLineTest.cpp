#include <gtest/gtest.h>

#include <cmath>

#include "cli/CommandLine.h"

namespace quiltor::cli {
namespace {

constexpr double kMm = 72.0 / 25.4;

TEST(ParseLengthTest, MillimetresAndPoints) {
    struct Case {
        const char* text;
        std::optional<double> points;
    } cases[] = {
        {"210mm", 210 * kMm}, {"210MM", 210 * kMm},  {"0.5mm", 0.5 * kMm},   {"595.28", 595.28},
        {"595.28pt", 595.28}, {"1e2", 100},          {"0", std::nullopt},    {"-5mm", std::nullopt},
        {"+5", std::nullopt}, {"mm", std::nullopt},  {"5 mm", std::nullopt}, {"5cm", std::nullopt},
        {"", std::nullopt},   {"nan", std::nullopt}, {"inf", std::nullopt},  {"1e400", std::nullopt},
    };
    for (const Case& c : cases) {
        auto parsed = ParseLength(c.text);
        ASSERT_EQ(parsed.has_value(), c.points.has_value()) << c.text;
        if (parsed) {
            EXPECT_NEAR(*parsed, *c.points, 1e-9) << c.text;
        }
    }
}

TEST(ParsePaperNameTest, IsoAAndJisBWithOrientation) {
    struct Case {
        const char* name;
        double widthMm, heightMm;
    } cases[] = {
        {"A4", 210, 297}, {"a4", 210, 297}, {"A4-landscape", 297, 210}, {"A3", 297, 420},
        {"A2", 420, 594}, {"A1", 594, 841}, {"A0", 841, 1189},          {"A0-LANDSCAPE", 1189, 841},
        {"B4", 257, 364}, {"B3", 364, 515}, {"B3-landscape", 515, 364}, {"A4-portrait", 210, 297},
    };
    for (const Case& c : cases) {
        auto size = ParsePaperName(c.name);
        ASSERT_TRUE(size) << c.name;
        EXPECT_NEAR(size->widthPt, c.widthMm * kMm, 1e-9) << c.name;
        EXPECT_NEAR(size->heightPt, c.heightMm * kMm, 1e-9) << c.name;
    }
    for (const char* bad : {"A6", "B4-sideways", "Letter", "A", "A4landscape", ""})
        EXPECT_FALSE(ParsePaperName(bad)) << bad;
}

TEST(ParseRunArgumentsTest, DocumentChoices) {
    std::string error;
    auto a = ParseRunArguments({"Quiltor アジャスト", "--new", "A3-landscape", "--save", "out.svg"}, &error);
    ASSERT_TRUE(a) << error;
    EXPECT_EQ(a->item, "Quiltor アジャスト");
    EXPECT_NEAR(a->newPage->widthPt, 420 * kMm, 1e-9);
    EXPECT_EQ(a->saveFile, "out.svg");
    EXPECT_FALSE(a->openFile);

    auto b = ParseRunArguments({"--new", "210mm", "842", "Quiltor セレクトマージ"}, &error);
    ASSERT_TRUE(b) << error;
    EXPECT_NEAR(b->newPage->widthPt, 210 * kMm, 1e-9);
    EXPECT_NEAR(b->newPage->heightPt, 842, 1e-9);

    auto c = ParseRunArguments({"--open", "タイル 1.svg", "--", "--odd item"}, &error);
    ASSERT_TRUE(c) << error;
    EXPECT_EQ(c->openFile, "タイル 1.svg");
    EXPECT_EQ(c->item, "--odd item");

    auto d = ParseRunArguments({"Quiltor アジャスト ..."}, &error);
    ASSERT_TRUE(d) << error;
    EXPECT_FALSE(d->newPage);
    EXPECT_FALSE(d->openFile);
}

TEST(ParseRunArgumentsTest, MistakesAreRefusedWithAReason) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--new", "A4"},
        {"item", "--new"},
        {"item", "--new", "210mm"},
        {"item", "--new", "wide", "297mm"},
        {"item", "--new", "210mm", "tall"},
        {"item", "--new", "A4", "--open", "x.svg"},
        {"item", "--open", "x.svg", "--open", "y.svg"},
        {"item", "--open"},
        {"item", "--save"},
        {"item", "--save", "a", "--save", "b"},
        {"item", "other item"},
        {"item", "--frobnicate"},
        {"item", "--new", "6000mm", "100mm"},
    };
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(ParseRunArguments(args, &error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty()) << ::testing::PrintToString(args);
    }
}

TEST(TakeGlobalOptionsTest, PluginsAnywhereTheRestStays) {
    std::vector<std::string> args = {"--plugin",        "a.so",          "run", "item", "--plugin=b.so", "--help",
                                     "--without-suite", "AI Layer Suite"};
    std::string error;
    auto options = TakeGlobalOptions(args, &error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->plugins, (std::vector<std::string>{"a.so", "b.so"}));
    EXPECT_EQ(options->missingSuites, std::vector<std::string>{"AI Layer Suite"});
    EXPECT_FALSE(options->help);  // --help after the command is the command's
    EXPECT_EQ(args, (std::vector<std::string>{"run", "item", "--help"}));

    for (const char* option : {"--plugin", "--without-suite"}) {
        std::vector<std::string> dangling = {"menus", option};
        EXPECT_FALSE(TakeGlobalOptions(dangling, &error)) << option;
    }
}

TEST(PluginFilesTest, ChosenThenEnvironmentThenBuild) {
    GlobalOptions chosen;
    chosen.plugins = {"x.so"};
    EXPECT_EQ(PluginFiles(chosen, "/env", "/build"), std::vector<std::string>{"x.so"});
    GlobalOptions none;
    EXPECT_EQ(PluginFiles(none, "/env", "/build"),
              (std::vector<std::string>{"/env/KTRQuiltorSelectMerge.so", "/env/KTRQuiltorAdjust.so"}));
    EXPECT_EQ(PluginFiles(none, "", "/build"),
              (std::vector<std::string>{"/build/KTRQuiltorSelectMerge.so", "/build/KTRQuiltorAdjust.so"}));
    EXPECT_EQ(PluginFiles(none, nullptr, "/build").size(), 2u);
}

}  // namespace
}  // namespace quiltor::cli
