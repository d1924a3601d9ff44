#include "ui/Transcript.h"

namespace quiltor::host {

std::string EscapeTranscriptText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    return out;
}

std::string TranscriptLine(AlertKind kind, std::string_view text) {
    const char* label = kind == AlertKind::Error ? "ERROR: " : kind == AlertKind::Message ? "MESSAGE: " : "QUESTION: ";
    return label + EscapeTranscriptText(text);
}

const char* AnswerWord(int answer) {
    switch (answer) {
    case 0: return "no";
    case 1: return "yes";
    default: return "cancel";
    }
}

std::string QuestionTranscriptLine(std::string_view text, int answer) {
    return TranscriptLine(AlertKind::Question, text) + " -> " + AnswerWord(answer);
}

std::string FolderTranscriptLine(std::string_view title, const std::optional<std::string>& folder) {
    return "FOLDER: " + EscapeTranscriptText(title) + " -> " + (folder ? EscapeTranscriptText(*folder) : "cancel");
}

}  // namespace quiltor::host
