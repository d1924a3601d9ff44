// The art suite, matching art and transform art.
#include <vector>

#include "core/SuiteRegistry.h"
#include "suites/SuiteSupport.h"

namespace quiltor::host::suites {

namespace {

// The document and place that paintOrder and prep name: prep's document, or the current
// document's current layer when prep is null.
AIErr ResolvePlace(int16_t paintOrder, AIArtHandle prepHandle, Document** document, Place* place) {
    Art* prep = nullptr;
    if (prepHandle) {
        prep = FindArt(prepHandle, document);
        if (!prep) return kBadParameterErr;
    } else {
        *document = CurrentDocument();
        if (!*document) return kNoDocumentErr;
    }
    auto resolved = (*document)->placeFor(paintOrder, prep);
    if (!resolved) return kBadParameterErr;
    *place = *resolved;
    return kNoErr;
}

AIErr NewArt(int16_t type, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArt) {
    return Guarded([&]() -> AIErr {
        if (!newArt) return kBadParameterErr;
        *newArt = nullptr;
        if (type != kGroupArt && type != kPathArt && type != kCompoundPathArt) return kBadParameterErr;
        Document* document = nullptr;
        Place place;
        if (AIErr error = ResolvePlace(paintOrder, prep, &document, &place)) return error;
        Art* art = document->newArt(type, place);
        if (!art) return kBadParameterErr;
        *newArt = art;
        return kNoErr;
    });
}

AIErr DisposeArt(AIArtHandle handle) {
    return Guarded([&]() -> AIErr {
        Document* document = nullptr;
        Art* art = FindArt(handle, &document);
        if (!art || !document->disposeArt(art)) return kBadParameterErr;
        return kNoErr;
    });
}

AIErr ReorderArt(AIArtHandle thisArt, int16_t paintOrder, AIArtHandle prep) {
    return Guarded([&]() -> AIErr {
        Document* from = nullptr;
        Art* art = FindArt(thisArt, &from);
        if (!art) return kBadParameterErr;
        Document* to = nullptr;
        Place place;
        if (AIErr error = ResolvePlace(paintOrder, prep, &to, &place)) return error;
        if (!Document::MoveArt(*from, art, *to, place)) return kBadParameterErr;
        return kNoErr;
    });
}

AIErr DuplicateArt(AIArtHandle thisArt, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArt) {
    return Guarded([&]() -> AIErr {
        if (!newArt) return kBadParameterErr;
        *newArt = nullptr;
        Art* source = FindArt(thisArt);
        if (!source) return kBadParameterErr;
        Document* document = nullptr;
        Place place;
        if (AIErr error = ResolvePlace(paintOrder, prep, &document, &place)) return error;
        Art* copy = document->copyArt(source, place);
        if (!copy) return kBadParameterErr;
        *newArt = copy;
        return kNoErr;
    });
}

AIErr GetFirstArtOfLayer(AILayerHandle handle, AIArtHandle* art) {
    return Guarded([&]() -> AIErr {
        if (!art) return kBadParameterErr;
        *art = nullptr;
        Layer* layer = FindLayer(handle);
        if (!layer) return kBadParameterErr;
        *art = layer->group;
        return kNoErr;
    });
}

AIErr GetLayerOfArt(AIArtHandle handle, AILayerHandle* layer) {
    return Guarded([&]() -> AIErr {
        if (!layer) return kBadParameterErr;
        *layer = nullptr;
        Art* art = FindArt(handle);
        if (!art) return kBadParameterErr;
        *layer = LayerOfArt(art);
        return kNoErr;
    });
}

AIErr GetArtType(AIArtHandle handle, int16_t* type) {
    return Guarded([&]() -> AIErr {
        if (!type) return kBadParameterErr;
        Art* art = FindArt(handle);
        if (!art) {
            *type = kUnknownArt;
            return kBadParameterErr;
        }
        *type = art->type;
        return kNoErr;
    });
}

AIErr GetArtUserAttr(AIArtHandle handle, int32_t whichAttr, int32_t* attr) {
    return Guarded([&]() -> AIErr {
        if (!attr) return kBadParameterErr;
        Art* art = FindArt(handle);
        if (!art) return kBadParameterErr;
        *attr = art->userAttr & whichAttr;
        return kNoErr;
    });
}

AIErr SetArtUserAttr(AIArtHandle handle, int32_t whichAttr, int32_t attr) {
    return Guarded([&]() -> AIErr {
        Document* document = nullptr;
        Art* art = FindArt(handle, &document);
        if (!art) return kBadParameterErr;
        const int32_t mask = whichAttr & kKnownUserAttrs;
        const int32_t value = (art->userAttr & ~mask) | (attr & mask);
        if (value != art->userAttr) {
            document->willChange();
            document->setUserAttr(art, value);
        }
        return kNoErr;
    });
}

template <class Step>
AIErr Related(AIArtHandle handle, AIArtHandle* out, Step step) {
    return Guarded([&]() -> AIErr {
        if (!out) return kBadParameterErr;
        *out = nullptr;
        Art* art = FindArt(handle);
        if (!art) return kBadParameterErr;
        *out = step(art);
        return kNoErr;
    });
}

AIErr GetArtBounds(AIArtHandle handle, AIRealRect* bounds) {
    return Guarded([&]() -> AIErr {
        if (!bounds) return kBadParameterErr;
        Art* art = FindArt(handle);
        if (!art) return kBadParameterErr;
        ArtBounds(art, bounds);
        return kNoErr;
    });
}

// Fill and stroke: a path or text frame by its style, a compound path by its first member path
// (an empty one is neither filled nor stroked), anything else neither.
template <class Test>
AIErr PaintQuery(AIArtHandle handle, AIBoolean* answer, Test test) {
    return Guarded([&]() -> AIErr {
        if (!answer) return kBadParameterErr;
        *answer = 0;
        Art* art = FindArt(handle);
        if (!art) return kBadParameterErr;
        const Art* painted = art->type == kTextFrameArt ? art : QueryPath(art);
        *answer = painted && test(painted->style->pathStyle());
        return kNoErr;
    });
}

AIErr ArtsHaveEqualPaths(AIArtHandle art1, AIArtHandle art2, AIBoolean* equal) {
    return Guarded([&]() -> AIErr {
        if (!equal) return kBadParameterErr;
        *equal = 0;
        Art* a = FindArt(art1);
        Art* b = FindArt(art2);
        if (!a || !b) return kBadParameterErr;
        *equal = EqualGeometry(a, b);
        return kNoErr;
    });
}

AIErr ValidArt(AIArtHandle handle, AIBoolean* valid) {
    return Guarded([&]() -> AIErr {
        if (!valid) return kBadParameterErr;
        Document* document = CurrentDocument();
        *valid = document && document->findArt(handle);
        return kNoErr;
    });
}

const AIArtSuite kArtSuite = {
    .NewArt = NewArt,
    .DisposeArt = DisposeArt,
    .ReorderArt = ReorderArt,
    .DuplicateArt = DuplicateArt,
    .GetFirstArtOfLayer = GetFirstArtOfLayer,
    .GetLayerOfArt = GetLayerOfArt,
    .GetArtType = GetArtType,
    .GetArtUserAttr = GetArtUserAttr,
    .SetArtUserAttr = SetArtUserAttr,
    .GetArtParent = [](AIArtHandle a, AIArtHandle* out) { return Related(a, out, [](Art* x) { return x->parent; }); },
    .GetArtFirstChild = [](AIArtHandle a,
                           AIArtHandle* out) { return Related(a, out, [](Art* x) { return x->firstChild; }); },
    .GetArtLastChild = [](AIArtHandle a,
                          AIArtHandle* out) { return Related(a, out, [](Art* x) { return x->lastChild; }); },
    .GetArtSibling = [](AIArtHandle a, AIArtHandle* out) { return Related(a, out, [](Art* x) { return x->next; }); },
    .GetArtPriorSibling = [](AIArtHandle a,
                             AIArtHandle* out) { return Related(a, out, [](Art* x) { return x->prev; }); },
    .GetArtBounds = GetArtBounds,
    .ArtHasFill = [](AIArtHandle a,
                     AIBoolean* v) { return PaintQuery(a, v, [](const AIPathStyle& s) { return IsFilled(s); }); },
    .ArtHasStroke = [](AIArtHandle a,
                       AIBoolean* v) { return PaintQuery(a, v, [](const AIPathStyle& s) { return IsStroked(s); }); },
    .ArtsHaveEqualPaths = ArtsHaveEqualPaths,
    .ValidArt = ValidArt,
};

// ---------------------------------------------------------------- matching art

AIErr GetSelectedArt(AIArtHandle** matches, int32_t* numMatches) {
    return Guarded([&]() -> AIErr {
        if (!matches || !numMatches) return kBadParameterErr;
        *matches = nullptr;
        *numMatches = 0;
        Document* document = CurrentDocument();
        if (!document) return kNoDocumentErr;
        std::vector<AIArtHandle> selected;
        for (Layer* layer = document->firstLayer(); layer; layer = NextLayerInPreorder(layer)) {
            for (Art* a = layer->group->firstChild; a; a = NextInPreorder(a, layer->group)) {
                if (a->userAttr & kArtSelected) selected.push_back(a);
            }
        }
        if (selected.empty()) return kNoErr;
        void* block = nullptr;
        SPBasicSuite* basic = BasicSuite();
        if (!basic || basic->AllocateBlock(selected.size() * sizeof(AIArtHandle), &block) != kNoErr || !block)
            return kOutOfMemoryErr;
        std::copy(selected.begin(), selected.end(), static_cast<AIArtHandle*>(block));
        *matches = static_cast<AIArtHandle*>(block);
        *numMatches = static_cast<int32_t>(selected.size());
        return kNoErr;
    });
}

const AIMatchingArtSuite kMatchingArtSuite = {
    .GetSelectedArt = GetSelectedArt,
};

// ---------------------------------------------------------------- transform

AIErr TransformArt(AIArtHandle handle, const AIRealMatrix* matrix, AIReal /*lineScale*/, int32_t /*flags*/) {
    return Guarded([&]() -> AIErr {
        Document* document = nullptr;
        Art* art = FindArt(handle, &document);
        if (!art || !matrix) return kBadParameterErr;
        document->willChange();
        TransformArtTree(art, *matrix);
        return kNoErr;
    });
}

const AITransformArtSuite kTransformArtSuite = {
    .TransformArt = TransformArt,
};

}  // namespace

void RegisterArtSuites(SuiteRegistry& registry) {
    registry.add(kAIArtSuite, kAIArtSuiteVersion, kArtSuite);
    registry.add(kAIMatchingArtSuite, kAIMatchingArtSuiteVersion, kMatchingArtSuite);
    registry.add(kAITransformArtSuite, kAITransformArtSuiteVersion, kTransformArtSuite);
}

}  // namespace quiltor::host::suites
