// A whole merge run once for every host call of the run, with that one call failing the way the
// host fails it. Whatever fails, nothing of the tiles may be lost: either the run ends before the
// target is touched (and says why), or every label and every anchor off the seams of each tile it
// did not name as passed over is in the merged map.
//
// QUILTOR_SWEEP_CALLS=N sweeps N indices spread over the run (0: every index).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "InProcessHost.h"
#include "KTRPluginSelectMergePlugin.h"
#include "LayerSnapshot.h"
#include "PluginSuites.h"
#include "SampleMapRun.h"
#include "SelectMergeRun.h"
#include "SuiteFaults.h"
#include "SweepIndices.h"
#include "TempDir.h"
#include "core/HostStrings.h"
#include "core/MeshGrid.h"
#include "core/SelectionTable.h"
#include "core/TextSelectionDialog.h"
#include "model/Document.h"

namespace {

using quiltor::host::Art;
using quiltor::host::Document;

constexpr char kDone[] = "作業が完了しました。";

// What a merged map holds, as far as the sweep checks it.
struct MapContent {
    std::multiset<std::tuple<std::string, long, long>> labels;  // text, position in 1/100 pt
    std::set<std::pair<long, long>> anchors;                    // off the seams, in 1/100 pt
    size_t art = 0;
};

long Hundredths(AIReal v) { return std::lround(double(v) * 100.0); }

// A point on a seam (a multiple of the tile size from the origin) may be merged away by design.
bool OnSeam(AIReal v, double tile) {
    const double r = std::remainder(double(v), tile);
    return std::fabs(r) < 0.05;
}

MapContent ContentOf(const Document& document, double tileWidth, double tileHeight) {
    MapContent content;
    for (auto* layer = document.firstLayer(); layer != nullptr; layer = quiltor::host::NextLayerInPreorder(layer)) {
        for (Art* art = layer->group->firstChild; art != nullptr;
             art = quiltor::host::NextInPreorder(art, layer->group)) {
            ++content.art;
            if (art->type == kTextFrameArt) {
                content.labels.insert(
                    {quiltor::host::EncodeUtf8(art->text), Hundredths(art->position.h), Hundredths(art->position.v)});
            }
            for (const AIPathSegment& s : art->segments) {
                if (OnSeam(s.p.h, tileWidth) || OnSeam(s.p.v, tileHeight)) continue;
                content.anchors.insert({Hundredths(s.p.h), Hundredths(s.p.v)});
            }
        }
    }
    return content;
}

struct RunResult {
    int calls = 0;
    std::string failed;  // the call that failed
    int lastWorkingCall = 0;
    std::vector<std::string> log;  // every call, in order
    std::vector<std::string> errors;
    std::vector<std::string> messages;
    bool done = false;
    bool allocationFailed = false;
    int allocations = 0;
    MapContent content;
};

// What every failing run must keep; `n` names the failure in messages.
void ExpectNothingLost(const RunResult& clean, const RunResult& run, int n, bool lastMessageOnly) {
    if (!run.done) {
        // A run that stops must say so, unless only its last message could not be shown.
        EXPECT_TRUE(!run.errors.empty() || lastMessageOnly) << n;
        return;
    }
    // Done, but a tile it names may have been passed over; the rest must be whole.
    if (!run.errors.empty()) return;
    EXPECT_EQ(run.content.labels, clean.content.labels) << n;
    std::vector<std::pair<long, long>> missing;
    std::set_difference(clean.content.anchors.begin(), clean.content.anchors.end(), run.content.anchors.begin(),
                        run.content.anchors.end(), std::back_inserter(missing));
    EXPECT_TRUE(missing.empty()) << n << ": " << missing.size() << " of " << clean.content.anchors.size()
                                 << " anchors missing, first at " << missing.front().first / 100.0 << ", "
                                 << missing.front().second / 100.0;
}

// A 3 x 3 block of secondary squares, or a 2 x 2 block of the Tokyo-23 mesh, drawn once per kind.
class MergeSweep : public ::testing::TestWithParam<MeshKind> {
protected:
    void SetUp() override {
        const MeshKind kind = GetParam();
        folder_ = std::make_unique<testsupport::TempDir>("quiltor-sweep");
        samplemap::RunOptions options;
        options.block.kind = kind;
        options.block.origin = samplemap::DefaultOrigin(kind);
        options.block.scale = samplemap::DefaultScale(kind);
        options.block.columns = kind == MeshKind::Tokyo23 ? 2 : 3;
        options.block.rows = kind == MeshKind::Tokyo23 ? 2 : 3;
        options.seed = 7;
        options.outDir = folder_->path().string();
        std::string error;
        ASSERT_TRUE(samplemap::WriteSampleMap(options, nullptr, &error)) << error;
        const MeshSize tile = MeshTileSize(kind, options.block.scale);
        tileWidth_ = tile.widthPt;
        tileHeight_ = tile.heightPt;
    }

