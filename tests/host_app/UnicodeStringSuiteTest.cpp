#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "core/HostStrings.h"

namespace quiltor::host {
namespace {

// Texts the plug-ins show or look for, with the awkward characters of Shift-JIS among them:
// half-width katakana (one byte each), full-width letters and brackets, the ideographic space.
const char* const kTexts[] = {
    "Quiltor セレクトマージ",
    "Orvela Plateo.ai Quiltware について...",
    "作業が完了しました。",
    "コピー元のレイヤーにペースト",
    "Quiltor セレクトマージ - フォルダ選択",
    "Quiltor セレクトマージに対応した Adobe Illustrator ArtWork があるフォルダの選択を行って下さい。",
    "KTR64分割メッシュ(縮尺 1/%d)を選択中",
    "ｱｰﾄﾎﾞｰﾄﾞよりも大きいですが合成しますか?\nｱｰﾄﾎﾞｰﾄﾞ: %.3f×%.3f[mm]\n\u3000合成後: %.3f×%.3f[mm]",
    "ＩＣ・ＪＣ・ＳＡ・ＰＡ",
    "『%s』\nレイヤのメッシュ間で隣接する線を合成中...",
    "[追加]≫",
    "私鉄・第３セクター（高架）",
    "",
};

class UnicodeStringSuiteTest : public testing::HostTest {
protected:
    void SetUp() override {
        s = acquire<AIUnicodeStringSuite>(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);
        ASSERT_NE(s, nullptr);
        ASSERT_EQ(s->Initialize(&str), kNoErr);
    }
    void TearDown() override {
        if (s) s->Destroy(str);
    }

    std::u16string text() const { return str->text; }

