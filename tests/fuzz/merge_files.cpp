// A whole tile file from any bytes, merged by the quiltor-host program among three good tiles:
// the program never crashes, hangs or trips a sanitizer, its exit status tells what it merged,
// and the good tiles are still merged (TileMerge.h). libFuzzer sees no coverage of the program,
// so this is mutation fuzzing of whole files; merge_tile runs the same merge in-process.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

#include "ChildProcess.h"
#include "TileMerge.h"

namespace {

namespace fs = std::filesystem;

constexpr char kNotMerged[] = "Not merged: ";
constexpr auto kHangLimit = std::chrono::seconds(60);

std::set<std::string> NamedNotMerged(const std::string& err) {
    std::set<std::string> names;
    for (size_t at = err.find(kNotMerged); at != std::string::npos; at = err.find(kNotMerged, at + 1)) {
        const size_t from = at + sizeof kNotMerged - 1;
        names.insert(err.substr(from, err.find('\n', from) - from));
    }
    return names;
}

bool SanitizerSpoke(const std::string& err) {
    return err.find("Sanitizer") != std::string::npos || err.find("runtime error:") != std::string::npos;
}

std::string Transcript(const testsupport::ChildRun& run) {
    return "--- exit " + std::to_string(run.status) + ", signal " + std::to_string(run.signal) + "\n--- stdout:\n" +
           run.out + "\n--- stderr:\n" + run.err;
}

tilemerge::Outcome Merge(const fs::path& folder, const fs::path& out) {
    fs::remove(out);
    testsupport::ChildOptions options;
    options.timeout = kHangLimit;
    const testsupport::ChildRun run =
        testsupport::RunChild({QUILTOR_HOST_PROGRAM, "merge", folder.string(), "-o", out.string()}, options);
    const std::string transcript = Transcript(run);
    if (run.timedOut) tilemerge::Fail("no end within the time limit", transcript);
    if (run.signal != 0) tilemerge::Fail("ended by a signal", transcript);
    if (SanitizerSpoke(run.err)) tilemerge::Fail("a sanitizer report", transcript);
    if (run.status != 0 && run.status != 1 && run.status != 3)
        tilemerge::Fail("an exit status merge never gives", transcript);

    tilemerge::Outcome outcome;
    outcome.done = run.out.find(tilemerge::kDone) != std::string::npos;
    outcome.passedOver = NamedNotMerged(run.err);
    if (run.status != 1 && fs::exists(out)) outcome.merged = out;
    if (run.status == 0 && !outcome.passedOver.empty()) tilemerge::Fail("exit 0, but tiles passed over", transcript);
    if (run.status == 3 && outcome.passedOver.empty()) tilemerge::Fail("exit 3, but no tile named", transcript);
    outcome.transcript = transcript;
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tilemerge::MergeWithOneTile(data, size, Merge);
    return 0;
}
