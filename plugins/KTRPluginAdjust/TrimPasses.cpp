// The first two passes: they work on the outline's bounds alone, so that the cut pass that
// follows has less art to take to the host's pathfinder.
#include <cstddef>
#include <unordered_set>
#include <vector>

#include "AdjustArt.h"
#include "AdjustPasses.h"
#include "ArtQueries.h"
#include "Suites.h"

namespace adjust {

namespace {

struct Trim {
    bool changed = false;
    AIArtHandle copy = nullptr;  // the part split off, placed below the path
};

// Removes or splits off the first anchor that lies outside the outline's bounds together with the
// way to each neighbour. (Judging by the neighbours' anchors alone would drop a long straight
// stretch that crosses the box between two anchors outside it.) Reports a change only when the
// path really got shorter, so that a host that refuses the change cannot keep the layer running
// for ever.
Trim TrimAtBounds(AIArtHandle path, const Box& outline) {
    const int16_t count = SegmentCount(path);
    if (count < 3) return {};
    std::vector<AIPathSegment> segments(static_cast<std::size_t>(count));
    if (sAIPath->GetPathSegments(path, 0, count, segments.data()) != kNoErr) return {};
    std::vector<PathAnchor> anchors;
    for (const AIPathSegment& s : segments) anchors.push_back(ToAnchor(s));
    auto at = [&](int i) -> const PathAnchor& { return anchors[static_cast<std::size_t>(i)]; };
    int16_t found = -1;
    for (int16_t i = 0; i < count && found < 0; ++i) {
        if (AnchorInside(outline, at(i).p)) continue;
        const bool previousOut = i == 0 || !SegmentMeetsBox(at(i - 1), at(i), outline);
        const bool nextOut = i == count - 1 || !SegmentMeetsBox(at(i), at(i + 1), outline);
        if (previousOut && nextOut) found = i;
    }
    if (found < 0) return {};
    if (found == 0 || found == count - 1) {
        sAIPath->DeletePathSegments(path, found, 1);
        return {SegmentCount(path) == count - 1, nullptr};
    }
    // Both keep anchor `found` as an end. The copy is cut first: when the path then refuses its
    // cut, dropping the copy leaves the line as it was.
    AIArtHandle copy = nullptr;
    if (sAIArt->DuplicateArt(path, kPlaceBelow, path, &copy) != kNoErr || !copy) return {};
    sAIPath->DeletePathSegments(copy, 0, found);
    if (SegmentCount(copy) != count - found) {
        sAIArt->DisposeArt(copy);
        return {};
    }
    sAIPath->DeletePathSegments(path, static_cast<int16_t>(found + 1), static_cast<int16_t>(count - found - 1));
    const int16_t left = SegmentCount(path);
    if (left == found + 1) return {true, copy};
    if (left == count) sAIArt->DisposeArt(copy);
    // Otherwise the path's state is unknown: the copy stays so that nothing of the line is lost,
    // but the layer is not run again for it.
    return {};
}

}  // namespace

void DeleteOutside(AILayerHandle layer, const Box& outline, bool annotation) {
    ArtSet set(layer);
    DisposedArt disposed;
    const int32_t count = set.Count();
    for (int32_t i = 1; i < count; ++i) {
        AIArtHandle art = set.At(i);
        if (!art || disposed.Contains(art)) continue;
        const Standing standing = Locate(art);
        if (!standing.eligible || standing.inCompound || (annotation && standing.inGroup)) continue;
        Box bounds;
        if (Bounds(art, &bounds) && WhollyOutside(outline, bounds)) disposed.Dispose(art);
    }
}

// Only a path that changed can change again, so the later rounds look at the paths of the round
// before.
void TrimLines(AILayerHandle layer, const Box& outline) {
    std::unordered_set<AIArtHandle> changed;
    for (bool firstRound = true;; firstRound = false) {
        ArtSet set(layer);
        DisposedArt disposed;
        std::unordered_set<AIArtHandle> changedNow;
        const int32_t count = set.Count();
        for (int32_t i = 1; i < count; ++i) {
            AIArtHandle art = set.At(i);
            if (!art || disposed.Contains(art) || (!firstRound && changed.count(art) == 0)) continue;
            const Standing standing = Locate(art);
            if (!standing.eligible || standing.inCompound) continue;
            if (ArtType(art) != kPathArt) continue;
            // A line the host cannot answer for is left as it is.
            if (HasFill(art, true) || IsClosed(art, true)) continue;
            Box bounds;
            if (!Bounds(art, &bounds)) continue;
            if (WhollyOutside(outline, bounds)) {
                disposed.Dispose(art);
                continue;
            }
            if (WhollyInside(outline, bounds)) continue;
            const Trim trim = TrimAtBounds(art, outline);
            if (trim.changed) {
                changedNow.insert(art);
                if (trim.copy) changedNow.insert(trim.copy);
            }
        }
        if (changedNow.empty()) break;
        changed = std::move(changedNow);
    }
}

}  // namespace adjust
