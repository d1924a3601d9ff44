#include "RecordingPlugin.h"

#include <stdexcept>

#include "IAIError.h"
#include "PluginDescription.h"
#include "Suites.h"

namespace {

Script gScript;

// Records the call before the default runs, so nested calls follow it.
void Enter(const char* name) {
    gScript.calls.emplace_back(name);
    if (const auto it = gScript.throws.find(name); it != gScript.throws.end()) {
        if (it->second == Throw::HostError) throw ai::Error(gScript.thrownError);
        if (it->second == Throw::Foreign) throw std::runtime_error(name);
    }
}

AIErr Answer(const char* name, AIErr byDefault) {
    const auto it = gScript.results.find(name);
    return it != gScript.results.end() ? it->second : byDefault;
}

}  // namespace

Script& TheScript() { return gScript; }

RecordingPlugin::RecordingPlugin(SPPluginRef pluginRef) : Plugin(pluginRef) {
    SetPluginName("RecordingPlugin");
    ++gScript.constructed;
}

RecordingPlugin::~RecordingPlugin() { ++gScript.destroyed; }

void RecordingPlugin::ReportError(AIErr error, const char* caller, const char* selector, void* message) {
    gScript.reports.push_back(error);
    Plugin::ReportError(error, caller, selector, message);
}

#define QUILTOR_RECORD(Name, Message)                \
    AIErr RecordingPlugin::Name(Message* message) {  \
        Enter(#Name);                                \
        return Answer(#Name, Plugin::Name(message)); \
    }
#define QUILTOR_RECORD0(Name)                 \
    AIErr RecordingPlugin::Name() {           \
        Enter(#Name);                         \
        return Answer(#Name, Plugin::Name()); \
    }
#include "RecordedOperations.inc"
#undef QUILTOR_RECORD
#undef QUILTOR_RECORD0

Plugin* AllocatePlugin(SPPluginRef pluginRef) {
    if (gScript.failAllocation) return nullptr;
    return new RecordingPlugin(pluginRef);
}

// One suite of its own, after the lists every plug-in acquires; the
// deliverables' own lists are tested with them.
const void* sRecordingSuite = nullptr;
ImportSuite kOwnSuites[] = {
    {"Recording Test Suite", 1, &sRecordingSuite},
    {nullptr, 0, nullptr},
};
const PluginDescription gPluginDescription = {
    "RecordingPlugin", "", "", "", {"", "", ""}, kOwnSuites, 0,
};
