#include "MergeFixture.h"

#include <unistd.h>
#include <atomic>
#include <ostream>

#include "IAIUnicodeString.h"
#include "SelectMergeRun.h"
#include "Suites.h"
#include "app/Host.h"
#include "core/SuiteRegistry.h"
#include "core/TextSelectionDialog.h"
#include "model/Document.h"
#include "model/Workspace.h"
#include "ui/QueuedUserInterface.h"

namespace mergetest {

namespace {

// Forwards to the dialog of this build and notes what each showing offered.
// The inner dialog is made last, so that the selection table fills it.
class RecordingDialog : public SelectionDialog {
public:
    RecordingDialog(SelectionAlerts& alerts, FILE* in, FILE* out, std::vector<Showing>& log)
        : log_(log), inner_(std::make_unique<TextSelectionDialog>(alerts, in, out)) {}

    void SetLineCheckBox(bool checked) override { inner_->SetLineCheckBox(checked); }
    void SetFaceCheckBox(bool checked) override { inner_->SetFaceCheckBox(checked); }
    bool GetLineCheckBox() const override { return inner_->GetLineCheckBox(); }
    bool GetFaceCheckBox() const override { return inner_->GetFaceCheckBox(); }
    void AppendFolderRow(const std::string& name) override { inner_->AppendFolderRow(name); }
    void AppendSelectRow(const std::string& name) override { inner_->AppendSelectRow(name); }
    void ClearFolderList() override { inner_->ClearFolderList(); }
    void ClearSelectList() override { inner_->ClearSelectList(); }
    void SetStatus(const std::string& text) override { inner_->SetStatus(text); }
    std::vector<int32_t> ChosenFolderRows() const override { return inner_->ChosenFolderRows(); }
    std::vector<int32_t> ChosenSelectRows() const override { return inner_->ChosenSelectRows(); }
    std::string FolderRowText(int32_t row) const override { return inner_->FolderRowText(row); }
    std::string SelectRowText(int32_t row) const override { return inner_->SelectRowText(row); }
    void Close() override { inner_->Close(); }

