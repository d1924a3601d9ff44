// An in-process host with the plug-in's suites acquired, and the document side
// of the seam tests: building a layout into a layer and writing a layer down
// exactly, so that two documents can be compared.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "AIHost.h"
#include "SeamLayouts.h"

class Suites;

namespace quiltor::host {
class Host;
class QueuedUserInterface;
}  // namespace quiltor::host

namespace seamtest {

// Starts a host and acquires the plug-in's suites into its module-level
// pointers; both end with the object.
class SeamHost {
public:
    SeamHost();
    ~SeamHost();
    SeamHost(const SeamHost&) = delete;
    SeamHost& operator=(const SeamHost&) = delete;

    bool ok() const { return error_ == kNoErr; }
    AIErr error() const { return error_; }
    quiltor::host::Host& host() { return *host_; }

    // A fresh current document; returns its only layer.
    AILayerHandle NewDocument();
    // Closes the current document.
    void CloseDocument();

private:
    std::unique_ptr<quiltor::host::Host> host_;
    Suites* suites_ = nullptr;
    AIErr error_ = kNoErr;
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
