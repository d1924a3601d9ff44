// Running the project's programs from end-to-end tests through the shell.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace testsupport {

// One shell word, whatever the text holds.
inline std::string ShellQuote(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The command's exit status with its output thrown away; -1 when it did not exit.
inline int RunQuiet(const std::string& command) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace testsupport
