#include "Plugin.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <new>
#include <string>

#include "AppContext.h"
#include "Suites.h"

namespace {

constexpr AIErr kFilterError[] = {
    AI_FOURCC('F', 'M', 'T', '?'),
    AI_FOURCC('R', 'F', 'S', 'E'),
    AI_FOURCC('A', 'F', 'T', 'R'),
    AI_FOURCC('V', 'A', 'L', 'D'),
    AI_FOURCC('M', 'O', 'O', 'T'),
    AI_FOURCC('T', 'R', 'S', 'H'),
    AI_FOURCC('C', 'H', 'E', 'K'),
    AI_FOURCC('C', 'H', 'I', 'T'),
    AI_FOURCC('T', 'L', 'T', 'K'),
    AI_FOURCC('p', 'F', 'l', 's'),
    AI_FOURCC('S', '!', 'F', 'd'),
    AI_FOURCC('!', 'A', 'c', 'q'),
    AI_FOURCC('d', 's', 'R', 'P'),
    AI_FOURCC('s', 'k', 'p', 'E'),
    AI_FOURCC('D', 'O', 'N', 'E'),
    AI_FOURCC('S', 'T', 'O', 'P'),
    361,
};

int64_t SystemClock() { return static_cast<int64_t>(std::time(nullptr)); }

Plugin::Clock gClock = SystemClock;

bool Equal(const char* a, const char* b) { return a != nullptr && b != nullptr && std::strcmp(a, b) == 0; }

}  // namespace

void Plugin::SetClock(Clock clock) { gClock = clock != nullptr ? clock : SystemClock; }

int64_t Plugin::Now() { return gClock(); }

Plugin::Plugin(SPPluginRef pluginRef)
    : fHostPlugin(pluginRef),
      fPluginName{},
      fSuiteSet(nullptr),
      fLockCount(0),
      fAccessRef(nullptr),
      fLastError(kNoErr),
      fRepeatWindow(5),
      fSuppressRepeats(true),
      fLastErrorTime(0) {
    SetPluginName("Plugin");
}

// Normally shutdown has already let go of everything. An object destroyed
// after a failed start-up still holds its lock and suites; give them back so
// the host's counts stay right.
Plugin::~Plugin() {
    if (fSuiteSet == nullptr) return;
    if (fLockCount > 0 && fAccessRef != nullptr && sSPAccess != nullptr) sSPAccess->ReleasePlugin(fAccessRef);
    fLockCount = 0;
    fAccessRef = nullptr;
    delete fSuiteSet;
    fSuiteSet = nullptr;
}

void* Plugin::operator new(std::size_t size) noexcept { return ::operator new[](size, std::nothrow); }

void Plugin::operator delete(void* p) noexcept { ::operator delete[](p); }

void Plugin::SetPluginName(const char* name) {
    const std::size_t length = name != nullptr ? std::strlen(name) : 0;
    const std::size_t kept = std::min(length, kMaxStringLength - 1);
    if (kept > 0) std::memcpy(fPluginName, name, kept);
    fPluginName[kept] = '\0';
}

bool Plugin::IsFilteredError(AIErr error) {
    return std::find(std::begin(kFilterError), std::end(kFilterError), error) != std::end(kFilterError);
}

void Plugin::ReportError(AIErr error, const char*, const char*, void*) {
    if (IsFilteredError(error)) return;
    const int64_t now = Now();
    if (error == fLastError && fSuppressRepeats && fLastErrorTime + fRepeatWindow > now) return;
    fLastError = error;
    fLastErrorTime = now;
    // Nothing is shown: the user only sees the alerts the runs raise themselves.
}

void Plugin::DefaultError(SPPluginRef, AIErr error) {
    if (IsFilteredError(error)) return;
    // Without an object there is nowhere to record it, and nothing is shown.
}

bool Plugin::IsReloadMsg(const char* caller, const char* selector) {
    return Equal(caller, kSPAccessCaller) && Equal(selector, kSPAccessReloadSelector);
}

AIErr Plugin::LockPlugin(bool lock) {
    if (lock) {
        if (fLockCount++ == 0 && sSPAccess != nullptr) sSPAccess->AcquirePlugin(fHostPlugin, &fAccessRef);
    } else {
        if (fLockCount-- == 1) {
            if (sSPAccess != nullptr) sSPAccess->ReleasePlugin(fAccessRef);
            fAccessRef = nullptr;
        }
        if (fLockCount < 0) fLockCount = 0;
    }
    return kNoErr;
}

