#include "suites/SuiteContext.h"

namespace quiltor::host {
namespace {
SuiteContext* gRunning = nullptr;
}

SuiteContext* RunningHost() { return gRunning; }

void SetRunningHost(SuiteContext* context) { gRunning = context; }

}  // namespace quiltor::host
