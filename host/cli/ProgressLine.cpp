#include "cli/ProgressLine.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <utility>

#include "core/HostStrings.h"
#include "core/Paths.h"
#include "model/Document.h"
#include "model/Workspace.h"

namespace quiltor::cli {

namespace {

// The code point starting at s[i] and the bytes it takes; a stray byte counts as one.
char32_t Decode(std::string_view s, size_t i, size_t& length) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (i + length > s.size()) length = 1;
    if (length == 1) return c;
    char32_t code = c & (0x3F >> (length - 1));
    for (size_t k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    return code;
}

// Hangul, CJK, kana, full-width forms: two columns on a terminal.
int Width(char32_t c) {
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
                      (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

std::string TitlePath(const host::Layer& layer) {
    std::string path = host::EncodeUtf8(layer.title);
    for (const host::Layer* up = layer.parent; up; up = up->parent) path = host::EncodeUtf8(up->title) + "/" + path;
    return path;
}

}  // namespace

int DisplayColumns(std::string_view utf8) {
    int columns = 0;
    for (size_t i = 0, length = 0; i < utf8.size(); i += length) columns += Width(Decode(utf8, i, length));
    return columns;
}

std::string FitToColumns(std::string_view utf8, int columns) {
    int used = 0;
    size_t end = 0;
    for (size_t length = 0; end < utf8.size(); end += length) {
        const int width = Width(Decode(utf8, end, length));
        if (used + width > columns) break;
        used += width;
    }
    return std::string(utf8.substr(0, end));
}

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
    return ::_isatty(::_fileno(stream)) != 0;
#else
    return ::isatty(::fileno(stream)) != 0;
#endif
}

int TerminalColumns(std::FILE* stream) {
#ifdef _WIN32
    CONSOLE_SCREEN_BUFFER_INFO info;
    const HANDLE console = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
    if (::GetConsoleScreenBufferInfo(console, &info)) return info.srWindow.Right - info.srWindow.Left + 1;
#else
    winsize size{};
    if (::ioctl(::fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
#endif
    return 80;
}

MergeProgressLine::MergeProgressLine(std::FILE* out, int columns, size_t tiles, std::string joining,
                                     host::Workspace& workspace, AIDocumentHandle target)
    : out_(out),
      columns_(columns),
      tiles_(tiles),
      joiningLabel_(std::move(joining)),
      workspace_(workspace),
      target_(target) {}

void MergeProgressLine::DocumentOpening(const std::string& path) {
    ++opened_;
    const std::string name = host::Utf8FromPath(host::PathFromUtf8(path).filename());
    Show("placing tile " + std::to_string(opened_) + " of " + std::to_string(tiles_) + ": " + name);
}

void MergeProgressLine::LayerArtListed(const host::Layer& layer) {
    // Art listed before a tile is placed is not a join, and each join of a layer lists it again.
    if (opened_ == 0 || &layer == joining_) return;
    const host::Document* target = workspace_.find(target_);
    if (!target) return;
    int index = 0, leaves = 0;
    for (const host::Layer* l = target->firstLayer(); l; l = host::NextLayerInPreorder(l)) {
        if (l->firstChild) continue;
        ++leaves;
        if (l == &layer) index = leaves;
    }
    if (index == 0) return;  // a layer of a tile
    joining_ = &layer;
    Show(joiningLabel_ + ", layer " + std::to_string(index) + " of " + std::to_string(leaves) + ": " +
         TitlePath(layer));
}

void MergeProgressLine::Show(const std::string& text) {
    const std::string line = FitToColumns(text, columns_ - 1);
    if (line == shown_) return;
    const int width = DisplayColumns(line);
    std::string padded = "\r" + line;
    if (width < shownColumns_) padded.append(size_t(shownColumns_ - width), ' ');
    std::fputs(padded.c_str(), out_);
    std::fflush(out_);
    shown_ = line;
    shownColumns_ = width;
}

void MergeProgressLine::Clear() {
    if (shownColumns_ == 0) return;
    std::fputs(("\r" + std::string(size_t(shownColumns_), ' ') + "\r").c_str(), out_);
    std::fflush(out_);
    shown_.clear();
    shownColumns_ = 0;
}

}  // namespace quiltor::cli
