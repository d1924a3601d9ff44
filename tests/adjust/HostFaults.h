// Faults a test can put into the host's suite tables: a call that fails on its n-th use, and a
// watch on every art handle the plug-in hands back to the host after it died.
#pragma once

#include <functional>

#include "AdjustHost.h"
#include "core/SuiteRegistry.h"

namespace adjusttest {

template <auto Field>
struct Fault;

// Field is a member of a suite table; the installed call fails when `fails` says so, otherwise
// it calls the host's own function.
template <typename Suite, typename... Args, AIErr (*Suite::*Field)(Args...)>
struct Fault<Field> {
    static inline AIErr (*real)(Args...) = nullptr;
    static inline std::function<bool(Args...)> fails;
    static inline int calls = 0;
    static inline AIErr code = kInjectedFailureErr;

    static AIErr Call(Args... args) {
        ++calls;
        if (fails && fails(args...)) return code;
        return real(args...);
    }
    static void Install(Suite* table, std::function<bool(Args...)> when, AIErr failure = kInjectedFailureErr) {
        real = table->*Field;
        fails = std::move(when);
        calls = 0;
        code = failure;
        table->*Field = &Call;
    }
    // Fails the n-th call only (1 = the first).
    static void InstallNth(Suite* table, int n) {
        Install(table, [n](Args...) { return calls == n; });
    }
};

template <typename Suite>
Suite* Table(AdjustHost& h, const char* name, int32_t version) {
    return h.host().suites().table<Suite>(name, version);
}

// Counts calls that name art no longer alive in the document.
int DeadHandleUses();
void WatchDeadHandles(AdjustHost& h);

}  // namespace adjusttest
