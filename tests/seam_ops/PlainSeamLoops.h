// The seam joins written as plain pairwise walks over the host's working set,
// step for step as the plug-in's loops were first described: every candidate
// compared with every other, members removed from the art set as they go. The
// indexed versions in the plug-in must leave exactly the same document.
#pragma once

#include "AIHost.h"
#include "SeamGeometry.h"

namespace plainseam {

int LineConnect(AILayerHandle layer, const SeamGrid& grid);
int CompoundShape(AILayerHandle layer, const SeamGrid& grid);
int CompoundPolyline(AILayerHandle layer, const SeamGrid& grid);
// Rereads the whole path before every deletion.
void RemoveDoubledPoints(AIArtHandle path);

}  // namespace plainseam
