// The one-line record of each alert on standard output, so a run can be read back and tested:
//   ERROR: text    MESSAGE: text    QUESTION: text -> yes|no|cancel    FOLDER: title -> path|cancel
// Line breaks inside a text are written as \n (and \r, \\ likewise), so one alert is one line.
#pragma once

#include <string>
#include <string_view>

#include "ui/UserInterface.h"

namespace quiltor::host {

std::string EscapeTranscriptText(std::string_view text);
std::string TranscriptLine(AlertKind kind, std::string_view text);
std::string QuestionTranscriptLine(std::string_view text, int answer);
std::string FolderTranscriptLine(std::string_view title, const std::optional<std::string>& folder);
const char* AnswerWord(int answer);  // "no", "yes", "cancel"

}  // namespace quiltor::host
