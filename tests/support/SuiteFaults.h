// A forwarding wrapper over the suite tables the host serves to plug-ins, after LevelDB's
// fault-injecting Env. Each wrapped call is counted and recorded; an armed call fails the way the
// host fails it: it returns the error code and leaves every handle it would have handed back null.
// The plug-in keeps calling through the tables it acquired, so its code is the same as in use.
//
//   SuiteFaults faults(host.suites());
//   faults.FailAt<&AIArtSuite::DuplicateArt>(3);           // the third copy from now fails
//   faults.FailWhen<&AIPathSuite::DeletePathSegments>(     // refuses to give up the first segment
//       [](AIArtHandle, int16_t first, int16_t) { return first == 0; });
//   faults.WrapAll();                                     // every call of every suite counted
//   faults.FailNthCall(n);                                // the n-th wrapped call of any kind
//
// The wrapped functions keep static state, so one SuiteFaults lives at a time; it puts the host's
// own functions back when it goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "AIHost.h"
#include "core/SuiteRegistry.h"

namespace testsupport {

// The name and version each suite is served under.
template <typename Suite>
struct SuiteId;

#define QUILTOR_SUITE_ID(S)                               \
    template <>                                           \
    struct SuiteId<S> {                                   \
        static constexpr const char* name = k##S;         \
        static constexpr int32_t version = k##S##Version; \
    }
QUILTOR_SUITE_ID(AIUnicodeStringSuite);
QUILTOR_SUITE_ID(AIFilePathSuite);
QUILTOR_SUITE_ID(AIFoldersSuite);
QUILTOR_SUITE_ID(AIMenuSuite);
QUILTOR_SUITE_ID(AIPanelFlyoutMenuSuite);
QUILTOR_SUITE_ID(AIPanelSuite);
QUILTOR_SUITE_ID(AINotifierSuite);
QUILTOR_SUITE_ID(AIAppContextSuite);
QUILTOR_SUITE_ID(AIUserSuite);
QUILTOR_SUITE_ID(AIModalParentSuite);
QUILTOR_SUITE_ID(AIActionManagerSuite);
QUILTOR_SUITE_ID(AIFilterSuite);
QUILTOR_SUITE_ID(AIToolSuite);
QUILTOR_SUITE_ID(AIRealMathSuite);
QUILTOR_SUITE_ID(AIRandomSuite);
QUILTOR_SUITE_ID(AIMdMemorySuite);
QUILTOR_SUITE_ID(AIStringFormatUtilsSuite);
QUILTOR_SUITE_ID(AILayerSuite);
QUILTOR_SUITE_ID(AIArtSuite);
QUILTOR_SUITE_ID(AIPathSuite);
QUILTOR_SUITE_ID(AIPathStyleSuite);
QUILTOR_SUITE_ID(AIArtStyleSuite);
QUILTOR_SUITE_ID(AIArtSetSuite);
QUILTOR_SUITE_ID(AIMatchingArtSuite);
QUILTOR_SUITE_ID(AIPathfinderSuite);
QUILTOR_SUITE_ID(AITransformArtSuite);
QUILTOR_SUITE_ID(AIDocumentSuite);
QUILTOR_SUITE_ID(AIDocumentListSuite);
QUILTOR_SUITE_ID(AIUndoSuite);
QUILTOR_SUITE_ID(AIArtboardSuite);
QUILTOR_SUITE_ID(AIArtboardRangeSuite);
QUILTOR_SUITE_ID(AILegacyTextConversionSuite);
QUILTOR_SUITE_ID(AIDocumentViewSuite);
QUILTOR_SUITE_ID(SPAccessSuite);
QUILTOR_SUITE_ID(SPPluginsSuite);
QUILTOR_SUITE_ID(SPBlocksSuite);
#undef QUILTOR_SUITE_ID

namespace detail {

// What all wrapped calls share: the record of calls and a fault by position among all of them.
struct Calls {
    std::vector<std::string_view> log;
    int count = 0;
    int failAt = 0;  // 0: none
    AIErr failCode = kInjectedFailureErr;
    std::vector<std::function<void()>> restore;

    // Counts one call; true when it is the one armed to fail.
    bool Next(std::string_view name) {
        log.push_back(name);
        return ++count == failAt;
    }
};
Calls& Shared();

// "AIArtSuite::NewArt" out of the compiler's name for the instance of Wrapped below.
std::string_view FieldName(std::string_view prettyFunction);

// A handle the call would hand back is left null, as the host leaves it on failure.
template <typename T>
void NullOut(T) {}
template <typename T>
requires(std::is_pointer_v<T> && !std::is_const_v<T>) void NullOut(T* out) {
    if (out) *out = nullptr;
}

template <auto Field>
struct Wrapped;

template <typename Suite, typename... Args, AIErr (*Suite::*Field)(Args...)>
struct Wrapped<Field> {
    using Function = AIErr (*)(Args...);
    static inline Function real = nullptr;
    static inline int calls = 0;
    static inline std::function<bool(Args...)> fails;
    static inline std::function<void(Args...)> watch;
    static inline AIErr code = kInjectedFailureErr;

