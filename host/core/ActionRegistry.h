// Action events by name, as PlayActionEvent plays them.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "AIHost.h"

struct _AIActionParamValue {
    std::map<AIActionParamKey, std::variant<int32_t, AIReal, bool, std::u16string>> values;
};

namespace quiltor::host {

class ActionRegistry {
public:
    using Handler = std::function<AIErr(int32_t dialogStatus, const _AIActionParamValue* params)>;

    void add(const std::string& eventName, Handler handler);
    // kNameNotFoundErr for an unknown event. Every played event is recorded, known or not.
    AIErr play(const std::string& eventName, int32_t dialogStatus, const _AIActionParamValue* params);

    struct Played {
        std::string name;
        int32_t dialogStatus;
        _AIActionParamValue params;
    };
    bool knows(const std::string& eventName) const;
    // The handler of an event, empty for an unknown one (to wrap it in another).
    Handler handler(const std::string& eventName) const;

    const std::vector<Played>& history() const { return history_; }
    void clearHistory() { history_.clear(); }

private:
    std::map<std::string, Handler> handlers_;
    std::vector<Played> history_;
};

}  // namespace quiltor::host
