// A running host with a queued user, for tests that go through the suites as a plug-in does.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "InProcessHost.h"

namespace quiltor::host::testing {

class HostTest : public ::testing::Test {
protected:
    template <typename Suite>
    const Suite* acquire(const char* name, int32_t version) {
        const void* suite = nullptr;
        EXPECT_EQ(BasicSuite()->AcquireSuite(name, version, &suite), kNoErr) << name;
        return static_cast<const Suite*>(suite);
    }

    Host& host() { return running_.host(); }
    QueuedUserInterface& ui() { return running_.user(); }

    testsupport::InProcessHost running_;
};

}  // namespace quiltor::host::testing
