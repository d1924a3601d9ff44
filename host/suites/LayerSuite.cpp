#include "core/HostStrings.h"
#include "core/SuiteRegistry.h"
#include "suites/SuiteSupport.h"

namespace quiltor::host::suites {

namespace {

AIErr CountLayers(int32_t* count) {
    return Guarded([&]() -> AIErr {
        if (!count) return kBadParameterErr;
        *count = 0;
        Document* document = CurrentDocument();
        if (!document) return kNoDocumentErr;
        for (Layer* l = document->firstLayer(); l; l = l->next) ++*count;
        return kNoErr;
    });
}

AIErr GetNthLayer(int32_t n, AILayerHandle* layer) {
    return Guarded([&]() -> AIErr {
        if (!layer) return kBadParameterErr;
        *layer = nullptr;
        Document* document = CurrentDocument();
        if (!document) return kNoDocumentErr;
        if (n < 0) return kIndexOutOfRangeErr;
        Layer* l = document->firstLayer();
        for (int32_t i = 0; l && i < n; ++i) l = l->next;
        if (!l) return kIndexOutOfRangeErr;
        *layer = l;
        return kNoErr;
    });
}

AIErr GetCurrentLayer(AILayerHandle* layer) {
    return Guarded([&]() -> AIErr {
        if (!layer) return kBadParameterErr;
        *layer = nullptr;
        Document* document = CurrentDocument();
        if (!document) return kNoDocumentErr;
        *layer = document->currentLayer();
        return kNoErr;
    });
}

AIErr SetCurrentLayer(AILayerHandle handle) {
    return Guarded([&]() -> AIErr {
        Document* document = nullptr;
        Layer* layer = FindLayer(handle, &document);
        if (!layer) return kBadParameterErr;
        document->setCurrentLayer(layer);
        return kNoErr;
    });
}

AIErr GetFirstLayer(AILayerHandle* first) {
    return Guarded([&]() -> AIErr {
        if (!first) return kBadParameterErr;
        *first = nullptr;
        Document* document = CurrentDocument();
        if (!document) return kNoDocumentErr;
        *first = document->firstLayer();
        return kNoErr;
    });
}

// Fills *out with a neighbour of a live layer picked by `step`.
template <class Step>
AIErr Neighbour(AILayerHandle handle, AILayerHandle* out, Step step) {
    return Guarded([&]() -> AIErr {
        if (!out) return kBadParameterErr;
        *out = nullptr;
        Layer* layer = FindLayer(handle);
        if (!layer) return kBadParameterErr;
        *out = step(layer);
        return kNoErr;
    });
}

AIErr GetNextLayer(AILayerHandle prev, AILayerHandle* next) {
    return Neighbour(prev, next, [](Layer* l) { return l->next; });
}

AIErr GetPrevLayer(AILayerHandle next, AILayerHandle* prev) {
    return Neighbour(next, prev, [](Layer* l) { return l->prev; });
}

AIErr GetLayerFirstChild(AILayerHandle layer, AILayerHandle* child) {
    return Neighbour(layer, child, [](Layer* l) { return l->firstChild; });
}

AIErr GetLayerParent(AILayerHandle layer, AILayerHandle* parent) {
    return Neighbour(layer, parent, [](Layer* l) { return l->parent; });
}

AIErr GetNextPreorderLayer(AILayerHandle layer, AILayerHandle* next) {
    return Neighbour(layer, next, [](Layer* l) { return NextLayerInPreorder(l); });
}

AIErr GetLayerByTitle(AILayerHandle* layer, AIUnicodeStringRef title) {
    return Guarded([&]() -> AIErr {
        if (!layer) return kBadParameterErr;
        *layer = nullptr;
        if (!title) return kBadParameterErr;
        Document* document = CurrentDocument();
        if (!document) return kNoDocumentErr;
        for (Layer* l = document->firstLayer(); l; l = NextLayerInPreorder(l)) {
            if (l->title == title->text) {
                *layer = l;
                return kNoErr;
            }
        }
        return kNameNotFoundErr;
    });
}

AIErr InsertLayer(AILayerHandle reference, int16_t paintOrder, AILayerHandle* newLayer) {
    return Guarded([&]() -> AIErr {
        if (!newLayer) return kBadParameterErr;
        *newLayer = nullptr;
        Document* document = nullptr;
        Layer* ref = nullptr;
        if (reference) {
            ref = FindLayer(reference, &document);
            if (!ref) return kBadParameterErr;
        } else {
            document = CurrentDocument();
            if (!document) return kNoDocumentErr;
        }
        Layer* layer = document->insertLayer(ref, paintOrder);
        if (!layer) return kBadParameterErr;
        *newLayer = layer;
        return kNoErr;
    });
}

AIErr DeleteLayer(AILayerHandle handle) {
    return Guarded([&]() -> AIErr {
        Document* document = nullptr;
        Layer* layer = FindLayer(handle, &document);
        if (!layer || !document->deleteLayer(layer)) return kBadParameterErr;
        return kNoErr;
    });
}

AIErr GetLayerTitle(AILayerHandle handle, AIUnicodeStringRef title) {
    return Guarded([&]() -> AIErr {
        Layer* layer = FindLayer(handle);
        if (!layer || !title) return kBadParameterErr;
        title->text = layer->title;
        return kNoErr;
    });
}

AIErr SetLayerTitle(AILayerHandle handle, AIUnicodeStringRef title) {
    return Guarded([&]() -> AIErr {
        Document* document = nullptr;
        Layer* layer = FindLayer(handle, &document);
        if (!layer || !title) return kBadParameterErr;
        document->setLayerTitle(layer, title->text);
        return kNoErr;
    });
}

AIErr GetOption(AILayerHandle handle, AIBoolean* value, bool LayerOptions::*option) {
    return Guarded([&]() -> AIErr {
        if (!value) return kBadParameterErr;
        Layer* layer = FindLayer(handle);
        if (!layer) return kBadParameterErr;
        *value = layer->options.*option ? 1 : 0;
        return kNoErr;
    });
}

AIErr SetOption(AILayerHandle handle, AIBoolean value, bool LayerOptions::*option) {
    return Guarded([&]() -> AIErr {
        Document* document = nullptr;
        Layer* layer = FindLayer(handle, &document);
        if (!layer) return kBadParameterErr;
        LayerOptions options = layer->options;
        options.*option = value != 0;
        document->setLayerOptions(layer, options);
        return kNoErr;
    });
}

AIErr LayerHasArt(AILayerHandle handle, AIBoolean* hasArt) {
    return Guarded([&]() -> AIErr {
        if (!hasArt) return kBadParameterErr;
        Layer* layer = FindLayer(handle);
        if (!layer) return kBadParameterErr;
        *hasArt = layer->group->firstChild != nullptr;
        return kNoErr;
    });
}

AIErr LayerHasSelectedArt(AILayerHandle handle, AIBoolean* hasSel) {
    return Guarded([&]() -> AIErr {
        if (!hasSel) return kBadParameterErr;
        Layer* layer = FindLayer(handle);
        if (!layer) return kBadParameterErr;
        *hasSel = 0;
        for (const Art* a = layer->group->firstChild; a; a = NextInPreorder(a, layer->group)) {
            if (a->userAttr & kArtSelected) {
                *hasSel = 1;
                break;
            }
        }
        return kNoErr;
    });
}

const AILayerSuite kLayerSuite = {
    .CountLayers = CountLayers,
    .GetNthLayer = GetNthLayer,
    .GetCurrentLayer = GetCurrentLayer,
    .SetCurrentLayer = SetCurrentLayer,
    .GetFirstLayer = GetFirstLayer,
    .GetNextLayer = GetNextLayer,
    .GetPrevLayer = GetPrevLayer,
    .GetLayerByTitle = GetLayerByTitle,
    .InsertLayer = InsertLayer,
    .DeleteLayer = DeleteLayer,
    .GetLayerTitle = GetLayerTitle,
    .SetLayerTitle = SetLayerTitle,
    .GetLayerVisible = [](AILayerHandle l, AIBoolean* v) { return GetOption(l, v, &LayerOptions::visible); },
    .SetLayerVisible = [](AILayerHandle l, AIBoolean v) { return SetOption(l, v, &LayerOptions::visible); },
    .GetLayerPreview = [](AILayerHandle l, AIBoolean* v) { return GetOption(l, v, &LayerOptions::preview); },
    .SetLayerPreview = [](AILayerHandle l, AIBoolean v) { return SetOption(l, v, &LayerOptions::preview); },
    .GetLayerEditable = [](AILayerHandle l, AIBoolean* v) { return GetOption(l, v, &LayerOptions::editable); },
    .SetLayerEditable = [](AILayerHandle l, AIBoolean v) { return SetOption(l, v, &LayerOptions::editable); },
    .GetLayerPrinted = [](AILayerHandle l, AIBoolean* v) { return GetOption(l, v, &LayerOptions::printed); },
    .SetLayerPrinted = [](AILayerHandle l, AIBoolean v) { return SetOption(l, v, &LayerOptions::printed); },
    .GetLayerDimPlacedImages = [](AILayerHandle l,
                                  AIBoolean* v) { return GetOption(l, v, &LayerOptions::dimPlacedImages); },
    .SetLayerDimPlacedImages = [](AILayerHandle l,
                                  AIBoolean v) { return SetOption(l, v, &LayerOptions::dimPlacedImages); },
    .GetLayerIsTemplate = [](AILayerHandle l, AIBoolean* v) { return GetOption(l, v, &LayerOptions::isTemplate); },
    .SetLayerIsTemplate = [](AILayerHandle l, AIBoolean v) { return SetOption(l, v, &LayerOptions::isTemplate); },
    .LayerHasArt = LayerHasArt,
    .LayerHasSelectedArt = LayerHasSelectedArt,
    .GetLayerFirstChild = GetLayerFirstChild,
    .GetLayerParent = GetLayerParent,
    .GetNextPreorderLayer = GetNextPreorderLayer,
};

}  // namespace

void RegisterLayerSuite(SuiteRegistry& registry) { registry.add(kAILayerSuite, kAILayerSuiteVersion, kLayerSuite); }

}  // namespace quiltor::host::suites
