// Suites served by name and version. Each suite is stored as a copy of its function table, so a
// test can swap one function (to fail on its third use, say) or make a suite missing altogether.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "AIHost.h"

namespace quiltor::host {

// Whether a suite registered under version `registered` (the numbers of the hostapi headers)
// answers a plug-in asking for `requested`. The Windows plug-ins ask by the plain number (1012 as
// 12), those built for the CC generation of the host one higher (13); the SP suites' numbers are
// plain on every platform.
bool AnswersVersion(int32_t registered, int32_t requested, bool windowsPlugins);

#ifdef _WIN32
inline constexpr bool kServesWindowsPlugins = true;
#else
inline constexpr bool kServesWindowsPlugins = false;
#endif

class SuiteRegistry {
public:
    // Registers (or replaces) the table of a suite name and version.
    void add(const std::string& name, int32_t version, const void* table, size_t size);

    template <typename Suite>
    void add(const char* name, int32_t version, const Suite& table) {
        add(name, version, &table, sizeof(Suite));
    }

    // On failure leaves *suite null and returns kSPSuiteNotFoundError or kSPBadSuiteVersionError.
    AIErr acquire(const std::string& name, int32_t version, const void** suite);
    AIErr release(const std::string& name, int32_t version);

    // The served table, for tests to change one call. Null when not registered.
    template <typename Suite>
    Suite* table(const std::string& name, int32_t version) {
        return static_cast<Suite*>(mutableTable(name, version));
    }
    void* mutableTable(const std::string& name, int32_t version);

    // A missing suite is refused as if the host never had it.
    void setMissing(const std::string& name, bool missing);
    // Puts every table back as registered and forgets missing marks.
    void restoreAll();

    int32_t acquiredCount(const std::string& name) const;
    std::vector<std::string> names() const;

private:
    struct Entry {
        std::vector<unsigned char> original;
        std::vector<unsigned char> served;
        int32_t acquired = 0;
        bool missing = false;
    };
    std::map<std::pair<std::string, int32_t>, Entry> entries_;
};

// The host's basic suite, handed to plug-ins in every message. It acquires and releases suites
// of the registry it serves from; while it serves from none, every suite is not found.
SPBasicSuite* BasicSuite();
// The running host's registry, set when the host starts and null once it stops.
void ServeBasicSuiteFrom(SuiteRegistry* registry);

}  // namespace quiltor::host
