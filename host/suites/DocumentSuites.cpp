// The document side of the host: registration of its suites and the handle lookups they share.
#include "core/SuiteRegistry.h"
#include "suites/Registration.h"
#include "suites/SuiteContext.h"
#include "suites/SuiteSupport.h"

namespace quiltor::host {

namespace suites {

Workspace* CurrentWorkspace() { return RunningHost() ? &RunningHost()->workspace : nullptr; }

Document* CurrentDocument() {
    Workspace* workspace = CurrentWorkspace();
    return workspace ? workspace->currentDocument() : nullptr;
}

Art* FindArt(AIArtHandle handle, Document** owner) {
    Workspace* workspace = CurrentWorkspace();
    return workspace ? workspace->findArt(handle, owner) : nullptr;
}

Layer* FindLayer(AILayerHandle handle, Document** owner) {
    Workspace* workspace = CurrentWorkspace();
    return workspace ? workspace->findLayer(handle, owner) : nullptr;
}

Document* FindDocument(AIDocumentHandle handle) {
    Workspace* workspace = CurrentWorkspace();
    return workspace ? workspace->find(handle) : nullptr;
}

}  // namespace suites

void RegisterDocumentSuites(SuiteRegistry& registry) {
    suites::RegisterLayerSuite(registry);
    suites::RegisterArtSuites(registry);
    suites::RegisterPathSuites(registry);
    suites::RegisterArtSetSuite(registry);
    suites::RegisterDocumentListSuites(registry);
    suites::RegisterArtboardSuites(registry);
}

}  // namespace quiltor::host
