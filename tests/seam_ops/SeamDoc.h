// An in-process host with the plug-in's suites acquired, and the document side
// of the seam tests: building a layout into a layer and writing a layer down
// exactly, so that two documents can be compared.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "AIHost.h"
#include "InProcessHost.h"
#include "PluginSuites.h"
#include "SeamLayouts.h"

namespace seamtest {

// Starts a host and acquires the plug-in's suites into its module-level
// pointers; both end with the object.
class SeamHost {
public:
    bool ok() const { return suites_.error() == kNoErr; }
    AIErr error() const { return suites_.error(); }
    quiltor::host::Host& host() { return running_.host(); }

    // A fresh current document; returns its only layer.
    AILayerHandle NewDocument();
    // Closes the current document.
    void CloseDocument();

private:
    testsupport::InProcessHost running_;
    testsupport::PluginSuites suites_;
};

// Appends a path to the bottom of the container (a layer's group, a group or
// a compound path) with the shape's segments, closed flag and style.
AIArtHandle AddShape(AIArtHandle container, const Shape& shape);
void ApplyStyle(AIArtHandle art, const StyleSpec& style);
// The layer's own group.
AIArtHandle LayerGroup(AILayerHandle layer);
// Appends every item of the layout to the bottom of the layer, in order.
void Build(AILayerHandle layer, const Layout& layout);

// The layer's art tree, one line per art object in preorder: type, closed flag,
// appearance and every segment, reals written exactly.
std::string Dump(AILayerHandle layer);

// What the layer holds, for checks that nothing was lost.
struct PathRecord {
    AIArtHandle art = nullptr;
    int16_t type = 0;
    bool closed = false;
    std::vector<AIPathSegment> segments;
};
std::vector<PathRecord> Paths(AILayerHandle layer);

}  // namespace seamtest
