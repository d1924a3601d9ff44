#include "core/SuiteRegistry.h"

#include <cstring>

#include "core/Blocks.h"

namespace quiltor::host {

bool AnswersVersion(int32_t registered, int32_t requested, bool windowsPlugins) {
    if (requested == registered) return true;
    if (!windowsPlugins || registered < 1000) return false;
    const int32_t plain = registered - 1000;
    return requested == plain || requested == plain + 1;
}

void SuiteRegistry::add(const std::string& name, int32_t version, const void* table, size_t size) {
    Entry& entry = entries_[{name, version}];
    const auto* bytes = static_cast<const unsigned char*>(table);
    entry.original.assign(bytes, bytes + size);
    // A plug-in may hold the served table: keep its address when the size is unchanged.
    if (entry.served.size() == size)
        std::memcpy(entry.served.data(), bytes, size);
    else
        entry.served = entry.original;
}

AIErr SuiteRegistry::acquire(const std::string& name, int32_t version, const void** suite) {
    if (suite) *suite = nullptr;
    if (!suite) return kBadParameterErr;
    bool nameKnown = false;
    for (auto& [key, entry] : entries_) {
        if (key.first != name || entry.missing) continue;
        nameKnown = true;
        if (AnswersVersion(key.second, version, kServesWindowsPlugins)) {
            ++entry.acquired;
            *suite = entry.served.data();
            return kNoErr;
        }
    }
    return nameKnown ? kSPBadSuiteVersionError : kSPSuiteNotFoundError;
}

AIErr SuiteRegistry::release(const std::string& name, int32_t version) {
    for (auto& [key, entry] : entries_) {
        if (key.first != name || entry.acquired == 0) continue;
        if (!AnswersVersion(key.second, version, kServesWindowsPlugins)) continue;
        --entry.acquired;
        return kNoErr;
    }
    return kSPSuiteNotFoundError;
}

void* SuiteRegistry::mutableTable(const std::string& name, int32_t version) {
    auto it = entries_.find({name, version});
    return it == entries_.end() ? nullptr : it->second.served.data();
}

void SuiteRegistry::setMissing(const std::string& name, bool missing) {
    for (auto& [key, entry] : entries_)
        if (key.first == name) entry.missing = missing;
}

void SuiteRegistry::restoreAll() {
    for (auto& [key, entry] : entries_) {
        std::memcpy(entry.served.data(), entry.original.data(), entry.original.size());
        entry.missing = false;
    }
}

int32_t SuiteRegistry::acquiredCount(const std::string& name) const {
    int32_t count = 0;
    for (const auto& [key, entry] : entries_)
        if (key.first == name) count += entry.acquired;
    return count;
}

std::vector<std::string> SuiteRegistry::names() const {
    std::vector<std::string> out;
    for (const auto& [key, entry] : entries_)
        if (out.empty() || out.back() != key.first) out.push_back(key.first);
    return out;
}

namespace {

SuiteRegistry* gServing = nullptr;

AIErr AcquireSuite(const char* name, int32_t version, const void** suite) {
    if (suite) *suite = nullptr;
    if (!name || !suite) return kBadParameterErr;
    if (!gServing) return kSPSuiteNotFoundError;
    return gServing->acquire(name, version, suite);
}

AIErr ReleaseSuite(const char* name, int32_t version) {
    if (!name) return kBadParameterErr;
    if (!gServing) return kSPSuiteNotFoundError;
    return gServing->release(name, version);
}

AIBoolean IsEqual(const char* a, const char* b) {
    if (!a || !b) return a == b;
    return std::strcmp(a, b) == 0;
}

SPBasicSuite gBasic = {AcquireSuite, ReleaseSuite, IsEqual, AllocateBlock, FreeBlock, ReallocateBlock};

}  // namespace

SPBasicSuite* BasicSuite() { return &gBasic; }

void ServeBasicSuiteFrom(SuiteRegistry* registry) { gServing = registry; }

}  // namespace quiltor::host
