// The user's side of the host: alerts, the yes/no question and the folder chooser. The console
// implementation talks to a person at a terminal or reads answers from a pipe or file (standard
// input, shared in order with the plug-ins' own text dialogs); tests may queue answers instead.
// Every alert is also written to standard output as one line naming its kind and text.
#pragma once

#include <optional>
#include <string>

namespace quiltor::host {

enum class AlertKind { Error, Message, Question };

class UserInterface {
public:
    virtual ~UserInterface() = default;

    virtual void errorAlert(const std::string& text) = 0;
    virtual void messageAlert(const std::string& text) = 0;
    // 0 no, 1 yes, 2 cancel.
    virtual int yesNoAlert(const std::string& text) = 0;
    // The chosen folder, or nullopt when cancelled.
    virtual std::optional<std::string> chooseFolder(const std::string& title) = 0;
};

}  // namespace quiltor::host
