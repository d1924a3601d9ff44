#include "SeamWork.h"

#include <cstdio>

#include "IAIUnicodeString.h"
#include "LiteralEncoding.h"
#include "Suites.h"

namespace seamjoin::detail {

void ShowJoinProgress(MergeProgress& progress, const char* format, AILayerHandle layer, std::size_t count) {
    char title[101] = {};
    try {
        ai::UnicodeString text;
        if (sAILayer->GetLayerTitle(layer, text.get()) == kNoErr)
            text.getToBuffer(title, sizeof title, kLiteralEncoding);
    } catch (const ai::Error&) {
        title[0] = '\0';
    }
    char caption[512];
    std::snprintf(caption, sizeof caption, format, title);
    progress.SetCaption(caption);
    progress.SetRange(static_cast<int32_t>(count) - 1);
}

std::vector<AIPathSegment> ReadSegments(AIArtHandle art) {
    std::vector<AIPathSegment> segments;
    ReadSegments(art, segments);
    return segments;
}

void ReadSegments(AIArtHandle art, std::vector<AIPathSegment>& segments) {
    segments.resize(std::size_t(SegmentCount(art)));
    if (!segments.empty() && sAIPath->GetPathSegments(art, 0, int16_t(segments.size()), segments.data()) != kNoErr) {
        segments.clear();
    }
}

bool ReadSegment(AIArtHandle art, int16_t index, AIPathSegment* segment) {
    return sAIPath->GetPathSegments(art, index, 1, segment) == kNoErr;
}

std::vector<SeamPoint> Outline(const std::vector<AIPathSegment>& segments) {
    std::vector<SeamPoint> outline;
    AppendOutline(segments, outline);
    return outline;
}

void AppendOutline(const std::vector<AIPathSegment>& segments, std::vector<SeamPoint>& outline) {
    for (const AIPathSegment& segment : segments) {
        outline.push_back(Anchor(segment));
    }
}

bool HasSeamEdge(const SeamGrid& grid, std::span<const SeamPoint> outline) {
    const std::size_t count = outline.size();
    for (std::size_t k = 0; k < count; ++k) {
        if (OnSeamEdge(grid, outline[k], outline[(k + 1) % count])) {
            return true;
        }
    }
    return false;
}

AIPathStyle ReadPathStyle(AIArtHandle art) {
    AIPathStyle style{};
    if (sAIPathStyle->GetPathStyle(art, &style) != kNoErr) {
        style = AIPathStyle{};
    }
    return style;
}

uint32_t PathStyles::Add(const AIPathStyle& style) {
    const std::string_view bytes(reinterpret_cast<const char*>(&style), sizeof style);
    if (const auto it = index_.find(bytes); it != index_.end()) {
        return it->second;
    }
    styles_.push_back(style);
    const auto index = uint32_t(styles_.size() - 1);
    index_.emplace(std::string_view(reinterpret_cast<const char*>(&styles_.back()), sizeof style), index);
    return index;
}

void DisposePiece(AIArtHandle art) {
    AIArtHandle parent = nullptr;
    if (sAIArt->GetArtParent(art, &parent) != kNoErr || ArtType(parent) != kCompoundPathArt) {
        parent = nullptr;
    }
    if (sAIArt->DisposeArt(art) != kNoErr || parent == nullptr) {
        return;
    }
    AIArtHandle member = nullptr;
    if (sAIArt->GetArtFirstChild(parent, &member) == kNoErr && member == nullptr) {
        sAIArt->DisposeArt(parent);
    }
}

AIArtStyleHandle ReadArtStyle(AIArtHandle art) {
    AIArtStyleHandle style = nullptr;
    if (sAIArtStyle->GetArtStyle(art, &style) != kNoErr) {
        return nullptr;
    }
    return style;
}

bool SameArtStyle(AIArtStyleHandle a, AIArtStyleHandle b) {
    AIBoolean same = false;
    if (sAIArtStyle->CompareArtStyles(a, b, &same) != kNoErr) {
        return false;
    }
    return same != 0;
}

}  // namespace seamjoin::detail
