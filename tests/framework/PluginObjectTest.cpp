// A deliverable's own plug-in object, driven through its PluginMain: menus,
// the about box, its suite list, and its Message wrapper. Built once per
// deliverable.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "FakeHost.h"
#include "Plugin.h"
#include "Session.h"
#include "Suites.h"

namespace {

#if defined(QUILTOR_TEST_SELECTMERGE)
constexpr const char* kPluginName = "KTRPluginSelectMerge";
constexpr const char* kMainGroup = "Open Document";
constexpr const char* kMainText = "Quiltor セレクトマージ";
constexpr const char* kEntryText = "Quiltor セレクトマージ ...";
constexpr const char* kTitle = "Orvela Plateo.ai Quiltware Quiltor セレクトマージ";
constexpr const char* kVersionLine = "Quiltor セレクトマージ Version 1.00 CS6";
const std::vector<std::string> kOwnSuites = {"AI Panel Flyout Menu Suite"};
#elif defined(QUILTOR_TEST_ADJUST)
constexpr const char* kPluginName = "KTRPluginAdjust";
constexpr const char* kMainGroup = "Objects";
constexpr const char* kMainText = "Quiltor アジャスト";
constexpr const char* kEntryText = "Quiltor アジャスト ...";
constexpr const char* kTitle = "Orvela Plateo.ai Quiltware Quiltor アジャスト";
constexpr const char* kVersionLine = "Quiltor アジャスト Version 1.00 CS6";
const std::vector<std::string> kOwnSuites = {"AI Pathfinder Suite", "AI Transform Art Suite"};
#else
#error "build for one deliverable"
#endif

constexpr const char* kSubmenu = "Orvela Plateo.ai Quiltware について...";

// Reads the error the object last recorded, without widening its interface.
struct Peek : Plugin {
    static constexpr auto lastError = &Peek::fLastError;
};

class PluginObject : public testing::Test {
protected:
    void SetUp() override { fake::Reset(); }
    fake::Host& host() { return fake::Get(); }

    AIMenuItemHandle MainItem() const {
        const auto items = fake::Get().ItemsOf(kMainGroup);
        return items.size() == 1 ? fake::HandleOf(items[0]) : nullptr;
    }
    AIMenuItemHandle AboutEntry() const {
        const auto items = fake::Get().ItemsOf(kSubmenu);
        return items.size() == 1 ? fake::HandleOf(items[0]) : nullptr;
    }
    static int32_t LastError(const fake::Session& s) { return s.object()->*Peek::lastError; }
};

TEST_F(PluginObject, StartupInstallsBothMenuItems) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);

    EXPECT_EQ(host().pluginName, kPluginName);
    ASSERT_EQ(host().notifiers.size(), 1u);
    EXPECT_EQ(host().notifiers[0].first, std::string(kPluginName) + " App Started Notifier");

    const auto main = host().ItemsOf(kMainGroup);
    ASSERT_EQ(main.size(), 1u);
    EXPECT_EQ(main[0]->text, kMainText);
    EXPECT_EQ(main[0]->itemName, "SDKObject");
    EXPECT_EQ(main[0]->options, 0);
    EXPECT_EQ(main[0]->plugin, session.self);

    const auto about = host().ItemsOf(kAboutMenuGroup);
    ASSERT_EQ(about.size(), 1u);
    EXPECT_EQ(about[0]->text, kSubmenu);
    const auto entries = host().ItemsOf(kSubmenu);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0]->text, kEntryText);
}

TEST_F(PluginObject, ItsOwnSuitesAreAcquiredLast) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);

    // Seven basic suites, the 26 every plug-in imports, then its own.
    ASSERT_GE(host().acquired.size(), 33u + kOwnSuites.size());
    const std::vector<std::string> tail(host().acquired.begin() + 33, host().acquired.begin() + 33 + kOwnSuites.size());
    EXPECT_EQ(tail, kOwnSuites);
    EXPECT_EQ(host().acquired[32], "AI Panel Suite");
}

TEST_F(PluginObject, WhenASecondPluginStartsTheSubmenuIsShared) {
    // Another plug-in of the family started first and made the submenu.
    host().items.push_back({kAboutMenuGroup, "", kSubmenu, 0, nullptr});
    host().groups.push_back({kSubmenu, 1, &host().items.back()});
    host().items.push_back({kSubmenu, "", "Other ...", 0, nullptr});

    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);

    EXPECT_EQ(host().GroupCount(kSubmenu), 1);
    EXPECT_EQ(host().ItemsOf(kAboutMenuGroup).size(), 1u);
    const auto entries = host().ItemsOf(kSubmenu);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1]->text, kEntryText);
}

