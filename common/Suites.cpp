#include "Suites.h"

#include <cstring>
#include <new>

#include "PluginDescription.h"

SPBasicSuite* sSPBasic = nullptr;

const SPAccessSuite* sSPAccess = nullptr;
const SPPluginsSuite* sSPPlugins = nullptr;
const AINotifierSuite* sAINotifier = nullptr;
const AIAppContextSuite* sAIAppContext = nullptr;
const AIUserSuite* sAIUser = nullptr;
const AIFilePathSuite* sAIFilePath = nullptr;
const AIFoldersSuite* sAIFolders = nullptr;

const AIFilterSuite* sAIFilter = nullptr;
const SPBlocksSuite* sSPBlocks = nullptr;
const AIArtSuite* sAIArt = nullptr;
const AIPathSuite* sAIPath = nullptr;
const AIRealMathSuite* sAIRealMath = nullptr;
const AIRandomSuite* sAIRandom = nullptr;
const AIDocumentViewSuite* sAIDocumentView = nullptr;
const AIToolSuite* sAITool = nullptr;
const AIMatchingArtSuite* sAIMatchingArt = nullptr;
const AIActionManagerSuite* sAIActionManager = nullptr;
const AIMenuSuite* sAIMenu = nullptr;
const AIUnicodeStringSuite* sAIUnicodeString = nullptr;
const AIMdMemorySuite* sAIMdMemory = nullptr;
const AIStringFormatUtilsSuite* sAIStringFormatUtils = nullptr;
const AIDocumentSuite* sAIDocument = nullptr;
const AILayerSuite* sAILayer = nullptr;
const AIDocumentListSuite* sAIDocumentList = nullptr;
const AIUndoSuite* sAIUndo = nullptr;
const AILegacyTextConversionSuite* sAILegacyTextConversion = nullptr;
const AIArtSetSuite* sAIArtSet = nullptr;
const AIPathStyleSuite* sAIPathStyle = nullptr;
const AIArtStyleSuite* sAIArtStyle = nullptr;
const AIArtboardSuite* sAIArtboard = nullptr;
const AIArtboardRangeSuite* sAIArtboardRange = nullptr;
const AIModalParentSuite* sAIModalParent = nullptr;
const AIPanelSuite* sAIPanel = nullptr;

ImportSuite gBasicSuites[] = {
    {kSPAccessSuite, kSPAccessSuiteVersion, &sSPAccess},
    {kSPPluginsSuite, kSPPluginsSuiteVersion, &sSPPlugins},
    {kAINotifierSuite, kAINotifierSuiteVersion, &sAINotifier},
    {kAIAppContextSuite, kAIAppContextSuiteVersion, &sAIAppContext},
    {kAIUserSuite, kAIUserSuiteVersion, &sAIUser},
    {kAIFilePathSuite, kAIFilePathSuiteVersion, &sAIFilePath},
    {kAIFoldersSuite, kAIFoldersSuiteVersion, &sAIFolders},
    {nullptr, 0, nullptr},
};

