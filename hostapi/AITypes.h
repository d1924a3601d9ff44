/* Basic types, handles and result codes shared by the host and its plug-ins.
 * Plain C: this header is compiled as C and as C++, so nothing of C++ crosses the boundary. */
#ifndef QUILTOR_HOSTAPI_AITYPES_H
#define QUILTOR_HOSTAPI_AITYPES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define AIAPI_BEGIN extern "C" {
#define AIAPI_END }
#else
#define AIAPI_BEGIN
#define AIAPI_END
#endif

#define AIAPI

AIAPI_BEGIN

typedef int32_t AIErr;
typedef uint8_t AIBoolean;
typedef float AIReal; /* single precision, as the macOS host hands out */

typedef struct AIRealPoint {
    AIReal h, v;
} AIRealPoint;
/* y grows upward: top >= bottom for a non-empty rectangle. */
typedef struct AIRealRect {
    AIReal left, top, right, bottom;
} AIRealRect;
typedef struct AIRealMatrix {
    AIReal a, b, c, d, tx, ty;
} AIRealMatrix;

/* Four-character codes are written as their characters, first character most significant. */
#define AI_FOURCC(a, b, c, d)                                                                                    \
    ((int32_t)(((uint32_t)(uint8_t)(a) << 24) | ((uint32_t)(uint8_t)(b) << 16) | ((uint32_t)(uint8_t)(c) << 8) | \
               (uint32_t)(uint8_t)(d)))

enum {
    kNoErr = 0,
    kUnhandledMsgErr = AI_FOURCC('!', 'M', 'S', 'G'),
    kOutOfMemoryErr = AI_FOURCC('M', 'E', 'M', '!'),
    kCantHappenErr = AI_FOURCC('C', 'A', 'N', 'T'),
    kCanceledErr = AI_FOURCC('C', 'A', 'N', 'T'), /* the user cancelled a host dialog */
    kSPPluginCachesFlushResponse = AI_FOURCC('p', 'F', 'l', 's'),
    kSPSuiteNotFoundError = AI_FOURCC('S', '!', 'F', 'd'),
    kSPBadSuiteVersionError = AI_FOURCC('S', 'V', 'e', 'r'),
    kBadParameterErr = AI_FOURCC('P', 'A', 'R', 'M'),
    kNoDocumentErr = AI_FOURCC('D', 'O', 'C', '?'),
    kNameNotFoundErr = AI_FOURCC('N', 'A', 'M', '?'),
    kIndexOutOfRangeErr = AI_FOURCC('I', 'D', 'X', '?'),
    kFileNotFoundErr = AI_FOURCC('F', 'N', 'F', '?'),
    kBadFileFormatErr = AI_FOURCC('F', 'M', 'T', '?'),
    kBufferTooSmallErr = AI_FOURCC('B', 'U', 'F', '?'),
    kEmptyResultErr = AI_FOURCC('E', 'M', 'P', 'T'),    /* a pathfinder result with nothing left */
    kInjectedFailureErr = AI_FOURCC('F', 'A', 'I', 'L') /* a failure a test asked the host for */
};

/* Opaque handles. Document, layer and art handles stay valid within the message being handled. */
typedef struct _SPPlugin* SPPluginRef;
typedef struct _SPAccess* SPAccessRef;
typedef struct _AIDocument* AIDocumentHandle;
typedef struct _AILayer* AILayerHandle;
typedef struct _AIArt* AIArtHandle;
typedef struct _AIArtSet* AIArtSet;
typedef struct _AIArtStyle* AIArtStyleHandle;
typedef struct _AIMenuItem* AIMenuItemHandle;
typedef struct _AIMenuGroup* AIMenuGroup;
typedef struct _AINotifier* AINotifierHandle;
typedef struct _AIActionParamValue* AIActionParamValueRef;
typedef struct _AIUnicodeString* AIUnicodeStringRef;
typedef struct _AIFilePath* AIFilePathRef;
typedef struct _AIArtboardList* AIArtboardListRef;
typedef struct _AIArtboardProperties* AIArtboardPropertiesRef;
typedef struct _AIAppContext* AIAppContextHandle;
typedef struct _AICustomColor* AICustomColorHandle;
typedef struct _AIPattern* AIPatternHandle;
typedef struct _AIGradient* AIGradientHandle;
typedef struct _AITool* AIToolHandle;
typedef struct _AITimer* AITimerHandle;
typedef struct _AIFilter* AIFilterHandle;
typedef struct _AIPanel* AIPanelRef;
typedef struct _AIPanelFlyoutMenu* AIPanelFlyoutMenuRef;
typedef void* AIWindowRef;

AIAPI_END

#endif
