// The About submenu shared by the plug-ins of the family, and the about box.

#include <ostream>
#include <string>

#include "FrameworkFixture.h"
#include "IAIUnicodeString.h"
#include "SDKAboutPluginsHelper.h"

namespace {

constexpr const char* kGroup = "Orvela Plateo.ai Quiltware について...";

class AboutHelper : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        sSPBasic = fake::Basic();
        sAIUnicodeString = fake::UnicodeStringSuite();
    }
    void TearDown() override {
        sAIUnicodeString = nullptr;
        sSPBasic = nullptr;
        FrameworkTest::TearDown();
    }

    AIErr Add(int plugin, const char* entry, AIMenuItemHandle* item) {
        SPInterfaceMessage message{};
        message.d.self = reinterpret_cast<SPPluginRef>(static_cast<uintptr_t>(0x1000 * plugin));
        SDKAboutPluginsHelper helper;
        return helper.AddAboutPluginsMenuItem(&message, kGroup, ai::UnicodeString(kGroup, kAIUTF8CharacterEncoding),
                                              entry, item);
    }
};

TEST_F(AboutHelper, TwoPluginsShareOneSubmenu) {
    AIMenuItemHandle first = nullptr, second = nullptr;
    ASSERT_EQ(Add(1, "Quiltor セレクトマージ ...", &first), kNoErr);
    ASSERT_EQ(Add(2, "Quiltor アジャスト ...", &second), kNoErr);

    EXPECT_EQ(host().GroupCount(kGroup), 1);
    const auto about = host().ItemsOf(kAboutMenuGroup);
    ASSERT_EQ(about.size(), 1u);
    EXPECT_EQ(about[0]->text, kGroup);
    EXPECT_EQ(about[0]->itemName, "");
    EXPECT_EQ(about[0]->options, 0);
    EXPECT_EQ(host().groups.back().options, 1);
    EXPECT_EQ(host().groups.back().parent, about[0]);

    const auto entries = host().ItemsOf(kGroup);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0]->text, "Quiltor セレクトマージ ...");
    EXPECT_EQ(entries[1]->text, "Quiltor アジャスト ...");
    EXPECT_EQ(fake::HandleOf(entries[0]), first);
    EXPECT_EQ(fake::HandleOf(entries[1]), second);

    // The helper borrows the menu suite per call and keeps nothing.
    EXPECT_EQ(host().HeldCount(), 0);
    EXPECT_EQ(host().badReleases, 0);
    EXPECT_EQ(host().liveStrings, 0);
}

struct AddFailure {
    const char* name;
    const char* missingSuite;
    const char* failingCall;
};
void PrintTo(const AddFailure& f, std::ostream* os) { *os << f.name; }

class AboutHelperFailure : public AboutHelper, public testing::WithParamInterface<AddFailure> {};

TEST_P(AboutHelperFailure, NoEntryAndTheErrorIsReturned) {
    const AIErr code = AI_FOURCC('M', 'E', 'N', 'U');
    if (GetParam().missingSuite != nullptr) host().missing.insert(GetParam().missingSuite);
    if (GetParam().failingCall != nullptr) host().failures[GetParam().failingCall] = code;

    AIMenuItemHandle item = nullptr;
    const AIErr error = Add(1, "Quiltor アジャスト ...", &item);

    EXPECT_EQ(error, GetParam().missingSuite != nullptr ? kSPSuiteNotFoundError : code);
    EXPECT_EQ(item, nullptr);
    EXPECT_TRUE(host().ItemsOf(kGroup).empty());
    EXPECT_EQ(host().HeldCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, AboutHelperFailure,
                         testing::Values(AddFailure{"MenuSuiteMissing", "AI Menu Suite", nullptr},
                                         AddFailure{"CountingGroups", nullptr, "CountMenuGroups"},
                                         AddFailure{"AddingToAbout", nullptr, "AddMenuItem@About"},
                                         AddFailure{"MakingTheSubmenu", nullptr, "AddMenuGroupAsSubMenu"},
                                         AddFailure{"AddingTheEntry", nullptr,
                                                    "AddMenuItem@Orvela Plateo.ai Quiltware について..."}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AboutHelper, GroupNamesCompareByteForByte) {
    SDKAboutPluginsHelper helper;
    bool exists = true;
    EXPECT_EQ(helper.GroupExists("Open Document", &exists), kNoErr);
    EXPECT_TRUE(exists);
    EXPECT_EQ(helper.GroupExists("Open Document ", &exists), kNoErr);
    EXPECT_FALSE(exists);
    EXPECT_EQ(helper.GroupExists("open document", &exists), kNoErr);
    EXPECT_FALSE(exists);
    EXPECT_EQ(host().HeldCount(), 0);
}

TEST_F(AboutHelper, AboutBoxIsTitleEmptyLineThenText) {
    SDKAboutPluginsHelper helper;
    helper.PopAboutBox(nullptr, "Title", "Version line\nSecond\n\n");

    ASSERT_EQ(host().alerts.size(), 1u);
    EXPECT_EQ(host().alerts[0], "Title\n\nVersion line\nSecond\n\n");
    EXPECT_EQ(host().HeldCount(), 0);
}

TEST_F(AboutHelper, NoUserSuiteNoAboutBox) {
    host().missing.insert("AI User Suite");
    SDKAboutPluginsHelper helper;
    helper.PopAboutBox(nullptr, "Title", "Text");
    EXPECT_TRUE(host().alerts.empty());
    EXPECT_EQ(host().HeldCount(), 0);
}

}  // namespace