AIErr Plugin::StartupPlugin(SPInterfaceMessage*) {
    SetGlobal(this);

    AIErr error = kNoErr;
    fSuiteSet = new Suites;
    if (fSuiteSet == nullptr) {
        error = kOutOfMemoryErr;
    } else {
        error = fSuiteSet->GetErr();
        Suites::fAcquiredCount = 1;
    }
    if (error != kNoErr) {
        delete fSuiteSet;
        fSuiteSet = nullptr;
        return error;
    }

    error = sSPPlugins->SetPluginName(fHostPlugin, fPluginName);
    if (error == kNoErr) {
        const std::string notifierName = std::string(fPluginName) + " App Started Notifier";
        error = sAINotifier->AddNotifier(fHostPlugin, notifierName.c_str(), kAIApplicationStartedNotifier, nullptr);
    }
    if (error == kNoErr) error = AllocateSuiteTables();
    if (error != kNoErr) return error;

    FillSuiteTables();
    // One lock for the plug-in's whole life keeps its code resident.
    if (fLockCount++ == 0) sSPAccess->AcquirePlugin(fHostPlugin, &fAccessRef);
    return kNoErr;
}

AIErr Plugin::PostStartupPlugin() { return kNoErr; }

AIErr Plugin::ShutdownPlugin(SPInterfaceMessage*) {
    delete fSuiteSet;
    fSuiteSet = nullptr;
    SetGlobal(nullptr);
    return kNoErr;
}

AIErr Plugin::UnloadPlugin(SPInterfaceMessage*) {
    EmptySuiteTables();
    SetGlobal(nullptr);
    delete fSuiteSet;
    fSuiteSet = nullptr;
    return kNoErr;
}

AIErr Plugin::ReloadPlugin(SPInterfaceMessage*) {
    SetGlobal(this);
    if (fSuiteSet == nullptr) {
        fSuiteSet = new Suites;
        if (fSuiteSet == nullptr) return kOutOfMemoryErr;
        const AIErr error = fSuiteSet->GetErr();
        Suites::fAcquiredCount = 1;
        if (error != kNoErr) {
            delete fSuiteSet;
            fSuiteSet = nullptr;
            return error;
        }
    }
    FillSuiteTables();
    return kNoErr;
}

AIErr Plugin::AcquireProperty(SPPropertiesMessage*) { return kUnhandledMsgErr; }

AIErr Plugin::ReleaseProperty(SPPropertiesMessage*) { return kUnhandledMsgErr; }

std::size_t Plugin::GetPluginName(char* buffer, unsigned int size) {
    const std::size_t length = std::strlen(fPluginName);
    if (buffer != nullptr && size > 0) {
        const std::size_t kept = std::min<std::size_t>(length, size - 1);
        std::memcpy(buffer, fPluginName, kept);
        buffer[kept] = '\0';
    }
    return length;
}

AIErr Plugin::Purge() { return kNoErr; }

