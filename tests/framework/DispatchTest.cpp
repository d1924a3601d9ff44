// The messages a host sends, sent through PluginMain as the host sends them:
// which operation of the plug-in object answers each, and what the host gets
// back.

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "FrameworkFixture.h"

namespace {

// A message the host sends and the one operation that must answer it.
struct Delivery {
    const char* caller;
    const char* selector;
    const char* operation;
    bool unhandledByDefault;  // the host gets 0 and a warning line when not overridden
    const char* notifierType = "Some Other Notifier";
};
void PrintTo(const Delivery& d, std::ostream* os) {
    *os << '"' << d.caller << "\"/\"" << d.selector << "\" -> " << d.operation;
}

const Delivery kDeliveries[] = {
    {"SP Access", "Unload", "UnloadPlugin", false},
    {"SP Access", "Reload", "ReloadPlugin", false},
    {"SP Cache", "Plug-in Purge", "Purge", false},
    {"SP Properties", "Acquire", "AcquireProperty", true},
    {"SP Properties", "Release", "ReleaseProperty", true},
    {"AI Notifier", "AI Notify", "Notify", false},
    {"AI Notifier", "AI Notify", "PostStartupPlugin", false, "AI Application Started Notifier"},
    {"Action Manager", "Do Action", "GoAction", false},
    {"AI Menu", "AI Go", "GoMenuItem", true},
    {"AI Menu", "AI Update", "UpdateMenuItem", true},
    {"AI Filter", "AI Get Parameters", "GetFilterParameters", true},
    {"AI Filter", "AI Go", "GoFilter", true},
    {"AI Plugin Group", "AI Notify Edits", "PluginGroupNotify", true},
    {"AI Plugin Group", "AI Update", "PluginGroupUpdate", true},
    {"AI File Format", "AI Get Parameters", "GetFileFormatParameters", true},
    {"AI File Format", "AI Go", "GoFileFormat", true},
    {"AI File Format", "AI Check", "CheckFileFormat", true},
    {"AI File Format", "AI Update AI140", "FileFormatUpdate", true},
    {"AI File Format", "Do Action", "SetFileFormatParameters", true},
    {"AI Tool", "AI Edit Options", "EditTool", true},
    {"AI Tool", "AI Track Cursor", "TrackToolCursor", true},
    {"AI Tool", "AI Mouse Down", "ToolMouseDown", true},
    {"AI Tool", "AI Mouse Drag", "ToolMouseDrag", true},
    {"AI Tool", "AI Mouse Up", "ToolMouseUp", true},
    {"AI Tool", "AI Select", "SelectTool", true},
    {"AI Tool", "AI Deselect", "DeselectTool", true},
    {"AI Tool", "AI Reselect", "ReselectTool", false},
    {"AI Tool", "AI Decrease Diameter", "DecreaseDiameter", false},
    {"AI Tool", "AI Increase Diameter", "IncreaseDiameter", false},
    {"AI Live Effect", "AI Live Effect Edit Parameters", "EditLiveEffectParameters", true},
    {"AI Live Effect", "AI Live Effect Go Live", "GoLiveEffect", true},
    {"AI Live Effect", "AI Live Effect Interpolate Parameters", "LiveEffectInterpolate", true},
    {"AI Live Effect", "AI Live Effect Input Type", "LiveEffectGetInputType", true},
    {"AI Live Effect", "AI Live Effect Scale Parameters", "LiveEffectScaleParameters", true},
    {"AI Live Effect", "AI Live Effect Convert Color Space", "LiveEffectConvertColorSpace", true},
    {"AI Live Effect", "AI Live Effect Adjust Colors", "LiveEffectAdjustColors", true},
    {"AI Live Effect", "AI Live Effect Handle Merge", "LiveEffectHandleMerge", true},
    {"AI Timer", "AI Go", "GoTimer", true},
    {"AI Clipboard", "AI Go", "GoClipboard", true},
    {"AI Clipboard", "AI Can Copy", "CanCopyClipboard", true},
    {"AI Clipboard", "AI Clone", "CloneClipboard", true},
    {"AI Clipboard", "AI Dispose", "DisposeClipboard", true},
    {"Workspace Manager", "Write Woskspace", "WorkspaceWrite", true},
    {"Workspace Manager", "Restore Woskspace", "WorkspaceRestore", true},
    {"Workspace Manager", "Default Woskspace", "WorkspaceDefault", true},
};

// Operations the framework calls on its own, never in answer to one message.
const std::set<std::string> kHousekeeping = {
    "StartupPlugin",    "ShutdownPlugin",        "SetGlobal", "AllocateSuiteTables", "FillSuiteTables",
    "EmptySuiteTables", "AcquireOptionalSuites",
};

// Every operation the recording object has, by name.
std::vector<std::string> RecordedOperations() {
    return {
#define QUILTOR_RECORD(Name, Message) #Name,
#define QUILTOR_RECORD0(Name) #Name,
#include "RecordedOperations.inc"
#undef QUILTOR_RECORD
#undef QUILTOR_RECORD0
    };
}

// A code of each operation's own, none of them one the framework filters.
AIErr CodeOf(std::size_t index) {
    return AI_FOURCC('o', 'p', static_cast<char>('A' + index / 26), static_cast<char>('A' + index % 26));
}

// The calls that answer messages, leaving out the framework's housekeeping.
std::vector<std::string> Answering(const std::vector<std::string>& calls) {
    std::vector<std::string> result;
    for (const std::string& call : calls)
        if (kHousekeeping.count(call) == 0) result.push_back(call);
    return result;
}

std::string Warning(const char* caller, const char* selector) {
    return std::string("Warning: Unhandled plugin message: caller \"") + caller + "\" selector \"" + selector + "\"\n";
}

class Dispatch : public FrameworkTest, public testing::WithParamInterface<Delivery> {
protected:
    AIErr Deliver(fake::Session& session, const Delivery& d, std::string* warning = nullptr) {
        fake::AnyMessage message{};
        message.notifier.type = d.notifierType;
        testing::internal::CaptureStderr();
        const AIErr result = session.Send(d.caller, d.selector, message);
        const std::string written = testing::internal::GetCapturedStderr();
        if (warning != nullptr) *warning = written;
        return result;
    }
};

// With every operation answering a code of its own, the host gets the code of
// the one operation the message is for, and no other operation runs.
TEST_P(Dispatch, TheHostGetsTheAnswerOfItsOperation) {
    const Delivery& d = GetParam();
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    const std::vector<std::string> operations = RecordedOperations();
    AIErr expected = kNoErr;
    for (std::size_t i = 0; i < operations.size(); ++i) {
        script().results[operations[i]] = CodeOf(i);
        if (operations[i] == d.operation) expected = CodeOf(i);
    }
    ASSERT_NE(expected, kNoErr) << d.operation << " is not an operation";
    // A purge that freed something is told to the host as 'pFls'.
    if (d.operation == std::string("Purge")) expected = kSPPluginCachesFlushResponse;
    script().calls.clear();

    EXPECT_EQ(Deliver(session, d), expected);
    EXPECT_EQ(Answering(script().calls), std::vector<std::string>{d.operation});
    EXPECT_EQ(script().reports, std::vector<AIErr>{expected});
}

// Left to the defaults, every message is answered 0; those no operation
// handles leave one warning line first, and nothing is reported.
TEST_P(Dispatch, DefaultsAnswerZero) {
    const Delivery& d = GetParam();
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    script().calls.clear();

    std::string warning;
    EXPECT_EQ(Deliver(session, d, &warning), kNoErr);
    EXPECT_EQ(warning, d.unhandledByDefault ? Warning(d.caller, d.selector) : "");
    EXPECT_TRUE(script().reports.empty());
    const std::vector<std::string> answering = Answering(script().calls);
    ASSERT_FALSE(answering.empty());
    EXPECT_EQ(answering.front(), d.operation);
}

INSTANTIATE_TEST_SUITE_P(Messages, Dispatch, testing::ValuesIn(kDeliveries),
                         [](const testing::TestParamInfo<Delivery>& info) {
                             return std::string(info.param.operation);
                         });

// Each operation that answers a message is reached by one of the messages above.
TEST(DispatchTable, EveryOperationHasItsMessage) {
    std::multiset<std::string> reached;
    for (const Delivery& d : kDeliveries) reached.insert(d.operation);
    std::multiset<std::string> answering;
    for (const std::string& operation : RecordedOperations())
        if (kHousekeeping.count(operation) == 0) answering.insert(operation);
    EXPECT_EQ(reached, answering);
}

class Unrouted : public FrameworkTest {};

// Messages a host might send that no operation answers: a known caller with a
// selector of another caller or a near miss, and callers the framework does not
// know. Each is answered 0 after the warning line and reaches nothing.
TEST_F(Unrouted, NearMissesReachNoOperation) {
    const std::pair<const char*, const char*> messages[] = {
        {"SP Access", "Acquire"},
        {"SP Interface", "Bogus"},
        {"SP Cache", "Bogus"},
        {"SP Properties", "Bogus"},
        {"Action Manager", "AI Go"},
        {"AI Menu", "ai go"},
        {"AI Filter", "AI Check"},
        {"AI Plugin Group", "AI Go"},
        {"AI File Format", "AI Update"},
        {"AI Tool", "AI Go"},
        {"AI Live Effect", "AI Go"},
        {"AI Timer", "AI Update"},
        {"AI Clipboard", "AI Copy"},
        {"Workspace Manager", "Write Workspace"},
        {"AI Menus", "AI Go"},
        {"ai menu", "AI Go"},
        {"", ""},
    };
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    for (const auto& [caller, selector] : messages) {
        SCOPED_TRACE(std::string(caller) + "/" + selector);
        script().calls.clear();
        testing::internal::CaptureStderr();
        EXPECT_EQ(session.Send(caller, selector), kNoErr);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), Warning(caller, selector));
        EXPECT_TRUE(Answering(script().calls).empty());
    }
    EXPECT_TRUE(script().reports.empty());
}

