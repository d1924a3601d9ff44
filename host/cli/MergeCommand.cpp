// quiltor-host merge: one whole select-merge run on a new document, answered from a script, then
// the merged map saved (and drawn as a PNG).
#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <sstream>
#include <streambuf>

#include "cli/Commands.h"
#if defined(_WIN32) || defined(QUILTOR_APPKIT_DIALOG)
#include "cli/DialogRobot.h"
#define QUILTOR_DIALOG_ROBOT 1
#endif
#include "cli/MergeOptions.h"
#include "cli/PhaseClock.h"
#include "cli/Preview.h"
#include "cli/ProgressLine.h"
#include "cli/Session.h"
#include "core/HostStrings.h"
#include "core/Paths.h"
#include "loader/PluginManager.h"
#include "model/Document.h"
#include "model/Workspace.h"
#include "svg/Svg.h"
#include "ui/ConsoleUserInterface.h"

namespace quiltor::cli {
namespace {

namespace fs = std::filesystem;

constexpr char kMergeItem[] = "Quiltor セレクトマージ";
#ifdef _WIN32
constexpr char kNullDevice[] = "NUL";
#else
constexpr char kNullDevice[] = "/dev/null";
#endif
constexpr char kRunCompleted[] = "作業が完了しました。";

// Writes straight to a file descriptor, so the transcript reaches the real standard output while
// descriptor 1 takes the dialog's screens.
class FdBuf : public std::streambuf {
public:
    explicit FdBuf(int fd) : fd_(fd) {}

protected:
    int_type overflow(int_type c) override {
        if (c == traits_type::eof()) return traits_type::not_eof(c);
        const char ch = traits_type::to_char_type(c);
        return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        std::streamsize done = 0;
        while (done < n) {
            const ssize_t w = ::write(fd_, s + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) break;
            done += w;
        }
        return done;
    }

private:
    int fd_;
};

// The console user with the transcript on `transcript`, noting whether the run told the user it
// had finished.
class MergeUser : public host::UserInterface {
public:
    explicit MergeUser(std::ostream& transcript) : console_(std::cin, transcript, std::cerr, false) {}

    void errorAlert(const std::string& text) override {
        if (auto tile = SkippedTileOfAlert(text)) Note(*tile);
        ClearProgress();
        console_.errorAlert(text);
    }
    void messageAlert(const std::string& text) override {
        if (text == kRunCompleted) completed_ = true;
        ClearProgress();
        console_.messageAlert(text);
    }
    int yesNoAlert(const std::string& text) override {
        ClearProgress();
        return console_.yesNoAlert(text);
    }
    std::optional<std::string> chooseFolder(const std::string& title) override {
        ClearProgress();
        return console_.chooseFolder(title);
    }
    // The progress line, rubbed out before each line of the transcript; null for none.
    void setProgress(MergeProgressLine* progress) { progress_ = progress; }

    bool completed() const { return completed_; }
    // The tiles the run passed over, each once, in the order met.
    const std::vector<std::string>& skipped() const { return skipped_; }
    void Note(const std::string& tile) {
        if (std::find(skipped_.begin(), skipped_.end(), tile) == skipped_.end()) skipped_.push_back(tile);
    }

private:
    void ClearProgress() {
        if (progress_) progress_->Clear();
    }

