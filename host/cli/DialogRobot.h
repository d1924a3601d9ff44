// The Windows and the AppKit plug-ins show their own tile dialog. In a scripted merge the host
// drives it the way a test robot would, while the plug-in runs the dialog on the main thread:
// on Windows from a second thread, with window messages; with AppKit from a timer of the main
// thread's run loop, through the window controller's own actions. The first showing gets the
// tiles added, the check boxes set and OK; a later showing (after a declined size question) is
// closed, as the end of a script closes the text dialog.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
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

    // Whether the plug-in shows its window in this process (AppKit: only with a display); when
    // not, it shows the terminal dialog, which the script answers.
    static bool WindowShown();

private:
    Plan plan_;
    Note note_;
#ifdef _WIN32
    void Watch();
    std::atomic<bool> stop_{false};
    std::thread thread_;
#else
    struct Timer;  // the run loop's timer that looks for the dialog
    std::unique_ptr<Timer> timer_;
#endif
};

}  // namespace quiltor::cli
