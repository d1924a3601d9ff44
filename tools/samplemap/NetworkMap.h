// A map with the topology of real map data: boundary and road networks whose every stretch
// between two junctions is a feature of its own, and blocks of areas sharing straight borders.
#pragma once

#include "MapGenerator.h"

namespace samplemap {

// Junctions lie inland, many of them a few points off a seam, so a line's end at a junction
// often sits next to the cut of a neighbouring line. Borders of areas run straight, some
// horizontal or vertical across whole tiles from seam to seam, some a few points off a seam;
// neighbouring areas share their borders anchor for anchor. No two features of one style
// share an end on a seam, except at junctions asked for there, which join three or more.
SampleMap DrawNetworkMap(const MapOptions& options);

}  // namespace samplemap
