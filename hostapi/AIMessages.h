/* Message records and caller/selector names of the AI layer. */
#ifndef QUILTOR_HOSTAPI_AIMESSAGES_H
#define QUILTOR_HOSTAPI_AIMESSAGES_H

#include "SPBasic.h"

AIAPI_BEGIN

#define kCallerAINotify "AI Notifier"
#define kSelectorAINotify "AI Notify"
#define kAIApplicationStartedNotifier "AI Application Started Notifier"
typedef struct AINotifierMessage {
    SPMessageData d;
    AINotifierHandle notifier;
    const char* type; /* the notifier type, e.g. kAIApplicationStartedNotifier */
    void* notifyData;
} AINotifierMessage;

#define kCallerAIMenu "AI Menu"
#define kSelectorAIGoMenuItem "AI Go"
#define kSelectorAIUpdateMenuItem "AI Update"
typedef struct AIMenuMessage {
    SPMessageData d;
    AIMenuItemHandle menuItem; /* the item chosen */
} AIMenuMessage;

#define kActionCaller "Action Manager"
#define kDoActionSelector "Do Action"
typedef struct DoActionMessage {
    SPMessageData d;
    int32_t dialogStatus;
    AIActionParamValueRef param;
} DoActionMessage;

#define kCallerAIFilter "AI Filter"
#define kSelectorAIGetFilterParameters "AI Get Parameters"
#define kSelectorAIGoFilter "AI Go"
typedef struct AIFilterMessage {
    SPMessageData d;
    AIFilterHandle filter;
    void* parameters;
} AIFilterMessage;

#define kCallerAIPluginGroup "AI Plugin Group"
#define kSelectorAINotifyEdits "AI Notify Edits"
#define kSelectorAIUpdateArt "AI Update"
typedef struct AIPluginGroupMessage {
    SPMessageData d;
    AIArtHandle art;
    int32_t code;
} AIPluginGroupMessage;

#define kCallerAIFileFormat "AI File Format"
#define kSelectorAIGetFileFormatParameters "AI Get Parameters"
#define kSelectorAIGoFileFormat "AI Go"
#define kSelectorAICheckFileFormat "AI Check"
#define kSelectorAIUpdateFileFormat "AI Update AI140"
#define kDoActionFileFormatSelector "Do Action"
typedef struct AIFileFormatMessage {
    SPMessageData d;
    int32_t option;
    AIFilePathRef file;
} AIFileFormatMessage;
typedef struct AIUpdateFileFormatMessage {
    SPMessageData d;
    int32_t option;
} AIUpdateFileFormatMessage;

#define kCallerAITool "AI Tool"
#define kSelectorAIEditToolOptions "AI Edit Options"
#define kSelectorAITrackToolCursor "AI Track Cursor"
#define kSelectorAIToolMouseDown "AI Mouse Down"
#define kSelectorAIToolMouseDrag "AI Mouse Drag"
#define kSelectorAIToolMouseUp "AI Mouse Up"
#define kSelectorAISelectTool "AI Select"
#define kSelectorAIDeselectTool "AI Deselect"
#define kSelectorAIReselectTool "AI Reselect"
#define kSelectorAIToolDecreaseDiameter "AI Decrease Diameter"
#define kSelectorAIToolIncreaseDiameter "AI Increase Diameter"
typedef struct AIToolMessage {
    SPMessageData d;
    AIToolHandle tool;
    AIRealPoint cursor;
} AIToolMessage;

#define kCallerAILiveEffect "AI Live Effect"
#define kSelectorAIEditLiveEffectParameters "AI Live Effect Edit Parameters"
#define kSelectorAIGoLiveEffect "AI Live Effect Go Live"
#define kSelectorAILiveEffectInterpolate "AI Live Effect Interpolate Parameters"
#define kSelectorAILiveEffectInputType "AI Live Effect Input Type"
#define kSelectorAILiveEffectScaleParameters "AI Live Effect Scale Parameters"
#define kSelectorAILiveEffectConvertColorSpace "AI Live Effect Convert Color Space"
#define kSelectorAILiveEffectAdjustColors "AI Live Effect Adjust Colors"
#define kSelectorAILiveEffectHandleMerge "AI Live Effect Handle Merge"
typedef struct AILiveEffectEditParamMessage {
    SPMessageData d;
    void* effect;
} AILiveEffectEditParamMessage;
typedef struct AILiveEffectGoMessage {
    SPMessageData d;
    void* effect;
    AIArtHandle art;
} AILiveEffectGoMessage;
typedef struct AILiveEffectInterpParamMessage {
    SPMessageData d;
    void* effect;
    AIReal percent;
} AILiveEffectInterpParamMessage;
typedef struct AILiveEffectInputTypeMessage {
    SPMessageData d;
    void* effect;
    int32_t typeMask;
} AILiveEffectInputTypeMessage;
typedef struct AILiveEffectConvertColorMessage {
    SPMessageData d;
    void* effect;
    int32_t colorSpace;
} AILiveEffectConvertColorMessage;
typedef struct AILiveEffectScaleParamMessage {
    SPMessageData d;
    void* effect;
    AIReal scale;
} AILiveEffectScaleParamMessage;
typedef struct AILiveEffectAdjustColorsMessage {
    SPMessageData d;
    void* effect;
} AILiveEffectAdjustColorsMessage;
typedef struct AILiveEffectHandleMergeMessage {
    SPMessageData d;
    void* effect;
    AIArtHandle art;
} AILiveEffectHandleMergeMessage;

#define kCallerAITimer "AI Timer"
#define kSelectorAIGoTimer "AI Go"
typedef struct AITimerMessage {
    SPMessageData d;
    AITimerHandle timer;
} AITimerMessage;

#define kCallerAIClipboard "AI Clipboard"
#define kSelectorAIGoClipboard "AI Go"
#define kSelectorAICanCopyClipboard "AI Can Copy"
#define kSelectorAICloneClipboard "AI Clone"
#define kSelectorAIDisposeClipboard "AI Dispose"
typedef struct AIClipboardMessage {
    SPMessageData d;
    int32_t option;
    void* data;
} AIClipboardMessage;

#define kAIWorkspaceCaller "Workspace Manager"
/* The host's selector words are spelled this way. */
#define kAIWSWriteSelector "Write Woskspace"
#define kAIWSRestoreSelector "Restore Woskspace"
#define kAIWSDefaultSelector "Default Woskspace"
typedef struct AIWorkspaceMessage {
    SPMessageData d;
    const char* workspaceName;
} AIWorkspaceMessage;

AIAPI_END

#endif
