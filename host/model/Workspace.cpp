#include "model/Workspace.h"

#include <algorithm>
#include <cassert>

#include "model/ArtArena.h"
#include "model/ArtStyle.h"
#include "model/Document.h"
#include "model/DocumentFormat.h"
#include "model/Handles.h"

namespace quiltor::host {

struct Workspace::Impl {
    std::unique_ptr<DocumentFormat> format;
    StyleTable styles;
    std::vector<std::unique_ptr<Document>> documents;  // front first
    ArtSetPool artSets;
    ArtboardListPool artboardLists;
    ArtboardPropertiesPool artboardProperties;
    UndoNotes undoNotes;
    std::vector<std::string> failedOpens;

    auto position(AIDocumentHandle handle) {
        return std::find_if(documents.begin(), documents.end(),
                            [&](const auto& d) { return static_cast<_AIDocument*>(d.get()) == handle; });
    }
};

namespace {

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

Workspace::Workspace(std::unique_ptr<DocumentFormat> format) : impl_(std::make_unique<Impl>()) {
    assert(format && "a workspace needs a file format");
    impl_->format = std::move(format);
}
Workspace::~Workspace() = default;

AIDocumentHandle Workspace::newDocument(const NewDocumentOptions& options) {
    return addDocument(std::make_unique<Document>(impl_->styles, options));
}

AIDocumentHandle Workspace::addDocument(std::unique_ptr<Document> document) {
    AIDocumentHandle handle = document.get();
    impl_->documents.insert(impl_->documents.begin(), std::move(document));
    return handle;
}

AIDocumentHandle Workspace::openFile(const std::string& path, std::string* error, AIErr* code) {
    std::string reason;
    AIErr result = kNoErr;
    std::unique_ptr<Document> document = impl_->format->read(path, impl_->styles, &reason, &result);
    if (!document) {
        impl_->failedOpens.push_back(path);
        if (error) *error = reason;
        if (code) *code = result;
        return nullptr;
    }
    document->setFilePath(path);
    document->setTitle(FileNameOf(path));
    document->markOpened();
    return addDocument(std::move(document));
}

const std::vector<std::string>& Workspace::failedOpens() const { return impl_->failedOpens; }

bool Workspace::saveFile(AIDocumentHandle handle, const std::string& path, std::string* error) {
    Document* document = find(handle);
    if (!document) {
        if (error) *error = "no such document";
        return false;
    }
    return impl_->format->write(*document, path, error);
}

AIDocumentHandle Workspace::current() const {
    return impl_->documents.empty() ? nullptr : impl_->documents.front().get();
}

bool Workspace::activate(AIDocumentHandle handle) {
    auto it = impl_->position(handle);
    if (it == impl_->documents.end()) return false;
    std::rotate(impl_->documents.begin(), it, it + 1);
    return true;
}

bool Workspace::close(AIDocumentHandle handle) {
    auto it = impl_->position(handle);
    if (it == impl_->documents.end()) return false;
    impl_->documents.erase(it);
    return true;
}

std::vector<AIDocumentHandle> Workspace::documents() const {
    std::vector<AIDocumentHandle> handles;
    for (const auto& d : impl_->documents) handles.push_back(d.get());
    return handles;
}

Document* Workspace::find(AIDocumentHandle handle) const {
    if (!handle) return nullptr;
    auto it = impl_->position(handle);
    return it == impl_->documents.end() ? nullptr : it->get();
}

Document* Workspace::currentDocument() const {
    return impl_->documents.empty() ? nullptr : impl_->documents.front().get();
}

Art* Workspace::findArt(AIArtHandle handle, Document** owner) const {
    Art* art = ArtArena::Shared().node(handle);
    if (!art || art->home == 0) return nullptr;
    for (const auto& d : impl_->documents) {
        if (d->holds(art)) {
            if (owner) *owner = d.get();
            return art;
        }
    }
    return nullptr;
}

Layer* Workspace::findLayer(AILayerHandle handle, Document** owner) const {
    if (!handle) return nullptr;
    for (const auto& d : impl_->documents) {
        if (Layer* layer = d->findLayer(handle)) {
            if (owner) *owner = d.get();
            return layer;
        }
    }
    return nullptr;
}

StyleTable& Workspace::styles() { return impl_->styles; }
ArtSetPool& Workspace::artSets() { return impl_->artSets; }
ArtboardListPool& Workspace::artboardLists() { return impl_->artboardLists; }
ArtboardPropertiesPool& Workspace::artboardProperties() { return impl_->artboardProperties; }
Workspace::UndoNotes& Workspace::undoNotes() { return impl_->undoNotes; }

}  // namespace quiltor::host
