// Time and peak memory of the seam joins on one layer of a 4 x 4 grid with
// 1k, 10k and 100k cut pieces; the pairwise loops at 1k and 10k beside them.
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
using JoinFn = int (*)(AILayerHandle, const SeamGrid&);

seamtest::SeamHost& Host()
{
    static seamtest::SeamHost host;
    return host;
}

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

void RunJoin(benchmark::State& state, const Layout& layout, JoinFn join)
{
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

void Lines(benchmark::State& state, JoinFn join)
{
    RunJoin(state, seamtest::CutLinesLayout(int(state.range(0)), 7), join);
}

void Faces(benchmark::State& state, JoinFn join)
{
    RunJoin(state, seamtest::CutFacesLayout(int(state.range(0)), 7), join);
}

}  // namespace

BENCHMARK_CAPTURE(Lines, indexed, seamjoin::LineConnect)
    ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Lines, plain, plainseam::LineConnect)
    ->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(Faces, indexed, seamjoin::CompoundShape)
    ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Faces, plain, plainseam::CompoundShape)
    ->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
