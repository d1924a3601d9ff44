// The seam joins written as plain pairwise walks over the host's working set,
// step for step as the plug-in's loops were first described: every candidate
// compared with every other, members removed from the art set as they go. The
// indexed versions in the plug-in must leave exactly the same document.
#pragma once

#include "AIHost.h"
#include "core/SeamGeometry.h"

namespace plainseam {

// The seam tests, as loops over the seams: x on a vertical seam, y on a
// horizontal one (+X(k), -X(k) or a multiple of Nx, likewise for y), a point
// on either, and an edge along one (a vertical edge on a vertical seam or a
// horizontal edge on a horizontal seam).
bool OnVerticalSeam(const SeamGrid& grid, int32_t x);
bool OnHorizontalSeam(const SeamGrid& grid, int32_t y);
bool OnAnySeam(const SeamGrid& grid, SeamPoint p);
bool AlongSeam(const SeamGrid& grid, SeamPoint a, SeamPoint b);

int LineConnect(AILayerHandle layer, const SeamGrid& grid);
int CompoundShape(AILayerHandle layer, const SeamGrid& grid);
int CompoundPolyline(AILayerHandle layer, const SeamGrid& grid);
// Rereads the whole path before every deletion.
void RemoveDoubledPoints(AIArtHandle path);

}  // namespace plainseam
