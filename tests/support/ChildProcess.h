// Running one of the project's programs as a child process, without a shell, with its output
// caught and a time limit, so a test or fuzz target can tell a crash or a hang from an exit.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace testsupport {

struct ChildRun {
    int status = -1;        // exit status; -1 when it did not exit normally
    int signal = 0;         // the signal that ended it, 0 when it exited
    bool timedOut = false;  // killed for running past the limit
    std::string out;        // standard output
    std::string err;        // standard error
};

struct ChildOptions {
    std::chrono::milliseconds timeout{0};  // 0: wait as long as it takes
    bool closeStandardInput = false;       // closed rather than empty
    // Standard output and error on one pseudo-terminal (both land in `out`), as a person at a
    // terminal runs it; standard input stays empty.
    bool terminal = false;
};

// argv[0] is the program's path. A program that cannot be started gives status -1, signal 0.
ChildRun RunChild(const std::vector<std::string>& argv, const ChildOptions& options = {});

}  // namespace testsupport
