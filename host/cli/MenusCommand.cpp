#include <iostream>

#include "cli/Commands.h"
#include "cli/Session.h"
#include "core/HostStrings.h"
#include "loader/PluginManager.h"

namespace quiltor::cli {
namespace {

int RunMenus(const GlobalOptions& global, const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "-h" || arg == "--help") {
            std::cout << MenusCommand().help;
            return kExitOk;
        }
        Complain("menus takes no arguments (\"" + arg + "\")");
        return kExitUsage;
    }
    Session session;
    if (!session.start(global)) return kExitFailure;
    for (const auto& item : session.host().plugins().menuItems())
        std::cout << host::Utf8FromPlatform(item.group) << '\t' << item.text << '\n';
    return kExitOk;
}

}  // namespace

const Command& MenusCommand() {
    static const Command command{"menus", "list the menu items the plug-ins add",
                                 "Usage: quiltor-host [--plugin FILE]... menus\n"
                                 "\n"
                                 "Starts the plug-ins and prints every menu item they added, one per line, as\n"
                                 "GROUP<TAB>ITEM TEXT. Entries of a submenu are listed under the submenu's name.\n"
                                 "\n"
                                 "Examples:\n"
                                 "  quiltor-host menus\n"
                                 "  quiltor-host --plugin build/plugins/KTRQuiltorAdjust.so menus\n",
                                 RunMenus};
    return command;
}

}  // namespace quiltor::cli
