// The document, the document list, undo and the document view.
#include <cmath>
#include <cstdio>

#include "core/HostStrings.h"
#include "core/SuiteRegistry.h"
#include "suites/RunWatcher.h"
#include "suites/SuiteContext.h"
#include "suites/SuiteSupport.h"
#include "ui/UserInterface.h"

namespace quiltor::host::suites {

namespace {

// ---------------------------------------------------------------- document

AIErr GetDocument(AIDocumentHandle* document) {
    return Guarded([&]() -> AIErr {
        if (!document) return kBadParameterErr;
        *document = CurrentDocument();
        return *document ? kNoErr : kNoDocumentErr;
    });
}

template <class Body>
AIErr WithDocument(Body body) {
    return Guarded([&]() -> AIErr {
        Document* document = CurrentDocument();
        if (!document) return kNoDocumentErr;
        return body(*document);
    });
}

AIErr GetDocumentSetup(AIDocumentSetup* setup) {
    if (!setup) return kBadParameterErr;
    return WithDocument([&](Document& d) -> AIErr {
        *setup = d.setup();
        return kNoErr;
    });
}

AIErr SetDocumentSetup(const AIDocumentSetup* setup) {
    if (!setup) return kBadParameterErr;
    return WithDocument([&](Document& d) -> AIErr {
        d.setSetup(*setup);
        return kNoErr;
    });
}

AIErr GetDocumentColorModel(int16_t* colorModel) {
    if (!colorModel) return kBadParameterErr;
    return WithDocument([&](Document& d) -> AIErr {
        *colorModel = d.colorModel();
        return kNoErr;
    });
}

AIErr GetDocumentModified(AIBoolean* modified) {
    if (!modified) return kBadParameterErr;
    return WithDocument([&](Document& d) -> AIErr {
        *modified = d.modified();
        return kNoErr;
    });
}

AIErr SetDocumentModified(AIBoolean modified) {
    return WithDocument([&](Document& d) -> AIErr {
        d.setModified(modified != 0);
        return kNoErr;
    });
}

AIErr GetDocumentFileSpecification(AIFilePathRef path) {
    if (!path) return kBadParameterErr;
    return WithDocument([&](Document& d) -> AIErr {
        path->path = d.filePath();
        return kNoErr;
    });
}

const AIDocumentSuite kDocumentSuite = {
    .GetDocument = GetDocument,
    .GetDocumentSetup = GetDocumentSetup,
    .SetDocumentSetup = SetDocumentSetup,
    .GetDocumentColorModel = GetDocumentColorModel,
    .GetDocumentModified = GetDocumentModified,
    .SetDocumentModified = SetDocumentModified,
    .GetDocumentFileSpecification = GetDocumentFileSpecification,
};

// ---------------------------------------------------------------- document list

AIErr Count(int32_t* count) {
    return Guarded([&]() -> AIErr {
        if (!count) return kBadParameterErr;
        Workspace* workspace = CurrentWorkspace();
        *count = workspace ? static_cast<int32_t>(workspace->documents().size()) : 0;
        return kNoErr;
    });
}

AIErr GetNthDocument(AIDocumentHandle* document, int32_t n) {
    return Guarded([&]() -> AIErr {
        if (!document) return kBadParameterErr;
        *document = nullptr;
        Workspace* workspace = CurrentWorkspace();
        if (!workspace) return kIndexOutOfRangeErr;
        const std::vector<AIDocumentHandle> all = workspace->documents();
        if (n < 0 || static_cast<size_t>(n) >= all.size()) return kIndexOutOfRangeErr;
        *document = all[static_cast<size_t>(n)];
        return kNoErr;
    });
}

AIErr New(AIUnicodeStringRef title, int16_t colorModel, AIReal width, AIReal height, int32_t /*dialogStatus*/,
          AIDocumentHandle* document) {
    return Guarded([&]() -> AIErr {
        if (!document) return kBadParameterErr;
        *document = nullptr;
        Workspace* workspace = CurrentWorkspace();
        const bool knownModel = colorModel >= kDocUnknownColor && colorModel <= kDocCMYKColor;
        if (!workspace || !knownModel || !(width > 0) || !(height > 0) || !std::isfinite(width) ||
            !std::isfinite(height))
            return kBadParameterErr;
        NewDocumentOptions options;
        options.widthPt = width;
        options.heightPt = height;
        options.colorModel = colorModel;
        options.title = title && !title->text.empty() ? EncodeUtf8(title->text)
                                                      : "Untitled-" + std::to_string(workspace->documents().size() + 1);
        *document = workspace->newDocument(options);
        return kNoErr;
    });
}

AIErr Open(AIFilePathRef file, int16_t /*colorMode*/, int32_t dialogStatus, AIBoolean /*forceCopy*/,
           AIDocumentHandle* document) {
    return Guarded([&]() -> AIErr {
        if (!document) return kBadParameterErr;
        *document = nullptr;
        Workspace* workspace = CurrentWorkspace();
        if (!workspace || !file) return kBadParameterErr;
        if (RunningHost() && RunningHost()->watcher) RunningHost()->watcher->DocumentOpening(file->path);
        std::string reason;
        AIErr code = kBadFileFormatErr;
        *document = workspace->openFile(file->path, &reason, &code);
        if (RunningHost() && RunningHost()->watcher) RunningHost()->watcher->DocumentOpened();
        if (*document) return kNoErr;
        const std::string line = "cannot open " + file->path + ": " + reason;
        std::fprintf(stderr, "quiltor-host: %s\n", line.c_str());
        if (dialogStatus == kDialogOn && RunningHost()) RunningHost()->ui.errorAlert(line);
        return code;
    });
}

AIErr Save(AIDocumentHandle handle) {
    return Guarded([&]() -> AIErr {
        Workspace* workspace = CurrentWorkspace();
        Document* document = FindDocument(handle);
        if (!document || document->filePath().empty()) return kBadParameterErr;
        std::string reason;
        if (!workspace->saveFile(handle, document->filePath(), &reason)) {
            std::fprintf(stderr, "quiltor-host: %s\n", reason.c_str());
            return kFileNotFoundErr;
        }
        document->setModified(false);
        return kNoErr;
    });
}

AIErr Close(AIDocumentHandle handle) {
    return Guarded([&]() -> AIErr {
        Workspace* workspace = CurrentWorkspace();
        if (!workspace || !workspace->close(handle)) return kBadParameterErr;
        return kNoErr;
    });
}

AIErr Activate(AIDocumentHandle handle, AIBoolean /*bSetFocus*/) {
    return Guarded([&]() -> AIErr {
        Workspace* workspace = CurrentWorkspace();
        if (!workspace || !workspace->activate(handle)) return kBadParameterErr;
        return kNoErr;
    });
}

const AIDocumentListSuite kDocumentListSuite = {
    .Count = Count,
    .GetNthDocument = GetNthDocument,
    .New = New,
    .Open = Open,
    .Save = Save,
    .Close = Close,
    .Activate = Activate,
};

// ---------------------------------------------------------------- undo

AIErr SetSilent(AIBoolean silent) {
    return Guarded([&]() -> AIErr {
        Workspace* workspace = CurrentWorkspace();
        if (!workspace) return kBadParameterErr;
        workspace->undoNotes().silent = silent != 0;
        return kNoErr;
    });
}

AIErr UndoChanges() {
    return WithDocument([](Document& d) -> AIErr {
        d.undoChanges();
        return kNoErr;
    });
}

AIErr PurgeAllUndos() {
    return WithDocument([](Document& d) -> AIErr {
        d.purgeUndo();
        return kNoErr;
    });
}

AIErr SetUndoText(AIUnicodeStringRef undoText, AIUnicodeStringRef redoText) {
    return Guarded([&]() -> AIErr {
        Workspace* workspace = CurrentWorkspace();
        if (!workspace) return kBadParameterErr;
        workspace->undoNotes().undoText = undoText ? undoText->text : std::u16string();
        workspace->undoNotes().redoText = redoText ? redoText->text : std::u16string();
        return kNoErr;
    });
}

const AIUndoSuite kUndoSuite = {
    .SetSilent = SetSilent,
    .UndoChanges = UndoChanges,
    .PurgeAllUndos = PurgeAllUndos,
    .SetUndoText = SetUndoText,
};

// ---------------------------------------------------------------- document view

// The view shows the whole artboard at 100 %.
AIErr GetDocumentViewZoom(AIReal* zoom) {
    if (!zoom) return kBadParameterErr;
    return WithDocument([&](Document&) -> AIErr {
        *zoom = 1.0f;
        return kNoErr;
    });
}

AIErr GetDocumentViewCenter(AIRealPoint* center) {
    if (!center) return kBadParameterErr;
    return WithDocument([&](Document& d) -> AIErr {
        const AIRealRect& a = d.artboard();
        *center = AIRealPoint{(a.left + a.right) / 2, (a.top + a.bottom) / 2};
        return kNoErr;
    });
}

const AIDocumentViewSuite kDocumentViewSuite = {
    .GetDocumentViewZoom = GetDocumentViewZoom,
    .GetDocumentViewCenter = GetDocumentViewCenter,
};

}  // namespace

void RegisterDocumentListSuites(SuiteRegistry& registry) {
    registry.add(kAIDocumentSuite, kAIDocumentSuiteVersion, kDocumentSuite);
    registry.add(kAIDocumentListSuite, kAIDocumentListSuiteVersion, kDocumentListSuite);
    registry.add(kAIUndoSuite, kAIUndoSuiteVersion, kUndoSuite);
    registry.add(kAIDocumentViewSuite, kAIDocumentViewSuiteVersion, kDocumentViewSuite);
}

}  // namespace quiltor::host::suites
