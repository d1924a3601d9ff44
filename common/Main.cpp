#include <cstdio>
#include <cstring>

#include "IAIError.h"
#include "Plugin.h"
#include "Suites.h"

namespace {

bool Equal(const char* a, const char* b) { return a != nullptr && b != nullptr && std::strcmp(a, b) == 0; }

// Nothing may unwind into the host: a wrapper's exception becomes its code,
// anything else 'CANT'.
template <typename F>
AIErr Guarded(F&& call) noexcept {
    try {
        return call();
    } catch (const ai::Error& e) {
        return e.GetErr();
    } catch (...) {
        return kCantHappenErr;
    }
}

}  // namespace

extern "C" QUILTOR_PLUGIN_EXPORT AIErr PluginMain(const char* caller, const char* selector, void* message) {
    auto* data = static_cast<SPMessageData*>(message);
    if (data == nullptr) return kBadParameterErr;
    sSPBasic = data->basic;

    AIErr result = kNoErr;
    auto* plugin = static_cast<Plugin*>(data->globals);

    if (Equal(caller, kSPInterfaceCaller) && Equal(selector, kSPInterfaceStartupSelector)) {
        plugin = AllocatePlugin(data->self);
        if (plugin == nullptr) {
            result = kOutOfMemoryErr;
        } else {
            data->globals = plugin;
            result = Guarded([&] { return plugin->StartupPlugin(static_cast<SPInterfaceMessage*>(message)); });
            if (result != kNoErr) {
                delete plugin;
                plugin = nullptr;
                data->globals = nullptr;
            }
        }
    } else if (Equal(caller, kSPInterfaceCaller) && Equal(selector, kSPInterfaceShutdownSelector) &&
               plugin != nullptr) {
        result = Guarded([&] { return plugin->ShutdownPlugin(static_cast<SPInterfaceMessage*>(message)); });
        delete plugin;
        plugin = nullptr;
        data->globals = nullptr;
    }

    if (plugin != nullptr) {
        if (Plugin::IsReloadMsg(caller, selector)) {
            FixupReload(plugin);
            result = Guarded([&] { return plugin->ReloadPlugin(static_cast<SPInterfaceMessage*>(message)); });
        } else if (plugin->GetSuites() != nullptr) {
            result = Guarded([&] { return plugin->Message(caller, selector, message); });
        } else {
            return kNoErr;
        }
        if (result == kUnhandledMsgErr) {
#ifndef _WIN32
            // Windows builds pass over unhandled messages in silence.
            std::fprintf(stderr, "Warning: Unhandled plugin message: caller \"%s\" selector \"%s\"\n",
                         caller != nullptr ? caller : "", selector != nullptr ? selector : "");
#endif
            result = kNoErr;
        }
    }

    if (result != kNoErr) {
        if (plugin != nullptr)
            plugin->ReportError(result, caller, selector, message);
        else
            Plugin::DefaultError(data->self, result);
    }
    return result;
}
