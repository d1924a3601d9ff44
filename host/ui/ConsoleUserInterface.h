// Alerts, questions and the folder chooser at a terminal or from a script.
// Answers are read one line each from the input, in order with whatever else reads it (the
// plug-ins' own text dialogs read the same standard input), and nothing is read ahead.
// Accepted answers: y/yes/はい, n/no/いいえ, c/cancel/キャンセル; a folder path, or an empty line to
// cancel. End of input answers cancel. Each alert is written to the transcript as one line.
#pragma once

#include <iosfwd>
#include <memory>

#include "ui/UserInterface.h"

namespace quiltor::host {

class ConsoleUserInterface : public UserInterface {
public:
    // interactive: a person answers, so texts are shown readably on prompt, and a question is asked
    // again after an answer it cannot use. A script's unusable answer counts as cancel.
    ConsoleUserInterface(std::istream& in, std::ostream& transcript, std::ostream& prompt, bool interactive);

    // Standard input, standard output and standard error; interactive when standard input is a terminal.
    static std::unique_ptr<ConsoleUserInterface> ForStandardStreams();

    void errorAlert(const std::string& text) override;
    void messageAlert(const std::string& text) override;
    int yesNoAlert(const std::string& text) override;
    std::optional<std::string> chooseFolder(const std::string& title) override;

private:
    std::optional<std::string> readLine();
    void show(const char* heading, const std::string& text);
    void record(const std::string& line);

    std::istream& in_;
    std::ostream& transcript_;
    std::ostream& prompt_;
    bool interactive_;
};

// Parses a typed answer; nullopt when it is not one.
std::optional<int> ParseYesNoAnswer(std::string_view answer);

}  // namespace quiltor::host
