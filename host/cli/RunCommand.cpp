#include <iostream>

#include "cli/Commands.h"
#include "cli/Session.h"
#include "core/HostStrings.h"
#include "loader/PluginManager.h"
#include "model/Workspace.h"
#include "suites/PluginServices.h"

namespace quiltor::cli {
namespace {

// Makes or opens the front document as the options say; false (with a line on standard error) when it cannot.
bool PrepareDocument(host::Workspace& workspace, const RunOptions& options) {
    if (options.newPage) {
        host::NewDocumentOptions page;
        page.widthPt = static_cast<AIReal>(options.newPage->widthPt);
        page.heightPt = static_cast<AIReal>(options.newPage->heightPt);
        if (!workspace.newDocument(page)) {
            Complain("cannot make a new document");
            return false;
        }
    } else if (options.openFile) {
        std::string error;
        AIErr code = kNoErr;
        if (!workspace.openFile(*options.openFile, &error, &code)) {
            Complain("cannot open " + *options.openFile + ": " + (error.empty() ? host::DescribeError(code) : error));
            return false;
        }
    }
    return true;
}

int RunItem(const GlobalOptions& global, const std::vector<std::string>& args) {
    std::string error;
    auto options = ParseRunArguments(args, &error);
    if (!options) {
        Complain("run: " + error);
        std::cerr << "Try 'quiltor-host run --help'." << std::endl;
        return kExitUsage;
    }
    if (options->help) {
        std::cout << RunCommand().help;
        return kExitOk;
    }

    Session session;
    if (!session.start(global)) return kExitFailure;
    auto& plugins = session.host().plugins();
    bool submenu = false;
    bool choosable = false;
    for (const auto& item : plugins.menuItems()) {
        if (item.text != options->item) continue;
        (item.handle->submenu ? submenu : choosable) = true;
    }
    if (!choosable) {
        Complain(submenu ? "\"" + options->item + "\" is a submenu; choose one of its entries"
                         : "no menu item \"" + options->item + "\"");
        session.listMenuItems();
        return kExitFailure;
    }
    if (!PrepareDocument(session.host().workspace(), *options)) return kExitFailure;

    AIErr result = plugins.chooseMenuItem(options->item);
    if (result != kNoErr) {
        Complain("the plug-in answered " + host::DescribeError(result) + " to \"" + options->item + "\"");
        return kExitFailure;
    }

    if (options->saveFile) {
        auto& workspace = session.host().workspace();
        AIDocumentHandle front = workspace.current();
        if (!front) {
            Complain("no document is open to save as " + *options->saveFile);
            return kExitFailure;
        }
        if (!workspace.saveFile(front, *options->saveFile, &error)) {
            Complain("cannot save " + *options->saveFile + ": " + error);
            return kExitFailure;
        }
    }
    return kExitOk;
}

}  // namespace

const Command& RunCommand() {
    static const std::string help =
        "Usage: quiltor-host [--plugin FILE]... run \"MENU ITEM TEXT\"\n"
        "                    [--new WIDTH HEIGHT | --new PAPER | --open FILE] [--save FILE]\n"
        "\n"
        "Starts the plug-ins, makes a new front document (--new) or opens one (--open),\n"
        "chooses the menu item, and saves the front document afterwards (--save).\n"
        "Without --new or --open there is no document, as in an application just started.\n"
        "\n"
        "  --new WIDTH HEIGHT  page size in points (595.28 or 595.28pt) or millimetres (210mm)\n"
        "  --new PAPER         a paper: " +
        PaperNames() +
        " (B is JIS B),\n"
        "                      portrait, or with -landscape (A3-landscape)\n"
        "  --open FILE         open an SVG document written by this host or a common editor\n"
        "  --save FILE         write the front document as SVG when the item is done\n"
        "\n"
        "Alerts are printed to standard output, one line each (ERROR: text, MESSAGE: text,\n"
        "QUESTION: text -> yes|no|cancel, FOLDER: title -> path|cancel; line breaks as \\n).\n"
        "Answers to questions, folder choices and the plug-ins' own dialogs are read from\n"
        "standard input, one line each, in order; the end of input cancels.\n"
        "\n"
        "Examples:\n"
        "  quiltor-host run \"Quiltor セレクトマージ ...\"\n"
        "  printf '/data/tiles\\n' | quiltor-host run \"Quiltor セレクトマージ\" --new A1-landscape --save merged.svg\n"
        "  quiltor-host run \"Quiltor アジャスト\" --open map.svg --save map-adjusted.svg\n"
        "  quiltor-host run \"Quiltor アジャスト\" --new 420mm 297mm\n";
    static const Command command{"run", "choose a menu item on a new or opened document", help.c_str(), RunItem};
    return command;
}

}  // namespace quiltor::cli
