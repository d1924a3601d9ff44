// A running host with a queued user, for tests that go through the suites as a plug-in does.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/Host.h"
#include "core/SuiteRegistry.h"
#include "ui/QueuedUserInterface.h"

namespace quiltor::host::testing {

class HostTest : public ::testing::Test {
protected:
    HostTest() {
        auto ui = std::make_unique<QueuedUserInterface>();
        ui_ = ui.get();
        host_ = std::make_unique<Host>(std::move(ui));
    }

    template <typename Suite>
    const Suite* acquire(const char* name, int32_t version) {
        const void* suite = nullptr;
        EXPECT_EQ(BasicSuite()->AcquireSuite(name, version, &suite), kNoErr) << name;
        return static_cast<const Suite*>(suite);
    }

    Host& host() { return *host_; }
    QueuedUserInterface& ui() { return *ui_; }

    QueuedUserInterface* ui_ = nullptr;
    std::unique_ptr<Host> host_;
};

}  // namespace quiltor::host::testing
