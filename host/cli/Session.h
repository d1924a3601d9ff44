// A running host with the plug-ins loaded and started, for one command. The plug-ins are shut down
// and unloaded when the session ends.
#pragma once

#include <memory>

#include "app/Host.h"
#include "cli/CommandLine.h"

namespace quiltor::cli {

class Session {
public:
    Session();
    // With a user other than the console on the standard streams.
    explicit Session(std::unique_ptr<host::UserInterface> user);
    ~Session();

    // Loads the plug-ins the options name and starts them. On failure writes a clear line to standard
    // error and returns false.
    bool start(const GlobalOptions& options);
    host::Host& host() { return *host_; }

    // Lists the plug-ins' menu items on standard error, as help after a mistyped item.
    void listMenuItems() const;

private:
    std::unique_ptr<host::Host> host_;
};

// "quiltor-host: " before a line on standard error.
void Complain(const std::string& line);

}  // namespace quiltor::cli
