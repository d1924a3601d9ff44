// The commands of quiltor-host. Each command lives in a file of its own and is listed once in
// AllCommands (Commands.cpp).
#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace quiltor::cli {

enum ExitStatus { kExitOk = 0, kExitFailure = 1, kExitUsage = 2, kExitPartial = 3 };

struct Command {
    const char* name;
    const char* summary;  // one line for the program's help
    const char* help;     // the command's --help: usage, what it does, examples
    int (*run)(const GlobalOptions& global, const std::vector<std::string>& args);
};

const Command& MenusCommand();
const Command& RunCommand();
const Command& MergeCommand();
const Command& AdjustCommand();

const std::vector<const Command*>& AllCommands();
const Command* FindCommand(const std::string& name);

}  // namespace quiltor::cli
