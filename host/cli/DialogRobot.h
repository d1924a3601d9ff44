// The Windows plug-in shows its own tile dialog. In a scripted merge the host drives it the way a
// test robot would: from a second thread, with window messages, while the plug-in runs the dialog
// on the main thread. The first showing gets the tiles added, the check boxes set and OK; a later
// showing (after a declined size question) is closed, as the end of a script closes the text dialog.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace quiltor::cli {

class DialogRobot {
public:
    struct Plan {
        std::vector<std::string> tiles;  // the rows to add; empty for all
        bool lineBox = true;
        bool faceBox = true;
    };
    // Told what the robot did, one transcript line at a time.
    using Note = std::function<void(const std::string&)>;

    DialogRobot(Plan plan, Note note);
    ~DialogRobot();
    DialogRobot(const DialogRobot&) = delete;
    DialogRobot& operator=(const DialogRobot&) = delete;

private:
    void Watch();

    Plan plan_;
    Note note_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace quiltor::cli
