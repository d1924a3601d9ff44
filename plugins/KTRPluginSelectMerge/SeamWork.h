// Host reads shared by the seam joins, on top of the plug-ins' art queries.
// Every helper starts from a safe value, so a failed host call reads as
// "nothing there" rather than as garbage. The joins take the layer's art once
// (LayerArt) and track later removals themselves, so no call costs more than a
// constant per piece.
#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "AIHost.h"
#include "ArtQueries.h"
#include "MergeProgress.h"
#include "core/SeamGeometry.h"

namespace seamjoin::detail {

// Shows a join's caption (format holds "%s" for the layer's title, read through the 101-byte title
// buffer) and sets the bar to run over count steps.
void ShowJoinProgress(MergeProgress& progress, const char* format, AILayerHandle layer, std::size_t count);

// All segments; empty when the host cannot hand them out.
std::vector<AIPathSegment> ReadSegments(AIArtHandle art);
// The same into a buffer that is reused.
void ReadSegments(AIArtHandle art, std::vector<AIPathSegment>& segments);
// One segment; false when the host cannot hand it out.
bool ReadSegment(AIArtHandle art, int16_t index, AIPathSegment* segment);

inline SeamPoint Anchor(const AIPathSegment& segment) { return ToSeamPoint(segment.p.h, segment.p.v); }

std::vector<SeamPoint> Outline(const std::vector<AIPathSegment>& segments);
void AppendOutline(const std::vector<AIPathSegment>& segments, std::vector<SeamPoint>& outline);

// Whether any edge of the closed outline (wrapping) lies along a seam.
bool HasSeamEdge(const SeamGrid& grid, std::span<const SeamPoint> outline);

AIPathStyle ReadPathStyle(AIArtHandle art);

// The distinct path styles of a layer's pieces (told apart by their bytes),
// so that each piece keeps a small index rather than a copy.
class PathStyles {
public:
    uint32_t Add(const AIPathStyle& style);
    const AIPathStyle& operator[](uint32_t index) const { return styles_[index]; }

private:
    std::deque<AIPathStyle> styles_;  // stable addresses for the keys below
    std::unordered_map<std::string_view, uint32_t> index_;
};
// RemoveDoubledPoints on a path whose outline the caller holds: the outline
// gets the deletions too. False when the host refused one; the outline is
// then no longer the path's.
bool RemoveDoubledPoints(AIArtHandle path, std::vector<SeamPoint>& outline);

// Deletes a partner piece that is now part of another path, and the compound
// path it leaves without members, which would stay in the layer as an object
// with no outline.
void DisposePiece(AIArtHandle art);

AIArtStyleHandle ReadArtStyle(AIArtHandle art);
bool SameArtStyle(AIArtStyleHandle a, AIArtStyleHandle b);

}  // namespace seamjoin::detail
