/* The basic suite, the plug-in entry point, the message records and the SP suites. */
#ifndef QUILTOR_HOSTAPI_SPBASIC_H
#define QUILTOR_HOSTAPI_SPBASIC_H

#include "AITypes.h"

AIAPI_BEGIN

/* ---- The basic suite: every other suite is reached through it. ---- */
typedef struct SPBasicSuite {
    /* Fills *suite with the suite of that name and version; on failure leaves *suite null and
     * returns kSPSuiteNotFoundError (unknown name) or kSPBadSuiteVersionError (no such version). */
    AIErr (*AcquireSuite)(const char* name, int32_t version, const void** suite);
    /* Gives back one acquisition of the suite; kSPSuiteNotFoundError when none is held. */
    AIErr (*ReleaseSuite)(const char* name, int32_t version);
    /* Non-zero when the two strings are byte for byte equal. */
    AIBoolean (*IsEqual)(const char* token1, const char* token2);
    /* Fills *block with size bytes of host memory; kOutOfMemoryErr and null on exhaustion. */
    AIErr (*AllocateBlock)(size_t size, void** block);
    /* Frees a block from AllocateBlock; null is allowed. */
    AIErr (*FreeBlock)(void* block);
    /* Resizes a block; on failure *newBlock is null and the old block stays valid. */
    AIErr (*ReallocateBlock)(void* block, size_t newSize, void** newBlock);
} SPBasicSuite;

/* ---- Message records. Every record starts with SPMessageData. ---- */
#define kSPValidSPMessageData AI_FOURCC('S', 'P', 'C', 'K')

typedef struct SPMessageData {
    int32_t SPCheck;     /* kSPValidSPMessageData */
    SPPluginRef self;    /* the receiving plug-in's host handle */
    void* globals;       /* the plug-in's globals slot; kept by the host between messages */
    SPBasicSuite* basic; /* the host's basic suite */
} SPMessageData;

typedef struct SPInterfaceMessage {
    SPMessageData d;
} SPInterfaceMessage;
typedef struct SPAccessMessage {
    SPMessageData d;
} SPAccessMessage;
typedef struct SPPropertiesMessage {
    SPMessageData d;
    int32_t vendorID, propertyKey, propertyID;
    void* property;
    int32_t refCon;
    int32_t cacheable;
} SPPropertiesMessage;

/* Entry point that every plug-in exports, and nothing else. */
typedef AIErr (*PluginMainProc)(const char* caller, const char* selector, void* message);

/* ---- Callers and selectors of the SP layer ---- */
#define kSPInterfaceCaller "SP Interface"
#define kSPInterfaceStartupSelector "Startup"
#define kSPInterfaceShutdownSelector "Shutdown"
#define kSPInterfaceAboutSelector "About"
#define kSPAccessCaller "SP Access"
#define kSPAccessUnloadSelector "Unload"
#define kSPAccessReloadSelector "Reload"
#define kSPCacheCaller "SP Cache"
#define kSPPluginPurgeCachesSelector "Plug-in Purge"
#define kSPPropertiesCaller "SP Properties"
#define kSPPropertiesAcquireSelector "Acquire"
#define kSPPropertiesReleaseSelector "Release"

/* ---- SP suites ---- */
#define kSPAccessSuite "SP Access Suite"
#define kSPAccessSuiteVersion 3
typedef struct SPAccessSuite {
    /* Fills *access with a reference that keeps the plug-in's code loaded; kBadParameterErr for a null plug-in. */
    AIErr (*AcquirePlugin)(SPPluginRef plugin, SPAccessRef* access);
    /* Drops a reference from AcquirePlugin; kBadParameterErr for an unknown reference. */
    AIErr (*ReleasePlugin)(SPAccessRef access);
    /* Fills *count with the number of access references held on the plug-in. */
    AIErr (*GetPluginAccessCount)(SPPluginRef plugin, int32_t* count);
} SPAccessSuite;

#define kSPPluginsSuite "SP Plug-ins Suite"
#define kSPPluginsSuiteVersion 4
typedef struct SPPluginsSuite {
    /* Stores the plug-in's display name (copied); kBadParameterErr for null arguments. */
    AIErr (*SetPluginName)(SPPluginRef plugin, const char* name);
    /* Fills *name with the stored name (owned by the host, valid until the next SetPluginName). */
    AIErr (*GetPluginName)(SPPluginRef plugin, const char** name);
    /* Fills *path with the plug-in file's path (owned by the host). */
    AIErr (*GetPluginFilePath)(SPPluginRef plugin, const char** path);
} SPPluginsSuite;

#define kSPBlocksSuite "SP Blocks Suite"
#define kSPBlocksSuiteVersion 2
typedef struct SPBlocksSuite {
    /* Fills *block with size bytes; kOutOfMemoryErr and null on exhaustion. */
    AIErr (*AllocateBlock)(size_t size, void** block);
    /* Frees a block; null is allowed. */
    AIErr (*FreeBlock)(void* block);
    /* Resizes a block; on failure *newBlock is null and the old block stays valid. */
    AIErr (*ReallocateBlock)(void* block, size_t newSize, void** newBlock);
} SPBlocksSuite;

AIAPI_END

#endif