    DialogResult RunModal() override {
        Showing showing;
        showing.folderRows = inner_->FolderRows();
        showing.selectRows = inner_->SelectRows();
        showing.status = inner_->Status();
        showing.lineBox = inner_->GetLineCheckBox();
        showing.faceBox = inner_->GetFaceCheckBox();
        showing.result = inner_->RunModal();
        log_.push_back(showing);
        return showing.result;
    }

private:
    std::vector<Showing>& log_;
    std::unique_ptr<TextSelectionDialog> inner_;
};

std::string Utf8Title(AILayerHandle layer) {
    ai::UnicodeString title;
    sAILayer->GetLayerTitle(layer, title.get());
    return title.as_UTF8();
}

void AppendScheme(Tree& tree, const LayerSchemeEntry* entries, int32_t count, int depth) {
    for (int32_t i = 0; i < count; ++i) {
        tree.push_back(LayerSpec{entries[i].title, depth});
        if (entries[i].group) AppendScheme(tree, entries[i].sublayers, entries[i].count, depth + 1);
    }
}

std::filesystem::path MakeTempFolder() {
    static std::atomic<int> serial{0};
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("quiltor-merge-" + std::to_string(getpid()) + "-" + std::to_string(++serial));
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const LayerSpec& layer) {
    return out << std::string(size_t(layer.depth) * 2, ' ') << layer.title << " v" << layer.visible << " p"
               << layer.preview << " e" << layer.editable << " r" << layer.printed << " d" << layer.dimPlacedImages
               << " t" << layer.isTemplate;
}

Tree MaterialTree() {
    Tree tree;
    AppendScheme(tree, materialLayerScheme, materialLayerSchemeCount, 0);
    return tree;
}

Tree Tokyo23Tree() {
    Tree tree;
    AppendScheme(tree, tokyo23LayerScheme, tokyo23LayerSchemeCount, 0);
    return tree;
}

std::string ErrorLine(const std::string& text) { return "error: " + text; }

std::string MessageLine(const std::string& text) { return "message: " + text; }

std::vector<std::string> AlertLines(const quiltor::host::QueuedUserInterface& user) {
    std::vector<std::string> lines;
    for (const auto& alert : user.alerts()) {
        switch (alert.kind) {
        case quiltor::host::AlertKind::Error: lines.push_back(ErrorLine(alert.text)); break;
        case quiltor::host::AlertKind::Message: lines.push_back(MessageLine(alert.text)); break;
        case quiltor::host::AlertKind::Question:
            lines.push_back("question " + std::to_string(alert.answer) + ": " + alert.text);
            break;
        }
    }
    return lines;
}

MergeTest::MergeTest() = default;
MergeTest::~MergeTest() = default;

void MergeTest::SetUp() {
    running_ = std::make_unique<testsupport::InProcessHost>();
    suites_ = std::make_unique<testsupport::PluginSuites>();
    ASSERT_EQ(suites_->error(), kNoErr);
    plugin_.reset(new KTRPluginSelectMergePlugin(nullptr));
    ASSERT_NE(plugin_, nullptr);
    folder_ = MakeTempFolder();
    SetSelectionDialogFactory([this](SelectionAlerts& alerts) { return MakeDialog(alerts); });
}

void MergeTest::TearDown() {
    SetSelectionDialogFactory({});
    plugin_.reset();
    suites_.reset();
    running_.reset();
    if (in_ != nullptr) std::fclose(in_);
    in_ = nullptr;
    if (out_ != nullptr) std::fclose(out_);
    out_ = nullptr;
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::unique_ptr<SelectionDialog> MergeTest::MakeDialog(SelectionAlerts& alerts) {
    return std::make_unique<RecordingDialog>(alerts, in_, out_, showings_);
}

AIDocumentHandle MergeTest::NewTarget(float widthPt, float heightPt) {
    quiltor::host::NewDocumentOptions options;
    options.widthPt = widthPt;
    options.heightPt = heightPt;
    return running_->workspace().newDocument(options);
}

AIDocumentHandle MergeTest::NewDocument() { return NewTarget(); }

void MergeTest::CloseAllDocuments() {
    for (AIDocumentHandle document : running_->workspace().documents()) running_->workspace().close(document);
}

void MergeTest::BuildTree(const Tree& tree, const std::vector<TileArt>& art) {
    std::vector<AILayerHandle> made;
    std::vector<AILayerHandle> lastAtDepth;
    for (const LayerSpec& wanted : tree) {
        AILayerHandle layer = nullptr;
        if (wanted.depth == 0 && made.empty()) {
            sAILayer->GetFirstLayer(&layer);
        } else if (wanted.depth == 0) {
            sAILayer->InsertLayer(nullptr, kPlaceBelowAll, &layer);
        } else {
            ASSERT_LE(size_t(wanted.depth), lastAtDepth.size()) << wanted.title;
            sAILayer->InsertLayer(lastAtDepth[size_t(wanted.depth) - 1], kPlaceInsideOnBottom, &layer);
        }
        ASSERT_NE(layer, nullptr) << wanted.title;
        sAILayer->SetLayerTitle(layer, ai::UnicodeString(wanted.title, kAIUTF8CharacterEncoding).get());
        lastAtDepth.resize(size_t(wanted.depth) + 1);
        lastAtDepth[size_t(wanted.depth)] = layer;
        made.push_back(layer);
    }
    for (const TileArt& piece : art) {
        ASSERT_LT(piece.layer, made.size());
        AIArtHandle group = nullptr;
        sAIArt->GetFirstArtOfLayer(made[piece.layer], &group);
        AIArtHandle path = nullptr;
        sAIArt->NewArt(kPathArt, kPlaceInsideOnBottom, group, &path);
        ASSERT_NE(path, nullptr);
        const AIRealRect& r = piece.bounds;
        AIPathSegment segments[4] = {};
        const AIRealPoint corners[4] = {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}};
        for (int i = 0; i < 4; ++i) {
            segments[i].p = segments[i].in = segments[i].out = corners[i];
            segments[i].corner = true;
        }
        sAIPath->SetPathSegmentCount(path, 4);
        sAIPath->SetPathSegments(path, 0, 4, segments);
        sAIPath->SetPathClosed(path, true);
    }
    // Options last: a locked or hidden layer takes no new art.
    for (size_t i = 0; i < tree.size(); ++i) {
        const LayerSpec& wanted = tree[i];
        sAILayer->SetLayerVisible(made[i], wanted.visible);
        sAILayer->SetLayerPreview(made[i], wanted.preview);
        sAILayer->SetLayerEditable(made[i], wanted.editable);
        sAILayer->SetLayerPrinted(made[i], wanted.printed);
        sAILayer->SetLayerDimPlacedImages(made[i], wanted.dimPlacedImages);
        sAILayer->SetLayerIsTemplate(made[i], wanted.isTemplate);
    }
}

Tree MergeTest::ReadTree() const {
    Tree tree;
    AILayerHandle layer = nullptr;
    sAILayer->GetFirstLayer(&layer);
    while (layer != nullptr) {
        LayerSpec wanted;
        wanted.title = Utf8Title(layer);
        for (AILayerHandle parent = layer;;) {
            AILayerHandle up = nullptr;
            sAILayer->GetLayerParent(parent, &up);
            if (up == nullptr) break;
            ++wanted.depth;
            parent = up;
        }
        AIBoolean value = false;
        sAILayer->GetLayerVisible(layer, &value);
        wanted.visible = value;
        sAILayer->GetLayerPreview(layer, &value);
        wanted.preview = value;
        sAILayer->GetLayerEditable(layer, &value);
        wanted.editable = value;
        sAILayer->GetLayerPrinted(layer, &value);
        wanted.printed = value;
        sAILayer->GetLayerDimPlacedImages(layer, &value);
        wanted.dimPlacedImages = value;
        sAILayer->GetLayerIsTemplate(layer, &value);
        wanted.isTemplate = value;
        tree.push_back(wanted);
        AILayerHandle next = nullptr;
        sAILayer->GetNextPreorderLayer(layer, &next);
        layer = next;
    }
    return tree;
}

void MergeTest::WriteTile(const std::string& name, const Tree& tree, const std::vector<TileArt>& art,
                          const std::optional<AIRealRect>& artboard) {
    const AIDocumentHandle previous = running_->workspace().current();
    const AIDocumentHandle tile = NewDocument();
    BuildTree(tree, art);
    if (artboard) running_->workspace().find(tile)->setArtboard(*artboard);
    std::string error;
    ASSERT_TRUE(running_->workspace().saveFile(tile, (folder_ / name).string(), &error)) << error;
    running_->workspace().close(tile);
    if (previous != nullptr) running_->workspace().activate(previous);
}

void MergeTest::AnswerFolder(const std::string& folder) { running_->user().queueFolder(folder); }

void MergeTest::Run() {
    if (in_ != nullptr) std::fclose(in_);
    script_ = std::move(pending_);
    pending_.clear();
    in_ = script_.empty() ? std::fopen("/dev/null", "r") : fmemopen(script_.data(), script_.size(), "r");
    if (out_ == nullptr) out_ = std::fopen("/dev/null", "w");
    ASSERT_NE(in_, nullptr);
    ASSERT_NE(out_, nullptr);
    plugin_->KTRPluginSelectMergeMain(nullptr);
}

}  // namespace mergetest
