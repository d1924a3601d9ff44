#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace testsupport {

namespace {

std::string Slurp(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A file for one stream of the child, removed when the run is read back.
class CaptureFile {
public:
    CaptureFile() : fd_(mkstemp(name_)) {}
    ~CaptureFile() {
        if (fd_ >= 0) {
            close(fd_);
            std::remove(name_);
        }
    }
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;
    int fd() const { return fd_; }
    std::string Read() const { return Slurp(name_); }

private:
    char name_[32] = "/tmp/quiltor-child-XXXXXX";
    int fd_;
};

// The argument vector execv and posix_spawn take, pointing into `args`.
std::vector<char*> Argv(std::vector<std::string>& args) {
    std::vector<char*> raw;
    for (std::string& a : args) raw.push_back(a.data());
    raw.push_back(nullptr);
    return raw;
}

// Waits for the child, killing it past the deadline (none when the timeout is 0).
void Reap(pid_t pid, const ChildOptions& options, ChildRun& run) {
    const auto deadline = std::chrono::steady_clock::now() + options.timeout;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, options.timeout.count() > 0 ? WNOHANG : 0);
        if (done == pid) break;
        if (done < 0 && errno != EINTR) return;
        if (done == 0 && std::chrono::steady_clock::now() >= deadline) {
            run.timedOut = true;
            kill(pid, SIGKILL);
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
            break;
        }
        if (done == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
}

ChildRun RunOnTerminal(const std::vector<std::string>& argv, const ChildOptions& options) {
    ChildRun run;
    std::vector<std::string> args = argv;
    const std::vector<char*> raw = Argv(args);
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid < 0) return run;
    if (pid == 0) {
        const int null = open("/dev/null", O_RDONLY);
        if (null >= 0) dup2(null, STDIN_FILENO);
        execv(raw[0], raw.data());
        _exit(127);
    }
    // The terminal's output is read to its end, or the child would block on a full terminal.
    const auto deadline = std::chrono::steady_clock::now() + options.timeout;
    char buffer[4096];
    for (;;) {
        if (options.timeout.count() > 0 && std::chrono::steady_clock::now() >= deadline) {
            run.timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        pollfd ready{master, POLLIN, 0};
        if (poll(&ready, 1, 50) == 0) continue;
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n > 0) {
            run.out.append(buffer, size_t(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break;  // EIO once the child has closed its side
    }
    close(master);
    Reap(pid, options, run);
    return run;
}

}  // namespace

ChildRun RunChild(const std::vector<std::string>& argv, const ChildOptions& options) {
    if (options.terminal) return argv.empty() ? ChildRun{} : RunOnTerminal(argv, options);
    ChildRun run;
    CaptureFile out, err;
    if (argv.empty() || out.fd() < 0 || err.fd() < 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.closeStandardInput)
        posix_spawn_file_actions_addclose(&actions, STDIN_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.fd(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.fd(), STDERR_FILENO);
    std::vector<std::string> args = argv;
    const std::vector<char*> raw = Argv(args);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return run;

    Reap(pid, options, run);
    run.out = out.Read();
    run.err = err.Read();
    return run;
}

}  // namespace testsupport
