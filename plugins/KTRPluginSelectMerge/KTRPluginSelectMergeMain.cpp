// The merge run of "Quiltor セレクトマージ": the target checks, the folder and
// tile choice with the size confirmation, the placement of every chosen tile,
// the seam joins, and the layer options of the first tile restored at the end.
#include <algorithm>
#include <cstdio>
#include <map>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "IAIFilePath.h"
#include "IAIUnicodeString.h"
#include "KTRPluginSelectMergePlugin.h"
#include "LayerScheme.h"
#include "LayerSnapshot.h"
#include "MeshGrid.h"
#include "SelectMergeHost.h"
#include "SelectMergeRun.h"
#include "SelectionDialog.h"
#include "SelectionTable.h"
#include "Suites.h"

namespace {

constexpr char kFolderDialogTitle[] = "Quiltor セレクトマージ - フォルダ選択";

constexpr char kMsgNoDocument[] = "新規ドキュメントを作成してから、Quiltor セレクトマージを実行して下さい。";
constexpr char kMsgTargetNotFresh[] =
    "新規ドキュメントを作成した直後の状態で、Quiltor セレクトマージを実行して下さい。";
constexpr char kMsgChooseFolder[] =
    "Quiltor セレクトマージに対応した Adobe Illustrator ArtWork があるフォルダの選択を行って下さい。";
constexpr char kMsgNoTileFound[] =
    "Quiltor セレクトマージに対応した Adobe Illustrator Artwork が見つかりませんでした。";
constexpr char kMsgUnexpectedError[] = "予期しないエラーが発生しました。";
constexpr char kMsgBeyondLimit[] = "描画範囲を超える範囲の合成は出来ません。\n%.3f×%.3f[mm]";
constexpr char kMsgMergedSize[] = "合成後のサイズは下記になります。\n%.3f×%.3f[mm]";
constexpr char kMsgLargerThanPage[] =
    "アートボードよりも大きいですが合成しますか？\nアートボード： %.3f×%.3f[mm]\n合成後： %.3f×%.3f[mm]";
constexpr char kMsgTileSkipped[] = "レイヤー構成が異なるため読み飛ばします。\n%s";
constexpr char kMsgTileNotOpened[] = "ファイルを開けないため読み飛ばします。\n%s";
constexpr char kMsgDone[] = "作業が完了しました。";

constexpr std::size_t kSizeMessageBufferSize = 512;
constexpr std::size_t kTileMessageBufferSize = 1024;

// The Layers-panel option "paste remembers layers".
constexpr char kLayersPanelEvent[] = "ai_plugin_Layer";
constexpr int32_t kPasteRemembersLayersCommand = 11;
constexpr char kPasteRemembersLayersName[] = "コピー元のレイヤーにペースト";
constexpr AIActionParamKey kKeyMenuId = AI_ACTION_KEY('m', 'u', 'i', 'd');
constexpr AIActionParamKey kKeyName = AI_ACTION_KEY('n', 'a', 'm', 'e');
constexpr AIActionParamKey kKeyToggle = AI_ACTION_KEY('t', 'o', 'g', 'l');

// A merged map may overhang the page by this much on each side.
constexpr double kLimitMarginMm = 2889.775;

constexpr char kNoJoinFaceTitle[] = "背景道路";
constexpr char kScaleBarTitle[] = "スケールバー";
constexpr char kNorthArrowTitle[] = "方位記号";
constexpr char kRoadTitle[] = "道路";

SelectionDialogFactory& DialogFactory() {
    static SelectionDialogFactory factory;
    return factory;
}

std::unique_ptr<SelectionDialog> MakeSelectionDialog(SelectionAlerts& alerts) {
    const SelectionDialogFactory& factory = DialogFactory();
    return factory ? factory(alerts) : CreateSelectionDialog(alerts);
}

class HostSelectionAlerts : public SelectionAlerts {
public:
    void ErrorAlert(const char* utf8) override { ShowErrorAlert(utf8); }
    void MessageAlert(const char* utf8) override { ShowMessageAlert(utf8); }
};

template <class... Args>
std::string Format(std::size_t bufferSize, const char* format, Args... args) {
    std::vector<char> buffer(bufferSize);
    std::snprintf(buffer.data(), buffer.size(), format, args...);
    return buffer.data();
}

// A run that stops on an exception says so; with no memory left even the
// alert may fail, and then nothing more can be done.
void AlertUnexpectedError() noexcept {
    try {
        ShowErrorAlert(kMsgUnexpectedError);
    } catch (...) {
    }
}

// Every way out of a run leaves no table and no snapshot behind.
struct RunCleanup {
    RunCleanup() = default;
    RunCleanup(const RunCleanup&) = delete;
    RunCleanup& operator=(const RunCleanup&) = delete;
    ~RunCleanup() {
        free_mesh();
        FreeLayerSnapshot();
    }
};

AILayerHandle NextPreorder(AILayerHandle layer) {
    AILayerHandle next = nullptr;
    sAILayer->GetNextPreorderLayer(layer, &next);
    return next;
}

AILayerHandle FirstLayer() {
    AILayerHandle layer = nullptr;
    sAILayer->GetFirstLayer(&layer);
    return layer;
}

// The page, in thousandths of a point for the exact fit test and in
// millimetres for the messages.
struct Page {
    int32_t width1000 = 0;
    int32_t height1000 = 0;
    double widthMm = 0;
    double heightMm = 0;
    double limitWidthMm = 0;
    double limitHeightMm = 0;
};

// Truncated; exact, since a float times 1000 fits a double.
int32_t Thousandths(float points) {
    return static_cast<int32_t>(static_cast<double>(points) * 1000.0);
}

Page PageOf(const AIDocumentSetup& setup) {
    Page page;
    page.width1000 = Thousandths(setup.width);
    page.height1000 = Thousandths(setup.height);
    page.widthMm = page.width1000 / 1000.0 * 25.4 / 72.0;
    page.heightMm = page.height1000 / 1000.0 * 25.4 / 72.0;
    page.limitWidthMm = page.widthMm * 0.5 + kLimitMarginMm;
    page.limitHeightMm = page.heightMm * 0.5 + kLimitMarginMm;
    return page;
}

// The front document as File > New leaves it: one layer, empty, editable,
// visible. A sublayer is refused too: the target's tree must become exactly
// the first tile's, layer for layer.
bool IsFreshTarget() {
    int32_t count = 0;
    sAILayer->CountLayers(&count);
    if (count != 1)
        return false;
    const AILayerHandle layer = FirstLayer();
    if (layer == nullptr)
        return false;
    AIBoolean hasArt = true;
    sAILayer->LayerHasArt(layer, &hasArt);
    if (hasArt)
        return false;
    AIBoolean editable = false;
    sAILayer->GetLayerEditable(layer, &editable);
    if (!editable)
        return false;
    AIBoolean visible = false;
    sAILayer->GetLayerVisible(layer, &visible);
    if (!visible)
        return false;
    AILayerHandle child = nullptr;
    sAILayer->GetLayerFirstChild(layer, &child);
    return child == nullptr;
}

enum class FolderChoice { Chosen, Again, End };

// Steps of the folder chooser; on End the run is over (the alert is shown).
FolderChoice ChooseTileFolder(TileFolder& folder) {
    ai::FilePath chosen;
    const ai::UnicodeString title(kFolderDialogTitle);
    std::string path;
    AIErr error = sAIUser->GetDirectoryDialog(title.get(), chosen.get());
    if (error == kNoErr) {
        try {
            path = chosen.GetDirectory().GetFullPath().as_UTF8();
        } catch (const ai::Error& e) {
            error = e.GetErr();
        }
    }
    if (error != kNoErr) {
        if (error == kCanceledErr)
            ShowErrorAlert(kMsgChooseFolder);
        return FolderChoice::End;
    }
    // A cut path would scan, and open tiles of, some other folder.
    if (!CopyTileFolder(path, folder)) {
        ShowErrorAlert(kMsgFolderTooLong);
        return FolderChoice::Again;
    }
    return FolderChoice::Chosen;
}

bool NoTileFound() {
    return nMatQuaCount == 0 && nMaterialCount == 0 && nMat1stCount == 0 && nTokyo23Count == 0;
}

// What the user confirmed: the kind, the grid box and the merged size.
struct Selection {
    MeshKind kind = MeshKind::Material;
    MeshBox box;
};

enum class SelectionOutcome {
    Accepted,  // tiles chosen and the size confirmed
    Empty,     // the dialog was closed with nothing chosen
    Back,      // cancelled: choose the folder again
    End,       // the run is over
};

// The dialog and the size confirmation, until the user settles.
SelectionOutcome SelectTiles(const Page& page, Selection& selection) {
    HostSelectionAlerts alerts;
    for (;;) {
        std::unique_ptr<SelectionDialog> dialog = MakeSelectionDialog(alerts);
        dialog->SetLineCheckBox(bFlgCheckBox1);
        dialog->SetFaceCheckBox(bFlgCheckBox2);
        if (!SetTableDialog()) {
            free_mesh();
            dialog->Close();
            dialog.reset();
            ShowErrorAlert(kMsgUnexpectedError);
            return SelectionOutcome::End;
        }
        const DialogResult result = dialog->RunModal();
        // A dialog stopped without an answer leaves the boxes as they were.
        if (result == DialogResult::OK || result == DialogResult::Cancel) {
            bFlgCheckBox1 = dialog->GetLineCheckBox();
            bFlgCheckBox2 = dialog->GetFaceCheckBox();
        }
        dialog->Close();
        dialog.reset();

        switch (result) {
        case DialogResult::Failed:
            free_mesh();
            ShowErrorAlert(kMsgUnexpectedError);
            return SelectionOutcome::End;
        case DialogResult::Cancel:
            ResetMeshSelection();
            return SelectionOutcome::Back;
        case DialogResult::OK:
        case DialogResult::Closed:
            break;
        }

        const std::optional<MeshKind> kind = SelectedMeshKind();
        if (!kind || nSelectCount == 0)
            return SelectionOutcome::Empty;
        selection.kind = *kind;
        const std::vector<MeshEntry> entries = SelectedMeshEntries();
        selection.box = MeshBounds(*kind, entries);
        const MeshSize merged = MeshMergedSize(*kind, nSelScale, selection.box);

        if (merged.widthMm > page.limitWidthMm || merged.heightMm > page.limitHeightMm) {
            ShowMessageAlert(
                Format(kSizeMessageBufferSize, kMsgBeyondLimit, merged.widthMm, merged.heightMm).c_str());
        } else if (page.width1000 >= Thousandths(merged.widthPt) &&
                   page.height1000 >= Thousandths(merged.heightPt)) {
            ShowMessageAlert(
                Format(kSizeMessageBufferSize, kMsgMergedSize, merged.widthMm, merged.heightMm).c_str());
            return SelectionOutcome::Accepted;
        } else {
            const std::string question = Format(kSizeMessageBufferSize, kMsgLargerThanPage, page.widthMm,
                                                page.heightMm, merged.widthMm, merged.heightMm);
            if (AskYesNo(question.c_str()) == kAIYesAnswer)
                return SelectionOutcome::Accepted;
        }
        // A dialog stopped without an answer (its input has ended) would be
        // stopped again at once, and the same size refused for ever.
        if (result == DialogResult::Closed) {
            free_mesh();
            return SelectionOutcome::End;
        }
        free_mesh_table();
    }
}

void SwitchOnPasteRemembersLayers() {
    const ActionParams params;
    const ai::UnicodeString name(kPasteRemembersLayersName);
    sAIActionManager->AIActionSetInteger(params.get(), kKeyMenuId, kPasteRemembersLayersCommand);
    sAIActionManager->AIActionSetStringUS(params.get(), kKeyName, name.get());
    sAIActionManager->AIActionSetBoolean(params.get(), kKeyToggle, true);
    PlayAction(kLayersPanelEvent, kDialogNone, params);
}

bool PathExists(const std::string& path) {
    try {
        return ai::FilePath(ai::UnicodeString(path)).Exists();
    } catch (const ai::Error&) {
        return false;
    }
}

// Opens the tile at path; null when it does not open. The folder listed the
// tile whatever the case of its extension, but a case-sensitive file system
// finds it only under the spelling it was saved with; name and path follow
// the spelling found.
AIDocumentHandle OpenTile(std::string& path, std::string& name) {
    bool exists = PathExists(path);
    if (!exists && path.size() >= 2 && name.size() >= 2) {
        for (const char* extension : {"AI", "Ai", "aI"}) {
            std::string other = path;
            other.replace(other.size() - 2, 2, extension);
            if (PathExists(other)) {
                path = other;
                name.replace(name.size() - 2, 2, extension);
                exists = true;
                break;
            }
        }
    }
    const ai::FilePath file{ai::UnicodeString(path)};
    AIDocumentHandle document = nullptr;
    sAIDocumentList->Open(file.get(), kDocUnknownColor, exists ? kDialogNoneAndNotify : kDialogOn, false,
                          &document);
    return document;
}

// A tile open for copying. However its placement ends, an exception too, it
// is closed without keeping its changes.
class OpenedTile {
public:
    explicit OpenedTile(AIDocumentHandle document) : fDocument(document) {}
    OpenedTile(const OpenedTile&) = delete;
    OpenedTile& operator=(const OpenedTile&) = delete;
    ~OpenedTile() { CloseUnchanged(); }

