// The pathfinder suite: area booleans over paths and compound paths, done with Clipper in
// integer coordinates.
#pragma once

namespace quiltor::host {

class SuiteRegistry;

void RegisterPathfinderSuite(SuiteRegistry& registry);

}  // namespace quiltor::host
