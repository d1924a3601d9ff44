// What a merge run shows of its progress while tiles are placed and seams joined: in the Windows
// build a window with a caption and a bar; elsewhere nothing. The seam operations take it as the
// two controls of that window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class MergeProgress {
public:
    virtual ~MergeProgress() = default;
    // In the literal encoding; "\n" breaks the line.
    virtual void SetCaption(const char* text) = 0;
    // The bar runs from 0 to last.
    virtual void SetRange(int32_t last) = 0;
    virtual void SetPosition(int32_t position) = 0;
};

// Shows nothing.
MergeProgress& NoMergeProgress();

// The progress of this build, shown from now until it is destroyed.
std::unique_ptr<MergeProgress> ShowMergeProgress();

// Tests replace what ShowMergeProgress makes; an empty factory restores it.
using MergeProgressFactory = std::function<std::unique_ptr<MergeProgress>()>;
void SetMergeProgressFactory(MergeProgressFactory factory);
