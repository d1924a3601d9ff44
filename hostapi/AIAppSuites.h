/* Application services: menus, notifiers, user dialogs, actions, strings, file paths and the
 * smaller suites every plug-in acquires. */
#ifndef QUILTOR_HOSTAPI_AIAPPSUITES_H
#define QUILTOR_HOSTAPI_AIAPPSUITES_H

#include "AITypes.h"

AIAPI_BEGIN

/* ---------------------------------------------------------------- Unicode strings */
/* Character encodings for conversions. The platform encoding is UTF-8 on this build. */
enum {
    kAIPlatformCharacterEncoding = 0,
    kAIRomanCharacterEncoding = 1,
    kAIUTF8CharacterEncoding = 2,
    kAIShiftJISCharacterEncoding = 3,
    kAIUTF16CharacterEncoding = 4
};

#define kAIUnicodeStringSuite "AI Unicode String Suite"
#define kAIUnicodeStringSuiteVersion 1007
typedef struct AIUnicodeStringSuite {
    /* Fills *str with a new empty string owned by the caller; kOutOfMemoryErr and null on exhaustion. */
    AIErr (*Initialize)(AIUnicodeStringRef* str);
    /* Frees a string; null is allowed. */
    AIErr (*Destroy)(AIUnicodeStringRef str);
    /* Replaces the contents with length bytes in the encoding (length -1: up to the terminating zero);
     * kBadParameterErr when the bytes are not valid in that encoding (the string is left unchanged). */
    AIErr (*SetFromBytes)(AIUnicodeStringRef str, const char* bytes, int32_t length, int32_t encoding);
    /* Replaces the contents with length UTF-16 code units. */
    AIErr (*SetFromUTF16)(AIUnicodeStringRef str, const uint16_t* units, int32_t length);
    /* Writes the string in the encoding into buffer, zero-terminated, never more than size bytes and never
     * cutting a character; *written (may be null) receives the bytes written without the zero.
     * kBufferTooSmallErr when it had to be cut; a character the encoding lacks becomes '?'. */
    AIErr (*GetToBuffer)(AIUnicodeStringRef str, char* buffer, int32_t size, int32_t encoding, int32_t* written);
    /* Writes up to size UTF-16 units (no terminator, never half a surrogate pair); *length receives the count. */
    AIErr (*GetUTF16)(AIUnicodeStringRef str, uint16_t* units, int32_t size, int32_t* length);
    /* Fills *length with the number of UTF-16 code units. */
    AIErr (*Length)(AIUnicodeStringRef str, int32_t* length);
    /* Fills *result with <0, 0 or >0 comparing code unit by code unit. */
    AIErr (*Compare)(AIUnicodeStringRef str1, AIUnicodeStringRef str2, int32_t* result);
    /* Appends the contents of src to dst. */
    AIErr (*Append)(AIUnicodeStringRef dst, AIUnicodeStringRef src);
    /* Replaces the contents of dst with those of src. */
    AIErr (*Assign)(AIUnicodeStringRef dst, AIUnicodeStringRef src);
} AIUnicodeStringSuite;

/* ---------------------------------------------------------------- File paths */
#define kAIFilePathSuite "AI File Path Suite"
#define kAIFilePathSuiteVersion 1003
typedef struct AIFilePathSuite {
    /* Fills *path with a new empty path owned by the caller. */
    AIErr (*Initialize)(AIFilePathRef* path);
    /* Frees a path; null is allowed. */
    AIErr (*Destroy)(AIFilePathRef path);
    /* Sets the path from a string ("/" separated). */
    AIErr (*Set)(AIFilePathRef path, AIUnicodeStringRef string);
    /* Replaces string with the whole path. */
    AIErr (*GetFullPath)(AIFilePathRef path, AIUnicodeStringRef string);
    /* Replaces dir with the directory part: the path itself when it names a directory, else its parent. */
    AIErr (*GetDirectory)(AIFilePathRef path, AIFilePathRef dir);
    /* Replaces name with the last component (empty when the path names a directory). */
    AIErr (*GetFileName)(AIFilePathRef path, AIUnicodeStringRef name);
    /* Fills *exists with whether a file or directory is there; *isFile (may be null) with whether it is a file. */
    AIErr (*Exists)(AIFilePathRef path, AIBoolean* exists, AIBoolean* isFile);
    /* Copies src into dst. */
    AIErr (*Copy)(AIFilePathRef dst, AIFilePathRef src);
} AIFilePathSuite;

#define kAIFoldersSuite "AI Folders Suite"
#define kAIFoldersSuiteVersion 1004
typedef struct AIFoldersSuite {
    /* Replaces folder with the host folder of the given kind (0 = application, 1 = plug-ins, 2 = temporary). */
    AIErr (*FindFolder)(int32_t type, AIBoolean createFolder, AIFilePathRef folder);
} AIFoldersSuite;

