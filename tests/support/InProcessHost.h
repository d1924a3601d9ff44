// What every in-process test starts from: the substitute host running in this process, with a
// user whose answers the test queues. Plug-in code linked into a test also takes PluginSuites.
#pragma once

#include <memory>

#include "AIHost.h"
#include "SuiteFaults.h"
#include "app/Host.h"
#include "core/SuiteRegistry.h"
#include "model/Workspace.h"
#include "ui/QueuedUserInterface.h"

namespace testsupport {

class InProcessHost {
public:
    InProcessHost();
    ~InProcessHost();
    InProcessHost(const InProcessHost&) = delete;
    InProcessHost& operator=(const InProcessHost&) = delete;

    quiltor::host::Host& host() { return *host_; }
    quiltor::host::QueuedUserInterface& user() { return *user_; }
    quiltor::host::Workspace& workspace() { return host_->workspace(); }
    quiltor::host::SuiteRegistry& suites() { return host_->suites(); }

    // The suite as a plug-in acquires it through the basic suite; null when the host has none.
    template <typename Suite>
    const Suite* Acquire() const {
        const void* suite = nullptr;
        quiltor::host::BasicSuite()->AcquireSuite(SuiteId<Suite>::name, SuiteId<Suite>::version, &suite);
        return static_cast<const Suite*>(suite);
    }

private:
    quiltor::host::QueuedUserInterface* user_ = nullptr;
    std::unique_ptr<quiltor::host::Host> host_;
};

}  // namespace testsupport
