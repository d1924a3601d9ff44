// The plug-in object's life: start-up, unload, reload, shutdown, and the lock.

#include <cctype>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "FrameworkFixture.h"

namespace {

// The basic suites come first, in this order; the plug-in's own come last.
const std::vector<std::string> kBasicSuites = {
    "SP Access Suite", "SP Plug-ins Suite",  "AI Notifier Suite", "AI Context Suite",
    "AI User Suite",   "AI File Path Suite", "AI Folders Suite",
};
constexpr const char* kOwnSuite = "Recording Test Suite";

class Lifecycle : public FrameworkTest {};

TEST(SuiteVersionTest, WindowsBuildsAskByThePlainNumberPlusTheirStep) {
    const struct {
        int32_t version, step, asked;
    } cases[] = {{1012, 0, 12}, {1012, 1, 13}, {1010, 1, 11}, {1001, 0, 1}, {1000, 1, 1}, {3, 1, 3}, {4, 0, 4}};
    for (const auto& c : cases) EXPECT_EQ(WindowsSuiteVersion(c.version, c.step), c.asked) << c.version;
}

TEST_F(Lifecycle, StartupAcquiresNamesRegistersAndLocks) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);

    ASSERT_NE(session.object(), nullptr);
    EXPECT_NE(session.object()->GetSuites(), nullptr);
    const std::vector<std::string>& acquired = host().acquired;
    ASSERT_GT(acquired.size(), kBasicSuites.size());
    EXPECT_EQ(std::vector<std::string>(acquired.begin(), acquired.begin() + kBasicSuites.size()), kBasicSuites);
    EXPECT_EQ(acquired.back(), kOwnSuite);
    EXPECT_EQ(std::set<std::string>(acquired.begin(), acquired.end()).size(), acquired.size());
    EXPECT_EQ(host().HeldCount(), static_cast<int>(acquired.size()));
    EXPECT_EQ(Suites::fAcquiredCount, 1);
    EXPECT_EQ(host().pluginName, "RecordingPlugin");
    ASSERT_EQ(host().notifiers.size(), 1u);
    EXPECT_EQ(host().notifiers[0].first, "RecordingPlugin App Started Notifier");
    EXPECT_EQ(host().notifiers[0].second, kAIApplicationStartedNotifier);
    EXPECT_EQ(host().accessRefs, 1);
    EXPECT_EQ(Object(session)->lockCount(), 1);
    EXPECT_EQ(script().calls, (std::vector<std::string>{"StartupPlugin", "SetGlobal", "AllocateSuiteTables",
                                                        "FillSuiteTables", "AcquireOptionalSuites"}));
}

TEST_F(Lifecycle, ShutdownReleasesEverySuiteAndDestroysTheObject) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);

    EXPECT_EQ(session.Shutdown(), kNoErr);
    EXPECT_EQ(session.globals, nullptr);
    EXPECT_EQ(script().destroyed, 1);
    EXPECT_EQ(host().HeldCount(), 0);
    EXPECT_EQ(host().badReleases, 0);
    EXPECT_EQ(Suites::fAcquiredCount, 0);
    EXPECT_EQ(sAIMenu, nullptr);
    EXPECT_EQ(sSPAccess, nullptr);
}

TEST_F(Lifecycle, ShutdownWithoutAnObjectIsHarmless) {
    fake::Session session;
    EXPECT_EQ(session.Shutdown(), kNoErr);
    EXPECT_EQ(script().constructed, 0);
}

// A missing suite anywhere in the lists: the first failure stops the
// acquisition, the object is gone and nothing stays held.
class MissingSuite : public FrameworkTest, public testing::WithParamInterface<std::string> {};

