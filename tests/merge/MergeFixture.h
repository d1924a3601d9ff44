// A fresh in-process host for each merge test, with the select-merge plug-in
// object, scripted answers for the folder chooser, the question and the tile
// dialog, and helpers to write tile folders and read layer trees back.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AIHost.h"
#include "InProcessHost.h"
#include "KTRPluginSelectMergePlugin.h"
#include "PluginSuites.h"
#include "core/LayerScheme.h"
#include "core/SelectionDialog.h"

namespace mergetest {

// One layer in preorder: title, depth and the six options.
struct LayerSpec {
    std::string title;
    int depth = 0;
    bool visible = true;
    bool preview = true;
    bool editable = true;
    bool printed = true;
    bool dimPlacedImages = false;
    bool isTemplate = false;
    bool operator==(const LayerSpec&) const = default;
};
using Tree = std::vector<LayerSpec>;

std::ostream& operator<<(std::ostream& out, const LayerSpec& layer);

// The trees the two schemes describe (non-group layers without sublayers).
Tree MaterialTree();
Tree Tokyo23Tree();

// A rectangle of art, in points, on the layer at `layer` (an index into the tree).
struct TileArt {
    size_t layer = 0;
    AIRealRect bounds{};
};

// One showing of the tile dialog, as the run left it.
struct Showing {
    std::vector<std::string> folderRows;
    std::vector<std::string> selectRows;
    std::string status;
    bool lineBox = false;  // the check boxes when shown
    bool faceBox = false;
    DialogResult result = DialogResult::Closed;
};

// "error: ...", "message: ...", "question 1: ..." (with the answer given).
std::vector<std::string> AlertLines(const quiltor::host::QueuedUserInterface& user);
std::string ErrorLine(const std::string& text);
std::string MessageLine(const std::string& text);

class MergeTest : public ::testing::Test {
protected:
    MergeTest();
    ~MergeTest() override;

    void SetUp() override;
    void TearDown() override;

public:
    quiltor::host::Host& host() { return running_->host(); }
    quiltor::host::QueuedUserInterface& user() { return running_->user(); }
    KTRPluginSelectMergePlugin& plugin() { return *plugin_; }

    // A new front document of the page size (points), fresh as File > New makes it.
    AIDocumentHandle NewTarget(float widthPt = 595.276f, float heightPt = 841.89f);
    AIDocumentHandle NewDocument();
    void CloseAllDocuments();

    // Builds the tree (and art) in the current document, whose one layer becomes the first.
    void BuildTree(const Tree& tree, const std::vector<TileArt>& art = {});
    // The current document's tree.
    Tree ReadTree() const;
    // Writes a tile document into the tile folder under name and closes it;
    // its artboard is the page at the origin unless one is given.
    void WriteTile(const std::string& name, const Tree& tree, const std::vector<TileArt>& art = {},
                   const std::optional<AIRealRect>& artboard = std::nullopt);
    std::filesystem::path folder() const { return folder_; }

    // Commands the tile dialogs of the next run read, one showing after the
    // other, as from stdin.
    void ScriptDialog(const std::string& commands) { pending_ += commands; }
    const std::vector<Showing>& showings() const { return showings_; }
    // The folder to answer the next folder chooser with.
    void AnswerFolder(const std::string& folder);
    void AnswerTileFolder() { AnswerFolder(folder_.string()); }

    // One merge run from the menu item.
    void Run();
    std::vector<std::string> Alerts() const { return AlertLines(running_->user()); }

private:
    std::unique_ptr<SelectionDialog> MakeDialog(SelectionAlerts& alerts);

    std::unique_ptr<testsupport::InProcessHost> running_;
    std::unique_ptr<testsupport::PluginSuites> suites_;
    std::unique_ptr<KTRPluginSelectMergePlugin> plugin_;
    std::filesystem::path folder_;
    std::string pending_;
    std::string script_;  // what the running dialogs read
    FILE* in_ = nullptr;
    FILE* out_ = nullptr;
    std::vector<Showing> showings_;
};

}  // namespace mergetest
