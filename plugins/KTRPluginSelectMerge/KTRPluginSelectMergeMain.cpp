// The merge run of "Quiltor セレクトマージ", step by step: the target checks,
// the folder and tile choice with the size confirmation, the placement of every
// chosen tile, the seam joins, and the layer options of the first tile restored
// at the end. The steps themselves are in the MergeRun files.
#include <exception>
#include <memory>
#include <new>
#include <utility>

#include "IAIError.h"
#include "KTRPluginSelectMergePlugin.h"
#include "LayerSnapshot.h"
#include "MergeRunSteps.h"
#include "SelectMergeHost.h"
#include "Suites.h"
#include "core/SelectionTable.h"

namespace mergerun {

namespace {

constexpr char kMsgNoDocument[] = "新規ドキュメントを作成してから、Quiltor セレクトマージを実行して下さい。";
constexpr char kMsgTargetNotFresh[] =
    "新規ドキュメントを作成した直後の状態で、Quiltor セレクトマージを実行して下さい。";
#ifdef _WIN32
constexpr char kMsgNoTileFound[] =
    "Quiltor セレクトマージに対応した Adobe Illustrator ArtWork が見つかりませんでした。";
#else
constexpr char kMsgNoTileFound[] =
    "Quiltor セレクトマージに対応した Adobe Illustrator Artwork が見つかりませんでした。";
#endif

// A run that stops on an exception says so; with no memory left even the
// alert may fail, and then nothing more can be done.
void AlertUnexpectedError() noexcept {
    try {
        ShowErrorAlert(kMsgUnexpectedError);
    } catch (...) {}
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
        if (choice == FolderChoice::Again) continue;
        if (choice == FolderChoice::End) {
            free_mesh();
            return kNoErr;
        }
        const ScanResult scanned = ScanTileFolder(folder.data());
#ifdef _WIN32
        // A folder Windows cannot open lists no tiles, and the user is told so below.
        const bool scanEnds = scanned == ScanResult::OutOfMemory;
#else
        const bool scanEnds = scanned != ScanResult::Done;
#endif
        if (scanEnds) {
            free_mesh();
            // Memory that ran out is a failure the user must hear of; a folder that
            // cannot be read ends as it always has.
            if (scanned == ScanResult::OutOfMemory) ShowErrorAlert(kMsgUnexpectedError);
            return kNoErr;
        }
        if (NoTileFound()) {
            free_mesh();
            ShowErrorAlert(kMsgNoTileFound);
            return kNoErr;
        }
        outcome = SelectTiles(page, selection);
        if (outcome != SelectionOutcome::Back) break;
    }
    if (outcome == SelectionOutcome::End) return kNoErr;

    // Closed with nothing chosen: nothing to place and no tile size to join
    // seams by, so only the finish is left.
    if (outcome == SelectionOutcome::Empty) {
        free_mesh();
        Finish(false);
        return kNoErr;
    }

    SwitchOnPasteRemembersLayers();
    // Shown from the placement to the end of the run.
    std::unique_ptr<MergeProgress> progress = ShowMergeProgress();
    Placement placement;
    try {
        placement = PlaceTiles(plugin, target, folder, selection, *progress);
    } catch (const std::exception&) {
        // The open tile is closed unchanged and every tile placed so far is
        // whole in the target; the run cannot go on, and says so.
        free_mesh();
        sAIDocumentList->Activate(target, true);
        progress.reset();
        AlertUnexpectedError();
        return kNoErr;
    }
    free_mesh();
    sAIDocumentList->Activate(target, true);
    JoinSeams(plugin, message, placement, selection, *progress);
    Finish(placement.firstIsTokyo23, std::move(progress));
    return kNoErr;
}

}  // namespace

}  // namespace mergerun

AIErr KTRPluginSelectMergePlugin::KTRPluginSelectMergeMain(AIMenuMessage* message) {
    const mergerun::RunCleanup cleanup;
    try {
        return mergerun::Run(*this, message);
    } catch (const ai::Error& e) {
        mergerun::AlertUnexpectedError();
        return e.GetErr();
    } catch (const std::bad_alloc&) {
        mergerun::AlertUnexpectedError();
        return kOutOfMemoryErr;
    }
}
