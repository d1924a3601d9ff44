#include "cli/Commands.h"

namespace quiltor::cli {

const std::vector<const Command*>& AllCommands() {
    static const std::vector<const Command*> commands = {&MenusCommand(), &RunCommand(), &MergeCommand(),
                                                         &AdjustCommand()};
    return commands;
}

const Command* FindCommand(const std::string& name) {
    for (const Command* command : AllCommands())
        if (name == command->name) return command;
    return nullptr;
}

}  // namespace quiltor::cli
