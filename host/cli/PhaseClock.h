// How long a merge spends on each of its steps: reading tiles, placing them, joining seams and
// writing the merged map. The steps are told apart by what the run asks of the host, so the
// plug-in needs no clock of its own.
#pragma once

#include <chrono>
#include <string>

#include "AIHost.h"
#include "suites/RunWatcher.h"

namespace quiltor::host {
class Workspace;
}

namespace quiltor::cli {

struct MergeTimes {
    double reading = 0;  // seconds, opening tile documents
    double placing = 0;  // the rest of the run up to the first join
    double joining = 0;  // from the first listing of a target layer to the end of the run
    double writing = 0;  // saving the merged map
    double total() const { return reading + placing + joining + writing; }
};

// The most memory the process has held so far (its peak resident set), in bytes; 0 where the
// system does not tell.
size_t PeakMemoryBytes();

// "Times: reading tiles 1.234 s, placing 2.345 s, joining seams 0.123 s, writing 1.000 s, in all
// 4.702 s; peak memory 812 MiB" (the memory left out when `peakBytes` is 0)
std::string DescribeTimes(const MergeTimes& times, size_t peakBytes);

// Passes every event on to `next` (may be null), so that it can sit in front of a progress line.
class MergePhaseClock : public host::RunWatcher {
public:
    MergePhaseClock(host::Workspace& workspace, AIDocumentHandle target, host::RunWatcher* next);

    void runStarted();
    void runEnded();
    void writingStarted();
    void writingEnded();
    const MergeTimes& times() const { return times_; }

    void DocumentOpening(const std::string& path) override;
    void DocumentOpened() override;
    void LayerArtListed(const host::Layer& layer) override;

private:
    using Clock = std::chrono::steady_clock;
    static double Since(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

    host::Workspace& workspace_;
    AIDocumentHandle target_;
    host::RunWatcher* next_;
    MergeTimes times_;
    Clock::time_point runStart_, openStart_, joinStart_, writeStart_;
    bool opened_ = false;
    bool joining_ = false;
};

}  // namespace quiltor::cli
