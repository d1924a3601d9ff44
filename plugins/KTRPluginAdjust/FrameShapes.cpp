// The shapes the run builds for the host's pathfinder: the frame around the outline, flattened
// and taken back, and the rectangle that tests an object that is not cut.
#include <vector>

#include "AdjustArt.h"
#include "AdjustPasses.h"
#include "ArtQueries.h"
#include "KTRPluginAdjustPlugin.h"
#include "Suites.h"

namespace {

// Half the side of the frame square; 16383, so the square stays inside the host's range.
constexpr AIReal kFrameHalfSide = 16383.0f;

// The frame is drawn in a muted yellow, the test rectangles in black. Gray uses the first
// component only.
constexpr AIReal kFrameColour[4] = {0.933333f, 0.737255f, 0.152941f, 0.48f};
constexpr AIReal kTestRectColour[4] = {0.0f, 0.0f, 0.0f, 1.0f};

// A test rectangle thinner than this (the bounds of a level or upright line) would cover no area,
// and the pathfinder would report it empty even wholly inside the outline.
constexpr AIReal kMinTestRectSide = 0.02f;

void SetComponents(AIColor& colour, const AIReal (&components)[4]) {
    switch (colour.kind) {
    case kGrayColor:
        colour.c = AIColorUnion{};
        colour.c.g.gray = components[0];
        break;
    case kFourColor:
        colour.c = AIColorUnion{};
        colour.c.f = AIFourColorStyle{components[0], components[1], components[2], components[3]};
        break;
    case kThreeColor:
        colour.c = AIColorUnion{};
        colour.c.rgb = AIThreeColorStyle{components[0], components[1], components[2]};
        break;
    case kNoneColor: colour.c = AIColorUnion{}; break;
    default: break;  // patterns, gradients and custom colours keep what they were
    }
}

// Filled, unstroked, in the colour kind of the document's colour model.
AIErr StyleShape(AIArtHandle art, const AIReal (&components)[4], bool evenOdd) {
    AIPathStyle style{};
    if (AIErr error = sAIPathStyle->GetPathStyle(art, &style)) return error;
    int16_t model = kDocUnknownColor - 1;  // anything else keeps the colour kind as read
    if (sAIDocument->GetDocumentColorModel(&model) != kNoErr) model = kDocUnknownColor - 1;
    AIColor colour = style.fill.color;
    switch (model) {
    case kDocGrayColor: colour.kind = kGrayColor; break;
    case kDocRGBColor: colour.kind = kThreeColor; break;
    case kDocCMYKColor: colour.kind = kFourColor; break;
    case kDocUnknownColor: colour.kind = kNoneColor; break;
    default: break;
    }
    SetComponents(colour, components);
    style.fillPaint = true;
    style.strokePaint = false;
    style.fill.color = colour;
    style.stroke.color = colour;
    style.stroke.width = 1.0f;
    style.stroke.dash = AIDashStyle{};
    if (evenOdd) style.evenodd = true;
    return sAIPathStyle->SetPathStyle(art, &style);
}

AIPathSegment Corner(AIReal h, AIReal v) {
    const AIRealPoint p{h, v};
    return AIPathSegment{p, p, p, 1};
}

AIErr MakeRectangle(AIArtHandle path, const AIPathSegment (&corners)[4]) {
    if (AIErr error = sAIPath->SetPathSegmentCount(path, 4)) return error;
    if (AIErr error = sAIPath->SetPathSegments(path, 0, 4, corners)) return error;
    return sAIPath->SetPathClosed(path, true);
}

}  // namespace