TEST_P(MissingSuite, StartupFailsCleanly) {
    host().missing.insert(GetParam());
    fake::Session session;

    EXPECT_EQ(session.Startup(), kSPSuiteNotFoundError);
    EXPECT_EQ(session.globals, nullptr);
    EXPECT_EQ(script().constructed, 1);
    EXPECT_EQ(script().destroyed, 1);
    EXPECT_EQ(host().acquired.back(), GetParam());
    EXPECT_EQ(host().HeldCount(), 0);
    EXPECT_EQ(host().badReleases, 0);
    EXPECT_EQ(host().accessRefs, 0);
    EXPECT_EQ(Suites::fAcquiredCount, 0);
    EXPECT_TRUE(host().notifiers.empty());
    EXPECT_TRUE(script().reports.empty());
}

INSTANTIATE_TEST_SUITE_P(Suites, MissingSuite,
                         testing::Values("SP Access Suite", "AI Folders Suite", "AI Menu Suite", "AI Panel Suite",
                                         "Recording Test Suite"),
                         [](const auto& info) {
                             std::string name;
                             for (char c : info.param)
                                 if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                             return name;
                         });

// A failure after the suites were acquired: the destroyed object must not keep
// suites or the lock.
struct LateFailure {
    const char* name;
    const char* hostCall;   // fake host call made to fail, or null
    const char* operation;  // recording operation made to fail, or null
};
void PrintTo(const LateFailure& f, std::ostream* os) { *os << f.name; }

class LateStartupFailure : public FrameworkTest, public testing::WithParamInterface<LateFailure> {};

