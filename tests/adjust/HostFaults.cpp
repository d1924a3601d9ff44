#include "HostFaults.h"

namespace adjusttest {
namespace {

quiltor::host::Document* gDocument = nullptr;
int gDeadUses = 0;

void Note(AIArtHandle art) {
    if (art && gDocument && !gDocument->findArt(art)) ++gDeadUses;
}

AIArtSuite gArt;
AIPathSuite gPath;
AIArtStyleSuite gArtStyle;
AIPathStyleSuite gPathStyle;

}  // namespace

int DeadHandleUses() { return gDeadUses; }

void WatchDeadHandles(AdjustHost& h) {
    gDocument = &h.document();
    gDeadUses = 0;
    auto* art = Table<AIArtSuite>(h, kAIArtSuite, kAIArtSuiteVersion);
    auto* path = Table<AIPathSuite>(h, kAIPathSuite, kAIPathSuiteVersion);
    auto* artStyle = Table<AIArtStyleSuite>(h, kAIArtStyleSuite, kAIArtStyleSuiteVersion);
    auto* pathStyle = Table<AIPathStyleSuite>(h, kAIPathStyleSuite, kAIPathStyleSuiteVersion);
    gArt = *art;
    gPath = *path;
    gArtStyle = *artStyle;
    gPathStyle = *pathStyle;
    art->NewArt = [](int16_t t, int16_t o, AIArtHandle prep, AIArtHandle* n) { Note(prep); return gArt.NewArt(t, o, prep, n); };
    art->DisposeArt = [](AIArtHandle a) { Note(a); return gArt.DisposeArt(a); };
    art->ReorderArt = [](AIArtHandle a, int16_t o, AIArtHandle prep) {
        Note(a);
        Note(prep);
        return gArt.ReorderArt(a, o, prep);
    };
    art->DuplicateArt = [](AIArtHandle a, int16_t o, AIArtHandle prep, AIArtHandle* n) {
        Note(a);
        Note(prep);
        return gArt.DuplicateArt(a, o, prep, n);
    };
    art->GetArtType = [](AIArtHandle a, int16_t* t) { Note(a); return gArt.GetArtType(a, t); };
    art->GetArtUserAttr = [](AIArtHandle a, int32_t w, int32_t* v) { Note(a); return gArt.GetArtUserAttr(a, w, v); };
    art->GetArtParent = [](AIArtHandle a, AIArtHandle* p) { Note(a); return gArt.GetArtParent(a, p); };
    art->GetArtFirstChild = [](AIArtHandle a, AIArtHandle* c) { Note(a); return gArt.GetArtFirstChild(a, c); };
    art->GetArtSibling = [](AIArtHandle a, AIArtHandle* s) { Note(a); return gArt.GetArtSibling(a, s); };
    art->GetArtBounds = [](AIArtHandle a, AIRealRect* b) { Note(a); return gArt.GetArtBounds(a, b); };
    art->ArtHasFill = [](AIArtHandle a, AIBoolean* f) { Note(a); return gArt.ArtHasFill(a, f); };
    path->GetPathSegments = [](AIArtHandle a, int16_t n, int16_t c, AIPathSegment* s) {
        Note(a);
        return gPath.GetPathSegments(a, n, c, s);
    };
    path->DeletePathSegments = [](AIArtHandle a, int16_t n, int16_t c) { Note(a); return gPath.DeletePathSegments(a, n, c); };
    path->GetPathSegmentCount = [](AIArtHandle a, int16_t* c) { Note(a); return gPath.GetPathSegmentCount(a, c); };
    path->GetPathClosed = [](AIArtHandle a, AIBoolean* c) { Note(a); return gPath.GetPathClosed(a, c); };
    artStyle->GetArtStyle = [](AIArtHandle a, AIArtStyleHandle* s) { Note(a); return gArtStyle.GetArtStyle(a, s); };
    pathStyle->GetPathStyle = [](AIArtHandle a, AIPathStyle* s) { Note(a); return gPathStyle.GetPathStyle(a, s); };
}

}  // namespace adjusttest