TEST_F(PluginObject, AboutBoxBeginsWithTitleEmptyLineAndVersion) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);

    EXPECT_EQ(session.Choose(AboutEntry()), kNoErr);

    ASSERT_EQ(host().alerts.size(), 1u);
    std::istringstream box(host().alerts[0]);
    std::vector<std::string> lines;
    for (std::string line; std::getline(box, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 6u) << host().alerts[0];
    EXPECT_EQ(lines[0], kTitle);
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], kVersionLine);
    EXPECT_NE(lines[3].find("orvela-plateo"), std::string::npos);
    EXPECT_NE(lines[4].find("Orvela Plateo.ai Quiltware"), std::string::npos);
    EXPECT_EQ(lines[5], "");
    // Each text went through a 260-byte buffer whole.
    EXPECT_LT(host().alerts[0].size() - std::string(kTitle).size() - 2, 260u);
    EXPECT_EQ(host().alerts[0].substr(host().alerts[0].size() - 2), "\n\n");
}

// The main item's run needs documents, which this fake does not have; the
// tests through the substitute host choose it.
TEST_F(PluginObject, OtherItemsDoNothingAndAnswerZero) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);

    int foreign = 0;
    EXPECT_EQ(session.Choose(reinterpret_cast<AIMenuItemHandle>(&foreign)), kNoErr);
    EXPECT_EQ(session.Choose(nullptr), kNoErr);
    EXPECT_TRUE(host().alerts.empty());
}

TEST_F(PluginObject, UnknownMessagesAnswerZeroQuietly) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);

    testing::internal::CaptureStderr();
    EXPECT_EQ(session.Send("Nobody", "Nothing"), kNoErr);
    EXPECT_EQ(session.Send(kCallerAIMenu, "AI Bogus"), kNoErr);
    EXPECT_EQ(session.Send(kSPInterfaceCaller, kSPInterfaceAboutSelector), kNoErr);
    EXPECT_EQ(session.Send(kCallerAIMenu, kSelectorAIUpdateMenuItem), kNoErr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(LastError(session), kNoErr);
}

TEST_F(PluginObject, ErrorsThrownInARunAreReturnedAndRecorded) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);

    // A code the framework filters comes back to the host but is not recorded.
    host().failures["SetFromBytes"] = kBadFileFormatErr;
    EXPECT_EQ(session.Choose(AboutEntry()), kBadFileFormatErr);
    EXPECT_EQ(LastError(session), kNoErr);

    const AIErr code = AI_FOURCC('S', 'T', 'R', '!');
    host().failures["SetFromBytes"] = code;
    EXPECT_EQ(session.Choose(AboutEntry()), code);
    EXPECT_EQ(LastError(session), code);

    host().failures.clear();
    host().alertThrows = true;
    EXPECT_EQ(session.Choose(AboutEntry()), kCantHappenErr);
    EXPECT_EQ(LastError(session), kCantHappenErr);
}

TEST_F(PluginObject, MissingOwnSuiteFailsStartup) {
    for (const std::string& suite : kOwnSuites) {
        fake::Reset().missing.insert(suite);
        fake::Session session;
        EXPECT_EQ(session.Startup(), kSPSuiteNotFoundError) << suite;
        EXPECT_EQ(session.globals, nullptr);
        EXPECT_EQ(host().HeldCount(), 0);
        EXPECT_TRUE(host().items.empty() || host().ItemsOf(kMainGroup).empty());
    }
}

TEST_F(PluginObject, FailingMainItemFailsStartupAndGivesEverythingBack) {
    const AIErr code = AI_FOURCC('M', 'E', 'N', 'U');
    host().failures[std::string("AddMenuItem@") + kMainGroup] = code;
    fake::Session session;

    EXPECT_EQ(session.Startup(), code);
    EXPECT_EQ(session.globals, nullptr);
    EXPECT_EQ(host().HeldCount(), 0);
    EXPECT_EQ(host().badReleases, 0);
    EXPECT_EQ(host().accessRefs, 0);
    EXPECT_EQ(host().liveStrings, 0);
}

TEST_F(PluginObject, FailingAboutEntryDoesNotStopStartup) {
    host().failures["AddMenuGroupAsSubMenu"] = AI_FOURCC('M', 'E', 'N', 'U');
    fake::Session session;

    ASSERT_EQ(session.Startup(), kNoErr);
    EXPECT_NE(MainItem(), nullptr);
    EXPECT_EQ(AboutEntry(), nullptr);
    EXPECT_EQ(session.Choose(nullptr), kNoErr);
    EXPECT_TRUE(host().alerts.empty());
}

TEST_F(PluginObject, UnloadReloadAndShutdown) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    const AIMenuItemHandle about = AboutEntry();

    ASSERT_EQ(session.Unload(), kNoErr);
    EXPECT_EQ(host().HeldCount(), 0);
    EXPECT_EQ(session.Choose(about), kNoErr);
    EXPECT_TRUE(host().alerts.empty());

    ASSERT_EQ(session.Reload(), kNoErr);
    EXPECT_EQ(session.Choose(about), kNoErr);
    EXPECT_EQ(host().alerts.size(), 1u);

    ASSERT_EQ(session.Shutdown(), kNoErr);
    EXPECT_EQ(session.globals, nullptr);
    EXPECT_EQ(host().HeldCount(), 0);
    EXPECT_EQ(Suites::fAcquiredCount, 0);
    EXPECT_EQ(host().liveStrings, 0);
}

}  // namespace
