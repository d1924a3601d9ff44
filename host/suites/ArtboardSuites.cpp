// Artboards, artboard ranges and legacy text conversion.
#include <set>

#include "core/SuiteRegistry.h"
#include "core/TextParsing.h"
#include "model/Handles.h"
#include "suites/SuiteSupport.h"

namespace quiltor::host::suites {

namespace {

ArtboardList* FindList(AIArtboardListRef handle) {
    Workspace* workspace = CurrentWorkspace();
    return workspace && handle ? workspace->artboardLists().find(handle) : nullptr;
}

ArtboardProperties* FindProperties(AIArtboardPropertiesRef handle) {
    Workspace* workspace = CurrentWorkspace();
    return workspace && handle ? workspace->artboardProperties().find(handle) : nullptr;
}

AIErr GetArtboardList(AIArtboardListRef* artboards) {
    return Guarded([&]() -> AIErr {
        if (!artboards) return kBadParameterErr;
        *artboards = nullptr;
        Document* document = CurrentDocument();
        if (!document) return kNoDocumentErr;
        ArtboardList* list = CurrentWorkspace()->artboardLists().add();
        list->artboards = {document->artboard()};
        list->active = 0;
        *artboards = list;
        return kNoErr;
    });
}

AIErr ReleaseArtboardList(AIArtboardListRef artboards) {
    return Guarded([&]() -> AIErr {
        Workspace* workspace = CurrentWorkspace();
        if (!workspace || !artboards || !workspace->artboardLists().remove(artboards)) return kBadParameterErr;
        return kNoErr;
    });
}

AIErr GetCount(AIArtboardListRef artboards, int32_t* count) {
    return Guarded([&]() -> AIErr {
        ArtboardList* list = FindList(artboards);
        if (!list || !count) return kBadParameterErr;
        *count = static_cast<int32_t>(list->artboards.size());
        return kNoErr;
    });
}

AIErr GetActive(AIArtboardListRef artboards, int32_t* index) {
    return Guarded([&]() -> AIErr {
        ArtboardList* list = FindList(artboards);
        if (!list || !index) return kBadParameterErr;
        *index = list->active;
        return kNoErr;
    });
}

AIErr GetArtboardProperties(AIArtboardListRef artboards, int32_t index, AIArtboardPropertiesRef properties) {
    return Guarded([&]() -> AIErr {
        ArtboardList* list = FindList(artboards);
        ArtboardProperties* props = FindProperties(properties);
        if (!list || !props) return kBadParameterErr;
        if (index < 0 || static_cast<size_t>(index) >= list->artboards.size()) return kIndexOutOfRangeErr;
        props->position = list->artboards[static_cast<size_t>(index)];
        props->filled = true;
        return kNoErr;
    });
}

AIErr InitArtboardProperties(AIArtboardPropertiesRef* properties) {
    return Guarded([&]() -> AIErr {
        if (!properties) return kBadParameterErr;
        *properties = nullptr;
        Workspace* workspace = CurrentWorkspace();
        if (!workspace) return kBadParameterErr;
        *properties = workspace->artboardProperties().add();
        return kNoErr;
    });
}

AIErr DisposeArtboardProperties(AIArtboardPropertiesRef properties) {
    return Guarded([&]() -> AIErr {
        Workspace* workspace = CurrentWorkspace();
        if (!workspace || !properties || !workspace->artboardProperties().remove(properties)) return kBadParameterErr;
        return kNoErr;
    });
}

// A properties object that no artboard has filled yet has no position: zeros and kBadParameterErr.
AIErr GetPosition(AIArtboardPropertiesRef properties, AIRealRect* bounds) {
    return Guarded([&]() -> AIErr {
        ArtboardProperties* props = FindProperties(properties);
        if (!props || !bounds) return kBadParameterErr;
        *bounds = props->position;
        return props->filled ? kNoErr : kBadParameterErr;
    });
}

const AIArtboardSuite kArtboardSuite = {
    .GetArtboardList = GetArtboardList,
    .ReleaseArtboardList = ReleaseArtboardList,
    .GetCount = GetCount,
    .GetActive = GetActive,
    .GetArtboardProperties = GetArtboardProperties,
    .InitArtboardProperties = InitArtboardProperties,
    .DisposeArtboardProperties = DisposeArtboardProperties,
    .GetPosition = GetPosition,
};

// ---------------------------------------------------------------- artboard ranges

// "1-3,5" names artboards 1, 2, 3 and 5 (numbered from 1); an empty range names them all. Only
// artboards the current document has are counted, each once.
AIErr GetRangeCount(const char* range, int32_t* count) {
    return Guarded([&]() -> AIErr {
        if (!count) return kBadParameterErr;
        *count = 0;
        Document* document = CurrentDocument();
        const long artboards = document ? 1 : 0;
        const std::string_view text = Trim(range ? range : "");
        if (text.empty()) {
            *count = static_cast<int32_t>(artboards);
            return kNoErr;
        }
        std::set<long> named;
        for (std::string_view piece : Split(text, ",")) {
            const size_t dash = piece.find('-');
            auto first = ParseInt(piece.substr(0, dash));
            auto last = dash == std::string_view::npos ? first : ParseInt(piece.substr(dash + 1));
            if (!first || !last || *first < 1 || *last < *first) return kBadParameterErr;
            for (long i = *first; i <= std::min(*last, artboards); ++i) named.insert(i);
        }
        *count = static_cast<int32_t>(named.size());
        return kNoErr;
    });
}

const AIArtboardRangeSuite kArtboardRangeSuite = {
    .GetCount = GetRangeCount,
};

// ---------------------------------------------------------------- legacy text

// Documents here never hold legacy text.
AIErr ConvertAllToNative(AIBoolean* anyConverted) {
    return Guarded([&]() -> AIErr {
        if (!anyConverted) return kBadParameterErr;
        *anyConverted = 0;
        return CurrentDocument() ? kNoErr : kNoDocumentErr;
    });
}

const AILegacyTextConversionSuite kLegacyTextConversionSuite = {
    .ConvertAllToNative = ConvertAllToNative,
};

}  // namespace

void RegisterArtboardSuites(SuiteRegistry& registry) {
    registry.add(kAIArtboardSuite, kAIArtboardSuiteVersion, kArtboardSuite);
    registry.add(kAIArtboardRangeSuite, kAIArtboardRangeSuiteVersion, kArtboardRangeSuite);
    registry.add(kAILegacyTextConversionSuite, kAILegacyTextConversionSuiteVersion, kLegacyTextConversionSuite);
}

}  // namespace quiltor::host::suites
