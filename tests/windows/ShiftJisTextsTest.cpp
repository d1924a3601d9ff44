// The Windows build holds its texts in Shift-JIS (code page 932). Each is checked against the same
// text written here in UTF-8, both converted to UTF-16 by Windows' own tables, so the check does
// not depend on how the build produced its bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "core/AnnotationLayers.h"
#include "core/LayerScheme.h"
#include "core/MeshGrid.h"
#include "core/SelectionDialog.h"

namespace {

std::optional<std::wstring> Decode(UINT page, std::string_view bytes) {
    if (bytes.empty()) return std::wstring();
    const int n = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), wide.data(), n);
    return wide;
}

std::string_view Bytes(std::u8string_view utf8) { return {reinterpret_cast<const char*>(utf8.data()), utf8.size()}; }

// A literal of the build against its UTF-8 spelling.
::testing::AssertionResult SameText(std::string_view shiftJis, std::u8string_view utf8) {
    const auto left = Decode(932, shiftJis);
    if (!left) return ::testing::AssertionFailure() << "not Shift-JIS";
    if (shiftJis == Bytes(utf8) && !utf8.empty() && utf8.front() >= 0x80)
        return ::testing::AssertionFailure() << "still UTF-8";
    if (*left != *Decode(CP_UTF8, Bytes(utf8))) return ::testing::AssertionFailure() << "another text";
    return ::testing::AssertionSuccess();
}

TEST(ShiftJisTexts, AreTheTextsOfTheUtf8Build) {
    struct Case {
        const char* shiftJis;
        std::u8string_view utf8;
    };
    const Case cases[] = {
        {kSelectDialogTitle, u8"Quiltor セレクトマージ - ファイル選択"},
        {kAddButtonText, u8"[追加]≫"},
        {kMsgNoSelection, u8"選択済みデータが一つもありません。"},
        {kMsgMixedScale, u8"縮尺の異なる Adobe Illustrator ArtWork の結合は出来ません。"},
        {kMeshStatusNone, u8"未選択"},
        {MeshStatusFormat(MeshKind::Tokyo23), u8"KTR64分割メッシュ(縮尺 1/%d)を選択中"},
        {materialLayerScheme[0].title, u8"注記・記号"},
        {tokyo23LayerScheme[0].title, u8"整飾"},
        {tokyo23RoadNotesTitle, u8"道路注記"},
        {plateoStringLayerNames[0], u8"注記・記号"},
    };
    for (const Case& c : cases) EXPECT_TRUE(SameText(c.shiftJis, c.utf8)) << Bytes(c.utf8);
}

void ExpectTitlesFit(const LayerSchemeEntry* entries, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const std::string_view title = entries[i].title;
        EXPECT_TRUE(Decode(932, title).has_value()) << i;
        EXPECT_LT(title.size(), kLayerTitleBufferSize) << i;
        if (entries[i].group) ExpectTitlesFit(entries[i].sublayers, entries[i].count);
    }
}

TEST(ShiftJisTexts, EveryLayerTitleIsShiftJisAndFitsItsBuffer) {
    ExpectTitlesFit(materialLayerScheme, materialLayerSchemeCount);
    ExpectTitlesFit(tokyo23LayerScheme, tokyo23LayerSchemeCount);
    for (const char* name : plateoStringLayerNames) EXPECT_TRUE(Decode(932, name).has_value()) << name;
}

}  // namespace
