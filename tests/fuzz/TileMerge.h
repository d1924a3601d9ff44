// Merges of a 2 x 2 block of good tiles with one tile replaced by fuzz input, and the judgement of
// what came out: whichever way the merge is run, the good tiles must still be merged. The input
// takes the place of the tile at (input size mod 4) in name order; the first of that order is the
// one whose layer tree the others are held to, so a broken first tile that still opens may turn
// the good ones away, and only then is their loss allowed.
//
// What is expected is read from the files with pugixml alone, never through the host's reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tilemerge {

inline constexpr char kDone[] = "作業が完了しました。";

// What a merge run gave, however it was run.
struct Outcome {
    bool done = false;                 // ended with the completion message
    std::set<std::string> passedOver;  // tiles it named as not merged
    std::filesystem::path merged;      // the saved map; empty when nothing was saved
    std::string transcript;            // for the failure message
};

using Runner = std::function<Outcome(const std::filesystem::path& folder, const std::filesystem::path& out)>;

using Point = std::pair<long, long>;  // hundredths of a point, SVG axes

struct GoodBlock {
    std::filesystem::path root;
    std::vector<std::string> names;  // name order, the order the tiles are merged in
    std::vector<std::filesystem::path> files;
    std::vector<std::multiset<std::string>> labels;
    // Anchors of the clean merge strictly inside one tile, off every seam: no join may take them.
    std::vector<std::set<Point>> inner;
};

// The block of this process, drawn at the first call into a folder of its own and merged with
// run; aborts when the good tiles do not merge. The folder goes when the process exits.
const GoodBlock& TheGoodBlock(const Runner& run);

// Fills folder with the good tiles and the input in place of one; returns that one's index.
size_t WriteFolder(const GoodBlock& good, const uint8_t* data, size_t size, const std::filesystem::path& folder);

// Empty when the outcome kept the good tiles; else what went wrong.
std::string Judge(const GoodBlock& good, size_t broken, const Outcome& outcome);

// One fuzz input: the good tiles and the input merged with run, and the outcome judged; aborts
// on a wrong one.
void MergeWithOneTile(const uint8_t* data, size_t size, const Runner& run);

// Prints why, what the run said, and aborts, so that the fuzzer keeps the input.
[[noreturn]] void Fail(const std::string& why, const std::string& transcript);

}  // namespace tilemerge
