#ifndef KTR_CLIP_BOX_H
#define KTR_CLIP_BOX_H

// The outline's bounds against the art of the map: what the deleting and trimming passes decide
// before anything is cut. Edges belong to the box, so art that only touches it is not outside.

#include "PathAnchor.h"

// v grows upward: bottom <= top for any box that holds something.
struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;
};

// No point in common, not even an edge.
bool WhollyOutside(const Box& outline, const Box& art);
bool WhollyInside(const Box& outline, const Box& art);
bool AnchorInside(const Box& outline, const PathPoint& p);

// Whether the way from one anchor to the next can touch the box. A straight line is clipped
// against the box; a curve is judged by the box of its control points, so it may count as
// touching when it passes close by.
bool SegmentMeetsBox(const PathAnchor& from, const PathAnchor& to, const Box& box);

#endif
