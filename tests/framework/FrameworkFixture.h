#ifndef QUILTOR_TESTS_FRAMEWORK_FIXTURE_H
#define QUILTOR_TESTS_FRAMEWORK_FIXTURE_H

#include <gtest/gtest.h>

#include "FakeHost.h"
#include "Plugin.h"
#include "RecordingPlugin.h"
#include "Session.h"
#include "Suites.h"

// A fresh fake host and script for every test, and a clock the test sets.
class FrameworkTest : public testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        TheScript() = Script{};
        sNow = 1000;
        Plugin::SetClock([] { return sNow; });
    }
    void TearDown() override { Plugin::SetClock(nullptr); }

    fake::Host& host() { return fake::Get(); }
    Script& script() { return TheScript(); }
    static RecordingPlugin* Object(const fake::Session& s) { return static_cast<RecordingPlugin*>(s.object()); }

    static inline int64_t sNow = 0;
};

#endif