ImportSuite gImportSuites[] = {
    {kAIFilterSuite, kAIFilterSuiteVersion, &sAIFilter},
    {kSPBlocksSuite, kSPBlocksSuiteVersion, &sSPBlocks},
    {kAIArtSuite, kAIArtSuiteVersion, &sAIArt},
    {kAIPathSuite, kAIPathSuiteVersion, &sAIPath},
    {kAIRealMathSuite, kAIRealMathSuiteVersion, &sAIRealMath},
    {kAIRandomSuite, kAIRandomSuiteVersion, &sAIRandom},
    {kAIDocumentViewSuite, kAIDocumentViewSuiteVersion, &sAIDocumentView},
    {kAIToolSuite, kAIToolSuiteVersion, &sAITool},
    {kAIMatchingArtSuite, kAIMatchingArtSuiteVersion, &sAIMatchingArt},
    {kAIActionManagerSuite, kAIActionManagerSuiteVersion, &sAIActionManager},
    {kAIMenuSuite, kAIMenuSuiteVersion, &sAIMenu},
    {kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, &sAIUnicodeString},
    {kAIMdMemorySuite, kAIMdMemorySuiteVersion, &sAIMdMemory},
    {kAIStringFormatUtilsSuite, kAIStringFormatUtilsSuiteVersion, &sAIStringFormatUtils},
    {kAIDocumentSuite, kAIDocumentSuiteVersion, &sAIDocument},
    {kAILayerSuite, kAILayerSuiteVersion, &sAILayer},
    {kAIDocumentListSuite, kAIDocumentListSuiteVersion, &sAIDocumentList},
    {kAIUndoSuite, kAIUndoSuiteVersion, &sAIUndo},
    {kAILegacyTextConversionSuite, kAILegacyTextConversionSuiteVersion, &sAILegacyTextConversion},
    {kAIArtSetSuite, kAIArtSetSuiteVersion, &sAIArtSet},
    {kAIPathStyleSuite, kAIPathStyleSuiteVersion, &sAIPathStyle},
    {kAIArtStyleSuite, kAIArtStyleSuiteVersion, &sAIArtStyle},
    {kAIArtboardSuite, kAIArtboardSuiteVersion, &sAIArtboard},
    {kAIArtboardRangeSuite, kAIArtboardRangeSuiteVersion, &sAIArtboardRange},
    {kAIModalParentSuite, kAIModalParentSuiteVersion, &sAIModalParent},
    {kAIPanelSuite, kAIPanelSuiteVersion, &sAIPanel},
    {nullptr, 0, nullptr},
};

int32_t WindowsSuiteVersion(int32_t version, int32_t step) { return version >= 1000 ? version - 1000 + step : version; }

int32_t Suites::fAcquiredCount = 0;

namespace {

// The lists keep the address of each typed pointer; every object pointer has
// the same representation here, so the value is copied bytewise rather than
// written through a pointer of the wrong type.
const void* LoadSuitePointer(const ImportSuite& entry) {
    const void* suite = nullptr;
    std::memcpy(&suite, entry.suite, sizeof suite);
    return suite;
}

void StoreSuitePointer(const ImportSuite& entry, const void* suite) { std::memcpy(entry.suite, &suite, sizeof suite); }

int32_t RequestedVersion(const ImportSuite& entry) {
    return SuiteVersion(entry.version, gPluginDescription.windowsSuiteVersionStep);
}

AIErr AcquireList(const ImportSuite* list) {
    if (list == nullptr) return kNoErr;
    for (const ImportSuite* entry = list; entry->name != nullptr; ++entry) {
        const void* suite = nullptr;
        AIErr error = sSPBasic->AcquireSuite(entry->name, RequestedVersion(*entry), &suite);
        if (error == kNoErr && suite == nullptr) error = kSPSuiteNotFoundError;
        if (error != kNoErr) return error;
        StoreSuitePointer(*entry, suite);
    }
    return kNoErr;
}

void ReleaseList(const ImportSuite* list) {
    if (list == nullptr) return;
    for (const ImportSuite* entry = list; entry->name != nullptr; ++entry) {
        if (LoadSuitePointer(*entry) == nullptr) continue;
        if (sSPBasic != nullptr) sSPBasic->ReleaseSuite(entry->name, RequestedVersion(*entry));
        StoreSuitePointer(*entry, nullptr);
    }
}

}  // namespace

Suites::Suites() {
    if (fAcquiredCount != 0) return;
    if (sSPBasic == nullptr) {
        fError = kSPSuiteNotFoundError;
        return;
    }
    fError = AcquireList(gBasicSuites);
    if (fError == kNoErr) fError = AcquireList(gImportSuites);
    if (fError == kNoErr) fError = AcquireList(gPluginDescription.ownSuites);
}

Suites::~Suites() {
    if (fAcquiredCount > 0) --fAcquiredCount;
    if (fAcquiredCount == 0) {
        ReleaseList(gBasicSuites);
        ReleaseList(gImportSuites);
        ReleaseList(gPluginDescription.ownSuites);
    }
}

AIErr Suites::AcquireOptionalSuites() { return kNoErr; }

void* Suites::operator new(std::size_t size) noexcept { return ::operator new[](size, std::nothrow); }

void Suites::operator delete(void* p) noexcept { ::operator delete[](p); }
