// Shared by the app suite sources: the suites are C tables, so nothing may throw across them.
#pragma once

#include "AIHost.h"
#include "core/Guard.h"
#include "core/SuiteRegistry.h"

namespace quiltor::host {

void RegisterStringSuites(SuiteRegistry& registry);  // Unicode String, File Path, Folders, String Format Utils
void RegisterMenuSuites(SuiteRegistry& registry);    // Menu, Panel Flyout Menu, Panel
void RegisterActionSuites(SuiteRegistry& registry);  // Action Manager

}  // namespace quiltor::host
