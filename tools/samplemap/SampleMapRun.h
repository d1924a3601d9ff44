// One run of quiltor-samplemap: draw, cut, write every tile, the reference and the manifest.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MapGenerator.h"
#include "MeshBlock.h"

namespace samplemap {

inline constexpr int32_t kMaxDensity = 1000;

struct RunOptions {
    BlockOptions block;
    uint64_t seed = 1;
    int32_t density = 1;
    MapStyle style = MapStyle::Scatter;
    bool seamJunctions = false;
    std::string outDir;  // made when missing; files already there with the same names are replaced
};

struct RunResult {
    std::vector<std::string> files;  // the paths written: tiles in block order, reference, manifest
    int32_t objects = 0;             // of the uncut map
};

// On failure returns false and fills *error with one line; files written before the failure stay.
bool WriteSampleMap(const RunOptions& options, RunResult* result, std::string* error);

}  // namespace samplemap