    const AIUnicodeStringSuite* s = nullptr;
    AIUnicodeStringRef str = nullptr;
};

// The byte length of each character of text in the encoding, worked out one character at a time.
std::vector<size_t> CharacterSizes(const std::string& utf8, int32_t encoding) {
    std::vector<size_t> sizes;
    std::u16string units = *DecodeUtf8(utf8);
    for (size_t i = 0; i < units.size(); ++i) {
        size_t n = (units[i] >= 0xD800 && units[i] <= 0xDBFF) ? 2 : 1;
        sizes.push_back(EncodeBytes(units.substr(i, n), encoding)->size());
        i += n - 1;
    }
    return sizes;
}

TEST_F(UnicodeStringSuiteTest, BufferOfEverySizeHoldsWholeCharactersOnly) {
    constexpr char kGuard = '\x5A';
    for (int32_t encoding : {kAIUTF8CharacterEncoding, kAIShiftJISCharacterEncoding}) {
        for (const char* utf8 : kTexts) {
            ASSERT_EQ(s->SetFromBytes(str, utf8, -1, kAIUTF8CharacterEncoding), kNoErr) << utf8;
            const std::string full = *EncodeBytes(text(), encoding);
            const std::vector<size_t> sizes = CharacterSizes(utf8, encoding);
            for (int32_t size = 0; size <= static_cast<int32_t>(full.size()) + 2; ++size) {
                SCOPED_TRACE(std::string(utf8) + " encoding " + std::to_string(encoding) + " size " +
                             std::to_string(size));
                std::vector<char> buffer(static_cast<size_t>(size) + 8, kGuard);
                int32_t written = -1;
                AIErr error = s->GetToBuffer(str, buffer.data(), size, encoding, &written);

                size_t expected = 0;  // the whole characters that fit before the terminator
                for (size_t n : sizes) {
                    if (size < 1 || expected + n > static_cast<size_t>(size - 1)) break;
                    expected += n;
                }
                EXPECT_EQ(written, static_cast<int32_t>(expected));
                for (size_t i = static_cast<size_t>(size); i < buffer.size(); ++i) ASSERT_EQ(buffer[i], kGuard);
                if (size >= 1) {
                    EXPECT_EQ(buffer[expected], '\0');
                    EXPECT_EQ(std::string(buffer.data(), expected), full.substr(0, expected));
                }
                bool whole = size >= 1 && expected == full.size();
                EXPECT_EQ(error, whole ? kNoErr : kBufferTooSmallErr);
            }
        }
    }
}

TEST_F(UnicodeStringSuiteTest, JapaneseTextsSurviveShiftJisBothWays) {
    for (const char* utf8 : kTexts) {
        SCOPED_TRACE(utf8);
        ASSERT_EQ(s->SetFromBytes(str, utf8, -1, kAIUTF8CharacterEncoding), kNoErr);
        char sjis[512];
        ASSERT_EQ(s->GetToBuffer(str, sjis, sizeof sjis, kAIShiftJISCharacterEncoding, nullptr), kNoErr);
        EXPECT_EQ(std::strchr(sjis, '?') != nullptr, std::strchr(utf8, '?') != nullptr);

        ASSERT_EQ(s->SetFromBytes(str, "reset", -1, kAIUTF8CharacterEncoding), kNoErr);
        ASSERT_EQ(s->SetFromBytes(str, sjis, -1, kAIShiftJISCharacterEncoding), kNoErr);
        char back[512];
        ASSERT_EQ(s->GetToBuffer(str, back, sizeof back, kAIUTF8CharacterEncoding, nullptr), kNoErr);
        EXPECT_STREQ(back, utf8);
    }
}

TEST_F(UnicodeStringSuiteTest, ShiftJisBytesAreTheWindowsOnes) {
    struct Case {
        const char* utf8;
        std::string sjis;
    } cases[] = {
        {"テスト", "\x83\x65\x83\x58\x83\x67"},
        {"ｱ", "\xB1"},
        {"×", "\x81\x7E"},
        {"～", "\x81\x60"},  // the full-width tilde, as Windows maps 0x8160
        {"\\~", "\\~"},      // ASCII stays ASCII
    };
    for (const Case& c : cases) {
        ASSERT_EQ(s->SetFromBytes(str, c.utf8, -1, kAIUTF8CharacterEncoding), kNoErr) << c.utf8;
        char buffer[32];
        int32_t written = 0;
        ASSERT_EQ(s->GetToBuffer(str, buffer, sizeof buffer, kAIShiftJISCharacterEncoding, &written), kNoErr);
        EXPECT_EQ(std::string(buffer, static_cast<size_t>(written)), c.sjis) << c.utf8;
    }
}

TEST_F(UnicodeStringSuiteTest, CharactersShiftJisLacksBecomeOneQuestionMarkEach) {
    ASSERT_EQ(s->SetFromBytes(str, "a😀b한c", -1, kAIUTF8CharacterEncoding), kNoErr);
    char buffer[16];
    ASSERT_EQ(s->GetToBuffer(str, buffer, sizeof buffer, kAIShiftJISCharacterEncoding, nullptr), kNoErr);
    EXPECT_STREQ(buffer, "a?b?c");
}

TEST_F(UnicodeStringSuiteTest, InvalidBytesAreRefusedAndLeaveTheStringAlone) {
    ASSERT_EQ(s->SetFromBytes(str, "前", -1, kAIUTF8CharacterEncoding), kNoErr);
    struct Case {
        std::string bytes;
        int32_t encoding;
    } cases[] = {
        {"\xC3\x28", kAIUTF8CharacterEncoding},          // continuation missing
        {"\xC0\xAF", kAIUTF8CharacterEncoding},          // overlong
        {"\xED\xA0\x80", kAIUTF8CharacterEncoding},      // a surrogate
        {"\xF4\x90\x80\x80", kAIUTF8CharacterEncoding},  // beyond U+10FFFF
        {"\xE3\x81", kAIUTF8CharacterEncoding},          // cut short
        {"\x83", kAIShiftJISCharacterEncoding},          // lead byte alone
        {"abc", 99},                                     // no such encoding
    };
    for (const Case& c : cases) {
        EXPECT_EQ(s->SetFromBytes(str, c.bytes.data(), static_cast<int32_t>(c.bytes.size()), c.encoding),
                  kBadParameterErr);
        EXPECT_EQ(text(), u"前");
    }
    EXPECT_EQ(s->SetFromBytes(str, "abc", -2, kAIUTF8CharacterEncoding), kBadParameterErr);
    EXPECT_EQ(s->SetFromBytes(str, nullptr, 3, kAIUTF8CharacterEncoding), kBadParameterErr);
    EXPECT_EQ(s->SetFromBytes(str, "abcdef", 3, kAIUTF8CharacterEncoding), kNoErr);
    EXPECT_EQ(text(), u"abc");
}

TEST_F(UnicodeStringSuiteTest, Utf16NeverSplitsASurrogatePair) {
    const char16_t units[] = u"a😀";  // a, high, low
    ASSERT_EQ(s->SetFromUTF16(str, reinterpret_cast<const uint16_t*>(units), -1), kNoErr);
    int32_t length = 0;
    ASSERT_EQ(s->Length(str, &length), kNoErr);
    EXPECT_EQ(length, 3);

    uint16_t out[3] = {};
    EXPECT_EQ(s->GetUTF16(str, out, 2, &length), kBufferTooSmallErr);
    EXPECT_EQ(length, 1);
    EXPECT_EQ(s->GetUTF16(str, out, 3, &length), kNoErr);
    EXPECT_EQ(length, 3);

    // Bytes: a (2) + pair (4) + terminator (2).
    char bytes[8];
    int32_t written = 0;
    EXPECT_EQ(s->GetToBuffer(str, bytes, 7, kAIUTF16CharacterEncoding, &written), kBufferTooSmallErr);
    EXPECT_EQ(written, 2);
    EXPECT_EQ(s->GetToBuffer(str, bytes, 8, kAIUTF16CharacterEncoding, &written), kNoErr);
    EXPECT_EQ(written, 6);
}

TEST_F(UnicodeStringSuiteTest, CompareAppendAssign) {
    AIUnicodeStringRef other = nullptr;
    ASSERT_EQ(s->Initialize(&other), kNoErr);
    s->SetFromBytes(str, "レイヤー", -1, kAIUTF8CharacterEncoding);
    s->SetFromBytes(other, "レイヤー 1", -1, kAIUTF8CharacterEncoding);
    int32_t order = 0;
    ASSERT_EQ(s->Compare(str, other, &order), kNoErr);
    EXPECT_LT(order, 0);
    s->Append(str, str);  // onto itself
    EXPECT_EQ(text(), u"レイヤーレイヤー");
    s->Assign(str, other);
    ASSERT_EQ(s->Compare(str, other, &order), kNoErr);
    EXPECT_EQ(order, 0);
    s->Destroy(other);
}

TEST_F(UnicodeStringSuiteTest, BadArgumentsAreRefused) {
    char buffer[4];
    EXPECT_EQ(s->GetToBuffer(nullptr, buffer, 4, kAIUTF8CharacterEncoding, nullptr), kBadParameterErr);
    EXPECT_EQ(s->GetToBuffer(str, nullptr, 4, kAIUTF8CharacterEncoding, nullptr), kBadParameterErr);
    EXPECT_EQ(s->GetToBuffer(str, buffer, -1, kAIUTF8CharacterEncoding, nullptr), kBadParameterErr);
    EXPECT_EQ(s->GetToBuffer(str, nullptr, 0, kAIUTF8CharacterEncoding, nullptr), kBufferTooSmallErr);
    EXPECT_EQ(s->Initialize(nullptr), kBadParameterErr);
    EXPECT_EQ(s->Destroy(nullptr), kNoErr);
}

TEST(DescribeErrorTest, PrintableCodesAsCharacters) {
    EXPECT_EQ(DescribeError(kCanceledErr), "'CANT'");
    EXPECT_EQ(DescribeError(kSPSuiteNotFoundError), "'S!Fd'");
    EXPECT_EQ(DescribeError(361), "361");
    EXPECT_EQ(DescribeError(0), "0");
}

}  // namespace
}  // namespace quiltor::host
