// The placement loop of a merge run: each chosen tile opened, checked against
// the first tile's layer tree, copied into the target and closed unchanged.
#include <string>
#include <vector>

#include "IAIFilePath.h"
#include "IAIUnicodeString.h"
#include "KTRPluginSelectMergePlugin.h"
#include "LiteralEncoding.h"
#include "MergeRunSteps.h"
#include "SelectMergeHost.h"
#include "Suites.h"
#include "core/MeshGrid.h"
#include "core/SelectionTable.h"

namespace mergerun {

namespace {

constexpr char kMsgTileSkipped[] = "レイヤー構成が異なるため読み飛ばします。\n%s";
constexpr char kMsgTileNotOpened[] = "ファイルを開けないため読み飛ばします。\n%s";
constexpr char kMsgTileNotPlaced[] = "配置に失敗したため読み飛ばします。\n%s";

constexpr std::size_t kTileMessageBufferSize = 1024;

constexpr char kPlacingCaption[] = "選択したAdobe Illustrator ArtWorkを配置中...";

// The Layers-panel option "paste remembers layers".
constexpr char kLayersPanelEvent[] = "ai_plugin_Layer";
constexpr int32_t kPasteRemembersLayersCommand = 11;
constexpr char kPasteRemembersLayersName[] = "コピー元のレイヤーにペースト";
constexpr AIActionParamKey kKeyMenuId = AI_ACTION_KEY('m', 'u', 'i', 'd');
constexpr AIActionParamKey kKeyName = AI_ACTION_KEY('n', 'a', 'm', 'e');
constexpr AIActionParamKey kKeyToggle = AI_ACTION_KEY('t', 'o', 'g', 'l');

bool PathExists(const std::string& path) {
    try {
        return ai::FilePath(ai::UnicodeString(path, kLiteralEncoding)).Exists();
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
    const ai::FilePath file{ai::UnicodeString(path, kLiteralEncoding)};
    AIDocumentHandle document = nullptr;
    sAIDocumentList->Open(file.get(), kDocUnknownColor, exists ? kDialogNoneAndNotify : kDialogOn, false, &document);
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
        if (fDocument == nullptr) return;
        // Undo acts on the current document: if the tile cannot be made current,
        // undoing would take the placed art out of the target. The tile's file
        // is never saved, so closing it as it is keeps it unchanged on disk.
        if (sAIDocumentList->Activate(fDocument, true) == kNoErr) {
            sAIUndo->SetSilent(true);
            sAIUndo->UndoChanges();
            sAIDocument->SetDocumentModified(false);
        }
        Close();
    }

    void Close() {
        if (fDocument != nullptr) sAIDocumentList->Close(fDocument);
        fDocument = nullptr;
    }

private:
    AIDocumentHandle fDocument;
};

}  // namespace

void SwitchOnPasteRemembersLayers() {
    const ActionParams params;
    const ai::UnicodeString name(kPasteRemembersLayersName, kLiteralEncoding);
    sAIActionManager->AIActionSetInteger(params.get(), kKeyMenuId, kPasteRemembersLayersCommand);
    sAIActionManager->AIActionSetStringUS(params.get(), kKeyName, name.get());
    sAIActionManager->AIActionSetBoolean(params.get(), kKeyToggle, true);
    PlayAction(kLayersPanelEvent, kDialogNone, params);
}

Placement PlaceTiles(KTRPluginSelectMergePlugin& plugin, AIDocumentHandle target, const TileFolder& folder,
                     const Selection& selection, MergeProgress& progress) {
    Placement placement;
    int32_t openedCount = 0;
    const std::vector<MeshEntry> rows = SelectedMeshEntries();
    progress.SetCaption(kPlacingCaption);
    progress.SetRange(static_cast<int32_t>(rows.size()) - 1);
    int32_t done = 0;
    for (const MeshEntry& row : rows) {
        // Also after a row that did not open or was skipped.
        struct Step {
            MergeProgress& progress;
            int32_t& done;
            ~Step() { progress.SetPosition(++done); }
        } step{progress, done};
        std::string name = FormatTileFileName(selection.kind, row.mesh, row.area, row.scale);
        std::string path = FormatTilePath(folder.data(), selection.kind, row.mesh, row.area, row.scale);
        const MeshOffset offset = MeshTileOffset(selection.kind, MeshGridCode(selection.kind, row), selection.box);
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
            const bool placed = plugin.CopyObjectMain(document, target, placement.tileWidth, placement.tileHeight,
                                                      offset.k, offset.j, placement.firstIsTokyo23,
                                                      placement.firstIsMaterial);
            opened.CloseUnchanged();
            if (!placed) ShowErrorAlert(Format(kTileMessageBufferSize, kMsgTileNotPlaced, name.c_str()).c_str());
        } else {
            opened.Close();
            ShowErrorAlert(Format(kTileMessageBufferSize, kMsgTileSkipped, name.c_str()).c_str());
        }
    }
    progress.SetPosition(static_cast<int32_t>(rows.size()));
    return placement;
}

}  // namespace mergerun
