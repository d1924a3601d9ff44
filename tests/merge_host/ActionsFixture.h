// A running host whose documents are built straight in the model, and the editing events played
// through the action manager suite as a plug-in plays them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "InProcessHost.h"
#include "app/Host.h"
#include "core/ActionRegistry.h"
#include "core/HostStrings.h"
#include "core/SuiteRegistry.h"
#include "model/Document.h"
#include "model/Workspace.h"
#include "ui/QueuedUserInterface.h"

namespace mergehost {

using quiltor::host::Art;
using quiltor::host::Document;
using quiltor::host::Layer;

class ActionsTest : public ::testing::Test {
protected:
    ActionsTest();

    quiltor::host::Host& host() { return running_.host(); }
    quiltor::host::Workspace& workspace() { return running_.workspace(); }
    quiltor::host::QueuedUserInterface& user() { return running_.user(); }

    // A new front document holding no layer but its "Layer 1", which gets the title.
    Document& NewDocument(const std::string& firstTitle = "Layer 1");
    // A layer at the bottom of the parent's sublayers (of the top level without a parent).
    Layer* AddLayer(Document& document, Layer* parent, const std::string& title);
    // A text frame at the bottom of the container (a layer group or a group), named by its text.
    Art* AddText(Document& document, Art* container, const std::string& text, AIRealPoint at = {0, 0});
    Art* AddGroup(Document& document, Art* container);
    // A path of corner points with control points offset by (1, 2) in and (3, 4) out.
    Art* AddPath(Document& document, Art* container, const std::vector<AIRealPoint>& anchors, bool closed = false);

    AIErr Play(const char* event, int32_t dialogStatus = kDialogNone);
    AIErr PlayMove(AIReal hozn, AIReal vtcl);
    AIErr PlayLayersOption(bool on);
    void Activate(Document& document) { workspace().activate(&document); }

    const AIActionManagerSuite* actions = nullptr;

private:
    testsupport::InProcessHost running_;
};

// Titles from the top-level layer down to the art's layer, joined by "/".
std::string LayerPathOf(const Art* art);
std::string TitleOf(const Layer* layer);
// The texts of the text frames directly in the container, top to bottom.
std::vector<std::string> TextsIn(const Art* container);
// The layer of the title path ("A/X"), first of its title at every level; null when missing.
Layer* FindLayer(const Document& document, const std::string& path);
// Every layer as "title path", in preorder.
std::vector<std::string> LayerPaths(const Document& document);
// Texts of the selected text frames anywhere in the document, in preorder.
std::vector<std::string> SelectedTexts(const Document& document);
size_t SelectedCount(const Document& document);

}  // namespace mergehost
