#include "ui/QueuedUserInterface.h"

#include "AIHost.h"
#include "ui/Transcript.h"

namespace quiltor::host {

void QueuedUserInterface::errorAlert(const std::string& text) { alerts_.push_back({AlertKind::Error, text}); }

void QueuedUserInterface::messageAlert(const std::string& text) { alerts_.push_back({AlertKind::Message, text}); }

int QueuedUserInterface::yesNoAlert(const std::string& text) {
    int answer = kAICancelAnswer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    alerts_.push_back({AlertKind::Question, text, answer});
    return answer;
}

std::optional<std::string> QueuedUserInterface::chooseFolder(const std::string& title) {
    folderTitles_.push_back(title);
    if (folders_.empty()) return std::nullopt;
    auto folder = std::move(folders_.front());
    folders_.pop_front();
    return folder;
}

std::vector<std::string> QueuedUserInterface::transcript() const {
    std::vector<std::string> lines;
    for (const auto& a : alerts_)
        lines.push_back(a.kind == AlertKind::Question ? QuestionTranscriptLine(a.text, a.answer)
                                                      : TranscriptLine(a.kind, a.text));
    return lines;
}

void QueuedUserInterface::clear() {
    answers_.clear();
    folders_.clear();
    alerts_.clear();
    folderTitles_.clear();
}

}  // namespace quiltor::host
