// A user for in-process tests: answers come from queues, and every alert is remembered.
// An empty queue answers cancel, as the end of a script does.
#pragma once

#include <deque>
#include <vector>

#include "ui/UserInterface.h"

namespace quiltor::host {

class QueuedUserInterface : public UserInterface {
public:
    struct Alert {
        AlertKind kind;
        std::string text;
        int answer = -1;  // questions only
    };

    void queueAnswer(int answer) { answers_.push_back(answer); }
    void queueFolder(std::optional<std::string> folder) { folders_.push_back(std::move(folder)); }

    void errorAlert(const std::string& text) override;
    void messageAlert(const std::string& text) override;
    int yesNoAlert(const std::string& text) override;
    std::optional<std::string> chooseFolder(const std::string& title) override;

    const std::vector<Alert>& alerts() const { return alerts_; }
    const std::vector<std::string>& folderTitles() const { return folderTitles_; }
    // The alerts as transcript lines, the way the console writes them.
    std::vector<std::string> transcript() const;
    void clear();

private:
    std::deque<int> answers_;
    std::deque<std::optional<std::string>> folders_;
    std::vector<Alert> alerts_;
    std::vector<std::string> folderTitles_;
};

}  // namespace quiltor::host
