// The host suites a plug-in holds while it runs, and the module-level pointers
// through which all plug-in code calls them. Each plug-in file carries its own
// copy of these globals.
#ifndef QUILTOR_COMMON_SUITES_H
#define QUILTOR_COMMON_SUITES_H

#include <cstddef>
#include <cstdint>

#include "AIHost.h"

// One suite to acquire: its name, its version and the module-level pointer
// that receives it. A list ends with an entry whose name is null.
struct ImportSuite {
    const char* name;
    int32_t version;
    void* suite;  // address of the typed pointer, e.g. &sAILayer
};

// The version a plug-in asks the host for, given the one of the hostapi headers: the Windows
// builds ask by the plain number (1012 as 12) plus their step; the SP suites keep their numbers.
int32_t WindowsSuiteVersion(int32_t version, int32_t step);
#ifdef _WIN32
inline int32_t SuiteVersion(int32_t version, int32_t step) { return WindowsSuiteVersion(version, step); }
#else
inline int32_t SuiteVersion(int32_t version, int32_t) { return version; }
#endif

// Suites every plug-in of the family needs, acquired first.
extern ImportSuite gBasicSuites[];
// Suites the application code of every plug-in calls, acquired next; a
// deliverable's own suites (its PluginDescription) follow them.
extern ImportSuite gImportSuites[];

class Suites {
public:
    // Acquires every basic suite, every import suite, then the deliverable's
    // own, in list order, unless another Suites object already holds them.
    // The first failure stops the acquisition and becomes GetErr().
    Suites();
    // Drops one count; at 0 releases every suite held, in list order, and
    // clears its pointer.
    ~Suites();

    AIErr GetErr() const { return fError; }
    // Every suite is required, so there are none left to try.
    AIErr AcquireOptionalSuites();

    // Number of Suites objects sharing the acquired suites. The plug-in object
    // sets it to 1 after constructing one.
    static int32_t fAcquiredCount;

    // Both allocate with the nothrow array allocator (null on exhaustion).
    static void* operator new(std::size_t size) noexcept;
    static void operator delete(void* p) noexcept;

    Suites(const Suites&) = delete;
    Suites& operator=(const Suites&) = delete;

private:
    AIErr fError = kNoErr;
};

extern SPBasicSuite* sSPBasic;

extern const SPAccessSuite* sSPAccess;
extern const SPPluginsSuite* sSPPlugins;
extern const AINotifierSuite* sAINotifier;
extern const AIAppContextSuite* sAIAppContext;
extern const AIUserSuite* sAIUser;
extern const AIFilePathSuite* sAIFilePath;
extern const AIFoldersSuite* sAIFolders;

extern const AIFilterSuite* sAIFilter;
extern const SPBlocksSuite* sSPBlocks;
extern const AIArtSuite* sAIArt;
extern const AIPathSuite* sAIPath;
extern const AIRealMathSuite* sAIRealMath;
extern const AIRandomSuite* sAIRandom;
extern const AIDocumentViewSuite* sAIDocumentView;
extern const AIToolSuite* sAITool;
extern const AIMatchingArtSuite* sAIMatchingArt;
extern const AIActionManagerSuite* sAIActionManager;
extern const AIMenuSuite* sAIMenu;
extern const AIUnicodeStringSuite* sAIUnicodeString;
extern const AIMdMemorySuite* sAIMdMemory;
extern const AIStringFormatUtilsSuite* sAIStringFormatUtils;
extern const AIDocumentSuite* sAIDocument;
extern const AILayerSuite* sAILayer;
extern const AIDocumentListSuite* sAIDocumentList;
extern const AIUndoSuite* sAIUndo;
extern const AILegacyTextConversionSuite* sAILegacyTextConversion;
extern const AIArtSetSuite* sAIArtSet;
extern const AIPathStyleSuite* sAIPathStyle;
extern const AIArtStyleSuite* sAIArtStyle;
extern const AIArtboardSuite* sAIArtboard;
extern const AIArtboardRangeSuite* sAIArtboardRange;
extern const AIModalParentSuite* sAIModalParent;
extern const AIPanelSuite* sAIPanel;

#endif
