#include "KTRPluginAdjustPlugin.h"
#include "Suites.h"

const AIPathfinderSuite* sAIPathfinder = nullptr;
const AITransformArtSuite* sAITransformArt = nullptr;

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
    {kAIPathfinderSuite, kAIPathfinderSuiteVersion, &sAIPathfinder},
    {kAITransformArtSuite, kAITransformArtSuiteVersion, &sAITransformArt},
    {nullptr, 0, nullptr},
};
