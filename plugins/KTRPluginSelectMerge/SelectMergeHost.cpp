#include "SelectMergeHost.h"

#include "IAIUnicodeString.h"
#include "LiteralEncoding.h"
#include "Suites.h"

void ShowErrorAlert(const char* text) {
    const ai::UnicodeString message(text, kLiteralEncoding);
    sAIUser->ErrorAlert(message.get());
}

void ShowMessageAlert(const char* text) {
    const ai::UnicodeString message(text, kLiteralEncoding);
    sAIUser->MessageAlert(message.get());
}

int32_t AskYesNo(const char* text) {
    const ai::UnicodeString message(text, kLiteralEncoding);
    int32_t answer = kAICancelAnswer;
    if (sAIUser->YesNoAlert(message.get(), &answer) != kNoErr) return kAICancelAnswer;
    return answer;
}

ActionParams::ActionParams() { sAIActionManager->AINewActionParamValue(&fParams); }

ActionParams::~ActionParams() {
    if (fParams != nullptr) sAIActionManager->AIDeleteActionParamValue(fParams);
}

AIErr PlayAction(const char* eventName, int32_t dialogStatus, const ActionParams& params) {
    char name[kEventNameBufferSize] = {};
    ai::UnicodeString(eventName, kLiteralEncoding).getToBuffer(name, sizeof name, kAIPlatformCharacterEncoding);
    return sAIActionManager->PlayActionEvent(name, dialogStatus, params.get());
}

PreparedAction::PreparedAction(const char* eventName, int32_t dialogStatus) : fDialogStatus(dialogStatus) {
    ai::UnicodeString(eventName, kLiteralEncoding).getToBuffer(fName, sizeof fName, kAIPlatformCharacterEncoding);
}

AIErr PreparedAction::Play() const { return sAIActionManager->PlayActionEvent(fName, fDialogStatus, fParams.get()); }

AILayerHandle FirstLayer() {
    AILayerHandle layer = nullptr;
    sAILayer->GetFirstLayer(&layer);
    return layer;
}

AILayerHandle NextPreorder(AILayerHandle layer) {
    AILayerHandle next = nullptr;
    sAILayer->GetNextPreorderLayer(layer, &next);
    return next;
}

bool ReadLayerTitle(AILayerHandle layer, std::string& title) {
    title.clear();
    ai::UnicodeString text;
    if (sAILayer->GetLayerTitle(layer, text.get()) != kNoErr) return false;
    // A UTF-16 unit never needs more than three bytes.
    title.resize(text.length() * 3 + 1);
    title.resize(text.getToBuffer(title.data(), title.size(), kLiteralEncoding));
    return true;
}

void SetLayerTitle(AILayerHandle layer, const char* title) {
    const ai::UnicodeString text(title, kLiteralEncoding);
    sAILayer->SetLayerTitle(layer, text.get());
}
