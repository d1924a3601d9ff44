#ifndef QUILTOR_TESTS_FRAMEWORK_RECORDING_PLUGIN_H
#define QUILTOR_TESTS_FRAMEWORK_RECORDING_PLUGIN_H

// The application object of the framework tests. Every virtual operation
// except Message records its name and then answers what the Plugin default
// answers, unless a test asked for another result or an exception. Message is
// left to the framework, so its dispatch and '!MSG' reach PluginMain as they are.

#include <map>
#include <string>
#include <vector>

#include "Plugin.h"

enum class Throw { None, HostError, Foreign };

struct Script {
    std::vector<std::string> calls;        // operations called, in order
    std::map<std::string, AIErr> results;  // forced results by operation name
    std::map<std::string, Throw> throws;   // operation -> what it throws
    AIErr thrownError = 0;                 // code of a thrown ai::Error
    std::vector<AIErr> reports;            // ReportError calls
    int constructed = 0;
    int destroyed = 0;
    bool failAllocation = false;
};

// Shared by every RecordingPlugin of the process; tests reset it.
Script& TheScript();

class RecordingPlugin : public Plugin {
public:
    explicit RecordingPlugin(SPPluginRef pluginRef);
    ~RecordingPlugin() override;

    using Plugin::SetPluginName;
    int32_t lastError() const { return fLastError; }
    int64_t lastErrorTime() const { return fLastErrorTime; }
    int32_t lockCount() const { return fLockCount; }
    SPAccessRef accessRef() const { return fAccessRef; }
    void suppressRepeats(bool on) { fSuppressRepeats = on; }

    void ReportError(AIErr error, const char* caller, const char* selector, void* message) override;

#define QUILTOR_RECORD(Name, Message) AIErr Name(Message* message) override;
#define QUILTOR_RECORD0(Name) AIErr Name() override;
#include "RecordedOperations.inc"
#undef QUILTOR_RECORD
#undef QUILTOR_RECORD0
};

#endif