AIErr Plugin::Message(const char* caller, const char* selector, void* message) {
    AcquireOptionalSuites();

    if (Equal(caller, kSPAccessCaller)) {
        if (Equal(selector, kSPAccessUnloadSelector)) return UnloadPlugin(static_cast<SPInterfaceMessage*>(message));
        if (Equal(selector, kSPAccessReloadSelector)) return ReloadPlugin(static_cast<SPInterfaceMessage*>(message));
        return kUnhandledMsgErr;
    }
    if (Equal(caller, kSPInterfaceCaller)) {
        // Start-up itself is done by PluginMain before it gets here.
        if (Equal(selector, kSPInterfaceAboutSelector) || Equal(selector, kSPInterfaceStartupSelector)) return kNoErr;
        return kUnhandledMsgErr;
    }
    if (Equal(caller, kSPCacheCaller)) {
        if (Equal(selector, kSPPluginPurgeCachesSelector))
            return Purge() != kNoErr ? kSPPluginCachesFlushResponse : kNoErr;
        return kUnhandledMsgErr;
    }
    if (Equal(caller, kSPPropertiesCaller)) {
        auto* m = static_cast<SPPropertiesMessage*>(message);
        if (Equal(selector, kSPPropertiesAcquireSelector)) return AcquireProperty(m);
        if (Equal(selector, kSPPropertiesReleaseSelector)) return ReleaseProperty(m);
        return kUnhandledMsgErr;
    }
    if (Equal(caller, kCallerAINotify)) {
        auto* m = static_cast<AINotifierMessage*>(message);
        AppContext context(m->d.self);
        AIErr result = kUnhandledMsgErr;
        if (Equal(m->type, kAIApplicationStartedNotifier)) {
            result = PostStartupPlugin();
            if (result != kNoErr && result != kUnhandledMsgErr) return result;
        }
        if (Equal(selector, kSelectorAINotify)) result = Notify(m);
        return result;
    }
    if (Equal(caller, kActionCaller)) {
        if (Equal(selector, kDoActionSelector)) return GoAction(static_cast<DoActionMessage*>(message));
        return kUnhandledMsgErr;
    }
    if (Equal(caller, kCallerAIMenu)) {
        auto* m = static_cast<AIMenuMessage*>(message);
        if (Equal(selector, kSelectorAIGoMenuItem)) return GoMenuItem(m);
        if (Equal(selector, kSelectorAIUpdateMenuItem)) return UpdateMenuItem(m);
        return kUnhandledMsgErr;
    }
    if (Equal(caller, kCallerAIFilter)) {
        auto* m = static_cast<AIFilterMessage*>(message);
        if (Equal(selector, kSelectorAIGetFilterParameters)) return GetFilterParameters(m);
        if (Equal(selector, kSelectorAIGoFilter)) return GoFilter(m);
        return kUnhandledMsgErr;
    }
    if (Equal(caller, kCallerAIPluginGroup)) {
        auto* m = static_cast<AIPluginGroupMessage*>(message);
        if (Equal(selector, kSelectorAINotifyEdits)) return PluginGroupNotify(m);
        if (Equal(selector, kSelectorAIUpdateArt)) return PluginGroupUpdate(m);
        return kUnhandledMsgErr;
    }
    if (Equal(caller, kCallerAIFileFormat)) {
        auto* m = static_cast<AIFileFormatMessage*>(message);
        if (Equal(selector, kSelectorAIGetFileFormatParameters)) return GetFileFormatParameters(m);
        if (Equal(selector, kSelectorAIGoFileFormat)) return GoFileFormat(m);
        if (Equal(selector, kSelectorAICheckFileFormat)) return CheckFileFormat(m);
        if (Equal(selector, kSelectorAIUpdateFileFormat))
            return FileFormatUpdate(static_cast<AIUpdateFileFormatMessage*>(message));
        if (Equal(selector, kDoActionFileFormatSelector))
            return SetFileFormatParameters(static_cast<DoActionMessage*>(message));
        return kUnhandledMsgErr;
    }
    if (Equal(caller, kCallerAITool)) {
        auto* m = static_cast<AIToolMessage*>(message);
        if (Equal(selector, kSelectorAIEditToolOptions)) return EditTool(m);
        if (Equal(selector, kSelectorAITrackToolCursor)) return TrackToolCursor(m);
        if (Equal(selector, kSelectorAIToolMouseDown)) return ToolMouseDown(m);
        if (Equal(selector, kSelectorAIToolMouseDrag)) return ToolMouseDrag(m);
        if (Equal(selector, kSelectorAIToolMouseUp)) return ToolMouseUp(m);
        if (Equal(selector, kSelectorAISelectTool)) return SelectTool(m);
        if (Equal(selector, kSelectorAIDeselectTool)) return DeselectTool(m);
        if (Equal(selector, kSelectorAIReselectTool)) return ReselectTool(m);
        if (Equal(selector, kSelectorAIToolDecreaseDiameter)) return DecreaseDiameter(m);
        if (Equal(selector, kSelectorAIToolIncreaseDiameter)) return IncreaseDiameter(m);
        return kUnhandledMsgErr;
    }
    if (Equal(caller, kCallerAILiveEffect)) {
        if (Equal(selector, kSelectorAIEditLiveEffectParameters))
            return EditLiveEffectParameters(static_cast<AILiveEffectEditParamMessage*>(message));
        if (Equal(selector, kSelectorAIGoLiveEffect)) return GoLiveEffect(static_cast<AILiveEffectGoMessage*>(message));
        if (Equal(selector, kSelectorAILiveEffectInterpolate))
            return LiveEffectInterpolate(static_cast<AILiveEffectInterpParamMessage*>(message));
        if (Equal(selector, kSelectorAILiveEffectInputType))
            return LiveEffectGetInputType(static_cast<AILiveEffectInputTypeMessage*>(message));
        if (Equal(selector, kSelectorAILiveEffectScaleParameters))
            return LiveEffectScaleParameters(static_cast<AILiveEffectScaleParamMessage*>(message));
        if (Equal(selector, kSelectorAILiveEffectConvertColorSpace))
            return LiveEffectConvertColorSpace(static_cast<AILiveEffectConvertColorMessage*>(message));
        if (Equal(selector, kSelectorAILiveEffectAdjustColors))
            return LiveEffectAdjustColors(static_cast<AILiveEffectAdjustColorsMessage*>(message));
        if (Equal(selector, kSelectorAILiveEffectHandleMerge))
            return LiveEffectHandleMerge(static_cast<AILiveEffectHandleMergeMessage*>(message));
        return kUnhandledMsgErr;
    }
    if (Equal(caller, kCallerAITimer)) {
        if (Equal(selector, kSelectorAIGoTimer)) return GoTimer(static_cast<AITimerMessage*>(message));
        return kUnhandledMsgErr;
    }
    if (Equal(caller, kCallerAIClipboard)) {
        auto* m = static_cast<AIClipboardMessage*>(message);
        if (Equal(selector, kSelectorAIGoClipboard)) return GoClipboard(m);
        if (Equal(selector, kSelectorAICanCopyClipboard)) return CanCopyClipboard(m);
        if (Equal(selector, kSelectorAICloneClipboard)) return CloneClipboard(m);
        if (Equal(selector, kSelectorAIDisposeClipboard)) return DisposeClipboard(m);
        return kUnhandledMsgErr;
    }
    if (Equal(caller, kAIWorkspaceCaller)) {
        auto* m = static_cast<AIWorkspaceMessage*>(message);
        if (Equal(selector, kAIWSWriteSelector)) return WorkspaceWrite(m);
        if (Equal(selector, kAIWSRestoreSelector)) return WorkspaceRestore(m);
        if (Equal(selector, kAIWSDefaultSelector)) return WorkspaceDefault(m);
        return kUnhandledMsgErr;
    }
    return kUnhandledMsgErr;
}

