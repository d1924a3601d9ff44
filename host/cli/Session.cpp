#include "cli/Session.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "core/HostStrings.h"
#include "core/SuiteRegistry.h"
#include "loader/PluginManager.h"
#include "ui/ConsoleUserInterface.h"

#ifndef QUILTOR_DEFAULT_PLUGIN_DIR
#define QUILTOR_DEFAULT_PLUGIN_DIR "plugins"
#endif

namespace quiltor::cli {

void Complain(const std::string& line) { std::cerr << "quiltor-host: " << line << std::endl; }

Session::Session() : host_(std::make_unique<host::Host>(host::ConsoleUserInterface::ForStandardStreams())) {}

Session::Session(std::unique_ptr<host::UserInterface> user) : host_(std::make_unique<host::Host>(std::move(user))) {}

Session::~Session() {
    host_.reset();
    std::cout.flush();
}

bool Session::start(const GlobalOptions& options) {
    auto known = host_->suites().names();
    for (const std::string& suite : options.missingSuites) {
        if (std::find(known.begin(), known.end(), suite) == known.end()) {
            Complain("--without-suite: the host has no suite \"" + suite + "\"");
            return false;
        }
        host_->suites().setMissing(suite, true);
    }
    auto& plugins = host_->plugins();
    for (const std::string& file :
         PluginFiles(options, std::getenv("QUILTOR_PLUGIN_DIR"), QUILTOR_DEFAULT_PLUGIN_DIR)) {
        std::string error;
        if (!plugins.load(file, &error)) {
            Complain("cannot load plug-in " + file + ": " + error);
            return false;
        }
    }
    if (plugins.startAll() != kNoErr) {
        for (const auto& failure : plugins.startupFailures())
            Complain("plug-in " + failure.path + " failed to start (error " + host::DescribeError(failure.error) + ")");
        return false;
    }
    return true;
}

void Session::listMenuItems() const {
    std::cerr << "The plug-ins added these menu items (group, then item):\n";
    for (const auto& item : host_->plugins().menuItems())
        std::cerr << "  " << host::Utf8FromPlatform(item.group) << "\t" << item.text << "\n";
}

}  // namespace quiltor::cli