TEST_P(LateStartupFailure, LeavesNothingHeld) {
    const AIErr code = AI_FOURCC('L', 'A', 'T', 'E');
    if (GetParam().hostCall != nullptr) host().failures[GetParam().hostCall] = code;
    if (GetParam().operation != nullptr) script().results[GetParam().operation] = code;
    fake::Session session;

    EXPECT_EQ(session.Startup(), code);
    EXPECT_EQ(session.globals, nullptr);
    EXPECT_EQ(script().destroyed, 1);
    EXPECT_EQ(host().HeldCount(), 0);
    EXPECT_EQ(host().accessRefs, 0);
    EXPECT_EQ(Suites::fAcquiredCount, 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, LateStartupFailure,
                         testing::Values(LateFailure{"SetPluginName", "SetPluginName", nullptr},
                                         LateFailure{"AddNotifier", "AddNotifier", nullptr},
                                         LateFailure{"AllocateSuiteTables", nullptr, "AllocateSuiteTables"},
                                         LateFailure{"AfterTheLock", nullptr, "StartupPlugin"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Lifecycle, AllocationFailureAnswersOutOfMemory) {
    script().failAllocation = true;
    fake::Session session;

    EXPECT_EQ(session.Startup(), kOutOfMemoryErr);
    EXPECT_EQ(session.globals, nullptr);
    EXPECT_TRUE(host().acquired.empty());
}

TEST_F(Lifecycle, ExceptionDuringStartupDestroysTheObject) {
    script().throws["AllocateSuiteTables"] = Throw::Foreign;
    fake::Session session;

    EXPECT_EQ(session.Startup(), kCantHappenErr);
    EXPECT_EQ(session.globals, nullptr);
    EXPECT_EQ(host().HeldCount(), 0);
}

// After an unload no suites are held: every message is answered 0 and
// reaches no operation until the reload.
TEST_F(Lifecycle, MessagesBetweenUnloadAndReloadAreIgnored) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    Plugin* const object = session.object();
    const std::size_t acquisitions = host().acquired.size();

    ASSERT_EQ(session.Unload(), kNoErr);
    EXPECT_EQ(session.object(), object);
    EXPECT_EQ(host().HeldCount(), 0);
    EXPECT_EQ(Suites::fAcquiredCount, 0);

    script().calls.clear();
    script().results["GoMenuItem"] = AI_FOURCC('N', 'O', 'P', 'E');
    testing::internal::CaptureStderr();
    EXPECT_EQ(session.Choose(nullptr), kNoErr);
    EXPECT_EQ(session.Notify(kAIApplicationStartedNotifier), kNoErr);
    EXPECT_EQ(session.Send(kSPCacheCaller, kSPPluginPurgeCachesSelector), kNoErr);
    EXPECT_EQ(session.Send("Nobody", "Nothing"), kNoErr);
    EXPECT_EQ(session.Unload(), kNoErr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(script().calls.empty());
    EXPECT_TRUE(script().reports.empty());
    EXPECT_EQ(host().acquired.size(), acquisitions);
}

TEST_F(Lifecycle, ReloadAcquiresAgainWithoutASecondLock) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    const int held = host().HeldCount();
    ASSERT_EQ(session.Unload(), kNoErr);
    script().calls.clear();

    EXPECT_EQ(session.Reload(), kNoErr);
    EXPECT_EQ(script().calls, (std::vector<std::string>{"ReloadPlugin", "SetGlobal", "FillSuiteTables"}));
    EXPECT_EQ(host().HeldCount(), held);
    EXPECT_EQ(host().accessRefs, 1);
    EXPECT_EQ(Suites::fAcquiredCount, 1);

    // The object still answers as the application class.
    script().calls.clear();
    script().results["GoMenuItem"] = kNoErr;
    EXPECT_EQ(session.Choose(nullptr), kNoErr);
    EXPECT_EQ(script().calls, (std::vector<std::string>{"AcquireOptionalSuites", "GoMenuItem"}));

    EXPECT_EQ(session.Shutdown(), kNoErr);
    EXPECT_EQ(host().HeldCount(), 0);
}

TEST_F(Lifecycle, AFailedReloadKeepsTheObjectQuiet) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    ASSERT_EQ(session.Unload(), kNoErr);
    host().missing.insert("AI Layer Suite");

    EXPECT_EQ(session.Reload(), kSPSuiteNotFoundError);
    EXPECT_EQ(session.object()->GetSuites(), nullptr);
    EXPECT_EQ(host().HeldCount(), 0);
    script().calls.clear();
    EXPECT_EQ(session.Choose(nullptr), kNoErr);
    EXPECT_TRUE(script().calls.empty());

    host().missing.clear();
    EXPECT_EQ(session.Reload(), kNoErr);
    EXPECT_NE(session.object()->GetSuites(), nullptr);
}

TEST_F(Lifecycle, ASecondSuitesObjectSharesTheAcquisition) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    const std::size_t calls = host().acquired.size();
    {
        Suites::fAcquiredCount = 2;
        Suites shared;
        EXPECT_EQ(shared.GetErr(), kNoErr);
        EXPECT_EQ(host().acquired.size(), calls);
    }
    EXPECT_EQ(Suites::fAcquiredCount, 1);
    EXPECT_NE(sAIMenu, nullptr);
}

TEST_F(Lifecycle, LockCountsAndTakesOneAccessReference) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    RecordingPlugin* plugin = Object(session);
    ASSERT_EQ(plugin->lockCount(), 1);

    EXPECT_EQ(plugin->LockPlugin(true), kNoErr);
    EXPECT_EQ(plugin->lockCount(), 2);
    EXPECT_EQ(host().accessRefs, 1);

    EXPECT_EQ(plugin->LockPlugin(false), kNoErr);
    EXPECT_EQ(host().accessRefs, 1);
    EXPECT_EQ(plugin->LockPlugin(false), kNoErr);
    EXPECT_EQ(plugin->lockCount(), 0);
    EXPECT_EQ(plugin->accessRef(), nullptr);
    EXPECT_EQ(host().accessRefs, 0);

    // Unlocking with no lock held changes nothing and calls nothing.
    const int releases = host().accessReleaseCalls;
    EXPECT_EQ(plugin->LockPlugin(false), kNoErr);
    EXPECT_EQ(plugin->lockCount(), 0);
    EXPECT_EQ(host().accessReleaseCalls, releases);

    EXPECT_EQ(plugin->LockPlugin(true), kNoErr);
    EXPECT_EQ(host().accessRefs, 1);
}

}  // namespace