    static std::string_view Name() {
        static const std::string_view name = FieldName(__PRETTY_FUNCTION__);
        return name;
    }

    static AIErr Call(Args... args) {
        ++calls;
        bool fail = Shared().Next(Name());
        AIErr failure = fail ? Shared().failCode : code;
        if (watch) watch(args...);
        if (!fail && fails) fail = fails(args...);
        if (!fail) return real(args...);
        (NullOut(args), ...);
        return failure;
    }

    static void Reset() {
        calls = 0;
        fails = nullptr;
        watch = nullptr;
        code = kInjectedFailureErr;
    }
};

}  // namespace detail

class SuiteFaults {
public:
    explicit SuiteFaults(quiltor::host::SuiteRegistry& suites);
    ~SuiteFaults();
    SuiteFaults(const SuiteFaults&) = delete;
    SuiteFaults& operator=(const SuiteFaults&) = delete;

    // Puts the wrapper in front of every call of every suite the host serves, so that the count
    // and the record cover the whole conversation between plug-in and host.
    void WrapAll();

    // Puts the wrapper in front of the call: counted and recorded, not failing.
    template <auto Field>
    void Wrap() {
        using W = detail::Wrapped<Field>;
        if (IsWrapped<Field>()) return;
        auto* table = Table<Field>();
        if (!table) NoSuchSuite(SuiteId<typename Owner<decltype(Field)>::type>::name);
        W::Reset();
        W::real = table->*Field;
        table->*Field = &W::Call;
        detail::Shared().restore.push_back([table] {
            table->*Field = W::real;
            W::Reset();
            W::real = nullptr;
        });
    }

    // The call fails when `when` says so, given its arguments. A code of kNoErr makes a host that
    // answers success without doing the work.
    template <auto Field, typename Predicate>
    void FailWhen(Predicate when, AIErr code = kInjectedFailureErr) {
        using W = detail::Wrapped<Field>;
        Wrap<Field>();
        W::calls = 0;
        W::code = code;
        W::fails = when;
    }

    // The n-th call from now fails (1 = the next one).
    template <auto Field>
    void FailAt(int n, AIErr code = kInjectedFailureErr) {
        using W = detail::Wrapped<Field>;
        FailWhen<Field>([n](auto&&...) { return W::calls == n; }, code);
    }

    template <auto Field>
    void FailAlways(AIErr code = kInjectedFailureErr) {
        FailWhen<Field>([](auto&&...) { return true; }, code);
    }

    // The call goes through to the host again (still counted).
    template <auto Field>
    void Disarm() {
        detail::Wrapped<Field>::fails = nullptr;
    }

    // Sees the arguments of every call before the host does.
    template <auto Field, typename Watcher>
    void Watch(Watcher watcher) {
        Wrap<Field>();
        detail::Wrapped<Field>::watch = watcher;
    }

    // Calls of this function since it was last armed.
    template <auto Field>
    int Calls() const {
        return detail::Wrapped<Field>::calls;
    }

    // The n-th wrapped call of any kind from now fails (0: none); for sweeping one fault
    // through a whole run.
    void FailNthCall(int n, AIErr code = kInjectedFailureErr);
    // Wrapped calls since the last FailNthCall or ClearLog, and their names in order.
    int TotalCalls() const;
    const std::vector<std::string_view>& Log() const;
    void ClearLog();

    // For the plug-in's own memory hooks: a realloc whose n-th call after FailReallocAt(n) fails
    // (0: none). Realloc gives null, ThrowingRealloc throws std::bad_alloc; ReallocFailed tells
    // whether that call came.
    static void FailReallocAt(int n);
    static void* Realloc(void* block, size_t size);
    static void* ThrowingRealloc(void* block, size_t size);
    static bool ReallocFailed();
    // Calls of Realloc since the last FailReallocAt.
    static int ReallocCalls();

private:
    template <auto Field>
    static bool IsWrapped() {
        return detail::Wrapped<Field>::real != nullptr;
    }

    template <typename Member>
    struct Owner;
    template <typename Suite, typename Function>
    struct Owner<Function Suite::*> {
        using type = Suite;
    };

    template <auto Field>
    auto* Table() {
        using Suite = typename Owner<decltype(Field)>::type;
        return suites_.table<Suite>(SuiteId<Suite>::name, SuiteId<Suite>::version);
    }

    // Every call of one suite, when the host serves it. The list must name every call.
    template <typename Suite, auto... Fields>
    void WrapSuite() {
        static_assert(sizeof(Suite) == sizeof...(Fields) * sizeof(void (*)()), "a call of the suite is not listed");
        if (!suites_.table<Suite>(SuiteId<Suite>::name, SuiteId<Suite>::version)) return;
        (Wrap<Fields>(), ...);
    }
    [[noreturn]] static void NoSuchSuite(const char* name);

    quiltor::host::SuiteRegistry& suites_;
};

}  // namespace testsupport
