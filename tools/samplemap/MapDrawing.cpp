#include "MapDrawing.h"

#include <cmath>

namespace samplemap {
namespace {

double AwayFromSeam(double x, double size) {
    constexpr double kHair = 0.05;
    const double seam = std::round(x / size) * size;
    if (std::abs(x - seam) >= kHair) return x;
    return x >= seam ? seam + 2 * kHair : seam - 2 * kHair;
}

}  // namespace

Style Stroke(float width, Cmyk colour) {
    Style s;
    s.stroked = true;
    s.stroke = colour;
    s.strokeWidth = width;
    return s;
}

Style Fill(Cmyk colour, float strokeWidth, Cmyk stroke) {
    Style s;
    s.filled = true;
    s.fill = colour;
    s.evenOdd = true;
    if (strokeWidth > 0) {
        s.stroked = true;
        s.stroke = stroke;
        s.strokeWidth = strokeWidth;
    }
    return s;
}

double Quantize(double pt) { return std::round(pt * kUnitsPerPoint) / kUnitsPerPoint; }

void Settle(Contour& contour, const TileGrid& grid) {
    for (Point& p : contour) {
        p.h = Quantize(AwayFromSeam(p.h, grid.tileWidth));
        p.v = Quantize(AwayFromSeam(p.v, grid.tileHeight));
    }
}

}  // namespace samplemap