    std::vector<std::string> skipped_;
    host::ConsoleUserInterface console_;
    bool completed_ = false;
    MergeProgressLine* progress_ = nullptr;
};

// For the length of a run: standard input reads the script, standard output goes to `screens`
// (the dialog's screens; -1 for nowhere). Both are put back when it ends.
class ScriptedStreams {
public:
    ScriptedStreams(const std::string& script, bool screensToStandardError) {
        std::fflush(stdout);
        std::cout.flush();
        savedIn_ = ::dup(STDIN_FILENO);
        savedOut_ = ::dup(STDOUT_FILENO);
        const int scriptFd = ScriptFile(script);
        if (scriptFd < 0) return;
        // With standard input closed at start the file may already be descriptor 0.
        inReady_ = scriptFd == STDIN_FILENO || ::dup2(scriptFd, STDIN_FILENO) >= 0;
        if (scriptFd != STDIN_FILENO) ::close(scriptFd);
        const int screens = screensToStandardError ? ::dup(STDERR_FILENO) : ::open(kNullDevice, O_WRONLY);
        if (screens >= 0) {
            outReady_ = ::dup2(screens, STDOUT_FILENO) >= 0;
            ::close(screens);
        }
        std::clearerr(stdin);
        std::cin.clear();
    }
    ~ScriptedStreams() {
        std::fflush(stdout);
        if (savedOut_ >= 0) {
            ::dup2(savedOut_, STDOUT_FILENO);
            ::close(savedOut_);
        }
        if (savedIn_ >= 0) {
            ::dup2(savedIn_, STDIN_FILENO);
            ::close(savedIn_);
        }
        std::clearerr(stdin);
        std::cin.clear();
    }
    ScriptedStreams(const ScriptedStreams&) = delete;
    ScriptedStreams& operator=(const ScriptedStreams&) = delete;

