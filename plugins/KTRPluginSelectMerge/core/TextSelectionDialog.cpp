#include "TextSelectionDialog.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <memory>

namespace {

// Words are separated by ASCII blanks, commas and the full-width space that a
// Japanese input method types.
std::vector<std::string_view> SplitWords(std::string_view s) {
    static constexpr std::string_view kWideSpace = "　";
    std::vector<std::string_view> words;
    size_t start = 0;
    size_t i = 0;
    auto flush = [&](size_t end) {
        if (end > start) words.push_back(s.substr(start, end - start));
    };
    while (i < s.size()) {
        const char c = s[i];
        if (c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n') {
            flush(i);
            start = ++i;
        } else if (s.substr(i, kWideSpace.size()) == kWideSpace) {
            flush(i);
            i += kWideSpace.size();
            start = i;
        } else {
            ++i;
        }
    }
    flush(s.size());
    return words;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// Digits only: no sign, no blanks.
bool ReadNumber(std::string_view s, int32_t* value) {
    if (s.empty() || s.front() < '0' || s.front() > '9') return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), *value);
    return ec == std::errc() && end == s.data() + s.size();
}

std::string Quoted(std::string_view s) { return "「" + std::string(s) + "」"; }

std::string MissingRow(int32_t row, int32_t rowCount) {
    if (rowCount == 0) return std::to_string(row) + " 行目はありません（行が一つもありません）。";
    return std::to_string(row) + " 行目はありません（1〜" + std::to_string(rowCount) + " 行）。";
}

}  // namespace

