// The documents find their selection without walking themselves. Random runs of everything that
// makes, moves, copies, deletes, selects or undoes art, over two documents, check after every step
// that what a document calls selected is what a walk of its trees finds, and that a move shifts
// exactly the selected art and what it holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <vector>

#include "InProcessHost.h"
#include "core/ActionRegistry.h"
#include "model/Document.h"

namespace quiltor::host::testing {
namespace {

constexpr int32_t kBits = kArtSelected | kArtFullySelected;

std::vector<Art*> WalkArt(const Document& document) {
    std::vector<Art*> all;
    for (Layer* layer = document.firstLayer(); layer; layer = NextLayerInPreorder(layer)) {
        for (Art* a = layer->group->firstChild; a; a = NextInPreorder(a, layer->group)) all.push_back(a);
    }
    return all;
}

std::vector<Art*> WalkSelected(const Document& document) {
    std::vector<Art*> selected;
    for (Art* a : WalkArt(document))
        if (a->userAttr & kBits) selected.push_back(a);
    std::sort(selected.begin(), selected.end());
    return selected;
}

bool MovesWithSelection(const Art* art) {
    for (const Art* a = art; a && !a->ownerLayer; a = a->parent)
        if (a->userAttr & kArtSelected) return true;
    return false;
}

class SelectionIndexTest : public ::testing::TestWithParam<uint32_t> {
protected:
    SelectionIndexTest() : random_(GetParam()) {
        host_.host().preferences().pasteRemembersLayers = true;
        for (const char* title : {"Target", "Tile"}) {
            NewDocumentOptions options;
            options.title = title;
            handles_.push_back(workspace().newDocument(options));
            Document& d = document(handles_.size() - 1);
            Layer* second = d.insertLayer(nullptr, kPlaceAboveAll);
            d.insertLayer(second, kPlaceInsideOnTop);
            d.purgeUndo();
        }
    }

    Workspace& workspace() { return host_.workspace(); }
    Document& document(size_t k) { return *workspace().find(handles_[k]); }
    size_t pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }

    // A container of the document: a layer group, a group or a compound path.
    Art* someContainer(Document& d) {
        std::vector<Art*> containers;
        for (Layer* layer = d.firstLayer(); layer; layer = NextLayerInPreorder(layer))
            containers.push_back(layer->group);
        for (Art* a : WalkArt(d))
            if (IsContainer(a)) containers.push_back(a);
        return containers[pick(containers.size())];
    }
    Art* someArt(Document& d) {
        const std::vector<Art*> all = WalkArt(d);
        return all.empty() ? nullptr : all[pick(all.size())];
    }

    void addArt(Document& d) {
        Art* container = someContainer(d);
        const int16_t types[] = {kGroupArt, kPathArt, kCompoundPathArt, kTextFrameArt};
        const int16_t type = container->type == kCompoundPathArt ? int16_t{kPathArt} : types[pick(4)];
        Art* art = d.newArt(type, Place{container, container->firstChild});
        if (art && type == kPathArt) {
            const float h = static_cast<float>(pick(100));
            art->segments.assign(2, AIPathSegment{});
            for (AIPathSegment& s : art->segments) s.p = s.in = s.out = AIRealPoint{h, h + 1};
        }
    }

    void play(const char* event, float shift = 0) {
        _AIActionParamValue params;
        params.values[AI_ACTION_KEY('h', 'o', 'z', 'n')] = shift;
        params.values[AI_ACTION_KEY('v', 't', 'c', 'l')] = -shift;
        host_.host().actions().play(event, kDialogNone, &params);
    }

    void moveAndCheck(Document& d) {
        std::map<const Art*, std::vector<AIPathSegment>> before;
        for (Art* a : WalkArt(d)) before[a] = a->segments;
        play("adobe_move", 3);
        for (Art* a : WalkArt(d)) {
            const float expected = MovesWithSelection(a) ? 3.0f : 0.0f;
            for (size_t i = 0; i < a->segments.size(); ++i) {
                ASSERT_EQ(a->segments[i].p.h, before[a][i].p.h + expected);
                ASSERT_EQ(a->segments[i].p.v, before[a][i].p.v - expected);
            }
        }
    }

    void step() {
        const size_t k = pick(2);
        Document& d = document(k);
        Document& other = document(1 - k);
        workspace().activate(handles_[k]);
        switch (pick(11)) {
        case 0:
        case 1: addArt(d); break;
        case 2:
            if (Art* a = someArt(d)) {
                d.willChange();
                d.setUserAttr(a, a->userAttr ^ (pick(2) ? kArtSelected : kArtFullySelected));
            }
            break;
        case 3: play(pick(2) ? "adobe_selectAll" : "adobe_deselectAll"); break;
        case 4: play("adobe_cut"); break;
        case 5: play("adobe_pasteInBack"); break;
        case 6: moveAndCheck(d); break;
        case 7:
            if (Art* a = someArt(other)) {
                Art* container = someContainer(d);
                if (pick(2))
                    d.copyArt(a, Place{container, nullptr});
                else
                    Document::MoveArt(other, a, d, Place{container, nullptr});
            }
            break;
        case 8:
            if (Art* a = someArt(d)) d.disposeArt(a);
            break;
        case 9: d.undoChanges(); break;
        default: d.purgeUndo(); break;
        }
    }

    testsupport::InProcessHost host_;
    std::vector<AIDocumentHandle> handles_;
    std::mt19937 random_;
};

TEST_P(SelectionIndexTest, TheSelectionIsWhatAWalkFinds) {
    for (int n = 0; n < 400; ++n) {
        step();
        if (HasFatalFailure()) return;
        for (size_t k = 0; k < 2; ++k) {
            std::vector<Art*> indexed = document(k).selectedArt();
            std::sort(indexed.begin(), indexed.end());
            ASSERT_EQ(indexed, WalkSelected(document(k))) << "step " << n << ", document " << k;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, SelectionIndexTest, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u));

}  // namespace
}  // namespace quiltor::host::testing
