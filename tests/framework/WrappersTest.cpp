// The host string, file-path and artboard wrappers.

#include <unistd.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <utility>

#include "FrameworkFixture.h"
#include "IAIArtboards.h"
#include "IAIFilePath.h"
#include "IAIUnicodeString.h"

namespace {

class Wrappers : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        sAIUnicodeString = fake::UnicodeStringSuite();
        sAIFilePath = fake::FilePathSuite();
        sAIArtboard = fake::ArtboardSuite();
    }
    void TearDown() override {
        EXPECT_EQ(host().liveStrings, 0);
        EXPECT_EQ(host().livePaths, 0);
        EXPECT_EQ(host().liveArtboardObjects, 0);
        sAIUnicodeString = nullptr;
        sAIFilePath = nullptr;
        sAIArtboard = nullptr;
        FrameworkTest::TearDown();
    }
};

// "あいう" is three 3-byte characters: a buffer of size n holds the whole
// characters that fit in n - 1 bytes, and nothing is written past it.
struct Cut {
    std::size_t size;
    const char* expected;
};
void PrintTo(const Cut& c, std::ostream* os) { *os << c.size << " bytes -> \"" << c.expected << '"'; }

class BufferCut : public Wrappers, public testing::WithParamInterface<Cut> {};

TEST_P(BufferCut, NeverOverflowsNorSplitsACharacter) {
    const ai::UnicodeString text("あいう", kAIUTF8CharacterEncoding);
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);

    const std::size_t written = text.getToBuffer(buffer, GetParam().size, kAIUTF8CharacterEncoding);

    EXPECT_EQ(std::string(buffer), GetParam().expected);
    EXPECT_EQ(written, std::strlen(GetParam().expected));
    for (std::size_t i = GetParam().size; i < sizeof buffer; ++i)
        ASSERT_EQ(buffer[i], '#') << "byte " << i << " written";
}

INSTANTIATE_TEST_SUITE_P(Sizes, BufferCut,
                         testing::Values(Cut{1, ""}, Cut{3, ""}, Cut{4, "あ"}, Cut{6, "あ"}, Cut{7, "あい"},
                                         Cut{9, "あい"}, Cut{10, "あいう"}, Cut{16, "あいう"}),
                         [](const auto& info) { return "Size" + std::to_string(info.param.size); });

TEST_F(Wrappers, NoBufferOrNoRoomWritesNothing) {
    const ai::UnicodeString text("abc", kAIUTF8CharacterEncoding);
    char byte = '#';
    EXPECT_EQ(text.getToBuffer(&byte, 0, kAIUTF8CharacterEncoding), 0u);
    EXPECT_EQ(byte, '#');
    EXPECT_EQ(text.getToBuffer(nullptr, 10, kAIUTF8CharacterEncoding), 0u);
}

// A host that claims to have written more than the buffer holds must not make
// the wrapper terminate outside it.
TEST_F(Wrappers, AnOverstatedCountIsKeptInsideTheBuffer) {
    host().overstateWritten = true;
    const ai::UnicodeString text("abcdef", kAIUTF8CharacterEncoding);
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);

    EXPECT_EQ(text.getToBuffer(buffer, 4, kAIUTF8CharacterEncoding), 3u);
    EXPECT_EQ(std::string(buffer), "abc");
    EXPECT_EQ(buffer[4], '#');
}

TEST_F(Wrappers, AFailedConversionThrowsAndLeavesAnEmptyBuffer) {
    const ai::UnicodeString text("abc", kAIUTF8CharacterEncoding);
    char buffer[8] = "xxxxxxx";
    try {
        text.getToBuffer(buffer, sizeof buffer, kAIShiftJISCharacterEncoding);
        FAIL() << "no exception";
    } catch (const ai::Error& e) {
        EXPECT_EQ(e.GetErr(), kBadParameterErr);
    }
    EXPECT_EQ(buffer[0], '\0');
}

