// Rejoining what the tile edges cut, on the merged document through the host
// suites: open lines (LineConnect), filled faces (CompoundShape), unfilled
// rings (CompoundPolyline), and the polygons of a layer stacked above its
// first line (AboveAllPolygon). The plug-in object's members of the same names
// forward here; the seam arithmetic itself lives in SeamGeometry.
//
// The joins find partners through hash indexes of line ends and seam edges
// instead of comparing every piece with every other, but make exactly the
// choices of the pairwise walk over the working set: the first partner in the
// set's order, the same piece tried again after a join, the first piece kept
// and its partner deleted.
#pragma once

#include "AIHost.h"
#include "MergeProgress.h"
#include "core/SeamGeometry.h"

namespace seamjoin {

// The captions the joins show, with the layer's title for "%s".
inline constexpr char kLineCaption[] = "『%s』\nレイヤのメッシュ間で隣接する線を合成中...";
inline constexpr char kFaceCaption[] = "『%s』\nレイヤのメッシュ間で隣接する面を合成中...";
inline constexpr char kClosedLineCaption[] = "『%s』\nレイヤのメッシュ間で隣接する閉じた線を合成中...";

// Each returns 1, whatever happened, as the driver expects. A join with candidates shows its
// caption and steps the bar once per candidate tried, ending at the count.
int LineConnect(AILayerHandle layer, const SeamGrid& grid, MergeProgress& progress);
int CompoundShape(AILayerHandle layer, const SeamGrid& grid, MergeProgress& progress);
int CompoundPolyline(AILayerHandle layer, const SeamGrid& grid, MergeProgress& progress);
// The same, showing nothing.
inline int LineConnect(AILayerHandle layer, const SeamGrid& grid) {
    return LineConnect(layer, grid, NoMergeProgress());
}
inline int CompoundShape(AILayerHandle layer, const SeamGrid& grid) {
    return CompoundShape(layer, grid, NoMergeProgress());
}
inline int CompoundPolyline(AILayerHandle layer, const SeamGrid& grid) {
    return CompoundPolyline(layer, grid, NoMergeProgress());
}
int AboveAllPolygon(AILayerHandle layer);

// Whether two path styles agree in the clip and even-odd flags and in every
// member of the fill colour's value union, reals compared exactly.
bool SamePathStyle(const AIPathStyle& a, const AIPathStyle& b);

// Deletes the path's doubled anchors and there-and-back spurs, one at a time,
// and stops while three anchors remain.
void RemoveDoubledPoints(AIArtHandle path);

}  // namespace seamjoin
