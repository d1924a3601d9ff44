#include "ActionsFixture.h"

#include <sstream>

namespace mergehost {

using namespace quiltor::host;

ActionsTest::ActionsTest() {
    const void* suite = nullptr;
    EXPECT_EQ(BasicSuite()->AcquireSuite(kAIActionManagerSuite, kAIActionManagerSuiteVersion, &suite), kNoErr);
    actions = static_cast<const AIActionManagerSuite*>(suite);
}

Document& ActionsTest::NewDocument(const std::string& firstTitle) {
    NewDocumentOptions options;
    options.widthPt = 600;
    options.heightPt = 800;
    Document& document = *workspace().find(workspace().newDocument(options));
    document.setLayerTitle(document.firstLayer(), *DecodeUtf8(firstTitle));
    return document;
}

Layer* ActionsTest::AddLayer(Document& document, Layer* parent, const std::string& title) {
    Layer* layer =
        parent ? document.insertLayer(parent, kPlaceInsideOnBottom) : document.insertLayer(nullptr, kPlaceBelowAll);
    document.setLayerTitle(layer, *DecodeUtf8(title));
    return layer;
}

Art* ActionsTest::AddText(Document& document, Art* container, const std::string& text, AIRealPoint at) {
    Art* art = document.newArt(kTextFrameArt, Place{container, nullptr});
    art->text = *DecodeUtf8(text);
    art->position = at;
    return art;
}

Art* ActionsTest::AddGroup(Document& document, Art* container) {
    return document.newArt(kGroupArt, Place{container, nullptr});
}

Art* ActionsTest::AddPath(Document& document, Art* container, const std::vector<AIRealPoint>& anchors, bool closed) {
    Art* art = document.newArt(kPathArt, Place{container, nullptr});
    for (const AIRealPoint& p : anchors)
        art->segments.push_back(AIPathSegment{p, {p.h + 1, p.v + 2}, {p.h + 3, p.v + 4}, 0});
    art->closed = closed;
    return art;
}

AIErr ActionsTest::Play(const char* event, int32_t dialogStatus) {
    AIActionParamValueRef params = nullptr;
    actions->AINewActionParamValue(&params);
    const AIErr result = actions->PlayActionEvent(event, dialogStatus, params);
    actions->AIDeleteActionParamValue(params);
    return result;
}

AIErr ActionsTest::PlayMove(AIReal hozn, AIReal vtcl) {
    AIActionParamValueRef params = nullptr;
    actions->AINewActionParamValue(&params);
    actions->AIActionSetReal(params, AI_ACTION_KEY('h', 'o', 'z', 'n'), hozn);
    actions->AIActionSetReal(params, AI_ACTION_KEY('v', 't', 'c', 'l'), vtcl);
    const AIErr result = actions->PlayActionEvent("adobe_move", kDialogNoneAndNotify, params);
    actions->AIDeleteActionParamValue(params);
    return result;
}

AIErr ActionsTest::PlayLayersOption(bool on) {
    AIActionParamValueRef params = nullptr;
    actions->AINewActionParamValue(&params);
    actions->AIActionSetInteger(params, AI_ACTION_KEY('m', 'u', 'i', 'd'), 11);
    actions->AIActionSetBoolean(params, AI_ACTION_KEY('t', 'o', 'g', 'l'), on);
    const AIErr result = actions->PlayActionEvent("ai_plugin_Layer", kDialogNone, params);
    actions->AIDeleteActionParamValue(params);
    return result;
}

std::string TitleOf(const Layer* layer) { return EncodeUtf8(layer->title); }

std::string LayerPathOf(const Art* art) {
    std::string path;
    for (const Layer* layer = LayerOfArt(art); layer; layer = layer->parent)
        path = TitleOf(layer) + (path.empty() ? "" : "/" + path);
    return path;
}

std::vector<std::string> TextsIn(const Art* container) {
    std::vector<std::string> texts;
    for (const Art* a = container->firstChild; a; a = a->next)
        if (a->type == kTextFrameArt) texts.push_back(EncodeUtf8(a->text));
    return texts;
}

Layer* FindLayer(const Document& document, const std::string& path) {
    std::istringstream in(path);
    std::string title;
    Layer* list = document.firstLayer();
    Layer* found = nullptr;
    while (std::getline(in, title, '/')) {
        found = nullptr;
        for (Layer* l = list; l; l = l->next) {
            if (TitleOf(l) == title) {
                found = l;
                break;
            }
        }
        if (!found) return nullptr;
        list = found->firstChild;
    }
    return found;
}

std::vector<std::string> LayerPaths(const Document& document) {
    std::vector<std::string> paths;
    for (const Layer* layer = document.firstLayer(); layer; layer = NextLayerInPreorder(layer)) {
        std::string path;
        for (const Layer* l = layer; l; l = l->parent) path = TitleOf(l) + (path.empty() ? "" : "/" + path);
        paths.push_back(path);
    }
    return paths;
}

std::vector<std::string> SelectedTexts(const Document& document) {
    std::vector<std::string> texts;
    for (const Layer* layer = document.firstLayer(); layer; layer = NextLayerInPreorder(layer))
        for (const Art* a = layer->group->firstChild; a; a = NextInPreorder(a, layer->group))
            if (a->type == kTextFrameArt && (a->userAttr & kArtSelected)) texts.push_back(EncodeUtf8(a->text));
    return texts;
}

size_t SelectedCount(const Document& document) {
    size_t count = 0;
    for (const Layer* layer = document.firstLayer(); layer; layer = NextLayerInPreorder(layer))
        for (const Art* a = layer->group->firstChild; a; a = NextInPreorder(a, layer->group))
            count += (a->userAttr & kArtSelected) ? 1 : 0;
    return count;
}

}  // namespace mergehost
