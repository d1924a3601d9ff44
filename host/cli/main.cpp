// quiltor-host: a substitute host that loads the Quiltor plug-ins and drives them from a terminal
// or a script.
#ifdef _WIN32
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>
#endif

#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Session.h"

#ifndef QUILTOR_DEFAULT_PLUGIN_DIR
#define QUILTOR_DEFAULT_PLUGIN_DIR "plugins"
#endif

namespace {

using namespace quiltor::cli;

void PrintProgramHelp(std::ostream& out) {
    out << "Usage: quiltor-host [--plugin FILE]... [--without-suite NAME]... COMMAND [ARGUMENTS]\n"
           "\n"
           "Runs the Quiltor plug-ins in a substitute for the drawing application: it loads\n"
           "them, starts them, and chooses their menu items on SVG documents.\n"
           "\n"
           "Commands:\n";
    for (const Command* command : AllCommands()) {
        std::string name = command->name;
        out << "  " << name << std::string(name.size() < 8 ? 8 - name.size() : 1, ' ') << command->summary << "\n";
    }
    out << "  help    show the help of a command (also: quiltor-host COMMAND --help)\n"
           "\n"
           "Options:\n"
           "  --plugin FILE  load this plug-in file; repeat for more. Without it the two\n"
           "                 plug-ins of the build are loaded, "
        << kBuiltPluginFiles[0] << " and\n"
        << "                 " << kBuiltPluginFiles[1]
        << ", from $QUILTOR_PLUGIN_DIR when it is set,\n"
           "                 else from " QUILTOR_DEFAULT_PLUGIN_DIR
           "\n"
           "  --without-suite NAME\n"
           "                 refuse the suite NAME (\"AI Layer Suite\") as if the host lacked it, to\n"
           "                 see how the plug-ins fail; repeat for more\n"
           "  -h, --help     show this help\n"
           "\n"
           "Exit status: 0 done, 1 the host or a plug-in could not do it, 2 bad arguments.\n"
           "\n"
           "Examples:\n"
           "  quiltor-host menus\n"
           "  quiltor-host run \"Quiltor アジャスト ...\"\n"
           "  quiltor-host run \"Quiltor アジャスト\" --open map.svg --save map-adjusted.svg\n"
           "  quiltor-host run --help\n";
}

// The arguments after the program's name, as UTF-8.
std::vector<std::string> Arguments(int argc, char** argv) {
#ifdef _WIN32
    // argv is in the system's code page, which cannot hold every file name; the wide command line can.
    (void)argc;
    (void)argv;
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide != nullptr && i < count; ++i) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(n > 0 ? size_t(n) : 1, '\0');
        if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), n, nullptr, nullptr);
        arg.pop_back();
        args.push_back(arg);
    }
    LocalFree(wide);
    return args;
#else
    return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The transcript is UTF-8.
    SetConsoleOutputCP(CP_UTF8);
#endif
    std::vector<std::string> args = Arguments(argc, argv);
    std::string error;
    auto global = TakeGlobalOptions(args, &error);
    if (!global) {
        Complain(error);
        return kExitUsage;
    }
    if (args.empty() || global->help) {
        PrintProgramHelp(global->help ? std::cout : std::cerr);
        return global->help ? kExitOk : kExitUsage;
    }
    std::string name = args.front();
    args.erase(args.begin());
    if (name == "help") {
        if (args.empty()) {
            PrintProgramHelp(std::cout);
            return kExitOk;
        }
        name = args.front();
        args = {"--help"};
    }
    const Command* command = FindCommand(name);
    if (!command) {
        Complain("unknown command \"" + name + "\"");
        PrintProgramHelp(std::cerr);
        return kExitUsage;
    }
    return command->run(*global, args);
}
