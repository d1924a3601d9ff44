/* Documents, the document list, undo, artboards and text conversion. */
#ifndef QUILTOR_HOSTAPI_AIDOCUMENTSUITES_H
#define QUILTOR_HOSTAPI_AIDOCUMENTSUITES_H

#include "AITypes.h"

AIAPI_BEGIN

/* Document colour models (GetDocumentColorModel). */
enum { kDocUnknownColor = -1, kDocGrayColor = 0, kDocRGBColor = 1, kDocCMYKColor = 2 };

/* Dialog status of an operation that may ask the user. */
enum { kDialogNone = 0, kDialogOn = 1, kDialogOff = 2, kDialogNoneAndNotify = 3 };

typedef struct AIDocumentSetup {
    AIReal width, height; /* page size in points */
    AIBoolean showPlacedImages;
    int16_t pageView;
    AIReal outputResolution;
    AIBoolean splitLongPaths;
    AIBoolean useDefaultScreen;
    AIBoolean compatibleGradients;
    AIBoolean printTiles;
    AIBoolean tileFullPages;
} AIDocumentSetup;

#define kAIDocumentSuite "AI Document Suite"
#define kAIDocumentSuiteVersion 1013
typedef struct AIDocumentSuite {
    /* Fills *document with the current (front) document; kNoDocumentErr and null without one. */
    AIErr (*GetDocument)(AIDocumentHandle* document);
    /* Fills *setup with the current document's setup; kNoDocumentErr without one. */
    AIErr (*GetDocumentSetup)(AIDocumentSetup* setup);
    /* Stores the page size of setup into the current document. */
    AIErr (*SetDocumentSetup)(const AIDocumentSetup* setup);
    /* Fills *colorModel with kDocGrayColor, kDocRGBColor, kDocCMYKColor or kDocUnknownColor. */
    AIErr (*GetDocumentColorModel)(int16_t* colorModel);
    /* Fills *modified with the current document's modified flag. */
    AIErr (*GetDocumentModified)(AIBoolean* modified);
    /* Sets the current document's modified flag. */
    AIErr (*SetDocumentModified)(AIBoolean modified);
    /* Replaces path with the current document's file path (empty for an unsaved document). */
    AIErr (*GetDocumentFileSpecification)(AIFilePathRef path);
} AIDocumentSuite;

#define kAIDocumentListSuite "AI Document List Suite"
#define kAIDocumentListSuiteVersion 1007
typedef struct AIDocumentListSuite {
    /* Fills *count with the number of open documents. */
    AIErr (*Count)(int32_t* count);
    /* Fills *document with the n-th open document (0 = front); kIndexOutOfRangeErr and null past the end. */
    AIErr (*GetNthDocument)(AIDocumentHandle* document, int32_t n);
    /* Opens a new empty document (one layer, one artboard of width x height points) and makes it current. */
    AIErr (*New)(AIUnicodeStringRef title, int16_t colorModel, AIReal width, AIReal height, int32_t dialogStatus,
                 AIDocumentHandle* document);
    /* Opens the file as a new current document. On failure *document is null and the result is
     * kFileNotFoundErr, kBadFileFormatErr or kCanceledErr; with dialog status kDialogOn a failure is also
     * reported to the user. */
    AIErr (*Open)(AIFilePathRef file, int16_t colorMode, int32_t dialogStatus, AIBoolean forceCopy,
                  AIDocumentHandle* document);
    /* Writes the document to its file. */
    AIErr (*Save)(AIDocumentHandle document);
    /* Closes the document without saving; the handle is dead afterwards. */
    AIErr (*Close)(AIDocumentHandle document);
    /* Makes the document the current (front) one. */
    AIErr (*Activate)(AIDocumentHandle document, AIBoolean bSetFocus);
} AIDocumentListSuite;

#define kAIUndoSuite "AI Undo Suite"
#define kAIUndoSuiteVersion 1006
typedef struct AIUndoSuite {
    /* With silent on, the next undo is not offered to the user for redo. */
    AIErr (*SetSilent)(AIBoolean silent);
    /* Brings the current document back to its state before the current changes (since opened,
     * created or last purged). */
    AIErr (*UndoChanges)(void);
    /* Forgets every recorded state of the current document; later undos go back to this point. */
    AIErr (*PurgeAllUndos)(void);
    /* Names the undo step of the current changes. */
    AIErr (*SetUndoText)(AIUnicodeStringRef undoText, AIUnicodeStringRef redoText);
} AIUndoSuite;

#define kAIArtboardSuite "AI Artboard Suite"
#define kAIArtboardSuiteVersion 1002
typedef struct AIArtboardSuite {
    /* Fills *artboards with the current document's artboard list; release it with ReleaseArtboardList. */
    AIErr (*GetArtboardList)(AIArtboardListRef* artboards);
    /* Releases a list from GetArtboardList. */
    AIErr (*ReleaseArtboardList)(AIArtboardListRef artboards);
    /* Fills *count with the number of artboards. */
    AIErr (*GetCount)(AIArtboardListRef artboards, int32_t* count);
    /* Fills *index with the active artboard's index. */
    AIErr (*GetActive)(AIArtboardListRef artboards, int32_t* index);
    /* Fills *properties (from InitArtboardProperties) with the artboard's properties; kIndexOutOfRangeErr past the end. */
    AIErr (*GetArtboardProperties)(AIArtboardListRef artboards, int32_t index, AIArtboardPropertiesRef properties);
    /* Fills *properties with a new, empty properties object; dispose it with DisposeArtboardProperties. */
    AIErr (*InitArtboardProperties)(AIArtboardPropertiesRef* properties);
    /* Frees a properties object. */
    AIErr (*DisposeArtboardProperties)(AIArtboardPropertiesRef properties);
    /* Fills *bounds with the artboard rectangle in document points (left, top, right, bottom). */
    AIErr (*GetPosition)(AIArtboardPropertiesRef properties, AIRealRect* bounds);
} AIArtboardSuite;

#define kAIArtboardRangeSuite "AI Artboard Range Suite"
#define kAIArtboardRangeSuiteVersion 1002
typedef struct AIArtboardRangeSuite {
    /* Fills *count with the number of artboards that a range text names. */
    AIErr (*GetCount)(const char* range, int32_t* count);
} AIArtboardRangeSuite;

#define kAILegacyTextConversionSuite "AI Legacy Text Conversion Suite"
#define kAILegacyTextConversionSuiteVersion 1002
typedef struct AILegacyTextConversionSuite {
    /* Converts the current document's legacy text to current text; *anyConverted tells whether any was. */
    AIErr (*ConvertAllToNative)(AIBoolean* anyConverted);
} AILegacyTextConversionSuite;

#define kAIDocumentViewSuite "AI Document View Suite"
#define kAIDocumentViewSuiteVersion 1011
typedef struct AIDocumentViewSuite {
    /* Fills *zoom with the view's zoom factor. */
    AIErr (*GetDocumentViewZoom)(AIReal* zoom);
    /* Fills *center with the view's centre in document points. */
    AIErr (*GetDocumentViewCenter)(AIRealPoint* center);
} AIDocumentViewSuite;

AIAPI_END

#endif
