#include "ui/ConsoleUserInterface.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>

#include "core/Paths.h"
#include "ui/Transcript.h"

namespace quiltor::host {

namespace {

std::string Trimmed(std::string_view s) {
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return std::string(s);
}

std::string AsciiLower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

}  // namespace

std::optional<int> ParseYesNoAnswer(std::string_view answer) {
    std::string word = AsciiLower(Trimmed(answer));
    if (word == "y" || word == "yes" || word == "はい") return 1;
    if (word == "n" || word == "no" || word == "いいえ") return 0;
    if (word == "c" || word == "cancel" || word == "キャンセル") return 2;
    return std::nullopt;
}

ConsoleUserInterface::ConsoleUserInterface(std::istream& in, std::ostream& transcript, std::ostream& prompt,
                                           bool interactive)
    : in_(in), transcript_(transcript), prompt_(prompt), interactive_(interactive) {}

std::unique_ptr<ConsoleUserInterface> ConsoleUserInterface::ForStandardStreams() {
    // std::cin stays synchronised with C stdio, so it reads no further than each line it returns
    // and the plug-ins' own dialogs, reading stdin, get the lines that follow.
    return std::make_unique<ConsoleUserInterface>(std::cin, std::cout, std::cerr, isatty(STDIN_FILENO) != 0);
}

std::optional<std::string> ConsoleUserInterface::readLine() {
    std::string line;
    if (!std::getline(in_, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

void ConsoleUserInterface::show(const char* heading, const std::string& text) {
    if (interactive_) prompt_ << "\n[" << heading << "]\n" << text << "\n" << std::flush;
}

void ConsoleUserInterface::record(const std::string& line) { transcript_ << line << '\n' << std::flush; }

void ConsoleUserInterface::errorAlert(const std::string& text) {
    show("Error", text);
    record(TranscriptLine(AlertKind::Error, text));
}

void ConsoleUserInterface::messageAlert(const std::string& text) {
    show("Message", text);
    record(TranscriptLine(AlertKind::Message, text));
}

int ConsoleUserInterface::yesNoAlert(const std::string& text) {
    show("Question", text);
    int answer = 2;
    for (;;) {
        if (interactive_) prompt_ << "yes / no / cancel? " << std::flush;
        auto line = readLine();
        if (!line) break;
        if (auto parsed = ParseYesNoAnswer(*line)) {
            answer = *parsed;
            break;
        }
        if (!interactive_) {
            prompt_ << "quiltor-host: answer \"" << *line << "\" is not yes, no or cancel; taken as cancel\n";
            break;
        }
        prompt_ << "Please answer yes, no or cancel.\n";
    }
    record(QuestionTranscriptLine(text, answer));
    return answer;
}

std::optional<std::string> ConsoleUserInterface::chooseFolder(const std::string& title) {
    namespace fs = std::filesystem;
    show("Choose a folder", title);
    std::optional<std::string> chosen;
    for (;;) {
        if (interactive_) prompt_ << "folder (empty line to cancel): " << std::flush;
        auto line = readLine();
        if (!line || line->empty()) break;
        std::error_code ec;
        // A folder chooser only offers folders that are there.
        const fs::path folder = PathFromUtf8(*line);
        if (fs::is_directory(folder, ec)) {
            fs::path absolute = fs::absolute(folder, ec);
            chosen = Utf8FromPath(ec ? folder : absolute.lexically_normal());
            if (chosen->size() > 1 && chosen->back() == '/') chosen->pop_back();
            break;
        }
        if (!interactive_) {
            prompt_ << "quiltor-host: \"" << *line << "\" is not a folder; taken as cancel\n";
            break;
        }
        prompt_ << "There is no folder \"" << *line << "\".\n";
    }
    record(FolderTranscriptLine(title, chosen));
    return chosen;
}

}  // namespace quiltor::host
