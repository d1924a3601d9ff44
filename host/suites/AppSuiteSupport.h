// Shared by the app suite sources: the suites are C tables, so nothing may throw across them.
#pragma once

#include <new>

#include "AIHost.h"
#include "core/SuiteRegistry.h"

namespace quiltor::host {

// Runs a suite body, turning an escaping exception into the host's error code.
template <typename Body>
AIErr Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return kOutOfMemoryErr;
    } catch (...) {
        return kCantHappenErr;
    }
}

void RegisterStringSuites(SuiteRegistry& registry);  // Unicode String, File Path, Folders, String Format Utils
void RegisterMenuSuites(SuiteRegistry& registry);    // Menu, Panel Flyout Menu, Panel
void RegisterActionSuites(SuiteRegistry& registry);  // Action Manager

}  // namespace quiltor::host