AIArtHandle KTRPluginAdjustPlugin::CreateLineArt(AIArtHandle path) {
    AIArtHandle square = nullptr;
    if (sAIArt->NewArt(kPathArt, kPlaceAbove, path, &square) != kNoErr || !square) return nullptr;
    const AIPathSegment corners[4] = {
        Corner(-kFrameHalfSide, -kFrameHalfSide),
        Corner(kFrameHalfSide, -kFrameHalfSide),
        Corner(kFrameHalfSide, kFrameHalfSide),
        Corner(-kFrameHalfSide, kFrameHalfSide),
    };
    // Even-odd, so the outline is a hole in the square whichever way either runs.
    if (MakeRectangle(square, corners) != kNoErr || StyleShape(square, kFrameColour, true) != kNoErr) {
        sAIArt->DisposeArt(square);
        return nullptr;
    }
    AIArtHandle compound = nullptr;
    if (sAIArt->NewArt(kCompoundPathArt, kPlaceAbove, square, &compound) != kNoErr || !compound) {
        sAIArt->DisposeArt(square);
        return nullptr;
    }
    // A frame without its hole would cover the whole map, so a half-made one is taken back.
    if (sAIArt->ReorderArt(square, kPlaceInsideOnBottom, compound) != kNoErr) {
        sAIArt->DisposeArt(compound);
        sAIArt->DisposeArt(square);
        return nullptr;
    }
    if (sAIArt->ReorderArt(path, kPlaceInsideOnBottom, compound) != kNoErr) {
        sAIArt->DisposeArt(compound);
        return nullptr;
    }
    return compound;
}

AIArtHandle KTRPluginAdjustPlugin::CreateRectLineArt(AIArtHandle reference, AIArtHandle object) {
    AIArtHandle rect = nullptr;
    if (sAIArt->NewArt(kPathArt, kPlaceAbove, reference, &rect) != kNoErr || !rect) return nullptr;
    AIRealRect bounds{0, 0, 0, 0};
    if (sAIArt->GetArtBounds(object, &bounds) != kNoErr) {
        sAIArt->DisposeArt(rect);
        return nullptr;
    }
    if (bounds.right - bounds.left < kMinTestRectSide) {
        bounds.left -= kMinTestRectSide / 2;
        bounds.right += kMinTestRectSide / 2;
    }
    if (bounds.top - bounds.bottom < kMinTestRectSide) {
        bounds.bottom -= kMinTestRectSide / 2;
        bounds.top += kMinTestRectSide / 2;
    }
    const AIPathSegment corners[4] = {
        Corner(bounds.left, bounds.bottom),
        Corner(bounds.right, bounds.bottom),
        Corner(bounds.right, bounds.top),
        Corner(bounds.left, bounds.top),
    };
    if (MakeRectangle(rect, corners) != kNoErr || StyleShape(rect, kTestRectColour, false) != kNoErr) {
        sAIArt->DisposeArt(rect);
        return nullptr;
    }
    return rect;
}

namespace adjust {

namespace {

// The top-level art of a layer.
std::vector<AIArtHandle> LayerObjects(AILayerHandle layer) {
    AIArtHandle group = nullptr;
    if (sAIArt->GetFirstArtOfLayer(layer, &group) != kNoErr || !group) return {};
    return Members(group);
}

}  // namespace

AIArtHandle FlattenFrame(AILayerHandle clipLayer, AIArtHandle lineArt) {
    AIArtHandle arts[1] = {lineArt};
    AIPathfinderData data{};
    data.fSelectedArt = arts;
    data.fSelectedArtCount = 1;
    data.fOptions.ipmPrecision = kPathfinderPrecision;
    data.fOptions.removeRedundantPoints = false;
    data.fOptions.extractUnpaintedArtwork = true;
    // A failed flattening that leaves the frame as built still has the outline as its hole.
    sAIPathfinder->DoExcludeEffect(&data);
    for (AIArtHandle art : LayerObjects(clipLayer)) {
        if (ArtType(art) == kCompoundPathArt && HasMembers(art)) return art;
    }
    return nullptr;
}

void TakeBackFrame(AILayerHandle clipLayer, AIArtHandle path, AIArtStyleHandle style) {
    bool outlineAlive = false;
    for (AIArtHandle art : LayerObjects(clipLayer)) {
        for (AIArtHandle member : Subtree(art)) outlineAlive |= member == path;
    }
    AIArtHandle group = nullptr;
    if (outlineAlive && sAIArt->GetFirstArtOfLayer(clipLayer, &group) == kNoErr && group &&
        sAIArt->ReorderArt(path, kPlaceInsideOnTop, group) == kNoErr && style)
        sAIArtStyle->SetArtStyle(path, style);
    for (AIArtHandle art : LayerObjects(clipLayer)) {
        if (art != path) sAIArt->DisposeArt(art);
    }
}

}  // namespace adjust
