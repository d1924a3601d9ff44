// What the document suites share: reaching the running host's workspace, turning handles back
// into model objects (refusing dead and foreign ones) and keeping C++ exceptions inside the host.
#pragma once

#include "AIHost.h"
#include "core/Guard.h"
#include "model/Art.h"
#include "model/Document.h"
#include "model/Workspace.h"

namespace quiltor::host {
class SuiteRegistry;
}

namespace quiltor::host::suites {

// The running host's workspace, or null when no host runs.
Workspace* CurrentWorkspace();
// The current (front) document, or null.
Document* CurrentDocument();

// Live objects behind handles; null for a null, dead or foreign handle. *owner (may be null)
// receives the document holding the object.
Art* FindArt(AIArtHandle handle, Document** owner = nullptr);
Layer* FindLayer(AILayerHandle handle, Document** owner = nullptr);
Document* FindDocument(AIDocumentHandle handle);

// Each area's tables, registered by RegisterDocumentSuites.
void RegisterLayerSuite(SuiteRegistry& registry);
void RegisterArtSuites(SuiteRegistry& registry);   // art, matching art, transform
void RegisterPathSuites(SuiteRegistry& registry);  // path, path style, art style
void RegisterArtSetSuite(SuiteRegistry& registry);
void RegisterDocumentListSuites(SuiteRegistry& registry);  // document, document list, undo, view
void RegisterArtboardSuites(SuiteRegistry& registry);      // artboard, artboard range, legacy text

}  // namespace quiltor::host::suites
