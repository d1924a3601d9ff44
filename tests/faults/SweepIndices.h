// Which host calls a sweep fails: every one, or as many as QUILTOR_SWEEP_CALLS asks for, spread
// evenly over the run (0: every one), or the one QUILTOR_SWEEP_AT names. The default keeps a CI
// run short.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

inline std::vector<int> SweepIndices(int total, int byDefault = 400) {
    // QUILTOR_SWEEP_AT=n: that one call, to look into a failure.
    if (const char* at = std::getenv("QUILTOR_SWEEP_AT")) return {std::atoi(at)};
    const char* wanted = std::getenv("QUILTOR_SWEEP_CALLS");
    const int count = wanted != nullptr ? std::atoi(wanted) : byDefault;
    std::vector<int> indices;
    if (count <= 0 || count >= total) {
        for (int i = 1; i <= total; ++i) indices.push_back(i);
        return indices;
    }
    for (int i = 0; i < count; ++i) indices.push_back(1 + int(int64_t(i) * (total - 1) / std::max(count - 1, 1)));
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

// Calls that only give memory back to the host. A host that refused one would leak what the
// plug-in gave back, which no plug-in can help; failing them would only make the sanitizers report
// the host's leak.
inline bool ReleasesMemory(std::string_view call) {
    for (std::string_view release :
         {"::Destroy", "::AIDeleteActionParamValue", "::DisposeArtSet", "::FreeBlock", "::MdMemoryDisposeHandle"}) {
        if (call.size() > release.size() && call.substr(call.size() - release.size()) == release) return true;
    }
    return false;
}

// The calls of a clean run's log to fail in turn: as SweepIndices, leaving out the ones that only
// give memory back.
inline std::vector<int> SweepCalls(const std::vector<std::string>& log) {
    std::vector<int> indices;
    for (int n : SweepIndices(int(log.size()))) {
        if (!ReleasesMemory(log[size_t(n - 1)])) indices.push_back(n);
    }
    return indices;
}

// The last call of a run's log that does more than show an alert: a failure after it can only
// keep the last message from being shown, which no run can help.
inline int LastWorkingCall(const std::vector<std::string_view>& log) {
    for (int i = int(log.size()); i > 0; --i) {
        const std::string_view name = log[size_t(i - 1)];
        if (name.rfind("AIUserSuite::", 0) != 0 && name.rfind("AIUnicodeStringSuite::", 0) != 0) return i;
    }
    return 0;
}

}  // namespace testsupport