bool ParseRowList(std::string_view args, int32_t rowCount, std::vector<int32_t>* rows, std::string* error) {
    rows->clear();
    std::vector<int32_t> found;
    for (std::string_view word : SplitWords(args)) {
        if (Lower(word) == "all") {
            for (int32_t i = 0; i < rowCount; ++i) found.push_back(i);
            continue;
        }
        int32_t first = 0;
        int32_t last = 0;
        const size_t dash = word.find('-', 1);
        const bool read = dash == std::string_view::npos
                              ? ReadNumber(word, &first) && ReadNumber(word, &last)
                              : ReadNumber(word.substr(0, dash), &first) && ReadNumber(word.substr(dash + 1), &last);
        if (!read) {
            *error = Quoted(word) + " は行番号ではありません。";
            return false;
        }
        if (first > last) std::swap(first, last);
        for (int32_t row : {first, last}) {
            if (row < 1 || row > rowCount) {
                *error = MissingRow(row, rowCount);
                return false;
            }
        }
        for (int32_t row = first; row <= last; ++row) found.push_back(row - 1);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    *rows = std::move(found);
    return true;
}

TextSelectionDialog::TextSelectionDialog(SelectionAlerts& alerts, FILE* in, FILE* out)
    : alerts_(alerts), in_(in), out_(out) {
    // Piped commands do not show on the screen; echo them so a log reads
    // like a session.
    const int fd = in_ != nullptr ? fileno(in_) : -1;
    echo_ = fd < 0 || isatty(fd) == 0;
}

std::optional<std::string> TextSelectionDialog::ReadLine() {
    if (in_ == nullptr) return std::nullopt;
    // fgets in pieces rather than POSIX getline, which the Windows runtime lacks.
    std::string line;
    char piece[256];
    while (std::fgets(piece, sizeof piece, in_) != nullptr) {
        line += piece;
        if (!line.empty() && line.back() == '\n') break;
    }
    if (line.empty()) return std::nullopt;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
}

DialogResult TextSelectionDialog::RunModal() {
    if (closed_) return DialogResult::Closed;
    Render();
    for (;;) {
        std::fputs("> ", out_);
        std::fflush(out_);
        const std::optional<std::string> line = ReadLine();
        if (!line) {
            std::fputs("\n", out_);
            Note("入力が終わりました。ダイアログを閉じます。");
            return DialogResult::Closed;
        }
        if (echo_) std::fprintf(out_, "%s\n", line->c_str());
        if (const std::optional<DialogResult> result = Handle(*line)) {
            std::fflush(out_);
            return *result;
        }
    }
}

std::optional<DialogResult> TextSelectionDialog::Handle(std::string_view line) {
    const std::vector<std::string_view> words = SplitWords(line);
    if (words.empty()) return std::nullopt;
    const std::string command = Lower(words.front());
    const size_t argsAt = static_cast<size_t>(words.front().data() - line.data()) + words.front().size();
    const std::string_view args = line.substr(argsAt);

    if (command == "add") return MoveRows(true, args);
    if (command == "del" || command == "delete") return MoveRows(false, args);
    if (words.size() > 1 && command != "help") {
        Note(Quoted(line) + " は読めません。help で使い方を表示します。");
        return std::nullopt;
    }
    if (command == "line") {
        line_ = !line_;
        PrintCheckBoxes();
    } else if (command == "face") {
        face_ = !face_;
        PrintCheckBoxes();
    } else if (command == "ok") {
        if (SelectMergeOK(alerts_)) return DialogResult::OK;
    } else if (command == "cancel") {
        return DialogResult::Cancel;
    } else if (command == "close") {
        closed_ = true;
        return DialogResult::Closed;
    } else if (command == "help" || command == "?") {
        Render();
    } else {
        Note(Quoted(words.front()) + " というコマンドはありません。help で使い方を表示します。");
    }
    return std::nullopt;
}

std::optional<DialogResult> TextSelectionDialog::MoveRows(bool add, std::string_view args) {
    const std::vector<std::string>& list = add ? folderRows_ : selectRows_;
    std::vector<int32_t> rows;
    std::string error;
    if (!ParseRowList(args, static_cast<int32_t>(list.size()), &rows, &error)) {
        Note(std::string(add ? kFolderListLabel : kSelectListLabel) + error + "何も変えていません。");
        return std::nullopt;
    }
    // The rows are chosen only for the one event, as a click would choose them.
    (add ? chosenFolder_ : chosenSelect_) = std::move(rows);
    const SelectionChange change = add ? SelectMeshAdd(*this, alerts_) : SelectMeshDel(*this, alerts_);
    chosenFolder_.clear();
    chosenSelect_.clear();
    switch (change) {
    case SelectionChange::Changed: Render(); break;
    case SelectionChange::Refused: break;
    case SelectionChange::OutOfMemory: return DialogResult::Failed;
    }
    return std::nullopt;
}

void TextSelectionDialog::Render() const {
    std::fprintf(out_, "\n■ %s\n", kSelectDialogTitle);
    PrintList(kFolderListLabel, folderRows_);
    PrintList(kSelectListLabel, selectRows_);
    std::fprintf(out_, "状態：%s\n", status_.c_str());
    PrintCheckBoxes();
    PrintHelp();
}

void TextSelectionDialog::PrintList(const char* label, const std::vector<std::string>& rows) const {
    std::fprintf(out_, "%s\n", label);
    if (rows.empty()) std::fputs("      （なし）\n", out_);
    for (size_t i = 0; i < rows.size(); ++i) std::fprintf(out_, "  %4zu  %s\n", i + 1, rows[i].c_str());
}

void TextSelectionDialog::PrintCheckBoxes() const {
    std::fprintf(out_, "  [%c] %s（line）\n", line_ ? 'x' : ' ', kLineCheckBoxText);
    std::fprintf(out_, "  [%c] %s（face）\n", face_ ? 'x' : ' ', kFaceCheckBoxText);
}

void TextSelectionDialog::PrintHelp() const {
    std::fprintf(out_,
                 "操作：add 行… %s ／ del 行… %s ／ line・face チェックの切替 ／ ok %s ／ cancel %s"
                 " ／ close 閉じる ／ help 再表示\n"
                 "行の指定：1 3 5-7 のように番号と範囲、または all（例：add 1 3 5-7）\n",
                 kAddButtonText, kDelButtonText, kOKButtonText, kCancelButtonText);
}

void TextSelectionDialog::Note(const std::string& text) const { std::fprintf(out_, "※ %s\n", text.c_str()); }

#if !defined(_WIN32) && !defined(QUILTOR_APPKIT_DIALOG)
// The Windows build shows its own window (WindowsSelectionDialog.cpp), the AppKit build its
// window controller (AppKitSelectionDialog.mm).
std::unique_ptr<SelectionDialog> CreateSelectionDialog(SelectionAlerts& alerts) {
    return std::make_unique<TextSelectionDialog>(alerts);
}
#endif
