// A running host with one fresh document and every document suite acquired, for tests that go
// through the suites as the plug-ins do.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "InProcessHost.h"
#include "app/Host.h"
#include "core/HostStrings.h"
#include "core/SuiteRegistry.h"
#include "model/Document.h"
#include "model/Workspace.h"
#include "ui/QueuedUserInterface.h"

namespace quiltor::host::testing {

struct Pt {
    float h, v;
};

class ModelTest : public ::testing::Test {
protected:
    ModelTest() {
        layers = acquire<AILayerSuite>(kAILayerSuite, kAILayerSuiteVersion);
        art = acquire<AIArtSuite>(kAIArtSuite, kAIArtSuiteVersion);
        paths = acquire<AIPathSuite>(kAIPathSuite, kAIPathSuiteVersion);
        pathStyles = acquire<AIPathStyleSuite>(kAIPathStyleSuite, kAIPathStyleSuiteVersion);
        artStyles = acquire<AIArtStyleSuite>(kAIArtStyleSuite, kAIArtStyleSuiteVersion);
        artSets = acquire<AIArtSetSuite>(kAIArtSetSuite, kAIArtSetSuiteVersion);
        documents = acquire<AIDocumentSuite>(kAIDocumentSuite, kAIDocumentSuiteVersion);
        documentList = acquire<AIDocumentListSuite>(kAIDocumentListSuite, kAIDocumentListSuiteVersion);
        undo = acquire<AIUndoSuite>(kAIUndoSuite, kAIUndoSuiteVersion);
        NewDocumentOptions options;
        options.widthPt = 600;
        options.heightPt = 800;
        options.colorModel = kDocCMYKColor;
        options.title = "Target";
        document_ = workspace().newDocument(options);
    }

    template <typename Suite>
    const Suite* acquire(const char* name, int32_t version) {
        const void* suite = nullptr;
        EXPECT_EQ(BasicSuite()->AcquireSuite(name, version, &suite), kNoErr) << name;
        return static_cast<const Suite*>(suite);
    }

    Workspace& workspace() { return running_.workspace(); }
    Document& document() { return *workspace().find(document_); }
    QueuedUserInterface& ui() { return running_.user(); }

    AILayerHandle firstLayer() {
        AILayerHandle layer = nullptr;
        layers->GetFirstLayer(&layer);
        return layer;
    }
    AIArtHandle groupOf(AILayerHandle layer) {
        AIArtHandle group = nullptr;
        art->GetFirstArtOfLayer(layer, &group);
        return group;
    }

    // A path of straight segments placed by order and prep.
    AIArtHandle newPath(const std::vector<Pt>& anchors, bool closed, int16_t order = kPlaceAboveAll,
                        AIArtHandle prep = nullptr) {
        AIArtHandle path = nullptr;
        EXPECT_EQ(art->NewArt(kPathArt, order, prep, &path), kNoErr);
        std::vector<AIPathSegment> segments;
        for (const Pt& p : anchors) segments.push_back(Segment(p.h, p.v));
        EXPECT_EQ(paths->SetPathSegments(path, 0, static_cast<int16_t>(segments.size()), segments.data()), kNoErr);
        EXPECT_EQ(paths->SetPathClosed(path, closed), kNoErr);
        return path;
    }

    static AIPathSegment Segment(float h, float v, bool corner = true) {
        AIPathSegment s{};
        s.p = s.in = s.out = AIRealPoint{h, v};
        s.corner = corner;
        return s;
    }

    std::vector<AIPathSegment> segmentsOf(AIArtHandle path) {
        int16_t count = 0;
        paths->GetPathSegmentCount(path, &count);
        std::vector<AIPathSegment> segments(static_cast<size_t>(count));
        if (count) paths->GetPathSegments(path, 0, count, segments.data());
        return segments;
    }
    std::vector<float> anchorsH(AIArtHandle path) {
        std::vector<float> hs;
        for (const AIPathSegment& s : segmentsOf(path)) hs.push_back(s.p.h);
        return hs;
    }

    std::vector<AIArtHandle> membersOf(AIArtHandle container) {
        std::vector<AIArtHandle> members;
        AIArtHandle child = nullptr;
        art->GetArtFirstChild(container, &child);
        while (child) {
            members.push_back(child);
            art->GetArtSibling(child, &child);
        }
        return members;
    }

    std::vector<AIArtHandle> layerArtSet(AILayerHandle layer) {
        AIArtSet set = nullptr;
        artSets->NewArtSet(&set);
        artSets->LayerArtSet(layer, set);
        std::vector<AIArtHandle> all = contents(set);
        artSets->DisposeArtSet(&set);
        return all;
    }
    std::vector<AIArtHandle> contents(AIArtSet set) {
        int32_t count = 0;
        artSets->CountArtSet(set, &count);
        std::vector<AIArtHandle> all;
        for (int32_t i = 0; i < count; ++i) {
            AIArtHandle a = nullptr;
            artSets->IndexArtSet(set, i, &a);
            all.push_back(a);
        }
        return all;
    }

    std::string titleOf(AILayerHandle layer) {
        _AIUnicodeString title;
        layers->GetLayerTitle(layer, &title);
        return EncodeUtf8(title.text);
    }
    void setTitle(AILayerHandle layer, const char* utf8) {
        _AIUnicodeString title{*DecodeUtf8(utf8)};
        layers->SetLayerTitle(layer, &title);
    }

    const AILayerSuite* layers = nullptr;
    const AIArtSuite* art = nullptr;
    const AIPathSuite* paths = nullptr;
    const AIPathStyleSuite* pathStyles = nullptr;
    const AIArtStyleSuite* artStyles = nullptr;
    const AIArtSetSuite* artSets = nullptr;
    const AIDocumentSuite* documents = nullptr;
    const AIDocumentListSuite* documentList = nullptr;
    const AIUndoSuite* undo = nullptr;

    testsupport::InProcessHost running_;
    AIDocumentHandle document_ = nullptr;
};

// A handle that was never given out: the address of something else entirely.
template <class Handle>
Handle Foreign() {
    static int somethingElse = 0;
    return reinterpret_cast<Handle>(&somethingElse);
}

}  // namespace quiltor::host::testing
