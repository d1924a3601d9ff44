// Paths, path styles and art styles.
//
// Compound paths answer every path call through their first member path: the segment calls, the
// closed flag and GetPathStyle read (and the segment calls change) that member. An empty compound
// path reads as an open path without segments; changing it is refused.
#include <algorithm>

#include "core/SuiteRegistry.h"
#include "model/ArtStyle.h"
#include "suites/SuiteSupport.h"

namespace quiltor::host::suites {

namespace {

const std::vector<AIPathSegment> kNoSegments;

struct PathRef {
    Document* document = nullptr;
    Art* art = nullptr;   // the art the caller named
    Art* path = nullptr;  // the path that answers; null for an empty compound path
};

// Null art for anything but a live path or compound path.
PathRef FindPath(AIArtHandle handle) {
    PathRef ref;
    ref.art = FindArt(handle, &ref.document);
    if (!ref.art || (ref.art->type != kPathArt && ref.art->type != kCompoundPathArt)) return PathRef{};
    ref.path = QueryPath(ref.art);
    return ref;
}

const std::vector<AIPathSegment>& SegmentsOf(const PathRef& ref) { return ref.path ? ref.path->segments : kNoSegments; }

AIErr GetPathSegments(AIArtHandle handle, int16_t segNumber, int16_t count, AIPathSegment* segments) {
    return Guarded([&]() -> AIErr {
        PathRef ref = FindPath(handle);
        if (!ref.art) return kBadParameterErr;
        const std::vector<AIPathSegment>& all = SegmentsOf(ref);
        if (segNumber < 0 || count < 0 || static_cast<size_t>(segNumber) + count > all.size())
            return kIndexOutOfRangeErr;
        if (count > 0 && !segments) return kBadParameterErr;
        std::copy_n(all.begin() + segNumber, count, segments);
        return kNoErr;
    });
}

AIErr SetPathSegments(AIArtHandle handle, int16_t segNumber, int16_t count, const AIPathSegment* segments) {
    return Guarded([&]() -> AIErr {
        PathRef ref = FindPath(handle);
        if (!ref.path) return kBadParameterErr;
        std::vector<AIPathSegment>& all = ref.path->segments;
        if (segNumber < 0 || count < 0 || static_cast<size_t>(segNumber) > all.size()) return kIndexOutOfRangeErr;
        const size_t end = static_cast<size_t>(segNumber) + count;
        if (end > kMaxPathSegments) return kIndexOutOfRangeErr;
        if (count > 0 && !segments) return kBadParameterErr;
        ref.document->willChange();
        if (end > all.size()) all.resize(end);  // writing at the current count appends
        std::copy_n(segments, count, all.begin() + segNumber);
        return kNoErr;
    });
}

AIErr InsertPathSegments(AIArtHandle handle, int16_t segNumber, int16_t count, const AIPathSegment* segments) {
    return Guarded([&]() -> AIErr {
        PathRef ref = FindPath(handle);
        if (!ref.path) return kBadParameterErr;
        std::vector<AIPathSegment>& all = ref.path->segments;
        // Directly after the segment at segNumber; -1 puts them in front.
        if (segNumber < -1 || segNumber >= static_cast<int32_t>(all.size()) || count < 0) return kIndexOutOfRangeErr;
        if (all.size() + count > kMaxPathSegments) return kIndexOutOfRangeErr;
        if (count > 0 && !segments) return kBadParameterErr;
        ref.document->willChange();
        all.insert(all.begin() + (segNumber + 1), segments, segments + count);
        return kNoErr;
    });
}

AIErr DeletePathSegments(AIArtHandle handle, int16_t segNumber, int16_t count) {
    return Guarded([&]() -> AIErr {
        PathRef ref = FindPath(handle);
        if (!ref.path) return kBadParameterErr;
        std::vector<AIPathSegment>& all = ref.path->segments;
        if (segNumber < 0 || count < 0 || static_cast<size_t>(segNumber) + count > all.size())
            return kIndexOutOfRangeErr;
        ref.document->willChange();
        all.erase(all.begin() + segNumber, all.begin() + segNumber + count);
        return kNoErr;
    });
}

AIErr GetPathSegmentCount(AIArtHandle handle, int16_t* count) {
    return Guarded([&]() -> AIErr {
        if (!count) return kBadParameterErr;
        *count = 0;
        PathRef ref = FindPath(handle);
        if (!ref.art) return kBadParameterErr;
        *count = static_cast<int16_t>(SegmentsOf(ref).size());
        return kNoErr;
    });
}

AIErr SetPathSegmentCount(AIArtHandle handle, int16_t count) {
    return Guarded([&]() -> AIErr {
        PathRef ref = FindPath(handle);
        if (!ref.path || count < 0) return kBadParameterErr;
        ref.document->willChange();
        ref.path->segments.resize(static_cast<size_t>(count), AIPathSegment{});
        return kNoErr;
    });
}

AIErr GetPathClosed(AIArtHandle handle, AIBoolean* closed) {
    return Guarded([&]() -> AIErr {
        if (!closed) return kBadParameterErr;
        *closed = 0;
        PathRef ref = FindPath(handle);
        if (!ref.art) return kBadParameterErr;
        *closed = ref.path && ref.path->closed;
        return kNoErr;
    });
}

AIErr SetPathClosed(AIArtHandle handle, AIBoolean closed) {
    return Guarded([&]() -> AIErr {
        PathRef ref = FindPath(handle);
        if (!ref.path) return kBadParameterErr;
        ref.document->willChange();
        ref.path->closed = closed != 0;
        return kNoErr;
    });
}

AIErr ReversePathSegments(AIArtHandle handle) {
    return Guarded([&]() -> AIErr {
        PathRef ref = FindPath(handle);
        if (!ref.path) return kBadParameterErr;
        ref.document->willChange();
        std::vector<AIPathSegment>& all = ref.path->segments;
        std::reverse(all.begin(), all.end());
        for (AIPathSegment& s : all) std::swap(s.in, s.out);
        return kNoErr;
    });
}

const AIPathSuite kPathSuite = {
    .GetPathSegments = GetPathSegments,
    .SetPathSegments = SetPathSegments,
    .InsertPathSegments = InsertPathSegments,
    .DeletePathSegments = DeletePathSegments,
    .GetPathSegmentCount = GetPathSegmentCount,
    .SetPathSegmentCount = SetPathSegmentCount,
    .GetPathClosed = GetPathClosed,
    .SetPathClosed = SetPathClosed,
    .ReversePathSegments = ReversePathSegments,
};

// ---------------------------------------------------------------- path styles

AIErr GetPathStyle(AIArtHandle handle, AIPathStyle* style) {
    return Guarded([&]() -> AIErr {
        if (!style) return kBadParameterErr;
        PathRef ref = FindPath(handle);
        if (!ref.art) return kBadParameterErr;
        *style = (ref.path ? ref.path : ref.art)->style->pathStyle();
        return kNoErr;
    });
}

AIErr SetPathStyle(AIArtHandle handle, const AIPathStyle* style) {
    return Guarded([&]() -> AIErr {
        PathRef ref = FindPath(handle);
        if (!ref.art || !style) return kBadParameterErr;
        ref.document->setPathStyle(ref.art, *style);
        return kNoErr;
    });
}

const AIPathStyleSuite kPathStyleSuite = {
    .GetPathStyle = GetPathStyle,
    .SetPathStyle = SetPathStyle,
};

// ---------------------------------------------------------------- art styles

AIErr GetArtStyle(AIArtHandle handle, AIArtStyleHandle* artStyle) {
    return Guarded([&]() -> AIErr {
        if (!artStyle) return kBadParameterErr;
        *artStyle = nullptr;
        Art* art = FindArt(handle);
        if (!art) return kBadParameterErr;
        *artStyle = art->style;
        return kNoErr;
    });
}

AIErr SetArtStyle(AIArtHandle handle, AIArtStyleHandle artStyle) {
    return Guarded([&]() -> AIErr {
        Document* document = nullptr;
        Art* art = FindArt(handle, &document);
        Workspace* workspace = CurrentWorkspace();
        ArtStyle* style = workspace ? workspace->styles().find(artStyle) : nullptr;
        if (!art || !style) return kBadParameterErr;
        document->setArtStyle(art, style);
        return kNoErr;
    });
}

AIErr CompareArtStyles(AIArtStyleHandle artStyle1, AIArtStyleHandle artStyle2, AIBoolean* same) {
    return Guarded([&]() -> AIErr {
        if (!same) return kBadParameterErr;
        *same = 0;
        Workspace* workspace = CurrentWorkspace();
        if (!workspace) return kBadParameterErr;
        ArtStyle* a = workspace->styles().find(artStyle1);
        ArtStyle* b = workspace->styles().find(artStyle2);
        if (!a || !b) return kBadParameterErr;
        *same = a == b;  // interned: the same appearance is the same handle
        return kNoErr;
    });
}

const AIArtStyleSuite kArtStyleSuite = {
    .GetArtStyle = GetArtStyle,
    .SetArtStyle = SetArtStyle,
    .CompareArtStyles = CompareArtStyles,
};

}  // namespace

void RegisterPathSuites(SuiteRegistry& registry) {
    registry.add(kAIPathSuite, kAIPathSuiteVersion, kPathSuite);
    registry.add(kAIPathStyleSuite, kAIPathStyleSuiteVersion, kPathStyleSuite);
    registry.add(kAIArtStyleSuite, kAIArtStyleSuiteVersion, kArtStyleSuite);
}

}  // namespace quiltor::host::suites
