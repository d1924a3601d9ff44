// Error filtering and repeat suppression, the plug-in name, and the order of
// the virtual operations.

#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "FrameworkFixture.h"

namespace {

class ErrorReport : public FrameworkTest {
protected:
    RecordingPlugin plugin{nullptr};
    void Report(AIErr error) { plugin.ReportError(error, "AI Menu", "AI Go", nullptr); }
};

const AIErr kFiltered[] = {
    AI_FOURCC('F', 'M', 'T', '?'), AI_FOURCC('R', 'F', 'S', 'E'), AI_FOURCC('A', 'F', 'T', 'R'),
    AI_FOURCC('V', 'A', 'L', 'D'), AI_FOURCC('M', 'O', 'O', 'T'), AI_FOURCC('T', 'R', 'S', 'H'),
    AI_FOURCC('C', 'H', 'E', 'K'), AI_FOURCC('C', 'H', 'I', 'T'), AI_FOURCC('T', 'L', 'T', 'K'),
    AI_FOURCC('p', 'F', 'l', 's'), AI_FOURCC('S', '!', 'F', 'd'), AI_FOURCC('!', 'A', 'c', 'q'),
    AI_FOURCC('d', 's', 'R', 'P'), AI_FOURCC('s', 'k', 'p', 'E'), AI_FOURCC('D', 'O', 'N', 'E'),
    AI_FOURCC('S', 'T', 'O', 'P'), 361,
};

TEST_F(ErrorReport, FilteredCodesAreNeverRecorded) {
    for (AIErr code : kFiltered) {
        EXPECT_TRUE(Plugin::IsFilteredError(code)) << code;
        Report(code);
        EXPECT_EQ(plugin.lastError(), kNoErr) << code;
    }
}

TEST_F(ErrorReport, NeighboursOfFilteredCodesAreRecorded) {
    const AIErr codes[] = {360, 362, AI_FOURCC('F', 'M', 'T', '!'), AI_FOURCC('s', 't', 'o', 'p'), kCantHappenErr,
                           kOutOfMemoryErr, kUnhandledMsgErr, -1};
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

// The operations sit in the host SDK's slot order. On x86-64 (Itanium C++ ABI)
// a pointer to a virtual member holds 1 + the byte offset of its slot.
template <typename F>
std::ptrdiff_t SlotOf(F member) {
    struct Representation {
        std::ptrdiff_t ptr;
        std::ptrdiff_t adj;
    } r{};
    static_assert(sizeof member == sizeof r);
    std::memcpy(&r, &member, sizeof r);
    return (r.ptr - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

TEST(VirtualOperations, SlotOrder) {
#if !defined(__x86_64__)
    GTEST_SKIP() << "slot check reads the x86-64 member pointer layout";
#else
    // Slots 0 and 1 are the destructor pair.
    const std::vector<std::ptrdiff_t> slots = {
        SlotOf(&Plugin::ReportError), SlotOf(&Plugin::LockPlugin), SlotOf(&Plugin::StartupPlugin),
        SlotOf(&Plugin::PostStartupPlugin), SlotOf(&Plugin::ShutdownPlugin), SlotOf(&Plugin::UnloadPlugin),
        SlotOf(&Plugin::ReloadPlugin), SlotOf(&Plugin::AcquireProperty), SlotOf(&Plugin::ReleaseProperty),
        SlotOf(&Plugin::GetPluginName), SlotOf(&Plugin::Purge), SlotOf(&Plugin::Message),
        SlotOf(&Plugin::SetGlobal), SlotOf(&Plugin::AllocateSuiteTables), SlotOf(&Plugin::FillSuiteTables),
        SlotOf(&Plugin::EmptySuiteTables), SlotOf(&Plugin::AcquireOptionalSuites), SlotOf(&Plugin::Notify),
        SlotOf(&Plugin::GoAction), SlotOf(&Plugin::GoMenuItem), SlotOf(&Plugin::UpdateMenuItem),
        SlotOf(&Plugin::GetFilterParameters), SlotOf(&Plugin::GoFilter), SlotOf(&Plugin::PluginGroupNotify),
        SlotOf(&Plugin::PluginGroupUpdate), SlotOf(&Plugin::GetFileFormatParameters),
        SlotOf(&Plugin::GoFileFormat), SlotOf(&Plugin::CheckFileFormat), SlotOf(&Plugin::FileFormatUpdate),
        SlotOf(&Plugin::SetFileFormatParameters), SlotOf(&Plugin::EditTool), SlotOf(&Plugin::TrackToolCursor),
        SlotOf(&Plugin::ToolMouseDown), SlotOf(&Plugin::ToolMouseDrag), SlotOf(&Plugin::ToolMouseUp),
        SlotOf(&Plugin::SelectTool), SlotOf(&Plugin::DeselectTool), SlotOf(&Plugin::ReselectTool),
        SlotOf(&Plugin::DecreaseDiameter), SlotOf(&Plugin::IncreaseDiameter),
        SlotOf(&Plugin::EditLiveEffectParameters), SlotOf(&Plugin::GoLiveEffect),
        SlotOf(&Plugin::LiveEffectInterpolate), SlotOf(&Plugin::LiveEffectGetInputType),
        SlotOf(&Plugin::LiveEffectConvertColorSpace), SlotOf(&Plugin::LiveEffectScaleParameters),
        SlotOf(&Plugin::LiveEffectAdjustColors), SlotOf(&Plugin::LiveEffectHandleMerge),
        SlotOf(&Plugin::GoTimer), SlotOf(&Plugin::GoClipboard), SlotOf(&Plugin::CanCopyClipboard),
        SlotOf(&Plugin::CloneClipboard), SlotOf(&Plugin::DisposeClipboard), SlotOf(&Plugin::WorkspaceWrite),
        SlotOf(&Plugin::WorkspaceRestore), SlotOf(&Plugin::WorkspaceDefault),
    };
    ASSERT_EQ(slots.size(), 56u);
    for (std::size_t i = 0; i < slots.size(); ++i)
        EXPECT_EQ(slots[i], static_cast<std::ptrdiff_t>(i + 2)) << "operation " << i + 3;
#endif
}

}  // namespace
