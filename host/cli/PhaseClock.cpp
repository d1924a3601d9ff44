#include "cli/PhaseClock.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "model/Document.h"
#include "model/Workspace.h"

namespace quiltor::cli {

size_t PeakMemoryBytes() {
    // The resident high-water mark of this program's own image: unlike getrusage's, it does not
    // carry over what the parent held when it started this one.
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return static_cast<size_t>(std::strtoull(line.c_str() + 6, nullptr, 10)) * 1024;
    }
    return 0;
}

std::string DescribeTimes(const MergeTimes& times, size_t peakBytes) {
    char line[240];
    std::snprintf(line, sizeof line,
                  "Times: reading tiles %.3f s, placing %.3f s, joining seams %.3f s, writing %.3f s, in all %.3f s",
                  times.reading, times.placing, times.joining, times.writing, times.total());
    std::string text = line;
    if (peakBytes) text += "; peak memory " + std::to_string((peakBytes + (1 << 19)) >> 20) + " MiB";
    return text;
}

MergePhaseClock::MergePhaseClock(host::Workspace& workspace, AIDocumentHandle target, host::RunWatcher* next)
    : workspace_(workspace), target_(target), next_(next) {}

void MergePhaseClock::runStarted() { runStart_ = Clock::now(); }

void MergePhaseClock::runEnded() {
    const double run = Since(runStart_);
    times_.joining = joining_ ? Since(joinStart_) : 0;
    times_.placing = run - times_.joining - times_.reading;
}

void MergePhaseClock::writingStarted() { writeStart_ = Clock::now(); }

void MergePhaseClock::writingEnded() { times_.writing = Since(writeStart_); }

void MergePhaseClock::DocumentOpening(const std::string& path) {
    openStart_ = Clock::now();
    if (next_) next_->DocumentOpening(path);
}

void MergePhaseClock::DocumentOpened() {
    times_.reading += Since(openStart_);
    opened_ = true;
    if (next_) next_->DocumentOpened();
}

void MergePhaseClock::LayerArtListed(const host::Layer& layer) {
    // Tiles list their own layers while they are placed; the seam steps list the target's.
    if (!joining_ && opened_) {
        const host::Document* target = workspace_.find(target_);
        if (target && target->findLayer(&layer)) {
            joining_ = true;
            joinStart_ = Clock::now();
        }
    }
    if (next_) next_->LayerArtListed(layer);
}

}  // namespace quiltor::cli
