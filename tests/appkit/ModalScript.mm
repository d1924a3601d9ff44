#import "ModalScript.h"

#include <cstdlib>
#include <string>

@interface QuiltorTestDriver : NSObject {
@public
    std::deque<appkit_test::Step>* steps;
    NSWindow* handled;
    int showings;
}
- (void)tick:(NSTimer*)timer;
@end

@implementation QuiltorTestDriver
- (void)tick:(NSTimer*)timer {
    (void)timer;
    NSWindow* window = [NSApp modalWindow];
    if (window == nil) {
        handled = nil;
        return;
    }
    if (window == handled) return;
    handled = window;
    ++showings;
    WindowController* controller = [window windowController];
    if (steps->empty()) {
        [controller closeDialog:nil];
        return;
    }
    const appkit_test::Step step = steps->front();
    steps->pop_front();
    step(controller);
    // A step that leaves the dialog running is closed, so that no test waits for ever.
    if ([NSApp modalWindow] == window) [controller closeDialog:nil];
}
@end

namespace appkit_test {

ModalScript::ModalScript(std::deque<Step> steps) : steps_(std::move(steps)) {
    QuiltorTestDriver* driver = [[QuiltorTestDriver alloc] init];
    driver->steps = &steps_;
    driver_ = driver;
    timer_ = [[NSTimer timerWithTimeInterval:0.02 target:driver selector:@selector(tick:) userInfo:nil
                                     repeats:YES] retain];
    [[NSRunLoop currentRunLoop] addTimer:timer_ forMode:NSModalPanelRunLoopMode];
}

ModalScript::~ModalScript() {
    [timer_ invalidate];
    [timer_ release];
    [driver_ release];
}

int ModalScript::showings() const { return static_cast<QuiltorTestDriver*>(driver_)->showings; }

std::vector<std::string> Rows(NSArrayController* rows, NSString* key) {
    std::vector<std::string> names;
    NSArray* objects = [rows arrangedObjects];
    for (NSUInteger i = 0; i < [objects count]; ++i) {
        NSDictionary* row = [objects objectAtIndex:i];
        // One key per row, and only that one.
        id name = [row objectForKey:key];
        const bool plain = [row count] == 1 && [name isKindOfClass:[NSString class]];
        names.push_back(plain ? [name UTF8String] : "(not a row of the one key)");
    }
    return names;
}

void Choose(NSArrayController* rows, NSString* key, const std::string& name) {
    const std::vector<std::string> names = Rows(rows, key);
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) {
            [rows setSelectionIndex:i];
            return;
        }
    }
    [rows setSelectionIndexes:[NSIndexSet indexSet]];
}

std::string Status(WindowController* controller) { return [[[controller textType] stringValue] UTF8String]; }

bool Ticked(NSButton* box) { return [box state] == NSOnState; }

bool SaveScreenshot(NSWindow* window, const std::string& path) {
    [window display];
    [[NSRunLoop currentRunLoop] runMode:NSModalPanelRunLoopMode beforeDate:[NSDate dateWithTimeIntervalSinceNow:0.3]];
    const NSRect frame = [window frame];
    const NSRect screen = [[window screen] frame];
    const int x = static_cast<int>(frame.origin.x);
    const int y = static_cast<int>(screen.size.height - frame.origin.y - frame.size.height);
    const std::string command = "xwd -root -silent | convert xwd:- -crop " + std::to_string(int(frame.size.width)) +
                                "x" + std::to_string(int(frame.size.height)) + "+" + std::to_string(x) + "+" +
                                std::to_string(y) + " +repage '" + path + "'";
    return std::system(command.c_str()) == 0;
}

}  // namespace appkit_test