    // One whole merge with host call `failAt` failing (0: none), or with the plug-in's own
    // allocation `allocationAt` failing.
    RunResult Run(int failAt, int allocationAt = 0) const {
        RunResult result;
        testsupport::InProcessHost running;
        testsupport::PluginSuites suites;
        EXPECT_EQ(suites.error(), kNoErr);
        auto plugin = std::make_unique<KTRPluginSelectMergePlugin>(nullptr);
        quiltor::host::NewDocumentOptions page;
        page.widthPt = 5000;
        page.heightPt = 5000;
        const AIDocumentHandle target = running.workspace().newDocument(page);
        running.user().queueFolder(folder_->path().string());
        running.user().queueAnswer(1);
        std::string script = "add all\nok\n";
        FILE* in = fmemopen(script.data(), script.size(), "r");
        FILE* out = std::fopen("/dev/null", "w");
        SetSelectionDialogFactory(
            [&](SelectionAlerts& alerts) { return std::make_unique<TextSelectionDialog>(alerts, in, out); });
        {
            testsupport::SuiteFaults faults(running.suites());
            faults.WrapAll();
            faults.FailNthCall(failAt);
            SetMeshRealloc(&testsupport::SuiteFaults::Realloc);
            SetLayerRecordRealloc(&testsupport::SuiteFaults::Realloc);
            testsupport::SuiteFaults::FailReallocAt(allocationAt);
            plugin->KTRPluginSelectMergeMain(nullptr);
            result.allocationFailed = testsupport::SuiteFaults::ReallocFailed();
            result.allocations = testsupport::SuiteFaults::ReallocCalls();
            SetMeshRealloc(nullptr);
            SetLayerRecordRealloc(nullptr);
            result.calls = faults.TotalCalls();
            if (failAt > 0 && failAt <= int(faults.Log().size())) result.failed = faults.Log()[size_t(failAt - 1)];
            // Looking into one failure: the calls around it.
            if (failAt > 0 && std::getenv("QUILTOR_SWEEP_AT") != nullptr) {
                for (int i = std::max(1, failAt - 12); i <= std::min(int(faults.Log().size()), failAt + 12); ++i)
                    std::printf("%c %d %s\n", i == failAt ? '>' : ' ', i,
                                std::string(faults.Log()[size_t(i - 1)]).c_str());
            }
            result.lastWorkingCall = testsupport::LastWorkingCall(faults.Log());
            if (failAt == 0) result.log.assign(faults.Log().begin(), faults.Log().end());
        }
        SetSelectionDialogFactory({});
        std::fclose(in);
        std::fclose(out);
        for (const auto& alert : running.user().alerts()) {
            if (alert.kind == quiltor::host::AlertKind::Error) result.errors.push_back(alert.text);
            if (alert.kind == quiltor::host::AlertKind::Message) result.messages.push_back(alert.text);
        }
        result.done = !result.messages.empty() && result.messages.back() == kDone;
        if (const Document* document = running.workspace().find(target))
            result.content = ContentOf(*document, tileWidth_, tileHeight_);
        plugin.reset();
        return result;
    }

    std::unique_ptr<testsupport::TempDir> folder_;
    double tileWidth_ = 0;
    double tileHeight_ = 0;
};

TEST_P(MergeSweep, AFailingHostCallLosesNothingAndIsNeverReportedAsSuccess) {
    const RunResult clean = Run(0);
    ASSERT_TRUE(clean.done);
    ASSERT_TRUE(clean.errors.empty());
    ASSERT_GT(clean.content.anchors.size(), 100u);
    int swept = 0;
    int ended = 0;
    for (int n : testsupport::SweepCalls(clean.log)) {
        ++swept;
        const RunResult run = Run(n);
        SCOPED_TRACE("host call " + std::to_string(n) + " of " + std::to_string(clean.calls) +
                     " failing: " + run.failed);
        if (!run.done) ++ended;
        ExpectNothingLost(clean, run, n, n > clean.lastWorkingCall);
    }
    std::printf("[ sweep    ] %d of %d host calls failed in turn; %d runs stopped early\n", swept, clean.calls, ended);
}

// The plug-in's own tables and layer records grow through a realloc that fails at each call in turn.
TEST_P(MergeSweep, AFailingAllocationOfThePlugInLosesNothing) {
    const RunResult clean = Run(0);
    ASSERT_TRUE(clean.done);
    ASSERT_GT(clean.allocations, 10);
    const std::vector<int> indices = testsupport::SweepIndices(clean.allocations);
    for (int n : indices) {
        const RunResult run = Run(0, n);
        ASSERT_TRUE(run.allocationFailed) << n;
        ExpectNothingLost(clean, run, n, false);
    }
    std::printf("[ sweep    ] %zu of %d allocations of the plug-in failed in turn\n", indices.size(),
                clean.allocations);
}

INSTANTIATE_TEST_SUITE_P(Blocks, MergeSweep, ::testing::Values(MeshKind::Material, MeshKind::Tokyo23),
                         [](const auto& info) { return info.param == MeshKind::Tokyo23 ? "Tokyo23" : "Material"; });

}  // namespace
