// The action manager: parameter blocks, and playing events through the host's action registry.
#include "core/ActionRegistry.h"
#include "core/HostStrings.h"
#include "suites/AppSuiteSupport.h"
#include "suites/Registration.h"
#include "suites/SuiteContext.h"

namespace quiltor::host {
namespace {

AIErr NewParam(AIActionParamValueRef* param) {
    if (!param) return kBadParameterErr;
    *param = new (std::nothrow) _AIActionParamValue();
    return *param ? kNoErr : kOutOfMemoryErr;
}

AIErr DeleteParam(AIActionParamValueRef param) {
    delete param;
    return kNoErr;
}

template <typename T>
AIErr SetValue(AIActionParamValueRef param, AIActionParamKey key, T value) {
    if (!param) return kBadParameterErr;
    return Guarded([&] {
        param->values[key] = std::move(value);
        return kNoErr;
    });
}

template <typename T>
AIErr GetValue(AIActionParamValueRef param, AIActionParamKey key, T* value) {
    if (!param || !value) return kBadParameterErr;
    auto it = param->values.find(key);
    if (it == param->values.end() || !std::holds_alternative<T>(it->second)) return kNameNotFoundErr;
    *value = std::get<T>(it->second);
    return kNoErr;
}

AIErr SetInteger(AIActionParamValueRef p, AIActionParamKey k, int32_t v) { return SetValue(p, k, v); }
AIErr SetReal(AIActionParamValueRef p, AIActionParamKey k, AIReal v) { return SetValue(p, k, v); }
AIErr SetBoolean(AIActionParamValueRef p, AIActionParamKey k, AIBoolean v) { return SetValue(p, k, v != 0); }

AIErr SetStringUS(AIActionParamValueRef p, AIActionParamKey k, AIUnicodeStringRef v) {
    if (!v) return kBadParameterErr;
    return Guarded([&] { return SetValue(p, k, v->text); });
}

AIErr GetInteger(AIActionParamValueRef p, AIActionParamKey k, int32_t* v) { return GetValue(p, k, v); }
AIErr GetReal(AIActionParamValueRef p, AIActionParamKey k, AIReal* v) { return GetValue(p, k, v); }

AIErr GetBoolean(AIActionParamValueRef p, AIActionParamKey k, AIBoolean* v) {
    if (!v) return kBadParameterErr;
    bool b = false;
    AIErr error = GetValue(p, k, &b);
    if (error == kNoErr) *v = b;
    return error;
}

AIErr GetStringUS(AIActionParamValueRef p, AIActionParamKey k, AIUnicodeStringRef v) {
    if (!v) return kBadParameterErr;
    return Guarded([&] { return GetValue(p, k, &v->text); });
}

AIErr PlayActionEvent(const char* eventName, int32_t dialogStatus, AIActionParamValueRef param) {
    SuiteContext* host = RunningHost();
    if (!eventName || !host) return kBadParameterErr;
    return Guarded([&] { return host->actions.play(eventName, dialogStatus, param); });
}

const AIActionManagerSuite kActionManager = {NewParam,   DeleteParam, SetInteger,     SetReal,
                                             SetBoolean, SetStringUS, GetInteger,     GetReal,
                                             GetBoolean, GetStringUS, PlayActionEvent};

// ---------------------------------------------------------------- Events the host answers

constexpr AIActionParamKey kMenuIdKey = AI_ACTION_KEY('m', 'u', 'i', 'd');
constexpr AIActionParamKey kToggleKey = AI_ACTION_KEY('t', 'o', 'g', 'l');
// The Layers panel's "コピー元のレイヤーにペースト".
constexpr int32_t kPasteRemembersLayersCommand = 11;

// A Layers-panel menu command. The one this host knows is the paste option; 'togl' sets it, and
// without 'togl' the command flips it as choosing it in the panel would.
AIErr PlayLayersPanelCommand(int32_t, const _AIActionParamValue* params) {
    if (!params) return kBadParameterErr;
    auto command = params->values.find(kMenuIdKey);
    if (command == params->values.end() || !std::holds_alternative<int32_t>(command->second) ||
        std::get<int32_t>(command->second) != kPasteRemembersLayersCommand)
        return kBadParameterErr;
    SuiteContext* host = RunningHost();
    if (!host) return kCantHappenErr;
    bool& option = host->preferences.pasteRemembersLayers;
    auto toggle = params->values.find(kToggleKey);
    if (toggle == params->values.end())
        option = !option;
    else if (std::holds_alternative<bool>(toggle->second))
        option = std::get<bool>(toggle->second);
    else
        return kBadParameterErr;
    return kNoErr;
}

}  // namespace

void RegisterActionSuites(SuiteRegistry& registry) {
    registry.add(kAIActionManagerSuite, kAIActionManagerSuiteVersion, kActionManager);
}

void RegisterHostActions(ActionRegistry& registry) {
    registry.add("ai_plugin_Layer", PlayLayersPanelCommand);
    // The editing events of the document side ("adobe_selectAll", "adobe_cut", "adobe_pasteInBack",
    // "adobe_move", "adobe_deselectAll") are in suites/DocumentActions.cpp.
}

}  // namespace quiltor::host