TEST_F(Unrouted, AnAboutRequestIsAnsweredQuietly) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    script().calls.clear();
    testing::internal::CaptureStderr();
    EXPECT_EQ(session.Send(kSPInterfaceCaller, kSPInterfaceAboutSelector), kNoErr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(Answering(script().calls).empty());
}
class PluginMainResults : public FrameworkTest {};

TEST_F(PluginMainResults, AnErrorIsReturnedAndReportedOnce) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    const AIErr code = AI_FOURCC('O', 'O', 'P', 'S');
    script().results["GoMenuItem"] = code;

    EXPECT_EQ(session.Choose(nullptr), code);
    EXPECT_EQ(script().reports, std::vector<AIErr>{code});
    EXPECT_EQ(Object(session)->lastError(), code);
}

TEST_F(PluginMainResults, ExceptionsBecomeCodes) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    script().thrownError = AI_FOURCC('H', 'O', 'S', 'T');

    script().throws["GoMenuItem"] = Throw::HostError;
    EXPECT_EQ(session.Choose(nullptr), AI_FOURCC('H', 'O', 'S', 'T'));
    script().throws["GoMenuItem"] = Throw::Foreign;
    EXPECT_EQ(session.Choose(nullptr), kCantHappenErr);
    EXPECT_EQ(script().reports, (std::vector<AIErr>{AI_FOURCC('H', 'O', 'S', 'T'), kCantHappenErr}));
}