    AIDocumentHandle get() const { return fDocument; }

    // Brings the tile back to its state as opened, then closes it.
    void CloseUnchanged() {
        if (fDocument == nullptr)
            return;
        sAIDocumentList->Activate(fDocument, true);
        sAIUndo->SetSilent(true);
        sAIUndo->UndoChanges();
        sAIDocument->SetDocumentModified(false);
        Close();
    }

    void Close() {
        if (fDocument != nullptr)
            sAIDocumentList->Close(fDocument);
        fDocument = nullptr;
    }

private:
    AIDocumentHandle fDocument;
};

struct Placement {
    bool firstIsTokyo23 = false;
    bool firstIsMaterial = false;
    bool tileSizeKnown = false;  // false when no row was gone through
    float tileWidth = 0;
    float tileHeight = 0;
};

// Opens every chosen tile and copies its art into the target.
Placement PlaceTiles(KTRPluginSelectMergePlugin& plugin, AIDocumentHandle target, const TileFolder& folder,
                     const Selection& selection) {
    Placement placement;
    int32_t openedCount = 0;
    const std::vector<MeshEntry> rows = SelectedMeshEntries();
    for (const MeshEntry& row : rows) {
        std::string name = FormatTileFileName(selection.kind, row.mesh, row.area, row.scale);
        std::string path = FormatTilePath(folder.data(), selection.kind, row.mesh, row.area, row.scale);
        const MeshOffset offset =
            MeshTileOffset(selection.kind, MeshGridCode(selection.kind, row), selection.box);
        const MeshSize tile = MeshTileSize(selection.kind, row.scale);
        placement.tileWidth = tile.widthPt;
        placement.tileHeight = tile.heightPt;
        placement.tileSizeKnown = true;

        OpenedTile opened(OpenTile(path, name));
        const AIDocumentHandle document = opened.get();
        if (document == nullptr) {
            ShowErrorAlert(Format(kTileMessageBufferSize, kMsgTileNotOpened, name.c_str()).c_str());
            continue;
        }

        if (openedCount == 0) {
            placement.firstIsTokyo23 = plugin.check_tokyo23_layer();
            placement.firstIsMaterial = plugin.check_material_layer();
            plugin.read_first_ai_layer();
            sAIDocumentList->Activate(target, true);
            if (placement.firstIsTokyo23)
                plugin.make_tokyo23_layer();
            else
                plugin.write_ai_layer();
            sAIDocumentList->Activate(document, true);
        }
        ++openedCount;

        if (plugin.check_second_ai_layer()) {
            plugin.CopyObjectMain(document, target, placement.tileWidth, placement.tileHeight, offset.k, offset.j,
                                  placement.firstIsTokyo23, placement.firstIsMaterial);
            opened.CloseUnchanged();
        } else {
            opened.Close();
            ShowErrorAlert(Format(kTileMessageBufferSize, kMsgTileSkipped, name.c_str()).c_str());
        }
    }
    return placement;
}

// The joins of one layer without sublayers.
void JoinSeamsOfLayer(KTRPluginSelectMergePlugin& plugin, AIMenuMessage* message, AILayerHandle layer,
                      const std::string& title, const Placement& placement, const Selection& selection) {
    const int32_t lastColumn = selection.box.columns - 1;
    const int32_t lastRow = selection.box.rows - 1;
    if (bFlgCheckBox1)
        plugin.LineConnect(message, layer, placement.tileWidth, placement.tileHeight, lastColumn, lastRow);
    // Background roads overlap by design; compounding them would fill the
    // gaps between them.
    if (bFlgCheckBox2 && !(bSelectTokyo23 && title == kNoJoinFaceTitle)) {
        plugin.CompoundShape(message, layer, placement.tileWidth, placement.tileHeight, lastColumn, lastRow);
        plugin.CompoundPolyline(message, layer, placement.tileWidth, placement.tileHeight, lastColumn, lastRow);
    }
    plugin.AboveAllPolygon(layer);
}

void JoinSeams(KTRPluginSelectMergePlugin& plugin, AIMenuMessage* message, const Placement& placement,
               const Selection& selection) {
    // One tile has no seams; and with no row gone through there is no tile
    // size to find seams by.
    if (nSelectAICount == 1 || !placement.tileSizeKnown)
        return;
    for (AILayerHandle layer = FirstLayer(); layer != nullptr; layer = NextPreorder(layer)) {
        AILayerHandle child = nullptr;
        sAILayer->GetLayerFirstChild(layer, &child);
        std::string title;
        ReadLayerTitle(layer, title);
        if (child == nullptr)
            JoinSeamsOfLayer(plugin, message, layer, title, placement, selection);
    }
}

// Titles from the top-level layer down to the layer itself.
using TitlePath = std::vector<std::string>;

struct TargetLayer {
    AILayerHandle layer = nullptr;
    TitlePath path;
};

std::vector<TargetLayer> ReadTargetLayers() {
    std::vector<TargetLayer> layers;
    for (AILayerHandle layer = FirstLayer(); layer != nullptr; layer = NextPreorder(layer)) {
        TargetLayer entry{layer, {}};
        for (AILayerHandle up = layer; up != nullptr;) {
            std::string title;
            ReadLayerTitle(up, title);
            entry.path.insert(entry.path.begin(), std::move(title));
            AILayerHandle parent = nullptr;
            sAILayer->GetLayerParent(up, &parent);
            up = parent;
        }
        layers.push_back(std::move(entry));
    }
    return layers;
}

std::vector<TitlePath> SnapshotPaths() {
    std::vector<TitlePath> paths;
    TitlePath path;
    for (int32_t i = 0; layerFirstAI != nullptr && i < nMaxLayer; ++i) {
        const LayerRecord& record = layerFirstAI[i];
        path.resize(std::min(path.size(), static_cast<std::size_t>(std::max(record.depth, 0))));
        path.emplace_back(record.title);
        paths.push_back(path);
    }
    return paths;
}

// The snapshot record of each target layer, null for none. By position while
// the two trees are the same; else by title path, so that a layer the host
// made on its own does not shift every option below it onto the wrong layer
// (the n-th layer of a path takes the n-th record of that path).
std::vector<const LayerRecord*> PairWithSnapshot(const std::vector<TargetLayer>& targets) {
    const std::vector<TitlePath> paths = SnapshotPaths();
    std::vector<const LayerRecord*> pairs(targets.size(), nullptr);
    bool same = targets.size() == paths.size();
    for (std::size_t i = 0; same && i < targets.size(); ++i)
        same = targets[i].path == paths[i];
    if (same) {
        for (std::size_t i = 0; i < targets.size(); ++i)
            pairs[i] = &layerFirstAI[i];
        return pairs;
    }
    std::map<TitlePath, std::vector<std::size_t>> recordsOf;
    for (std::size_t r = 0; r < paths.size(); ++r)
        recordsOf[paths[r]].push_back(r);
    std::map<TitlePath, std::size_t> taken;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const auto found = recordsOf.find(targets[i].path);
        if (found == recordsOf.end())
            continue;
        const std::size_t n = taken[targets[i].path]++;
        if (n < found->second.size())
            pairs[i] = &layerFirstAI[found->second[n]];
    }
    return pairs;
}

