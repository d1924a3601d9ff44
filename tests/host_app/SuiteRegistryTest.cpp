#include <gtest/gtest.h>

#include <string>

#include "HostFixture.h"
#include "core/SuiteRegistry.h"

namespace quiltor::host {
namespace {

using testing::HostTest;

struct TwoCalls {
    AIErr (*first)(int32_t*);
    AIErr (*second)(int32_t*);
};
AIErr AnswerOne(int32_t* out) { return *out = 1, kNoErr; }
AIErr AnswerTwo(int32_t* out) { return *out = 2, kNoErr; }
AIErr FailOnThirdUse(int32_t* out) {
    static int uses = 0;
    *out = 0;
    return ++uses >= 3 ? kInjectedFailureErr : kNoErr;
}

TEST(SuiteRegistryTest, RefusesUnknownNamesAndOtherVersions) {
    SuiteRegistry registry;
    registry.add("Test Suite", 3, TwoCalls{AnswerOne, AnswerTwo});
    struct Case {
        const char* name;
        int32_t version;
        AIErr expected;
    } cases[] = {
        {"Test Suite", 3, kNoErr},
        {"Test Suite", 2, kSPBadSuiteVersionError},
        {"Test Suite", 4, kSPBadSuiteVersionError},
        {"Test suite", 3, kSPSuiteNotFoundError},  // names are compared byte for byte
        {"", 3, kSPSuiteNotFoundError},
    };
    for (const Case& c : cases) {
        const void* suite = &c;  // must come back null on failure
        EXPECT_EQ(registry.acquire(c.name, c.version, &suite), c.expected) << c.name << " " << c.version;
        EXPECT_EQ(suite == nullptr, c.expected != kNoErr) << c.name << " " << c.version;
    }
}

TEST(SuiteRegistryTest, MissingSuiteIsRefusedUntilRestored) {
    SuiteRegistry registry;
    registry.add("Test Suite", 3, TwoCalls{AnswerOne, AnswerTwo});
    registry.setMissing("Test Suite", true);
    const void* suite = nullptr;
    EXPECT_EQ(registry.acquire("Test Suite", 3, &suite), kSPSuiteNotFoundError);
    EXPECT_EQ(suite, nullptr);
    registry.restoreAll();
    EXPECT_EQ(registry.acquire("Test Suite", 3, &suite), kNoErr);
    EXPECT_NE(suite, nullptr);
}

TEST(SuiteRegistryTest, SwappedCallReachesHoldersOfTheTableAndRestoreTakesItBack) {
    SuiteRegistry registry;
    registry.add("Test Suite", 3, TwoCalls{AnswerOne, AnswerTwo});
    const void* raw = nullptr;
    ASSERT_EQ(registry.acquire("Test Suite", 3, &raw), kNoErr);
    const auto* held = static_cast<const TwoCalls*>(raw);

    registry.table<TwoCalls>("Test Suite", 3)->first = FailOnThirdUse;
    int32_t out = -1;
    EXPECT_EQ(held->first(&out), kNoErr);
    EXPECT_EQ(held->first(&out), kNoErr);
    EXPECT_EQ(held->first(&out), kInjectedFailureErr);
    EXPECT_EQ(held->second(&out), kNoErr);
    EXPECT_EQ(out, 2);

    registry.restoreAll();
    EXPECT_EQ(held->first(&out), kNoErr);
    EXPECT_EQ(out, 1);
    EXPECT_EQ(registry.table<TwoCalls>("Test Suite", 4), nullptr);
}

TEST(SuiteRegistryTest, CountsAcquisitionsAndRefusesReleasingWhatIsNotHeld) {
    SuiteRegistry registry;
    registry.add("Test Suite", 3, TwoCalls{AnswerOne, AnswerTwo});
    const void* suite = nullptr;
    registry.acquire("Test Suite", 3, &suite);
    registry.acquire("Test Suite", 3, &suite);
    registry.acquire("Test Suite", 2, &suite);  // refused, not counted
    EXPECT_EQ(registry.acquiredCount("Test Suite"), 2);
    EXPECT_EQ(registry.release("Test Suite", 3), kNoErr);
    EXPECT_EQ(registry.release("Test Suite", 3), kNoErr);
    EXPECT_EQ(registry.release("Test Suite", 3), kSPSuiteNotFoundError);
    EXPECT_EQ(registry.release("Other Suite", 1), kSPSuiteNotFoundError);
    EXPECT_EQ(registry.acquiredCount("Test Suite"), 0);
}

// Every suite a plug-in of either deliverable asks for, at the version it asks for.
TEST_F(HostTest, ServesEveryAppSuiteAtItsVersion) {
    struct Wanted {
        const char* name;
        int32_t version;
    } wanted[] = {
        {kSPAccessSuite, 3},
        {kSPPluginsSuite, 4},
        {kSPBlocksSuite, 2},
        {kAINotifierSuite, 1003},
        {kAIAppContextSuite, 1006},
        {kAIUserSuite, 1010},
        {kAIFilePathSuite, 1003},
        {kAIFoldersSuite, 1004},
        {kAIFilterSuite, 1003},
        {kAIRealMathSuite, 1002},
        {kAIRandomSuite, 1004},
        {kAIToolSuite, 1012},
        {kAIActionManagerSuite, 1004},
        {kAIMenuSuite, 1010},
        {kAIUnicodeStringSuite, 1007},
        {kAIMdMemorySuite, 1002},
        {kAIStringFormatUtilsSuite, 1002},
        {kAIModalParentSuite, 1001},
        {kAIPanelSuite, 1001},
        {kAIPanelFlyoutMenuSuite, 1001},
    };
    for (const Wanted& w : wanted) {
        const void* suite = nullptr;
        EXPECT_EQ(BasicSuite()->AcquireSuite(w.name, w.version, &suite), kNoErr) << w.name;
        EXPECT_NE(suite, nullptr) << w.name;
        EXPECT_EQ(BasicSuite()->ReleaseSuite(w.name, w.version), kNoErr) << w.name;
        EXPECT_EQ(BasicSuite()->AcquireSuite(w.name, w.version + 1, &suite), kSPBadSuiteVersionError) << w.name;
    }
}

TEST_F(HostTest, BasicSuiteGoesThroughTheRunningHostsRegistry) {
    host().suites().setMissing(kAIUserSuite, true);
    const void* suite = nullptr;
    EXPECT_EQ(BasicSuite()->AcquireSuite(kAIUserSuite, kAIUserSuiteVersion, &suite), kSPSuiteNotFoundError);
    EXPECT_EQ(BasicSuite()->AcquireSuite("AI No Such Suite", 1, &suite), kSPSuiteNotFoundError);
    EXPECT_EQ(BasicSuite()->AcquireSuite(nullptr, 1, &suite), kBadParameterErr);
    EXPECT_TRUE(BasicSuite()->IsEqual("SP Access", "SP Access"));
    EXPECT_FALSE(BasicSuite()->IsEqual("SP Access", "SP Acces"));

    void* block = nullptr;
    ASSERT_EQ(BasicSuite()->AllocateBlock(16, &block), kNoErr);
    void* grown = nullptr;
    ASSERT_EQ(BasicSuite()->ReallocateBlock(block, 4096, &grown), kNoErr);
    EXPECT_EQ(BasicSuite()->FreeBlock(grown), kNoErr);
}

// The Windows plug-ins ask by the plain number, the CC build one higher; the SP suites keep theirs.
TEST(AnswersVersionTest, PlainAndCCNumbersOnlyForWindowsPlugins) {
    struct Case {
        int32_t registered, requested;
        bool posix, windows;
    };
    const Case cases[] = {
        {1012, 1012, true, true}, {1012, 12, false, true},    {1012, 13, false, true}, {1012, 11, false, false},
        {1012, 14, false, false}, {1012, 1013, false, false}, {1001, 1, false, true},  {1001, 2, false, true},
        {1001, 0, false, false},  {3, 3, true, true},         {3, 4, false, false},    {2, 1002, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AnswersVersion(c.registered, c.requested, false), c.posix) << c.registered << " " << c.requested;
        EXPECT_EQ(AnswersVersion(c.registered, c.requested, true), c.windows) << c.registered << " " << c.requested;
    }
}

TEST(BasicSuiteTest, WithoutAHostNothingIsServed) {
    ASSERT_FALSE(Host::Exists());
    const void* suite = &suite;
    EXPECT_EQ(BasicSuite()->AcquireSuite(kAIUserSuite, kAIUserSuiteVersion, &suite), kSPSuiteNotFoundError);
    EXPECT_EQ(suite, nullptr);
}

}  // namespace
}  // namespace quiltor::host
