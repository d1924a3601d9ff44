#include "InProcessHost.h"

namespace testsupport {

InProcessHost::InProcessHost() {
    auto user = std::make_unique<quiltor::host::QueuedUserInterface>();
    user_ = user.get();
    host_ = std::make_unique<quiltor::host::Host>(std::move(user));
}

InProcessHost::~InProcessHost() = default;

}  // namespace testsupport
