#include "SuiteFaults.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace testsupport {
namespace detail {

Calls& Shared() {
    static Calls calls;
    return calls;
}

std::string_view FieldName(std::string_view prettyFunction) {
    // "... [with auto Field = &AIArtSuite::NewArt; ...]" with GCC, "[Field = &AIArtSuite::NewArt]" with Clang.
    const size_t at = prettyFunction.find('&');
    if (at == std::string_view::npos) return prettyFunction;
    const size_t end = prettyFunction.find_first_of(";]", at);
    return prettyFunction.substr(at + 1, end - at - 1);
}

}  // namespace detail

namespace {

bool gAlive = false;
int gReallocCalls = 0;
int gReallocFailsAt = 0;

}  // namespace

SuiteFaults::SuiteFaults(quiltor::host::SuiteRegistry& suites) : suites_(suites) {
    if (gAlive) {
        std::fprintf(stderr, "SuiteFaults: one at a time\n");
        std::abort();
    }
    gAlive = true;
    detail::Shared() = {};
    FailReallocAt(0);
}

SuiteFaults::~SuiteFaults() {
    auto& shared = detail::Shared();
    for (auto it = shared.restore.rbegin(); it != shared.restore.rend(); ++it) (*it)();
    shared = {};
    FailReallocAt(0);
    gAlive = false;
}

void SuiteFaults::NoSuchSuite(const char* name) {
    std::fprintf(stderr, "SuiteFaults: the host serves no %s\n", name);
    std::abort();
}

void SuiteFaults::FailNthCall(int n, AIErr code) {
    auto& shared = detail::Shared();
    shared.count = 0;
    shared.log.clear();
    shared.failAt = n;
    shared.failCode = code;
}

int SuiteFaults::TotalCalls() const { return detail::Shared().count; }

const std::vector<std::string_view>& SuiteFaults::Log() const { return detail::Shared().log; }

void SuiteFaults::ClearLog() {
    detail::Shared().count = 0;
    detail::Shared().log.clear();
}

void SuiteFaults::FailReallocAt(int n) {
    gReallocCalls = 0;
    gReallocFailsAt = n;
}

void* SuiteFaults::Realloc(void* block, size_t size) {
    if (++gReallocCalls == gReallocFailsAt) return nullptr;
    return std::realloc(block, size);
}

void* SuiteFaults::ThrowingRealloc(void* block, size_t size) {
    if (++gReallocCalls == gReallocFailsAt) throw std::bad_alloc();
    return std::realloc(block, size);
}

bool SuiteFaults::ReallocFailed() { return gReallocFailsAt > 0 && gReallocCalls >= gReallocFailsAt; }

int SuiteFaults::ReallocCalls() { return gReallocCalls; }

}  // namespace testsupport
