// Small host helpers shared by the parts of the merge run: alerts, action
// events and layer titles, each one call through the acquired suites.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "AIHost.h"

// Alerts of the run; texts are in the literal encoding (LiteralEncoding.h).
void ShowErrorAlert(const char* text);
void ShowMessageAlert(const char* text);
// kAINoAnswer, kAIYesAnswer or kAICancelAnswer; cancel when the host fails.
int32_t AskYesNo(const char* text);

// An action parameter block, given back to the host on every path.
class ActionParams {
public:
    ActionParams();
    ~ActionParams();
    ActionParams(const ActionParams&) = delete;
    ActionParams& operator=(const ActionParams&) = delete;

    AIActionParamValueRef get() const { return fParams; }

private:
    AIActionParamValueRef fParams = nullptr;
};

// Event names go through a platform buffer of this size before they are played.
inline constexpr std::size_t kEventNameBufferSize = 260;

// Plays the event on the current document; the name goes through the
// platform buffer first. The result is the host's.
AIErr PlayAction(const char* eventName, int32_t dialogStatus, const ActionParams& params);

// An event made ready to play: its name in the platform buffer and its own
// parameter block. Making one may throw, playing it does not, so events made
// beforehand are played to the end or not at all.
class PreparedAction {
public:
    PreparedAction(const char* eventName, int32_t dialogStatus);

    AIActionParamValueRef params() const { return fParams.get(); }
    // The host's result.
    AIErr Play() const;

private:
    char fName[kEventNameBufferSize] = {};
    int32_t fDialogStatus;
    ActionParams fParams;
};

// The current document's top layer, and the layer after this one in preorder
// (a layer, its sublayers top to bottom, then the next layer); null for none.
AILayerHandle FirstLayer();
AILayerHandle NextPreorder(AILayerHandle layer);

// The layer's whole title, in the literal encoding: a cut title could be taken for another
// layer's, or name a layer the target does not have. False, with an empty
// title, when the host cannot give it.
bool ReadLayerTitle(AILayerHandle layer, std::string& title);
// Titles the layer from text in the literal encoding.
void SetLayerTitle(AILayerHandle layer, const char* title);