// The first tile's layer options, and the Tokyo-23 touches.
void RestoreLayerOptions(bool firstIsTokyo23) {
    // The road names take their title back first: with it the target's tree
    // is the first tile's again.
    if (firstIsTokyo23) {
        for (AILayerHandle layer = FirstLayer(); layer != nullptr; layer = NextPreorder(layer)) {
            std::string title;
            if (ReadLayerTitle(layer, title) && title == tokyo23RoadNotesTitle)
                SetLayerTitleUTF8(layer, kRoadTitle);
        }
    }
    const std::vector<TargetLayer> targets = ReadTargetLayers();
    const std::vector<const LayerRecord*> records = PairWithSnapshot(targets);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const AILayerHandle layer = targets[i].layer;
        if (const LayerRecord* record = records[i]) {
            sAILayer->SetLayerDimPlacedImages(layer, record->dimPlacedImages);
            sAILayer->SetLayerPreview(layer, record->preview);
            sAILayer->SetLayerPrinted(layer, record->printed);
            sAILayer->SetLayerIsTemplate(layer, record->isTemplate);
            sAILayer->SetLayerVisible(layer, record->visible);
            sAILayer->SetLayerEditable(layer, record->editable);
        }
        const std::string& title = targets[i].path.back();
        if (firstIsTokyo23 && (title == kScaleBarTitle || title == kNorthArrowTitle))
            sAILayer->SetLayerVisible(layer, false);
    }
}

