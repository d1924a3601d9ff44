#ifndef QUILTOR_TESTS_FRAMEWORK_SESSION_H
#define QUILTOR_TESTS_FRAMEWORK_SESSION_H

// One plug-in as the host sees it: its handle and globals slot, and the
// messages the host sends to its PluginMain.

#include "AIHost.h"
#include "FakeHost.h"
#include "Plugin.h"

namespace fake {

// Room for any message record; every one starts with SPMessageData.
union AnyMessage {
    SPMessageData d;
    SPInterfaceMessage interface;
    AINotifierMessage notifier;
    AIMenuMessage menu;
    SPPropertiesMessage properties;
    DoActionMessage action;
    AIFilterMessage filter;
    AIPluginGroupMessage group;
    AIFileFormatMessage fileFormat;
    AIToolMessage tool;
    AILiveEffectGoMessage liveEffect;
    AITimerMessage timer;
    AIClipboardMessage clipboard;
    AIWorkspaceMessage workspace;
};

class Session {
public:
    explicit Session(int id = 1) : self(reinterpret_cast<SPPluginRef>(static_cast<uintptr_t>(0x1000 * id))) {}
    ~Session() {
        if (globals != nullptr) Send(kSPInterfaceCaller, kSPInterfaceShutdownSelector);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    AIErr Send(const char* caller, const char* selector, AnyMessage& message) {
        message.d.SPCheck = kSPValidSPMessageData;
        message.d.self = self;
        message.d.globals = globals;
        message.d.basic = Basic();
        const AIErr result = PluginMain(caller, selector, &message);
        globals = message.d.globals;
        return result;
    }
    AIErr Send(const char* caller, const char* selector) {
        AnyMessage message{};
        return Send(caller, selector, message);
    }

    AIErr Startup() { return Send(kSPInterfaceCaller, kSPInterfaceStartupSelector); }
    AIErr Shutdown() { return Send(kSPInterfaceCaller, kSPInterfaceShutdownSelector); }
    AIErr Unload() { return Send(kSPAccessCaller, kSPAccessUnloadSelector); }
    AIErr Reload() { return Send(kSPAccessCaller, kSPAccessReloadSelector); }
    AIErr Choose(AIMenuItemHandle item) {
        AnyMessage message{};
        message.menu.menuItem = item;
        return Send(kCallerAIMenu, kSelectorAIGoMenuItem, message);
    }
    AIErr Notify(const char* type, const char* selector = kSelectorAINotify) {
        AnyMessage message{};
        message.notifier.type = type;
        return Send(kCallerAINotify, selector, message);
    }

    Plugin* object() const { return static_cast<Plugin*>(globals); }

    SPPluginRef self;
    void* globals = nullptr;
};

}  // namespace fake

#endif