TEST_F(PluginMainResults, FilteredCodesAreReturnedButNotRecorded) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    script().results["Purge"] = 1;

    EXPECT_EQ(session.Send(kSPCacheCaller, kSPPluginPurgeCachesSelector), kSPPluginCachesFlushResponse);
    EXPECT_EQ(Object(session)->lastError(), kNoErr);
}

TEST_F(PluginMainResults, NotifierRunsInsideTheApplicationContext) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    script().calls.clear();

    EXPECT_EQ(session.Notify(kAIApplicationStartedNotifier), kNoErr);
    EXPECT_EQ(host().contextPushes, 1);
    EXPECT_EQ(host().contextDepth, 0);
}

TEST_F(PluginMainResults, AFailedPostStartupSkipsNotify) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    const AIErr code = AI_FOURCC('P', 'O', 'S', 'T');
    script().results["PostStartupPlugin"] = code;
    script().calls.clear();

    EXPECT_EQ(session.Notify(kAIApplicationStartedNotifier), code);
    EXPECT_EQ(script().calls, (std::vector<std::string>{"AcquireOptionalSuites", "PostStartupPlugin"}));
    EXPECT_EQ(host().contextDepth, 0);
}

TEST_F(PluginMainResults, ANotifierMessageWithoutTypeIsOnlyNotify) {
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    script().calls.clear();

    EXPECT_EQ(session.Notify(nullptr), kNoErr);
    EXPECT_EQ(script().calls, (std::vector<std::string>{"AcquireOptionalSuites", "Notify"}));
}

TEST_F(PluginMainResults, NoMessageRecordIsRefused) {
    EXPECT_EQ(PluginMain(kSPInterfaceCaller, kSPInterfaceStartupSelector, nullptr), kBadParameterErr);
    EXPECT_EQ(script().constructed, 0);
}

}  // namespace
