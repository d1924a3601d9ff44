// The SP suites, notifiers, application context, the user's side and the small utility suites.
#include <cmath>
#include <random>

#include "core/Blocks.h"
#include "core/HostStrings.h"
#include "suites/AppSuiteSupport.h"
#include "suites/PluginServices.h"
#include "suites/Registration.h"
#include "suites/SuiteContext.h"
#include "ui/UserInterface.h"

namespace quiltor::host {
namespace {

PluginDirectory* Plugins() { return RunningHost() ? &RunningHost()->plugins : nullptr; }

_SPPlugin* FindPlugin(SPPluginRef plugin) {
    PluginDirectory* plugins = Plugins();
    return plugins && plugin ? plugins->find(plugin) : nullptr;
}

// ---------------------------------------------------------------- SP Access

AIErr AcquirePlugin(SPPluginRef plugin, SPAccessRef* access) {
    if (!access) return kBadParameterErr;
    *access = nullptr;
    if (!FindPlugin(plugin)) return kBadParameterErr;
    return Guarded([&] {
        *access = Plugins()->access().acquire(plugin);
        return kNoErr;
    });
}

AIErr ReleasePlugin(SPAccessRef access) {
    PluginDirectory* plugins = Plugins();
    if (!plugins || !access) return kBadParameterErr;
    return plugins->access().release(access) ? kNoErr : kBadParameterErr;
}

AIErr GetPluginAccessCount(SPPluginRef plugin, int32_t* count) {
    if (!count) return kBadParameterErr;
    *count = 0;
    _SPPlugin* record = FindPlugin(plugin);
    if (!record) return kBadParameterErr;
    *count = record->accessCount;
    return kNoErr;
}

const SPAccessSuite kAccess = {AcquirePlugin, ReleasePlugin, GetPluginAccessCount};

// ---------------------------------------------------------------- SP Plug-ins

AIErr SetPluginName(SPPluginRef plugin, const char* name) {
    _SPPlugin* record = FindPlugin(plugin);
    if (!record || !name) return kBadParameterErr;
    return Guarded([&] {
        record->name = name;
        return kNoErr;
    });
}

AIErr GetPluginName(SPPluginRef plugin, const char** name) {
    if (!name) return kBadParameterErr;
    *name = nullptr;
    _SPPlugin* record = FindPlugin(plugin);
    if (!record) return kBadParameterErr;
    *name = record->name.c_str();
    return kNoErr;
}

AIErr GetPluginFilePath(SPPluginRef plugin, const char** path) {
    if (!path) return kBadParameterErr;
    *path = nullptr;
    _SPPlugin* record = FindPlugin(plugin);
    if (!record) return kBadParameterErr;
    *path = record->path.c_str();
    return kNoErr;
}

const SPPluginsSuite kPlugins = {SetPluginName, GetPluginName, GetPluginFilePath};

// ---------------------------------------------------------------- SP Blocks and MdMemory

const SPBlocksSuite kBlocks = {AllocateBlock, FreeBlock, ReallocateBlock};
const AIMdMemorySuite kMdMemory = {AllocateBlock, FreeBlock};

// ---------------------------------------------------------------- Notifier and context

AIErr AddNotifier(SPPluginRef self, const char* name, const char* type, AINotifierHandle* notifier) {
    if (notifier) *notifier = nullptr;
    if (!FindPlugin(self) || !name || !type) return kBadParameterErr;
    return Guarded([&] {
        AINotifierHandle added = Plugins()->notifiers().add(self, name, type);
        if (notifier) *notifier = added;
        return kNoErr;
    });
}

AIErr SetNotifierActive(AINotifierHandle notifier, AIBoolean active) {
    PluginDirectory* plugins = Plugins();
    if (!plugins || !plugins->notifiers().knows(notifier)) return kBadParameterErr;
    notifier->active = active != 0;
    return kNoErr;
}

const AINotifierSuite kNotifier = {AddNotifier, SetNotifierActive};

AIErr PushAppContext(SPPluginRef plugin, AIAppContextHandle* appContext) {
    if (!appContext) return kBadParameterErr;
    *appContext = nullptr;
    if (!FindPlugin(plugin)) return kBadParameterErr;
    return Guarded([&] {
        *appContext = Plugins()->contexts().push(plugin);
        return kNoErr;
    });
}

AIErr PopAppContext(AIAppContextHandle appContext) {
    PluginDirectory* plugins = Plugins();
    if (!plugins) return kBadParameterErr;
    return plugins->contexts().pop(appContext) ? kNoErr : kBadParameterErr;
}

const AIAppContextSuite kAppContext = {PushAppContext, PopAppContext};

// ---------------------------------------------------------------- User

AIErr ErrorAlert(AIUnicodeStringRef message) {
    if (!message || !RunningHost()) return kBadParameterErr;
    return Guarded([&] {
        RunningHost()->ui.errorAlert(Utf8Of(message));
        return kNoErr;
    });
}

AIErr MessageAlert(AIUnicodeStringRef message) {
    if (!message || !RunningHost()) return kBadParameterErr;
    return Guarded([&] {
        RunningHost()->ui.messageAlert(Utf8Of(message));
        return kNoErr;
    });
}

AIErr YesNoAlert(AIUnicodeStringRef message, int32_t* answer) {
    if (!message || !answer || !RunningHost()) return kBadParameterErr;
    *answer = kAICancelAnswer;
    return Guarded([&] {
        int given = RunningHost()->ui.yesNoAlert(Utf8Of(message));
        *answer = given == kAINoAnswer || given == kAIYesAnswer ? given : kAICancelAnswer;
        return kNoErr;
    });
}

AIErr GetDirectoryDialog(AIUnicodeStringRef title, AIFilePathRef path) {
    if (!path || !RunningHost()) return kBadParameterErr;
    return Guarded([&] {
        auto folder = RunningHost()->ui.chooseFolder(title ? Utf8Of(title) : std::string());
        if (!folder) return kCanceledErr;
        path->path = *folder;
        return kNoErr;
    });
}

const AIUserSuite kUser = {ErrorAlert, MessageAlert, YesNoAlert, GetDirectoryDialog};

AIErr GetModalParent(AIWindowRef* parent) {
    if (!parent) return kBadParameterErr;
    *parent = nullptr;
    return kNoErr;
}

const AIModalParentSuite kModalParent = {GetModalParent};

// ---------------------------------------------------------------- Filter, Tool, Real Math, Random

AIErr CountFilters(int32_t* count) {
    if (!count) return kBadParameterErr;
    *count = 0;
    return kNoErr;
}

const AIFilterSuite kFilter = {CountFilters};

AIErr GetSelectedTool(AIToolHandle* tool) {
    if (!tool) return kBadParameterErr;
    *tool = nullptr;
    return kNoErr;
}

const AIToolSuite kTool = {GetSelectedTool};

AIErr RealEqual(AIReal a, AIReal b, AIReal tolerance, AIBoolean* equal) {
    if (!equal) return kBadParameterErr;
    *equal = std::fabs(a - b) <= tolerance;
    return kNoErr;
}

AIErr RealPointLength(const AIRealPoint* a, const AIRealPoint* b, AIReal* result) {
    if (!a || !b || !result) return kBadParameterErr;
    *result = static_cast<AIReal>(std::hypot(double(a->h) - b->h, double(a->v) - b->v));
    return kNoErr;
}

const AIRealMathSuite kRealMath = {RealEqual, RealPointLength};

// The application's one random sequence; every host starts it from the same seed.
std::mt19937 gRandom;

AIErr FloatRnd(AIReal* value) {
    if (!value) return kBadParameterErr;
    // generate_canonical may round up to 1 in single precision; the contract is [0, 1).
    double x = std::generate_canonical<double, 32>(gRandom);
    AIReal r = static_cast<AIReal>(x);
    *value = r < 1.0f ? r : std::nextafter(1.0f, 0.0f);
    return kNoErr;
}

AIErr SetRndSeed(int32_t seed) {
    gRandom.seed(static_cast<uint32_t>(seed));
    return kNoErr;
}

const AIRandomSuite kRandom = {FloatRnd, SetRndSeed};

}  // namespace

void RegisterAppSuites(SuiteRegistry& registry) {
    registry.add(kSPAccessSuite, kSPAccessSuiteVersion, kAccess);
    registry.add(kSPPluginsSuite, kSPPluginsSuiteVersion, kPlugins);
    registry.add(kSPBlocksSuite, kSPBlocksSuiteVersion, kBlocks);
    registry.add(kAINotifierSuite, kAINotifierSuiteVersion, kNotifier);
    registry.add(kAIAppContextSuite, kAIAppContextSuiteVersion, kAppContext);
    registry.add(kAIUserSuite, kAIUserSuiteVersion, kUser);
    registry.add(kAIModalParentSuite, kAIModalParentSuiteVersion, kModalParent);
    registry.add(kAIFilterSuite, kAIFilterSuiteVersion, kFilter);
    registry.add(kAIToolSuite, kAIToolSuiteVersion, kTool);
    registry.add(kAIRealMathSuite, kAIRealMathSuiteVersion, kRealMath);
    registry.add(kAIRandomSuite, kAIRandomSuiteVersion, kRandom);
    registry.add(kAIMdMemorySuite, kAIMdMemorySuiteVersion, kMdMemory);
    RegisterStringSuites(registry);
    RegisterMenuSuites(registry);
    RegisterActionSuites(registry);
    gRandom.seed(std::mt19937::default_seed);
}

}  // namespace quiltor::host
