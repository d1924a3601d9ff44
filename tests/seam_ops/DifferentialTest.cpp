// The indexed joins against the pairwise loops, on the same layouts built into
// two documents: the documents must come out identical after every step.
#include <array>
#include <cstdlib>

#include "PlainSeamLoops.h"
#include "SeamOpsFixture.h"

namespace seamtest {
namespace {

using JoinFn = int (*)(AILayerHandle, const SeamGrid&);

struct Steps {
    JoinFn lines;
    JoinFn faces;
    JoinFn rings;
};

const Steps kPlain{plainseam::LineConnect, plainseam::CompoundShape, plainseam::CompoundPolyline};
const Steps kIndexed{seamjoin::LineConnect, seamjoin::CompoundShape, seamjoin::CompoundPolyline};

// The layer after each step: lines, faces, rings, polygon stacking.
std::vector<std::string> Run(SeamHost& host, const Layout& layout, const Steps& steps, std::vector<std::size_t>* counts)
{
    const AILayerHandle layer = host.NewDocument();
    Build(layer, layout);
    const SeamGrid grid = layout.Grid();
    std::vector<std::string> dumps;
    if (counts) {
        counts->push_back(Paths(layer).size());
    }
    for (JoinFn step : {steps.lines, steps.faces, steps.rings}) {
        EXPECT_EQ(step(layer, grid), 1);
        dumps.push_back(Dump(layer));
        if (counts) {
            counts->push_back(Paths(layer).size());
        }
    }
    seamjoin::AboveAllPolygon(layer);
    dumps.push_back(Dump(layer));
    host.CloseDocument();
    return dumps;
}

int LayoutCount(int fallback)
{
    const char* env = std::getenv("QUILTOR_SEAM_LAYOUTS");
    return env != nullptr ? std::max(1, std::atoi(env)) : fallback;
}

void Compare(SeamHost& host, const Layout& layout, uint32_t seed, std::array<int, 3>* joined)
{
    std::vector<std::size_t> counts;
    const auto plain = Run(host, layout, kPlain, &counts);
    const auto indexed = Run(host, layout, kIndexed, nullptr);
    const char* steps[] = {"lines", "faces", "rings", "stacking"};
    for (std::size_t k = 0; k < plain.size(); ++k) {
        ASSERT_EQ(indexed[k], plain[k]) << "seed " << seed << ", after " << steps[k];
    }
    for (std::size_t k = 0; k < 3 && joined; ++k) {
        (*joined)[k] += counts[k + 1] < counts[k] ? 1 : 0;
    }
}

TEST(SeamOpsDifferential, RandomSeamLayoutsComeOutTheSame)
{
    SeamHost host;
    ASSERT_TRUE(host.ok());
    const int layouts = LayoutCount(3000);
    std::array<int, 3> joined{0, 0, 0};
    for (int seed = 1; seed <= layouts; ++seed) {
        ASSERT_NO_FATAL_FAILURE(Compare(host, RandomLayout(uint32_t(seed)), uint32_t(seed), &joined));
    }
    // The layouts must give the joins something to choose between.
    EXPECT_GT(joined[0], layouts / 2);
    EXPECT_GT(joined[1], layouts / 4);
    EXPECT_GT(joined[2], layouts / 8);
}

TEST(SeamOpsDifferential, CutLinesAndFacesOnAFourByFourGridComeOutTheSame)
{
    SeamHost host;
    ASSERT_TRUE(host.ok());
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        ASSERT_NO_FATAL_FAILURE(Compare(host, CutLinesLayout(400, seed), seed, nullptr));
        ASSERT_NO_FATAL_FAILURE(Compare(host, CutFacesLayout(400, seed), seed, nullptr));
    }
}

}  // namespace
}  // namespace seamtest
