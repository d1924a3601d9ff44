// The cut pass: each object on a map layer is taken to the work layer with a copy of the frame,
// and the host's pathfinder takes the frame away. What is left decides: an area is replaced by
// its pieces, anything else stays whole when its bounds keep something and goes when they do not.
#include <vector>

#include "AdjustArt.h"
#include "AdjustPasses.h"
#include "ArtQueries.h"
#include "KTRPluginAdjustPlugin.h"
#include "Suites.h"

namespace adjust {

namespace {

void EmptyWorkLayer(const WorkArea& work) {
    ArtSet set(work.layer);
    // From the last entry up, so that members go before the art that holds them.
    for (int32_t i = set.Count() - 1; i >= 1; --i) {
        if (AIArtHandle art = set.At(i)) sAIArt->DisposeArt(art);
    }
}

bool EveryMemberClosed(AIArtHandle compound) {
    bool complete = false;
    const std::vector<AIArtHandle> members = Members(compound, &complete);
    if (!complete || members.empty()) return false;
    for (AIArtHandle member : members) {
        if (ArtType(member) != kPathArt || !IsClosed(member)) return false;
    }
    return true;
}

// Only areas are cut: a closed, filled path, or a filled compound path all of whose members are
// closed. Everything else (lines, outlines without fill, text, groups, anything on an annotation
// layer) is kept whole or deleted.
bool GetsCut(AIArtHandle art, int16_t type, bool annotation) {
    if (annotation) return false;
    if (type == kPathArt) return IsClosed(art) && HasFill(art);
    if (type == kCompoundPathArt) return HasFill(art) && EveryMemberClosed(art);
    return false;
}

// Moves the pieces the cut left on the work layer to just below the map object. False when the
// host failed on the way; the pieces placed so far are then taken back.
bool PlacePieces(const WorkArea& work, AIArtHandle mapObject) {
    AIArtStyleHandle mapStyle = nullptr;
    if (sAIArtStyle->GetArtStyle(mapObject, &mapStyle) != kNoErr) return false;
    ArtSet set(work.layer);
    DisposedArt disposed;
    std::vector<AIArtHandle> placed;
    // A piece passed over because the host could not say what it is would be lost with the map
    // object, so any read that fails fails the whole placement; and a cut that left something
    // left at least one piece.
    const int32_t count = set.Count();
    bool ok = count > 1;
    for (int32_t i = 1; i < count && ok; ++i) {
        AIArtHandle entry = set.At(i);
        if (!entry) {
            ok = false;
            break;
        }
        if (disposed.Contains(entry)) continue;
        // Members go with the art that holds them.
        AIArtHandle parent = nullptr;
        int16_t type = kUnknownArt;
        if (sAIArt->GetArtParent(entry, &parent) != kNoErr || sAIArt->GetArtType(entry, &type) != kNoErr) {
            ok = false;
            break;
        }
        if (parent != work.group) continue;
        if (type != kGroupArt && type != kPathArt && type != kCompoundPathArt) continue;
        AIBoolean closed = false;
        AIBoolean filled = false;
        if (type != kGroupArt && (sAIPath->GetPathClosed(entry, &closed) != kNoErr ||
                                  (closed && sAIArt->ArtHasFill(entry, &filled) != kNoErr))) {
            ok = false;
            break;
        }
        if (type != kGroupArt && !(closed && filled)) continue;
        AIArtHandle copy = nullptr;
        if (sAIArt->DuplicateArt(entry, kPlaceBelow, mapObject, &copy) != kNoErr || !copy) {
            ok = false;
            break;
        }
        if (type == kGroupArt) {
            placed.push_back(copy);
        } else {
            AIArtStyleHandle copyStyle = nullptr;
            AIBoolean same = false;
            if (sAIArtStyle->GetArtStyle(copy, &copyStyle) != kNoErr ||
                sAIArtStyle->CompareArtStyles(copyStyle, mapStyle, &same) != kNoErr) {
                sAIArt->DisposeArt(copy);
                ok = false;
                break;
            }
            if (same)
                placed.push_back(copy);
            else
                sAIArt->DisposeArt(copy);
        }
        disposed.Dispose(entry);
    }
    if (!ok) {
        for (AIArtHandle copy : placed) sAIArt->DisposeArt(copy);
    }
    return ok;
}

void ClipObject(KTRPluginAdjustPlugin& plugin, const WorkArea& work, AIArtHandle art, bool cut, DisposedArt& disposed) {
    AIArtHandle frameCopy = nullptr;
    if (sAIArt->DuplicateArt(work.frame, kPlaceAboveAll, work.group, &frameCopy) != kNoErr) frameCopy = nullptr;
    AIArtHandle shape = nullptr;
    if (frameCopy) {
        if (!cut)
            shape = plugin.CreateRectLineArt(frameCopy, art);
        else if (sAIArt->DuplicateArt(art, kPlaceAboveAll, work.group, &shape) != kNoErr)
            shape = nullptr;
    }
    // Without both shapes there is no test to go by, and the map object stays.
    AIErr result = kCantHappenErr;
    if (frameCopy && shape) {
        AIArtHandle arts[2] = {shape, frameCopy};
        AIPathfinderData data{};
        data.fSelectedArt = arts;
        data.fSelectedArtCount = 2;
        data.fOptions.ipmPrecision = kPathfinderPrecision;
        data.fOptions.removeRedundantPoints = true;
        data.fOptions.extractUnpaintedArtwork = true;
        result = sAIPathfinder->DoBackMinusFrontEffect(&data);
    }
    bool placed = false;
    if (cut && result == kNoErr) placed = PlacePieces(work, art);
    EmptyWorkLayer(work);
    // Only an empty result says the object lies outside; any other failure keeps it.
    if (result == kEmptyResultErr || placed) disposed.Dispose(art);
}

}  // namespace

void ClipLayer(KTRPluginAdjustPlugin& plugin, const WorkArea& work, AILayerHandle layer) {
    const bool annotation = plugin.CheckPlateoStringLayer(layer);
    ArtSet set(layer);
    DisposedArt disposed;
    const int32_t count = set.Count();
    for (int32_t i = 1; i < count; ++i) {
        AIArtHandle art = set.At(i);
        if (!art || disposed.Contains(art)) continue;
        // Groups and compound paths are cut or tested whole; their members go with them.
        const Standing standing = Locate(art);
        if (!standing.eligible || standing.inCompound || standing.inGroup) continue;
        const int16_t type = ArtType(art);
        if (type == kUnknownArt) continue;
        ClipObject(plugin, work, art, GetsCut(art, type, annotation), disposed);
    }
}

}  // namespace adjust
