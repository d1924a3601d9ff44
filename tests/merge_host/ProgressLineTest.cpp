// The progress line's text fitted to a terminal's width: wide characters take two columns, and
// a cut falls between whole characters, so a terminal never wraps the line or shows half of one.
#include <gtest/gtest.h>

#include <string>

#include "cli/ProgressLine.h"

namespace mergehost {
namespace {

using quiltor::cli::DisplayColumns;
using quiltor::cli::FitToColumns;

TEST(ProgressLine, FitsTheTextToTheColumns) {
    struct Case {
        const char* text;
        int columns;
        const char* fitted;
    };
    const Case cases[] = {
        {"placing tile 1 of 9", 80, "placing tile 1 of 9"},
        {"placing tile 1 of 9", 7, "placing"},
        {"道路/国道", 9, "道路/国道"},
        {"道路/国道", 8, "道路/国"},  // the last wide character would need a ninth column
        {"道路/国道", 7, "道路/国"},
        {"道路/国道", 6, "道路/"},
        {"ｱｰﾄﾎﾞｰﾄﾞ", 4, "ｱｰﾄﾎ"},  // half-width katakana take one column each
        {"（注記）", 3, "（"},
        {"abc", 0, ""},
        {"", 5, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string fitted = FitToColumns(c.text, c.columns);
        EXPECT_EQ(fitted, c.fitted);
        EXPECT_LE(DisplayColumns(fitted), c.columns);
    }
}

TEST(ProgressLine, AStrayByteIsOneColumnAndNeverReadPast) {
    const std::string cut = std::string("道路").substr(0, 4);  // a three-byte character cut short
    EXPECT_EQ(DisplayColumns(cut), 3);
    EXPECT_EQ(FitToColumns(cut, 2), cut.substr(0, 3));
}

}  // namespace
}  // namespace mergehost
