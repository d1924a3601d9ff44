// Error filtering and repeat suppression, and the plug-in name.

#include <cstring>
#include <ctime>
#include <ostream>
#include <string>

#include "FrameworkFixture.h"

namespace {

class ErrorReport : public FrameworkTest {
protected:
    RecordingPlugin plugin{nullptr};
    void Report(AIErr error) { plugin.ReportError(error, "AI Menu", "AI Go", nullptr); }
};

// Codes a host answers with, and whether the framework keeps them out of the
// record. Each reaches PluginMain as the wrapper's exception would carry it.
struct HostCode {
    const char* name;
    AIErr code;
    bool filtered;
};
void PrintTo(const HostCode& c, std::ostream* os) { *os << c.name; }

const HostCode kHostCodes[] = {
    {"SuiteNotFound", kSPSuiteNotFoundError, true},
    {"BadFileFormat", kBadFileFormatErr, true},
    {"CachesFlushed", kSPPluginCachesFlushResponse, true},
    {"Cancelled", kCanceledErr, false},
    {"OutOfMemory", kOutOfMemoryErr, false},
    {"BadSuiteVersion", kSPBadSuiteVersionError, false},
    {"BadParameter", kBadParameterErr, false},
    {"NoDocument", kNoDocumentErr, false},
    {"NameNotFound", kNameNotFoundErr, false},
    {"IndexOutOfRange", kIndexOutOfRangeErr, false},
    {"FileNotFound", kFileNotFoundErr, false},
    {"BufferTooSmall", kBufferTooSmallErr, false},
    {"EmptyResult", kEmptyResultErr, false},
    {"InjectedFailure", kInjectedFailureErr, false},
};

class HostErrors : public FrameworkTest, public testing::WithParamInterface<HostCode> {};

// The host always gets the code back; only the codes it does not filter are
// recorded as the last error.
TEST_P(HostErrors, ReturnedAndRecordedUnlessFiltered) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    script().throws["GoMenuItem"] = Throw::HostError;
    script().thrownError = GetParam().code;

    EXPECT_EQ(session.Choose(nullptr), GetParam().code);
    EXPECT_EQ(Object(session)->lastError(), GetParam().filtered ? kNoErr : GetParam().code);
    EXPECT_EQ(Plugin::IsFilteredError(GetParam().code), GetParam().filtered);
}

INSTANTIATE_TEST_SUITE_P(Codes, HostErrors, testing::ValuesIn(kHostCodes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ErrorReport, NeighboursOfFilteredCodesAreRecorded) {
    const AIErr codes[] = {360,
                           362,
                           AI_FOURCC('F', 'M', 'T', '!'),
                           AI_FOURCC('s', 't', 'o', 'p'),
                           kCantHappenErr,
                           kOutOfMemoryErr,
                           kUnhandledMsgErr,
                           -1};
    for (AIErr code : codes) {
        EXPECT_FALSE(Plugin::IsFilteredError(code)) << code;
        Report(code);
        EXPECT_EQ(plugin.lastError(), code);
    }
}

// The same code within 5 seconds is recorded once; at 5 seconds it is again.
TEST_F(ErrorReport, RepeatsAreSuppressedUpToTheFiveSecondBoundary) {
    const AIErr code = kCantHappenErr;
    Report(code);
    EXPECT_EQ(plugin.lastErrorTime(), 1000);

    sNow = 1004;
    Report(code);
    EXPECT_EQ(plugin.lastErrorTime(), 1000);

    sNow = 1005;
    Report(code);
    EXPECT_EQ(plugin.lastErrorTime(), 1005);
}

TEST_F(ErrorReport, ADifferentCodeIsRecordedAtOnce) {
    Report(kCantHappenErr);
    sNow = 1001;
    Report(kOutOfMemoryErr);
    EXPECT_EQ(plugin.lastError(), kOutOfMemoryErr);
    EXPECT_EQ(plugin.lastErrorTime(), 1001);
    Report(kCantHappenErr);
    EXPECT_EQ(plugin.lastError(), kCantHappenErr);
}

TEST_F(ErrorReport, WithoutSuppressionEveryRepeatIsRecorded) {
    plugin.suppressRepeats(false);
    Report(kCantHappenErr);
    sNow = 1001;
    Report(kCantHappenErr);
    EXPECT_EQ(plugin.lastErrorTime(), 1001);
}

TEST_F(ErrorReport, TheDefaultClockIsTheSystemClock) {
    Plugin::SetClock(nullptr);
    const int64_t before = static_cast<int64_t>(std::time(nullptr));
    const int64_t now = Plugin::Now();
    EXPECT_GE(now, before);
    EXPECT_LE(now, before + 1);
}

// GetPluginName cuts to the buffer, terminates inside it and returns the full length.
struct NameCase {
    unsigned int size;
    const char* expected;
};
void PrintTo(const NameCase& c, std::ostream* os) { *os << c.size << " bytes -> \"" << c.expected << '"'; }

class PluginName : public FrameworkTest, public testing::WithParamInterface<NameCase> {};

TEST_P(PluginName, CutAndTerminatedInsideTheBuffer) {
    RecordingPlugin plugin(nullptr);
    char buffer[32];
    std::memset(buffer, '#', sizeof buffer);

    EXPECT_EQ(plugin.GetPluginName(buffer, GetParam().size), std::strlen("RecordingPlugin"));
    EXPECT_EQ(std::string(buffer), GetParam().expected);
    for (std::size_t i = GetParam().size; i < sizeof buffer; ++i)
        ASSERT_EQ(buffer[i], '#') << "byte " << i << " written";
}

INSTANTIATE_TEST_SUITE_P(Sizes, PluginName,
                         testing::Values(NameCase{1, ""}, NameCase{2, "R"}, NameCase{15, "RecordingPlugi"},
                                         NameCase{16, "RecordingPlugin"}, NameCase{17, "RecordingPlugin"}),
                         [](const auto& info) { return "Size" + std::to_string(info.param.size); });

TEST(PluginNameEdges, ZeroSizeOrNullBufferWritesNothing) {
    RecordingPlugin plugin(nullptr);
    char byte = '#';
    EXPECT_EQ(plugin.GetPluginName(&byte, 0), std::strlen("RecordingPlugin"));
    EXPECT_EQ(byte, '#');
    EXPECT_EQ(plugin.GetPluginName(nullptr, 10), std::strlen("RecordingPlugin"));
}

TEST(PluginNameEdges, StoredNameIsBoundedTo255Bytes) {
    RecordingPlugin plugin(nullptr);
    const std::string longName(300, 'x');
    plugin.SetPluginName(longName.c_str());
    char buffer[400];
    EXPECT_EQ(plugin.GetPluginName(buffer, sizeof buffer), 255u);
    EXPECT_EQ(std::string(buffer), std::string(255, 'x'));
}

}  // namespace