TEST_F(Wrappers, StringsRoundTripAndCompare) {
    const ai::UnicodeString a = ai::UnicodeString::FromUTF8("道路");
    EXPECT_EQ(a.as_UTF8(), "道路");
    EXPECT_EQ(a.length(), 2u);
    EXPECT_EQ(a.as_UTF16(), u"道路");

    const ai::UnicodeString pair = ai::UnicodeString::FromUTF16(u"a\U0001F5FAb");
    EXPECT_EQ(pair.length(), 4u);
    EXPECT_EQ(pair.as_UTF8(), "a\U0001F5FAb");

    EXPECT_EQ(
        ai::UnicodeString("abc", kAIUTF8CharacterEncoding).compare(ai::UnicodeString("abd", kAIUTF8CharacterEncoding)),
        -1);
    EXPECT_EQ(
        ai::UnicodeString("abd", kAIUTF8CharacterEncoding).compare(ai::UnicodeString("abc", kAIUTF8CharacterEncoding)),
        1);
    EXPECT_EQ(ai::UnicodeString("abc", kAIUTF8CharacterEncoding), ai::UnicodeString::FromUTF8("abc"));
    EXPECT_TRUE(ai::UnicodeString().empty());
    EXPECT_EQ(ai::UnicodeString(static_cast<const char*>(nullptr), kAIUTF8CharacterEncoding).as_UTF8(), "");
}

TEST_F(Wrappers, AppendAssignAndCopiesAreIndependent) {
    ai::UnicodeString text("Quiltor", kAIUTF8CharacterEncoding);
    ai::UnicodeString copy(text);
    text += ai::UnicodeString(" アジャスト", kAIUTF8CharacterEncoding);
    EXPECT_EQ(text.as_UTF8(), "Quiltor アジャスト");
    EXPECT_EQ(copy.as_UTF8(), "Quiltor");

    copy = text;
    EXPECT_EQ(copy.as_UTF8(), "Quiltor アジャスト");
    text.append(text);
    EXPECT_EQ(text.as_UTF8(), "Quiltor アジャストQuiltor アジャスト");

    ai::UnicodeString moved(std::move(copy));
    EXPECT_EQ(moved.as_UTF8(), "Quiltor アジャスト");
    // A moved-from string is still usable, as the empty string.
    EXPECT_EQ(copy.as_UTF8(), "");  // NOLINT(bugprone-use-after-move)
    copy = ai::UnicodeString("again", kAIUTF8CharacterEncoding);
    EXPECT_EQ(copy.as_UTF8(), "again");
}

TEST_F(Wrappers, InvalidBytesThrowTheHostCode) {
    try {
        ai::UnicodeString bad("\xff\xfe", kAIUTF8CharacterEncoding);
        FAIL() << "no exception";
    } catch (const ai::Error& e) {
        EXPECT_EQ(e.GetErr(), kBadParameterErr);
    }
}

TEST_F(Wrappers, NoStringSuiteThrows) {
    sAIUnicodeString = nullptr;
    try {
        ai::UnicodeString text("x", kAIUTF8CharacterEncoding);
        FAIL() << "no exception";
    } catch (const ai::Error& e) {
        EXPECT_EQ(e.GetErr(), kSPSuiteNotFoundError);
    }
}

TEST_F(Wrappers, FilePathParts) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("quiltor_framework_path_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "533945_010000.ai";
    std::ofstream(file) << "tile";

    const ai::FilePath path(ai::UnicodeString(file.string(), kAIUTF8CharacterEncoding));
    bool isFile = false;
    EXPECT_TRUE(path.Exists(&isFile));
    EXPECT_TRUE(isFile);
    EXPECT_EQ(path.GetFileName().as_UTF8(), "533945_010000.ai");
    const ai::FilePath parent = path.GetDirectory();
    EXPECT_EQ(parent.GetFullPath().as_UTF8(), dir.string());
    EXPECT_TRUE(parent.Exists(&isFile));
    EXPECT_FALSE(isFile);

    ai::FilePath copy(path);
    copy.Set(ai::UnicodeString((dir / "missing.ai").string(), kAIUTF8CharacterEncoding));
    EXPECT_FALSE(copy.Exists());
    EXPECT_TRUE(path.Exists());

    std::filesystem::remove_all(dir);
}

TEST_F(Wrappers, ArtboardsAreGivenBack) {
    {
        const ai::ArtboardList list;
        EXPECT_EQ(list.GetCount(), 1);
        EXPECT_EQ(list.GetActive(), 0);
        const ai::ArtboardProperties properties = list.GetArtboardProperties(list.GetActive());
        const AIRealRect bounds = properties.GetPosition();
        EXPECT_EQ(bounds.right, 100.0f);
        EXPECT_EQ(bounds.top, 50.0f);
        EXPECT_THROW(list.GetArtboardProperties(1), ai::Error);
    }
    host().failures["GetArtboardList"] = kNoDocumentErr;
    EXPECT_THROW(ai::ArtboardList(), ai::Error);
}

}  // namespace