/* ---------------------------------------------------------------- Menus */
#define kOpenDocumentMenuGroup "Open Document"
#define kObjectsMenuGroup "Objects"
#define kAboutMenuGroup "About"

#define kAIMenuSuite "AI Menu Suite"
#define kAIMenuSuiteVersion 1010
typedef struct AIMenuSuite {
    /* Adds an item with the text to the end of the group named groupName (itemName may be null).
     * Fills *menuItem; kNameNotFoundErr for an unknown group. */
    AIErr (*AddMenuItem)(SPPluginRef self, const char* itemName, const char* groupName, AIUnicodeStringRef itemText,
                         int32_t options, AIMenuItemHandle* menuItem);
    /* Turns the item into a submenu and creates the group groupName behind it. Fills *group;
     * kBadParameterErr when the name is taken or the item unknown. */
    AIErr (*AddMenuGroupAsSubMenu)(const char* groupName, int32_t options, AIMenuItemHandle menuItem,
                                   AIMenuGroup* group);
    /* Fills *count with the number of menu groups. */
    AIErr (*CountMenuGroups)(int32_t* count);
    /* Fills *group with the n-th group; kIndexOutOfRangeErr and null past the end. */
    AIErr (*GetNthMenuGroup)(int32_t n, AIMenuGroup* group);
    /* Fills *name with the group's name (owned by the host while the group lives). */
    AIErr (*GetMenuGroupName)(AIMenuGroup group, const char** name);
    /* Replaces itemText with the item's text. */
    AIErr (*GetItemText)(AIMenuItemHandle menuItem, AIUnicodeStringRef itemText);
    /* Fills *plugin with the plug-in that added the item. */
    AIErr (*GetMenuItemPlugin)(AIMenuItemHandle menuItem, SPPluginRef* plugin);
} AIMenuSuite;

#define kAIPanelFlyoutMenuSuite "AI Panel Flyout Menu Suite"
#define kAIPanelFlyoutMenuSuiteVersion 1001
typedef struct AIPanelFlyoutMenuSuite {
    /* Fills *menu with a new empty flyout menu. */
    AIErr (*Create)(AIPanelFlyoutMenuRef* menu);
    /* Frees a flyout menu. */
    AIErr (*Destroy)(AIPanelFlyoutMenuRef menu);
} AIPanelFlyoutMenuSuite;

#define kAIPanelSuite "AI Panel Suite"
#define kAIPanelSuiteVersion 1001
typedef struct AIPanelSuite {
    /* Fills *shown with whether the panel is shown. */
    AIErr (*IsShown)(AIPanelRef panel, AIBoolean* shown);
} AIPanelSuite;

/* ---------------------------------------------------------------- Notifiers and context */
#define kAINotifierSuite "AI Notifier Suite"
#define kAINotifierSuiteVersion 1003
typedef struct AINotifierSuite {
    /* Asks for "AI Notifier" messages of the type; notifier may be null. kBadParameterErr for null names. */
    AIErr (*AddNotifier)(SPPluginRef self, const char* name, const char* type, AINotifierHandle* notifier);
    /* Switches a notifier on or off. */
    AIErr (*SetNotifierActive)(AINotifierHandle notifier, AIBoolean active);
} AINotifierSuite;

#define kAIAppContextSuite "AI Context Suite"
#define kAIAppContextSuiteVersion 1006
typedef struct AIAppContextSuite {
    /* Enters the plug-in's application context; *appContext receives the value to pop. */
    AIErr (*PushAppContext)(SPPluginRef plugin, AIAppContextHandle* appContext);
    /* Leaves the context entered by the matching push. */
    AIErr (*PopAppContext)(AIAppContextHandle appContext);
} AIAppContextSuite;

/* ---------------------------------------------------------------- The user */
/* YesNoAlert answers. */
enum { kAINoAnswer = 0, kAIYesAnswer = 1, kAICancelAnswer = 2 };

#define kAIUserSuite "AI User Suite"
#define kAIUserSuiteVersion 1010
typedef struct AIUserSuite {
    /* Shows a modal error text with one button. */
    AIErr (*ErrorAlert)(AIUnicodeStringRef message);
    /* Shows a modal information text with one button. */
    AIErr (*MessageAlert)(AIUnicodeStringRef message);
    /* Asks a yes/no question; *answer receives kAINoAnswer, kAIYesAnswer or kAICancelAnswer. */
    AIErr (*YesNoAlert)(AIUnicodeStringRef message, int32_t* answer);
    /* Lets the user choose a folder; fills path. kCanceledErr when the user cancels. */
    AIErr (*GetDirectoryDialog)(AIUnicodeStringRef title, AIFilePathRef path);
} AIUserSuite;

