// The folder and tile choice of a merge run, with the confirmation of the
// merged size against the page.
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "IAIFilePath.h"
#include "IAIUnicodeString.h"
#include "LiteralEncoding.h"
#include "MergeRunSteps.h"
#include "SelectMergeHost.h"
#include "SelectMergeRun.h"
#include "Suites.h"
#include "core/MeshGrid.h"
#include "core/SelectionDialog.h"
#include "core/SelectionTable.h"

namespace mergerun {

namespace {

constexpr char kFolderDialogTitle[] = "Quiltor セレクトマージ - フォルダ選択";

constexpr char kMsgChooseFolder[] =
    "Quiltor セレクトマージに対応した Adobe Illustrator ArtWork があるフォルダの選択を行って下さい。";
#ifdef _WIN32
// Half-width katakana and ASCII punctuation, as the Windows build has always shown them; the
// blank before 合成後 is the full-width space.
constexpr char kMsgBeyondLimit[] = "描画エリアを超える範囲の合成は出来ません。\n%.3f×%.3f[mm]";
constexpr char kMsgMergedSize[] = "合成後のｻｲｽﾞは下記になります。\n%.3f×%.3f[mm]";
constexpr char kMsgLargerThanPage[] =
    "ｱｰﾄﾎﾞｰﾄﾞよりも大きいですが合成しますか?\nｱｰﾄﾎﾞｰﾄﾞ: %.3f×%.3f[mm]\n　合成後: %.3f×%.3f[mm]";
#else
constexpr char kMsgBeyondLimit[] = "描画範囲を超える範囲の合成は出来ません。\n%.3f×%.3f[mm]";
constexpr char kMsgMergedSize[] = "合成後のサイズは下記になります。\n%.3f×%.3f[mm]";
constexpr char kMsgLargerThanPage[] =
    "アートボードよりも大きいですが合成しますか？\nアートボード： %.3f×%.3f[mm]\n合成後： %.3f×%.3f[mm]";
#endif

constexpr std::size_t kSizeMessageBufferSize = 512;

// A merged map may overhang the page by this much on each side.
constexpr double kLimitMarginMm = 2889.775;

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
    void ErrorAlert(const char* text) override { ShowErrorAlert(text); }
    void MessageAlert(const char* text) override { ShowMessageAlert(text); }
};

// Truncated; exact, since a float times 1000 fits a double.
int32_t Thousandths(float points) { return static_cast<int32_t>(static_cast<double>(points) * 1000.0); }

}  // namespace

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

FolderChoice ChooseTileFolder(TileFolder& folder) {
    ai::FilePath chosen;
    const ai::UnicodeString title(kFolderDialogTitle, kLiteralEncoding);
    std::string path;
    AIErr error = sAIUser->GetDirectoryDialog(title.get(), chosen.get());
    if (error == kNoErr) {
        try {
            path = chosen.GetDirectory().GetFullPath().as_Encoded(kLiteralEncoding);
        } catch (const ai::Error& e) {
            error = e.GetErr();
        }
    }
    if (error != kNoErr) {
        // A chooser the host could not show, or a path it could not give, is no choice either.
        ShowErrorAlert(error == kCanceledErr ? kMsgChooseFolder : kMsgUnexpectedError);
        return FolderChoice::End;
    }
    // A cut path would scan, and open tiles of, some other folder.
    if (!CopyTileFolder(path, folder)) {
        ShowErrorAlert(kMsgFolderTooLong);
        return FolderChoice::Again;
    }
    return FolderChoice::Chosen;
}

bool NoTileFound() { return nMatQuaCount == 0 && nMaterialCount == 0 && nMat1stCount == 0 && nTokyo23Count == 0; }

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
        case DialogResult::Cancel: ResetMeshSelection(); return SelectionOutcome::Back;
        case DialogResult::OK:
        case DialogResult::Closed: break;
        }

        const std::optional<MeshKind> kind = SelectedMeshKind();
        if (!kind || nSelectCount == 0) return SelectionOutcome::Empty;
        selection.kind = *kind;
        const std::vector<MeshEntry> entries = SelectedMeshEntries();
        selection.box = MeshBounds(*kind, entries);
        const MeshSize merged = MeshMergedSize(*kind, nSelScale, selection.box);

        if (merged.widthMm > page.limitWidthMm || merged.heightMm > page.limitHeightMm) {
            ShowMessageAlert(Format(kSizeMessageBufferSize, kMsgBeyondLimit, merged.widthMm, merged.heightMm).c_str());
        } else if (page.width1000 >= Thousandths(merged.widthPt) && page.height1000 >= Thousandths(merged.heightPt)) {
            ShowMessageAlert(Format(kSizeMessageBufferSize, kMsgMergedSize, merged.widthMm, merged.heightMm).c_str());
            return SelectionOutcome::Accepted;
        } else {
            const std::string question = Format(kSizeMessageBufferSize, kMsgLargerThanPage, page.widthMm, page.heightMm,
                                                merged.widthMm, merged.heightMm);
            if (AskYesNo(question.c_str()) == kAIYesAnswer) return SelectionOutcome::Accepted;
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

}  // namespace mergerun

void SetSelectionDialogFactory(SelectionDialogFactory factory) { mergerun::DialogFactory() = std::move(factory); }
