// The map-range adjust run: the art of the map layers below the clip layer is cut to the closed
// path the user selected on it. Lines are trimmed and kept whole or dropped, filled areas are
// cut with the host's pathfinder on a work layer, annotation objects are never cut.
#include "KTRPluginAdjustPlugin.h"

#include <cstddef>
#include <vector>

#include "AdjustArt.h"
#include "AdjustPasses.h"
#include "ArtQueries.h"
#include "IAIError.h"
#include "IAIUnicodeString.h"
#include "LiteralEncoding.h"
#include "Suites.h"
#include "core/OutlineArea.h"

namespace {

constexpr const char* kNoDocumentText = "地図範囲を調整するドキュメントを開いて下さい。";
constexpr const char* kNoClipLayerText =
    "Plateo.aiのレイヤの上に地図範囲の調整に使用する図形を含んだレイヤを設置して下さい。";
constexpr const char* kClipLayerCountText = "クリップ範囲を設定するレイヤは、一つのオブジェクトのみにして下さい。";
constexpr const char* kNothingSelectedText = "地図範囲の調整に使用するオブジェクトを一つ選択して下さい。";
constexpr const char* kTooManySelectedText = "地図範囲の調整に使用するオブジェクトは一つだけ選択して下さい。";
constexpr const char* kNotPlainPathText =
    "地図範囲の調整に使用するオブジェクトは複合パスやグループ化されていないパスアートを選択して下さい。";
constexpr const char* kNotClosedText = "地図範囲の調整に使用するオブジェクトは閉じているパスアートを選択して下さい。";
constexpr const char* kNoAreaText =
    "地図範囲の調整に使用するオブジェクトは面積のある閉じたパスアートを選択して下さい。";
constexpr const char* kUnexpectedText = "予期しないエラーが発生しました。";
constexpr const char* kDoneText = "作業が完了しました。";

// Alerts reach the host through a platform buffer of this size.
constexpr std::size_t kAlertBufferSize = 260;

void Alert(bool error, const char* text) {
    try {
        char buffer[kAlertBufferSize];
        ai::UnicodeString(text, kLiteralEncoding).getToBuffer(buffer, sizeof buffer, kLiteralEncoding);
        const ai::UnicodeString message(buffer, kLiteralEncoding);
        if (error)
            sAIUser->ErrorAlert(message.get());
        else
            sAIUser->MessageAlert(message.get());
    } catch (const ai::Error&) {}
}

// An outline the host cannot read counts as one without area: cut to it, the map would go whole.
bool HasArea(AIArtHandle path) {
    const int16_t count = SegmentCount(path);
    if (count < 1) return false;
    std::vector<AIPathSegment> segments(static_cast<std::size_t>(count));
    if (sAIPath->GetPathSegments(path, 0, count, segments.data()) != kNoErr) return false;
    std::vector<PathAnchor> anchors;
    for (const AIPathSegment& s : segments) anchors.push_back(adjust::ToAnchor(s));
    return OutlineArea(anchors) >= kMinOutlineArea;
}

}  // namespace

AIErr KTRPluginAdjustPlugin::KTRPluginAdjustMain(AIMenuMessage*) {
    AIDocumentHandle document = nullptr;
    if (sAIDocument->GetDocument(&document) != kNoErr || !document) {
        Alert(true, kNoDocumentText);
        return kNoErr;
    }
    AILayerHandle clipLayer = nullptr;
    AIBoolean hasSelection = false;
    if (sAILayer->GetFirstLayer(&clipLayer) != kNoErr || !clipLayer ||
        sAILayer->LayerHasSelectedArt(clipLayer, &hasSelection) != kNoErr || !hasSelection) {
        Alert(true, kNoClipLayerText);
        return kNoErr;
    }
    if (ArtSet(clipLayer).Count() != 2) {
        Alert(true, kClipLayerCountText);
        return kNoErr;
    }
    AIArtHandle path = nullptr;
    {
        ArtSet selected;
        selected.FillSelected();
        const int32_t count = selected.Count();
        if (count == 0) {
            Alert(true, kNothingSelectedText);
            return kNoErr;
        }
        if (count != 2) {
            Alert(true, kTooManySelectedText);
            return kNoErr;
        }
        path = selected.At(1);
    }
    if (!path || ArtType(path) != kPathArt) {
        Alert(true, kNotPlainPathText);
        return kNoErr;
    }
    if (!IsClosed(path)) {
        Alert(true, kNotClosedText);
        return kNoErr;
    }

    if (!HasArea(path)) {
        Alert(true, kNoAreaText);
        return kNoErr;
    }

    // Without the outline's bounds the first two passes would measure against a wrong box; the
    // clip alone still gives the range.
    Box outline;
    const bool haveBounds = adjust::Bounds(path, &outline);

    // The frame and the work layer are made before anything in the map changes: without them
    // nothing could be cut, and a run that had already deleted and trimmed would leave a map that
    // is neither.
    adjust::WorkArea work;
    AIArtStyleHandle outlineStyle = nullptr;
    if (sAIArtStyle->GetArtStyle(path, &outlineStyle) != kNoErr) outlineStyle = nullptr;
    AIArtHandle lineArt = CreateLineArt(path);
    if (lineArt && sAILayer->InsertLayer(nullptr, kPlaceAboveAll, &work.layer) != kNoErr) work.layer = nullptr;
    if (work.layer && sAIArt->GetFirstArtOfLayer(work.layer, &work.group) != kNoErr) work.group = nullptr;
    if (work.group) work.frame = adjust::FlattenFrame(clipLayer, lineArt);
    if (!work.frame) {
        if (lineArt) adjust::TakeBackFrame(clipLayer, path, outlineStyle);
        if (work.layer) sAILayer->DeleteLayer(work.layer);
        Alert(true, kUnexpectedText);
        return kNoErr;
    }

    if (haveBounds) {
        for (AILayerHandle layer : adjust::EligibleLayers(clipLayer, nullptr))
            adjust::DeleteOutside(layer, outline, CheckPlateoStringLayer(layer));
        for (AILayerHandle layer : adjust::EligibleLayers(clipLayer, nullptr)) {
            if (!CheckPlateoStringLayer(layer)) adjust::TrimLines(layer, outline);
        }
    }

    for (AILayerHandle layer : adjust::EligibleLayers(work.layer, clipLayer)) adjust::ClipLayer(*this, work, layer);

    sAILayer->DeleteLayer(work.layer);
    sAIArt->DisposeArt(work.frame);
    Alert(false, kDoneText);
    return kNoErr;
}