AIErr Plugin::SetGlobal(Plugin*) { return kNoErr; }

AIErr Plugin::AllocateSuiteTables() { return kNoErr; }

AIErr Plugin::FillSuiteTables() { return kNoErr; }

AIErr Plugin::EmptySuiteTables() { return kNoErr; }

AIErr Plugin::AcquireOptionalSuites() {
    if (fSuiteSet != nullptr) fSuiteSet->AcquireOptionalSuites();
    return kNoErr;
}

AIErr Plugin::Notify(AINotifierMessage*) { return kNoErr; }

AIErr Plugin::GoAction(DoActionMessage*) { return kNoErr; }

// The operations below answer "not handled" unless an application overrides them.
AIErr Plugin::GoMenuItem(AIMenuMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::UpdateMenuItem(AIMenuMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::GetFilterParameters(AIFilterMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::GoFilter(AIFilterMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::PluginGroupNotify(AIPluginGroupMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::PluginGroupUpdate(AIPluginGroupMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::GetFileFormatParameters(AIFileFormatMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::GoFileFormat(AIFileFormatMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::CheckFileFormat(AIFileFormatMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::FileFormatUpdate(AIUpdateFileFormatMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::SetFileFormatParameters(DoActionMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::EditTool(AIToolMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::TrackToolCursor(AIToolMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::ToolMouseDown(AIToolMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::ToolMouseDrag(AIToolMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::ToolMouseUp(AIToolMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::SelectTool(AIToolMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::DeselectTool(AIToolMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::ReselectTool(AIToolMessage*) { return kNoErr; }
AIErr Plugin::DecreaseDiameter(AIToolMessage*) { return kNoErr; }
AIErr Plugin::IncreaseDiameter(AIToolMessage*) { return kNoErr; }
AIErr Plugin::EditLiveEffectParameters(AILiveEffectEditParamMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::GoLiveEffect(AILiveEffectGoMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::LiveEffectInterpolate(AILiveEffectInterpParamMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::LiveEffectGetInputType(AILiveEffectInputTypeMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::LiveEffectConvertColorSpace(AILiveEffectConvertColorMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::LiveEffectScaleParameters(AILiveEffectScaleParamMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::LiveEffectAdjustColors(AILiveEffectAdjustColorsMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::LiveEffectHandleMerge(AILiveEffectHandleMergeMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::GoTimer(AITimerMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::GoClipboard(AIClipboardMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::CanCopyClipboard(AIClipboardMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::CloneClipboard(AIClipboardMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::DisposeClipboard(AIClipboardMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::WorkspaceWrite(AIWorkspaceMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::WorkspaceRestore(AIWorkspaceMessage*) { return kUnhandledMsgErr; }
AIErr Plugin::WorkspaceDefault(AIWorkspaceMessage*) { return kUnhandledMsgErr; }

// On Linux the reloaded code is the very file that was loaded: the access
// reference taken by the start-up lock keeps the module mapped, so the object's
// vtable still points into the live code and its dynamic type is already the
// application class. Re-binding therefore leaves the object as it is; it is
// never re-constructed in place, which would wipe or re-initialise its state.
void FixupReload(Plugin*) {}