void Finish(bool firstIsTokyo23) {
    RestoreLayerOptions(firstIsTokyo23);
    FreeLayerSnapshot();
    sAIUndo->PurgeAllUndos();
    sAIDocument->SetDocumentModified(false);
    if (const AILayerHandle first = FirstLayer())
        sAILayer->SetCurrentLayer(first);
    ShowMessageAlert(kMsgDone);
}

AIErr Run(KTRPluginSelectMergePlugin& plugin, AIMenuMessage* message) {
    ResetMeshState();
    FreeLayerSnapshot();

    AIDocumentHandle target = nullptr;
    if (sAIDocument->GetDocument(&target) != kNoErr || target == nullptr) {
        ShowErrorAlert(kMsgNoDocument);
        return kNoErr;
    }
    AIDocumentSetup setup{};
    sAIDocument->GetDocumentSetup(&setup);
    if (!IsFreshTarget()) {
        ShowErrorAlert(kMsgTargetNotFresh);
        return kNoErr;
    }
    const Page page = PageOf(setup);

    TileFolder folder{};
    Selection selection;
    SelectionOutcome outcome = SelectionOutcome::End;
    for (;;) {
        const FolderChoice choice = ChooseTileFolder(folder);
        if (choice == FolderChoice::Again)
            continue;
        if (choice == FolderChoice::End) {
            free_mesh();
            return kNoErr;
        }
        if (ScanTileFolder(folder.data()) != ScanResult::Done) {
            free_mesh();
            return kNoErr;
        }
        if (NoTileFound()) {
            free_mesh();
            ShowErrorAlert(kMsgNoTileFound);
            return kNoErr;
        }
        outcome = SelectTiles(page, selection);
        if (outcome != SelectionOutcome::Back)
            break;
    }
    if (outcome == SelectionOutcome::End)
        return kNoErr;

    // Closed with nothing chosen: nothing to place and no tile size to join
    // seams by, so only the finish is left.
    if (outcome == SelectionOutcome::Empty) {
        free_mesh();
        Finish(false);
        return kNoErr;
    }

    SwitchOnPasteRemembersLayers();
    Placement placement;
    try {
        placement = PlaceTiles(plugin, target, folder, selection);
    } catch (const std::exception&) {
        // The open tile is closed unchanged and every tile placed so far is
        // whole in the target; the run cannot go on, and says so.
        free_mesh();
        sAIDocumentList->Activate(target, true);
        AlertUnexpectedError();
        return kNoErr;
    }
    free_mesh();
    sAIDocumentList->Activate(target, true);
    JoinSeams(plugin, message, placement, selection);
    Finish(placement.firstIsTokyo23);
    return kNoErr;
}

}  // namespace

void SetSelectionDialogFactory(SelectionDialogFactory factory) {
    DialogFactory() = std::move(factory);
}

AIErr KTRPluginSelectMergePlugin::KTRPluginSelectMergeMain(AIMenuMessage* message) {
    const RunCleanup cleanup;
    try {
        return Run(*this, message);
    } catch (const ai::Error& e) {
        AlertUnexpectedError();
        return e.GetErr();
    } catch (const std::bad_alloc&) {
        AlertUnexpectedError();
        return kOutOfMemoryErr;
    }
}
