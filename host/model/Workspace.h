// The open documents, which one is current, and the host's clipboard.
// (Contract between the document model and the rest of the host; the model fills in the details.)
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "AIHost.h"

namespace quiltor::host {

class Document;        // model/Document.h
class DocumentFormat;  // model/DocumentFormat.h
class StyleTable;      // model/ArtStyle.h
struct Art;            // model/Art.h
struct Layer;
template <class T, class Handle>
class HandlePool;  // model/Handles.h
struct ArtSet;
struct ArtboardList;
struct ArtboardProperties;

struct NewDocumentOptions {
    AIReal widthPt = 595.276f;  // A4 portrait
    AIReal heightPt = 841.89f;
    int16_t colorModel = kDocCMYKColor;
    std::string title = "Untitled-1";
};

class Workspace {
public:
    // Files are read and written in the format, which must not be null.
    explicit Workspace(std::unique_ptr<DocumentFormat> format);
    ~Workspace();

    // Creates a fresh document (one empty, visible, editable layer; one artboard the size of the
    // page with its bottom-left corner at the origin) and makes it current.
    AIDocumentHandle newDocument(const NewDocumentOptions& options);
    // Reads a document in the workspace's format and makes it current. On failure returns null,
    // fills *error with a one-line reason and *code with kFileNotFoundErr or kBadFileFormatErr.
    AIDocumentHandle openFile(const std::string& path, std::string* error, AIErr* code);
    // The paths openFile could not read, in the order asked.
    const std::vector<std::string>& failedOpens() const;
    // Writes the document in the workspace's format. On failure returns false and fills *error.
    bool saveFile(AIDocumentHandle document, const std::string& path, std::string* error);

    AIDocumentHandle current() const;  // null without documents
    bool activate(AIDocumentHandle document);
    bool close(AIDocumentHandle document);
    std::vector<AIDocumentHandle> documents() const;  // front first
    Document* find(AIDocumentHandle document) const;  // null for an unknown handle
    Document* currentDocument() const;

    // Adds a document built elsewhere (a reader, a test) in front and makes it current.
    AIDocumentHandle addDocument(std::unique_ptr<Document> document);
    // Looks the handle up in every open document; null for a dead or foreign handle. *owner (may
    // be null) receives the document holding it.
    Art* findArt(AIArtHandle art, Document** owner = nullptr) const;
    Layer* findLayer(AILayerHandle layer, Document** owner = nullptr) const;

    // Appearances shared by every document of this workspace.
    StyleTable& styles();
    // What the suites have handed out and not yet taken back.
    HandlePool<ArtSet, _AIArtSet>& artSets();
    HandlePool<ArtboardList, _AIArtboardList>& artboardLists();
    HandlePool<ArtboardProperties, _AIArtboardProperties>& artboardProperties();

    // What the undo suite was told; the host offers no redo, so these are only recorded.
    struct UndoNotes {
        bool silent = false;
        std::u16string undoText;
        std::u16string redoText;
    };
    UndoNotes& undoNotes();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace quiltor::host
