#include "core/ActionRegistry.h"

namespace quiltor::host {

void ActionRegistry::add(const std::string& eventName, Handler handler) { handlers_[eventName] = std::move(handler); }

AIErr ActionRegistry::play(const std::string& eventName, int32_t dialogStatus, const _AIActionParamValue* params) {
    history_.push_back({eventName, dialogStatus, params ? *params : _AIActionParamValue{}});
    auto it = handlers_.find(eventName);
    if (it == handlers_.end()) return kNameNotFoundErr;
    return it->second(dialogStatus, params);
}

bool ActionRegistry::knows(const std::string& eventName) const { return handlers_.count(eventName) != 0; }

ActionRegistry::Handler ActionRegistry::handler(const std::string& eventName) const {
    auto it = handlers_.find(eventName);
    return it != handlers_.end() ? it->second : Handler{};
}

}  // namespace quiltor::host
