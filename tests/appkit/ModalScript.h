// Drives the AppKit tile dialog as a person would, from the main thread's run loop while the
// dialog runs modally: each showing of the dialog gets the next step of the script; a showing
// left without a step is closed.
#pragma once

#import "core/WindowController.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace appkit_test {

using Step = std::function<void(WindowController*)>;

class ModalScript {
public:
    explicit ModalScript(std::deque<Step> steps);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    int showings() const;

private:
    std::deque<Step> steps_;
    id driver_;
    NSTimer* timer_;
};

// The rows of a list, as its array controller holds them under key.
std::vector<std::string> Rows(NSArrayController* rows, NSString* key);
// Chooses the row of the list that reads name (none when no row does), as a click would.
void Choose(NSArrayController* rows, NSString* key, const std::string& name);
std::string Status(WindowController* controller);
bool Ticked(NSButton* box);

// Saves what the screen shows of the window as a PNG (xwd and ImageMagick's convert); false when
// either is missing.
bool SaveScreenshot(NSWindow* window, const std::string& path);

}  // namespace appkit_test
