// Time and peak memory of the seam joins on one layer of a 4 x 4 grid with
// 1k, 10k and 100k cut pieces; the pairwise loops at 1k and 10k beside them.
// The pieces are listed tile by tile, as a merge leaves a layer, or shuffled
// (the second argument, 1), which puts every partner far away in memory.
// Peak memory is the process's: run one benchmark per process
// (--benchmark_filter) for a figure of its own.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "PlainSeamLoops.h"
#include "SeamDoc.h"
#include "SeamJoin.h"
#include "SeamLayouts.h"

namespace {

using seamtest::Layout;
using seamtest::Listing;
using JoinFn = int (*)(AILayerHandle, const SeamGrid&);

seamtest::SeamHost& Host() {
    static seamtest::SeamHost host;
    return host;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

void RunJoin(benchmark::State& state, const Layout& layout, JoinFn join) {
    seamtest::SeamHost& host = Host();
    const SeamGrid grid = layout.Grid();
    std::size_t after = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const AILayerHandle layer = host.NewDocument();
        seamtest::Build(layer, layout);
        state.ResumeTiming();
        join(layer, grid);
        state.PauseTiming();
        after = seamtest::Paths(layer).size();
        host.CloseDocument();
        state.ResumeTiming();
    }
    state.counters["pieces"] = double(layout.items.size());
    state.counters["paths_after"] = double(after);
    state.counters["peak_MB"] = PeakMegabytes();
}

Listing ListingOf(const benchmark::State& state) { return state.range(1) != 0 ? Listing::Shuffled : Listing::ByTile; }

void Lines(benchmark::State& state, JoinFn join) {
    RunJoin(state, seamtest::CutLinesLayout(int(state.range(0)), 7, ListingOf(state)), join);
}

void Faces(benchmark::State& state, JoinFn join) {
    RunJoin(state, seamtest::CutFacesLayout(int(state.range(0)), 7, seamtest::kFace, ListingOf(state)), join);
}

void Indexed(benchmark::internal::Benchmark* b) {
    b->ArgNames({"pieces", "shuffled"})->ArgsProduct({{1000, 10000, 100000}, {0, 1}});
    b->Unit(benchmark::kMillisecond);
}

void Plain(benchmark::internal::Benchmark* b) {
    b->ArgNames({"pieces", "shuffled"})->ArgsProduct({{1000, 10000}, {0}});
    b->Unit(benchmark::kMillisecond)->Iterations(1);
}

}  // namespace

BENCHMARK_CAPTURE(Lines, indexed, seamjoin::LineConnect)->Apply(Indexed);
BENCHMARK_CAPTURE(Lines, plain, plainseam::LineConnect)->Apply(Plain);
BENCHMARK_CAPTURE(Faces, indexed, seamjoin::CompoundShape)->Apply(Indexed);
BENCHMARK_CAPTURE(Faces, plain, plainseam::CompoundShape)->Apply(Plain);

BENCHMARK_MAIN();
