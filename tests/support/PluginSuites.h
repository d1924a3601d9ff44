// The plug-in's half of startup for plug-in code linked into a test: the basic suite and the
// plug-in's suite list acquired from the running host, as its startup message would have them.
#pragma once

#include <memory>

#include "Suites.h"
#include "core/SuiteRegistry.h"

namespace testsupport {

class PluginSuites {
public:
    PluginSuites() {
        sSPBasic = quiltor::host::BasicSuite();
        suites_ = std::make_unique<Suites>();
        Suites::fAcquiredCount = 1;
    }
    ~PluginSuites() {
        suites_.reset();
        sSPBasic = nullptr;
    }
    PluginSuites(const PluginSuites&) = delete;
    PluginSuites& operator=(const PluginSuites&) = delete;

    // Non-zero when a suite the plug-in needs is missing.
    AIErr error() const { return suites_->GetErr(); }

private:
    std::unique_ptr<Suites> suites_;
};

}  // namespace testsupport
