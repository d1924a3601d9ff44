// The plug-in object: one per loaded plug-in, kept in the host's globals slot
// between messages. PluginMain (Main.cpp) creates it and routes every host
// message to one of its virtual operations; ApplicationPlugin, the base of
// each deliverable's object, overrides the few they need.
#ifndef QUILTOR_COMMON_PLUGIN_H
#define QUILTOR_COMMON_PLUGIN_H

#include <cstddef>
#include <cstdint>

#include "AIHost.h"

class Suites;

class Plugin {
public:
    // Seconds on the clock that ReportError reads; tests replace it.
    using Clock = int64_t (*)();
    // A null clock restores the system clock (time()).
    static void SetClock(Clock clock);
    static int64_t Now();

    explicit Plugin(SPPluginRef pluginRef);

    // Both allocate with the nothrow array allocator: a failed allocation
    // yields null instead of throwing, so start-up can answer 'MEM!'.
    static void* operator new(std::size_t size) noexcept;
    static void operator delete(void* p) noexcept;

    // The virtual operations, in the order of the host SDK's table.
    virtual ~Plugin();

    virtual void ReportError(AIErr error, const char* caller, const char* selector, void* message);
    virtual AIErr LockPlugin(bool lock);

    virtual AIErr StartupPlugin(SPInterfaceMessage* message);
    virtual AIErr PostStartupPlugin();
    virtual AIErr ShutdownPlugin(SPInterfaceMessage* message);
    virtual AIErr UnloadPlugin(SPInterfaceMessage* message);
    virtual AIErr ReloadPlugin(SPInterfaceMessage* message);

    virtual AIErr AcquireProperty(SPPropertiesMessage* message);
    virtual AIErr ReleaseProperty(SPPropertiesMessage* message);

    // Copies the name into buffer, cut to size bytes and then terminated inside
    // the buffer. Returns the full length of the name.
    virtual std::size_t GetPluginName(char* buffer, unsigned int size);
    // Non-zero when something was purged.
    virtual AIErr Purge();
    virtual AIErr Message(const char* caller, const char* selector, void* message);

    virtual AIErr SetGlobal(Plugin* plugin);
    virtual AIErr AllocateSuiteTables();
    virtual AIErr FillSuiteTables();
    virtual AIErr EmptySuiteTables();
    virtual AIErr AcquireOptionalSuites();

    virtual AIErr Notify(AINotifierMessage* message);
    virtual AIErr GoAction(DoActionMessage* message);
    virtual AIErr GoMenuItem(AIMenuMessage* message);
    virtual AIErr UpdateMenuItem(AIMenuMessage* message);

    virtual AIErr GetFilterParameters(AIFilterMessage* message);
    virtual AIErr GoFilter(AIFilterMessage* message);
    virtual AIErr PluginGroupNotify(AIPluginGroupMessage* message);
    virtual AIErr PluginGroupUpdate(AIPluginGroupMessage* message);

    virtual AIErr GetFileFormatParameters(AIFileFormatMessage* message);
    virtual AIErr GoFileFormat(AIFileFormatMessage* message);
    virtual AIErr CheckFileFormat(AIFileFormatMessage* message);
    virtual AIErr FileFormatUpdate(AIUpdateFileFormatMessage* message);
    virtual AIErr SetFileFormatParameters(DoActionMessage* message);

    virtual AIErr EditTool(AIToolMessage* message);
    virtual AIErr TrackToolCursor(AIToolMessage* message);
    virtual AIErr ToolMouseDown(AIToolMessage* message);
    virtual AIErr ToolMouseDrag(AIToolMessage* message);
    virtual AIErr ToolMouseUp(AIToolMessage* message);
    virtual AIErr SelectTool(AIToolMessage* message);
    virtual AIErr DeselectTool(AIToolMessage* message);
    virtual AIErr ReselectTool(AIToolMessage* message);
    virtual AIErr DecreaseDiameter(AIToolMessage* message);
    virtual AIErr IncreaseDiameter(AIToolMessage* message);

    virtual AIErr EditLiveEffectParameters(AILiveEffectEditParamMessage* message);
    virtual AIErr GoLiveEffect(AILiveEffectGoMessage* message);
    virtual AIErr LiveEffectInterpolate(AILiveEffectInterpParamMessage* message);
    virtual AIErr LiveEffectGetInputType(AILiveEffectInputTypeMessage* message);
    virtual AIErr LiveEffectConvertColorSpace(AILiveEffectConvertColorMessage* message);
    virtual AIErr LiveEffectScaleParameters(AILiveEffectScaleParamMessage* message);
    virtual AIErr LiveEffectAdjustColors(AILiveEffectAdjustColorsMessage* message);
    virtual AIErr LiveEffectHandleMerge(AILiveEffectHandleMergeMessage* message);

    virtual AIErr GoTimer(AITimerMessage* message);

    virtual AIErr GoClipboard(AIClipboardMessage* message);
    virtual AIErr CanCopyClipboard(AIClipboardMessage* message);
    virtual AIErr CloneClipboard(AIClipboardMessage* message);
    virtual AIErr DisposeClipboard(AIClipboardMessage* message);

    virtual AIErr WorkspaceWrite(AIWorkspaceMessage* message);
    virtual AIErr WorkspaceRestore(AIWorkspaceMessage* message);
    virtual AIErr WorkspaceDefault(AIWorkspaceMessage* message);

    // True for "SP Access"/"Reload".
    static bool IsReloadMsg(const char* caller, const char* selector);
    // Error path when no plug-in object exists. Shows nothing.
    static void DefaultError(SPPluginRef pluginRef, AIErr error);
    // True for the codes that are never reported.
    static bool IsFilteredError(AIErr error);

    // Null while no suites are held (after an unload, or before start-up).
    const Suites* GetSuites() const { return fSuiteSet; }

    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

protected:
    // Copies name into fPluginName, cut to fit and terminated.
    void SetPluginName(const char* name);

    static constexpr std::size_t kMaxStringLength = 256;

    SPPluginRef fHostPlugin;
    char fPluginName[kMaxStringLength];
    Suites* fSuiteSet;
    int32_t fLockCount;
    SPAccessRef fAccessRef;
    int32_t fLastError;
    int64_t fRepeatWindow;
    bool fSuppressRepeats;
    int64_t fLastErrorTime;
};

// Each deliverable defines this: its application object, or null when memory
// runs out.
Plugin* AllocatePlugin(SPPluginRef pluginRef);

// Re-binds an object that survived "SP Access"/"Unload" to the loaded code.
void FixupReload(Plugin* plugin);

// The plug-in file's only export.
#ifdef _WIN32
#define QUILTOR_PLUGIN_EXPORT __declspec(dllexport)
#else
#define QUILTOR_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif
extern "C" QUILTOR_PLUGIN_EXPORT AIErr PluginMain(const char* caller, const char* selector, void* message);

#endif