#define kAIModalParentSuite "AI Modal Parent Suite"
#define kAIModalParentSuiteVersion 1001
typedef struct AIModalParentSuite {
    /* Fills *parent with the window that modal dialogs belong to (null on this host). */
    AIErr (*GetModalParent)(AIWindowRef* parent);
} AIModalParentSuite;

/* ---------------------------------------------------------------- Actions */
typedef uint32_t AIActionParamKey;
#define AI_ACTION_KEY(a, b, c, d) ((AIActionParamKey)AI_FOURCC(a, b, c, d))

#define kAIActionManagerSuite "AI Action Manager Suite"
#define kAIActionManagerSuiteVersion 1004
typedef struct AIActionManagerSuite {
    /* Fills *param with a new empty parameter block owned by the caller. */
    AIErr (*AINewActionParamValue)(AIActionParamValueRef* param);
    /* Frees a parameter block; null is allowed. */
    AIErr (*AIDeleteActionParamValue)(AIActionParamValueRef param);
    /* Store one value under the key (replacing what was there). */
    AIErr (*AIActionSetInteger)(AIActionParamValueRef param, AIActionParamKey key, int32_t value);
    AIErr (*AIActionSetReal)(AIActionParamValueRef param, AIActionParamKey key, AIReal value);
    AIErr (*AIActionSetBoolean)(AIActionParamValueRef param, AIActionParamKey key, AIBoolean value);
    AIErr (*AIActionSetStringUS)(AIActionParamValueRef param, AIActionParamKey key, AIUnicodeStringRef value);
    /* Read one value; kNameNotFoundErr when the key is missing or holds another type. */
    AIErr (*AIActionGetInteger)(AIActionParamValueRef param, AIActionParamKey key, int32_t* value);
    AIErr (*AIActionGetReal)(AIActionParamValueRef param, AIActionParamKey key, AIReal* value);
    AIErr (*AIActionGetBoolean)(AIActionParamValueRef param, AIActionParamKey key, AIBoolean* value);
    AIErr (*AIActionGetStringUS)(AIActionParamValueRef param, AIActionParamKey key, AIUnicodeStringRef value);
    /* Plays the named event on the current document; kNameNotFoundErr for an event the host does not know. */
    AIErr (*PlayActionEvent)(const char* eventName, int32_t dialogStatus, AIActionParamValueRef param);
} AIActionManagerSuite;

/* ---------------------------------------------------------------- Smaller suites */
#define kAIFilterSuite "AI Filter Suite"
#define kAIFilterSuiteVersion 1003
typedef struct AIFilterSuite {
    /* Fills *count with the number of installed filters. */
    AIErr (*CountFilters)(int32_t* count);
} AIFilterSuite;

#define kAIToolSuite "AI Tool Suite"
#define kAIToolSuiteVersion 1012
typedef struct AIToolSuite {
    /* Fills *tool with the selected tool, or null. */
    AIErr (*GetSelectedTool)(AIToolHandle* tool);
} AIToolSuite;

#define kAIRealMathSuite "AI Real Math Suite"
#define kAIRealMathSuiteVersion 1002
typedef struct AIRealMathSuite {
    /* Fills *equal with whether a and b differ by at most tolerance. */
    AIErr (*AIRealEqual)(AIReal a, AIReal b, AIReal tolerance, AIBoolean* equal);
    /* Fills *result with the distance between the points. */
    AIErr (*AIRealPointLength)(const AIRealPoint* a, const AIRealPoint* b, AIReal* result);
} AIRealMathSuite;

#define kAIRandomSuite "AI Random Suite"
#define kAIRandomSuiteVersion 1004
typedef struct AIRandomSuite {
    /* Fills *value with a pseudo-random number in [0, 1). */
    AIErr (*FloatRnd)(AIReal* value);
    /* Restarts the sequence from seed. */
    AIErr (*SetRndSeed)(int32_t seed);
} AIRandomSuite;

#define kAIMdMemorySuite "AI MdMemory Suite"
#define kAIMdMemorySuiteVersion 1002
typedef struct AIMdMemorySuite {
    /* Fills *handle with size bytes of movable memory; kOutOfMemoryErr on exhaustion. */
    AIErr (*MdMemoryNewHandle)(size_t size, void** handle);
    /* Frees memory from MdMemoryNewHandle. */
    AIErr (*MdMemoryDisposeHandle)(void* handle);
} AIMdMemorySuite;

#define kAIStringFormatUtilsSuite "AI String Format Utils Suite"
#define kAIStringFormatUtilsSuiteVersion 1002
typedef struct AIStringFormatUtilsSuite {
    /* Writes value with the given number of decimals into str. */
    AIErr (*RealToString)(AIReal value, int16_t precision, AIUnicodeStringRef str);
} AIStringFormatUtilsSuite;

AIAPI_END

#endif
