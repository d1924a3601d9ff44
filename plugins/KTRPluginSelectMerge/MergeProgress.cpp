#include "MergeProgress.h"

#include <utility>

namespace {

class NoProgress final : public MergeProgress {
public:
    void SetCaption(const char*) override {}
    void SetRange(int32_t) override {}
    void SetPosition(int32_t) override {}
};

MergeProgressFactory& Factory() {
    static MergeProgressFactory factory;
    return factory;
}

}  // namespace

MergeProgress& NoMergeProgress() {
    static NoProgress none;
    return none;
}

// The Windows build makes its window in MergeProgressWindow.cpp.
std::unique_ptr<MergeProgress> MakeMergeProgressWindow();

std::unique_ptr<MergeProgress> ShowMergeProgress() {
    if (Factory()) return Factory()();
#ifdef _WIN32
    if (auto window = MakeMergeProgressWindow()) return window;
#endif
    return std::make_unique<NoProgress>();
}

void SetMergeProgressFactory(MergeProgressFactory factory) { Factory() = std::move(factory); }
