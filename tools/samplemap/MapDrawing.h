// What the map painters share: a portable random source, styles, and the settling of anchors
// onto the unit grid away from the seams.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>

#include "MapModel.h"

namespace samplemap {

// mt19937_64 yields the same sequence everywhere; the standard distributions do not, so the
// conversion to reals is done here.
class Random {
public:
    explicit Random(uint64_t seed) : engine_(seed) {}
    double Uniform(double a, double b) { return a + (b - a) * static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    int Below(int n) { return std::min(n - 1, static_cast<int>(Uniform(0, n))); }
    bool Chance(double p) { return Uniform(0, 1) < p; }

private:
    std::mt19937_64 engine_;
};

Style Stroke(float width, Cmyk colour);
Style Fill(Cmyk colour, float strokeWidth = 0, Cmyk stroke = {});

double Quantize(double pt);

// Moves every anchor off any seam it nearly touches, then onto the unit grid, so an edge never
// runs along a seam and the cutter sees exactly these coordinates. Equal coordinates stay equal.
void Settle(Contour& contour, const TileGrid& grid);

}  // namespace samplemap