    bool ready() const { return inReady_ && outReady_ && savedOut_ >= 0; }
    // The standard output the command started with.
    int transcriptFd() const { return savedOut_; }

private:
    // An unnamed file holding the script, read from its start; -1 on failure.
    static int ScriptFile(const std::string& script) {
        std::error_code ec;
        const fs::path dir = fs::temp_directory_path(ec);
        const std::string where = ec ? std::string(".") : dir.string();
#ifdef _WIN32
        // Removed by Windows when the last descriptor on it closes.
        std::string name = where + "\\quiltor-script-XXXXXX";
        int fd =
            _mktemp_s(name.data(), name.size() + 1) == 0
                ? ::_open(name.c_str(), _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY | _O_TEMPORARY, _S_IREAD | _S_IWRITE)
                : -1;
#else
        int fd = ::open(where.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd < 0) {
            std::string name = where + "/quiltor-script-XXXXXX";
            fd = ::mkstemp(name.data());
            if (fd >= 0) ::unlink(name.c_str());
        }
#endif
        if (fd < 0) return -1;
        size_t done = 0;
        while (done < script.size()) {
            const ssize_t w = ::write(fd, script.data() + done, script.size() - done);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) break;
            done += static_cast<size_t>(w);
        }
        if (done != script.size() || ::lseek(fd, 0, SEEK_SET) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

    int savedIn_ = -1;
    int savedOut_ = -1;
    bool inReady_ = false;
    bool outReady_ = false;
};

// A closed standard descriptor would be handed out again by the next open or dup and then be
// redirected by mistake; give each closed one /dev/null.
void OpenStandardDescriptors() {
#ifdef _WIN32
    // The runtime gives a Windows program its three standard descriptors.
#else
    for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int null = ::open(kNullDevice, fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != fd) {
            ::dup2(null, fd);
            ::close(null);
        }
    }
#endif
}

bool Writable(const fs::path& path) {
#ifdef _WIN32
    return ::_waccess(path.c_str(), 2) == 0;
#else
    return ::access(path.c_str(), W_OK) == 0;
#endif
}

// Whether a file can be written at path; otherwise a reason.
bool CanWrite(const std::string& path, std::string* why) {
    std::error_code ec;
    const fs::path file = host::PathFromUtf8(path);
    if (fs::is_directory(file, ec)) {
        *why = path + " is a folder";
        return false;
    }
    const fs::path parent = file.has_parent_path() ? file.parent_path() : fs::path(".");
    if (!fs::is_directory(parent, ec)) {
        *why = "there is no folder " + host::Utf8FromPath(parent);
        return false;
    }
    if (!Writable(fs::exists(file, ec) ? file : parent)) {
        *why = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(host::PathFromUtf8(folder), ec), end; !ec && it != end; it.increment(ec))
        names.push_back(host::Utf8FromPath(it->path().filename()));
    return names;
}

void ComplainOfMixedTiles(const std::vector<TileGroup>& groups, bool wholeFolder) {
    Complain(wholeFolder ? "merge: the folder holds tiles of several mesh kinds or scales, and one run merges one "
                           "kind at one scale"
                         : "merge: the chosen tiles are of several mesh kinds or scales, and one run merges one kind "
                           "at one scale");
    for (const TileGroup& group : groups) {
        std::cerr << "  " << group.names.size() << (group.names.size() == 1 ? " tile" : " tiles") << " of "
                  << group.kind << " at 1/" << group.scale << ", e.g. " << group.names.front();
        if (group.names.size() > 1) std::cerr << ", " << group.names[1];
        std::cerr << "\n";
    }
    std::cerr << "Choose one group with --tiles, e.g. --tiles " << groups.front().names.front();
    if (groups.front().names.size() > 1) std::cerr << "," << groups.front().names[1];
    std::cerr << "\n";
}

int RunMerge(const GlobalOptions& global, const std::vector<std::string>& args) {
    OpenStandardDescriptors();
    std::string error;
    auto options = ParseMergeArguments(args, &error);
    if (!options) {
        Complain("merge: " + error);
        std::cerr << "Try 'quiltor-host merge --help'." << std::endl;
        return kExitUsage;
    }
    if (options->help) {
        std::cout << MergeCommand().help;
        return kExitOk;
    }

    std::error_code ec;
    if (!fs::is_directory(host::PathFromUtf8(options->folder), ec)) {
        Complain("merge: there is no folder " + options->folder);
        return kExitFailure;
    }
    if (options->folder.find('\n') != std::string::npos) {
        Complain("merge: a folder name with a line break cannot be answered to the folder chooser");
        return kExitFailure;
    }
    if (!CanWrite(options->output, &error) || (options->preview && !CanWrite(*options->preview, &error))) {
        Complain("merge: " + error);
        return kExitFailure;
    }
    if (options->preview && !FindProgram("rsvg-convert")) {
        Complain("merge: --preview needs rsvg-convert (Debian package librsvg2-bin)");
        return kExitFailure;
    }
    const std::vector<std::string> listed = DialogRows(FileNamesIn(options->folder));
    std::vector<int> rows;
    std::vector<std::string> chosen = listed;
    if (!options->tiles.empty()) {
        auto found = RowsOfTiles(listed, options->tiles, &error);
        if (!found) {
            Complain("merge: " + error + " " + options->folder);
            std::cerr << (listed.empty() ? "The folder holds no tile documents.\n" : "The folder holds:\n");
            for (const std::string& name : listed) std::cerr << "  " << name << "\n";
            return kExitFailure;
        }
        rows = std::move(*found);
        chosen.clear();
        for (int row : rows) chosen.push_back(listed[static_cast<size_t>(row - 1)]);
    }
    // The dialog takes one mesh kind at one scale; the rest of such a choice would be left out
    // without a word.
    if (const std::vector<TileGroup> groups = TileGroups(chosen); groups.size() > 1) {
        ComplainOfMixedTiles(groups, options->tiles.empty());
        return kExitFailure;
    }

    // The transcript goes to the standard output the command was started with; the descriptor
    // is opened here so the stream outlives the redirection.
    std::cout.flush();
    const int transcriptFd = ::dup(STDOUT_FILENO);
    if (transcriptFd < 0) {
        Complain(std::string("merge: cannot hold standard output: ") + std::strerror(errno));
        return kExitFailure;
    }
    struct CloseFd {
        int fd;
        ~CloseFd() { ::close(fd); }
    } closeTranscript{transcriptFd};
    FdBuf transcriptBuf(transcriptFd);
    std::ostream transcript(&transcriptBuf);

    auto user = std::make_unique<MergeUser>(transcript);
    MergeUser& merge = *user;
    Session session(std::move(user));
    if (!session.start(global)) return kExitFailure;
    auto& plugins = session.host().plugins();
    const auto items = plugins.menuItems();
    if (std::none_of(items.begin(), items.end(), [](const auto& item) { return item.text == kMergeItem; })) {
        Complain(std::string("merge: no plug-in added \"") + kMergeItem + "\"");
        session.listMenuItems();
        return kExitFailure;
    }

    host::Workspace& workspace = session.host().workspace();
    host::NewDocumentOptions page;
    page.widthPt = static_cast<AIReal>(options->page.widthPt);
    page.heightPt = static_cast<AIReal>(options->page.heightPt);
    const AIDocumentHandle target = workspace.newDocument(page);

    // Only a person at a terminal wants to see the run go; a script reads the transcript.
    std::optional<MergeProgressLine> progress;
    if (!options->quiet && IsTerminal(stderr)) {
        const bool joins = options->joinLines || options->joinFaces;
        progress.emplace(stderr, TerminalColumns(stderr), chosen.size(), joins ? "joining seams" : "stacking polygons",
                         workspace, target);
        merge.setProgress(&*progress);
    }
    MergePhaseClock clock(workspace, target, progress ? &*progress : nullptr);
    session.host().setWatcher(&clock);
    clock.runStarted();
    AIErr result = kNoErr;
    {
#ifdef QUILTOR_DIALOG_ROBOT
        // The plug-in shows its own window, driven as a robot would.
        const bool window = DialogRobot::WindowShown();
        ScriptedStreams streams(MergeScript(options->folder, rows, *options, !window), options->showDialog);
        DialogRobot::Plan plan;
        if (!rows.empty()) plan.tiles = chosen;
        plan.lineBox = options->joinLines;
        plan.faceBox = options->joinFaces;
        std::optional<DialogRobot> robot;
        if (window)
            robot.emplace(std::move(plan), [&transcript](const std::string& line) { transcript << line << std::endl; });
#else
        ScriptedStreams streams(MergeScript(options->folder, rows, *options), options->showDialog);
#endif
        if (!streams.ready()) {
            Complain(std::string("merge: cannot feed the run its answers: ") + std::strerror(errno));
            return kExitFailure;
        }
        result = plugins.chooseMenuItem(kMergeItem);
    }
    clock.runEnded();
    session.host().setWatcher(nullptr);
    merge.setProgress(nullptr);
    progress.reset();
    transcript.flush();
    if (result != kNoErr) {
        Complain("merge: the plug-in answered " + host::DescribeError(result));
        return kExitFailure;
    }
    if (!merge.completed()) {
        Complain("merge: the run stopped before the end (see the messages above); nothing was written");
        return kExitFailure;
    }
    for (const std::string& path : workspace.failedOpens())
        merge.Note(host::Utf8FromPath(host::PathFromUtf8(path).filename()));
    std::vector<std::string> skipped;
    for (const std::string& tile : merge.skipped()) {
        if (std::find(chosen.begin(), chosen.end(), tile) != chosen.end()) skipped.push_back(tile);
    }
    for (const std::string& tile : skipped) std::cerr << "Not merged: " << tile << "\n";
    if (skipped.size() == chosen.size()) {
        Complain("merge: no tile was merged; nothing was written");
        return kExitFailure;
    }
    host::Document* merged = workspace.find(target);
    if (!merged) {
        Complain("merge: the merged document was closed");
        return kExitFailure;
    }
    clock.writingStarted();
    if (!workspace.saveFile(target, options->output, &error)) {
        Complain("merge: cannot save " + options->output + ": " + error);
        return kExitFailure;
    }
    clock.writingEnded();
    std::cerr << "Merged map: " << options->output << "\n";
    if (options->times) std::cerr << DescribeTimes(clock.times(), PeakMemoryBytes()) << "\n";
    if (options->preview) {
        PreviewOptions preview;
        preview.pixels = options->previewPixels;
        if (!WritePreview(*merged, *options->preview, preview, &error)) {
            Complain("merge: no preview: " + error);
            return kExitFailure;
        }
        std::cerr << "Preview:    " << *options->preview << "\n";
    }
    if (!skipped.empty()) {
        std::cerr << "merge: " << skipped.size() << " of " << chosen.size()
                  << " tiles were not merged (listed above)\n";
        return kExitPartial;
    }
    return kExitOk;
}

}  // namespace

const Command& MergeCommand() {
    static const std::string help =
        "Usage: quiltor-host [--plugin FILE]... merge FOLDER -o OUT.svg [--page PAPER | --page WIDTH HEIGHT]\n"
        "                    [--tiles NAME,NAME...] [--no-line-join] [--no-face-join] [--yes | --no]\n"
        "                    [--preview OUT.png [--preview-size PIXELS]] [--show-dialog] [--quiet]\n"
        "                    [--times]\n"
        "\n"
        "Makes a new document of the page size and runs \"Quiltor セレクトマージ\" on it as a person\n"
        "would: the folder chooser is answered with FOLDER, the tile dialog adds the tiles, sets\n"
        "its two check boxes and says OK, and the question that comes when the merged map is\n"
        "larger than the page is answered. The alerts of the run are printed on standard output,\n"
        "one line each. When the run has finished, the merged document is saved as OUT.svg.\n"
        "\n"
        "  -o, --output OUT.svg  where to save the merged map\n"
        "  --page PAPER          the new document's page: " +
        PaperNames() +
        " (B is JIS B),\n"
        "                        portrait, or with -landscape (A1-landscape); default A4\n"
        "  --page WIDTH HEIGHT   the page in millimetres (841mm 594mm) or points\n"
        "  --tiles NAMES         only these tiles (533945_025000.ai or 533945_025000, separated\n"
        "                        by commas; repeatable); default every tile of the folder\n"
        "  --no-line-join        untick \"隣接図形（線）の合成を行う。\"\n"
        "  --no-face-join        untick \"隣接図形（面）の合成を行う。\"\n"
        "  --yes, --no           the answer to the size question (default --yes); after --no the\n"
        "                        run ends without merging\n"
        "  --preview OUT.png     also draw the whole merged map, beyond the page too (rsvg-convert)\n"
        "  --preview-size PX     the preview's longer side in pixels (default 1600)\n"
        "  --show-dialog         show the tile dialog's screens on standard error\n"
        "  --quiet               no progress line (shown on standard error when it is a terminal:\n"
        "                        the tile being placed, then the layer being joined)\n"
        "  --times               say on standard error how long reading the tiles, placing them,\n"
        "                        joining the seams and writing the merged map took, and the\n"
        "                        most memory the run held\n"
        "\n"
        "One run merges tiles of one mesh kind at one scale. When the folder (or --tiles) holds\n"
        "several, nothing is run: the kinds and scales found are listed, choose one with --tiles.\n"
        "\n"
        "Exit status:\n"
        "  0  every chosen tile was merged; the merged map is saved\n"
        "  1  nothing saved: the folder, a file or the run failed, the run stopped before its end\n"
        "     (the size declined, or no \"作業が完了しました。\" at its end), no chosen tile could be\n"
        "     merged, or the tiles were of several kinds or scales\n"
        "  2  bad arguments\n"
        "  3  the merged map is saved, but some chosen tiles were passed over (a layer tree unlike\n"
        "     the first tile's, or a file that did not open); each is named on standard error\n"
        "\n"
        "Examples:\n"
        "  quiltor-host merge tiles -o merged.svg --preview merged.png\n"
        "  quiltor-host merge tiles -o merged.svg --page A0-landscape --tiles 533945_025000,533946_025000\n"
        "  quiltor-host merge tokyo -o tokyo.svg --page 1200mm 900mm --no-face-join\n";
    static const Command command{"merge", "merge a folder of tiles into one map with Quiltor セレクトマージ",
                                 help.c_str(), RunMerge};
    return command;
}

}  // namespace quiltor::cli
