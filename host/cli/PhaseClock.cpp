#include "cli/PhaseClock.h"

#include <cstdio>

#include "model/Document.h"
#include "model/Workspace.h"

namespace quiltor::cli {

std::string DescribeTimes(const MergeTimes& times) {
    char line[200];
    std::snprintf(line, sizeof line,
                  "Times: reading tiles %.3f s, placing %.3f s, joining seams %.3f s, writing %.3f s, in all %.3f s",
                  times.reading, times.placing, times.joining, times.writing, times.total());
    return line;
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
