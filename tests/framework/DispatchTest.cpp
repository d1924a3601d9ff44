// Routing of caller/selector pairs to the plug-in object's operations, and what
// PluginMain makes of the answers.

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "IAIError.h"

namespace {

constexpr AIErr kUnhandled = kUnhandledMsgErr;

struct Route {
    const char* caller;
    const char* selector;
    std::vector<std::string> operations;  // called by Message, in order
    AIErr result;                         // what Plugin::Message answers with the default operations
    const char* notifierType = "";
};
void PrintTo(const Route& r, std::ostream* os) { *os << '"' << r.caller << "\"/\"" << r.selector << '"'; }

const Route kRoutes[] = {
    {"SP Access", "Unload", {"UnloadPlugin", "EmptySuiteTables", "SetGlobal"}, 0},
    {"SP Access", "Reload", {"ReloadPlugin", "SetGlobal", "FillSuiteTables"}, 0},
    {"SP Access", "Acquire", {}, kUnhandled},
    {"SP Interface", "About", {}, 0},
    {"SP Interface", "Startup", {}, 0},
    {"SP Interface", "Shutdown", {}, kUnhandled},
    {"SP Interface", "Bogus", {}, kUnhandled},
    {"SP Cache", "Plug-in Purge", {"Purge"}, 0},
    {"SP Cache", "Bogus", {}, kUnhandled},
    {"SP Properties", "Acquire", {"AcquireProperty"}, kUnhandled},
    {"SP Properties", "Release", {"ReleaseProperty"}, kUnhandled},
    {"SP Properties", "Bogus", {}, kUnhandled},
    {"AI Notifier", "AI Notify", {"Notify"}, 0, "Some Other Notifier"},
    {"AI Notifier", "AI Notify", {"PostStartupPlugin", "Notify"}, 0, kAIApplicationStartedNotifier},
    {"AI Notifier", "Bogus", {"PostStartupPlugin"}, 0, kAIApplicationStartedNotifier},
    {"AI Notifier", "Bogus", {}, kUnhandled, "Some Other Notifier"},
    {"Action Manager", "Do Action", {"GoAction"}, 0},
    {"Action Manager", "Bogus", {}, kUnhandled},
    {"AI Menu", "AI Go", {"GoMenuItem"}, kUnhandled},
    {"AI Menu", "AI Update", {"UpdateMenuItem"}, kUnhandled},
    {"AI Menu", "Bogus", {}, kUnhandled},
    {"AI Filter", "AI Get Parameters", {"GetFilterParameters"}, kUnhandled},
    {"AI Filter", "AI Go", {"GoFilter"}, kUnhandled},
    {"AI Filter", "AI Check", {}, kUnhandled},
    {"AI Plugin Group", "AI Notify Edits", {"PluginGroupNotify"}, kUnhandled},
    {"AI Plugin Group", "AI Update", {"PluginGroupUpdate"}, kUnhandled},
    {"AI Plugin Group", "AI Go", {}, kUnhandled},
    {"AI File Format", "AI Get Parameters", {"GetFileFormatParameters"}, kUnhandled},
    {"AI File Format", "AI Go", {"GoFileFormat"}, kUnhandled},
    {"AI File Format", "AI Check", {"CheckFileFormat"}, kUnhandled},
    {"AI File Format", "AI Update AI140", {"FileFormatUpdate"}, kUnhandled},
    {"AI File Format", "Do Action", {"SetFileFormatParameters"}, kUnhandled},
    {"AI File Format", "AI Update", {}, kUnhandled},
    {"AI Tool", "AI Edit Options", {"EditTool"}, kUnhandled},
    {"AI Tool", "AI Track Cursor", {"TrackToolCursor"}, kUnhandled},
    {"AI Tool", "AI Mouse Down", {"ToolMouseDown"}, kUnhandled},
    {"AI Tool", "AI Mouse Drag", {"ToolMouseDrag"}, kUnhandled},
    {"AI Tool", "AI Mouse Up", {"ToolMouseUp"}, kUnhandled},
    {"AI Tool", "AI Select", {"SelectTool"}, kUnhandled},
    {"AI Tool", "AI Deselect", {"DeselectTool"}, kUnhandled},
    {"AI Tool", "AI Reselect", {"ReselectTool"}, 0},
    {"AI Tool", "AI Decrease Diameter", {"DecreaseDiameter"}, 0},
    {"AI Tool", "AI Increase Diameter", {"IncreaseDiameter"}, 0},
    {"AI Tool", "AI Go", {}, kUnhandled},
    {"AI Live Effect", "AI Live Effect Edit Parameters", {"EditLiveEffectParameters"}, kUnhandled},
    {"AI Live Effect", "AI Live Effect Go Live", {"GoLiveEffect"}, kUnhandled},
    {"AI Live Effect", "AI Live Effect Interpolate Parameters", {"LiveEffectInterpolate"}, kUnhandled},
    {"AI Live Effect", "AI Live Effect Input Type", {"LiveEffectGetInputType"}, kUnhandled},
    {"AI Live Effect", "AI Live Effect Scale Parameters", {"LiveEffectScaleParameters"}, kUnhandled},
    {"AI Live Effect", "AI Live Effect Convert Color Space", {"LiveEffectConvertColorSpace"}, kUnhandled},
    {"AI Live Effect", "AI Live Effect Adjust Colors", {"LiveEffectAdjustColors"}, kUnhandled},
    {"AI Live Effect", "AI Live Effect Handle Merge", {"LiveEffectHandleMerge"}, kUnhandled},
    {"AI Live Effect", "AI Go", {}, kUnhandled},
    {"AI Timer", "AI Go", {"GoTimer"}, kUnhandled},
    {"AI Timer", "AI Update", {}, kUnhandled},
    {"AI Clipboard", "AI Go", {"GoClipboard"}, kUnhandled},
    {"AI Clipboard", "AI Can Copy", {"CanCopyClipboard"}, kUnhandled},
    {"AI Clipboard", "AI Clone", {"CloneClipboard"}, kUnhandled},
    {"AI Clipboard", "AI Dispose", {"DisposeClipboard"}, kUnhandled},
    {"AI Clipboard", "AI Copy", {}, kUnhandled},
    {"Workspace Manager", "Write Woskspace", {"WorkspaceWrite"}, kUnhandled},
    {"Workspace Manager", "Restore Woskspace", {"WorkspaceRestore"}, kUnhandled},
    {"Workspace Manager", "Default Woskspace", {"WorkspaceDefault"}, kUnhandled},
    {"Workspace Manager", "Write Workspace", {}, kUnhandled},
    {"AI Menus", "AI Go", {}, kUnhandled},
    {"", "", {}, kUnhandled},
};

// PluginMain creates and destroys the object on these itself.
bool ReachesMessage(const Route& route) {
    const std::string caller = route.caller, selector = route.selector;
    return !(caller == kSPInterfaceCaller && (selector == "Startup" || selector == "Shutdown"));
}

std::vector<Route> RoutesThroughPluginMain() {
    std::vector<Route> routes;
    for (const Route& route : kRoutes)
        if (ReachesMessage(route))
            routes.push_back(route);
    return routes;
}

class Dispatch : public FrameworkTest, public testing::WithParamInterface<Route> {};
class DispatchThroughPluginMain : public Dispatch {};

// Plugin::Message itself: which operation it reaches and the default answer.
TEST_P(Dispatch, MessageRoutesToOneOperation) {
    const Route& route = GetParam();
    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    script().calls.clear();

    fake::AnyMessage message{};
    message.d.self = session.self;
    message.d.globals = session.globals;
    message.d.basic = fake::Basic();
    message.notifier.type = route.notifierType;
    const AIErr result = session.object()->Message(route.caller, route.selector, &message);

    std::vector<std::string> expected{"AcquireOptionalSuites"};
    expected.insert(expected.end(), route.operations.begin(), route.operations.end());
    EXPECT_EQ(script().calls, expected);
    EXPECT_EQ(result, route.result);
    if (route.operations.empty() || route.operations.front() != "UnloadPlugin")
        return;
    // Unloading let go of the suites; the session's shutdown must still work.
    EXPECT_EQ(session.object()->GetSuites(), nullptr);
}

// Through PluginMain: '!MSG' becomes 0 after the warning line, and nothing is reported.
TEST_P(DispatchThroughPluginMain, UnhandledIsAnsweredWithZero) {
    const Route& route = GetParam();    fake::Session session;
    ASSERT_EQ(session.Startup(), kNoErr);
    script().calls.clear();

    fake::AnyMessage message{};
    message.notifier.type = route.notifierType;
    testing::internal::CaptureStderr();
    const AIErr result = session.Send(route.caller, route.selector, message);
    const std::string warning = testing::internal::GetCapturedStderr();

    EXPECT_EQ(result, kNoErr);
    EXPECT_TRUE(script().reports.empty());
    if (route.result == kUnhandled)
        EXPECT_EQ(warning, std::string("Warning: Unhandled plugin message: caller \"") + route.caller +
                               "\" selector \"" + route.selector + "\"\n");
    else
        EXPECT_EQ(warning, "");
}

std::string RouteName(const testing::TestParamInfo<Route>& info) {
    std::string name;
    for (const char* part : {info.param.caller, "_", info.param.selector})
        for (const char* c = part; *c != '\0'; ++c)
            if (std::isalnum(static_cast<unsigned char>(*c)) || *c == '_') name += *c;
    return name + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(Routes, Dispatch, testing::ValuesIn(kRoutes), RouteName);
INSTANTIATE_TEST_SUITE_P(Routes, DispatchThroughPluginMain, testing::ValuesIn(RoutesThroughPluginMain()), RouteName);

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
