#import <AppKit/AppKit.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <string>

#include "cli/DialogRobot.h"

namespace {

// What the dialog offers to be driven by: its title, and the window controller's outlets and
// actions.
NSString* const kDialogTitle = @"Quiltor セレクトマージ - ファイル選択";
constexpr char kDialogTitleUtf8[] = "Quiltor セレクトマージ - ファイル選択";
constexpr NSTimeInterval kLookEvery = 0.02;

const char* OnOff(bool on) { return on ? "on" : "off"; }

class Pool {
public:
    Pool() : pool_([[NSAutoreleasePool alloc] init]) {}
    ~Pool() { [pool_ drain]; }
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

private:
    NSAutoreleasePool* pool_;
};

std::string Utf8(id value) {
    if (![value isKindOfClass:[NSString class]]) return std::string();
    const char* utf8 = [value UTF8String];
    return utf8 != nullptr ? utf8 : "";
}

}  // namespace

// What the robot sends the plug-in's window controller (it does not include the plug-in's code).
@protocol QuiltorSelectionWindow
- (NSArrayController*)arrayController;
- (NSArrayController*)arraySelectController;
- (NSButton*)checkBoxLine;
- (NSButton*)checkBoxPoly;
- (void)selectMeshAdd:(id)sender;
- (void)selectMergeOK:(id)sender;
- (void)closeDialog:(id)sender;
@end

// Looks at the modal window on every tick of the run loop and drives the tile dialog once it
// shows.
@interface QuiltorDialogRobot : NSObject {
    const quiltor::cli::DialogRobot::Plan* plan;
    const quiltor::cli::DialogRobot::Note* note;
    NSWindow* handled;
    int showings;
}
- (id)initWithPlan:(const quiltor::cli::DialogRobot::Plan*)aPlan note:(const quiltor::cli::DialogRobot::Note*)aNote;
- (void)tick:(NSTimer*)timer;
@end

@implementation QuiltorDialogRobot

- (id)initWithPlan:(const quiltor::cli::DialogRobot::Plan*)aPlan note:(const quiltor::cli::DialogRobot::Note*)aNote {
    self = [super init];
    if (self != nil) {
        plan = aPlan;
        note = aNote;
    }
    return self;
}

- (bool)wants:(const std::string&)name {
    if (plan->tiles.empty()) return true;
    for (const std::string& tile : plan->tiles) {
        if (tile == name) return true;
    }
    return false;
}

// The first row of the folder list the plan wants, or NSNotFound.
- (NSUInteger)wantedRowOf:(NSArrayController*)rows {
    NSArray* objects = [rows arrangedObjects];
    for (NSUInteger i = 0; i < [objects count]; ++i) {
        if ([self wants:Utf8([[objects objectAtIndex:i] objectForKey:@"folderdata"])]) return i;
    }
    return NSNotFound;
}

- (void)tick:(NSTimer*)timer {
    (void)timer;
    NSWindow* window = [NSApp modalWindow];
    if (window == nil || ![[window title] isEqualToString:kDialogTitle]) {
        handled = nil;
        return;
    }
    id<QuiltorSelectionWindow> controller = (id<QuiltorSelectionWindow>)[window windowController];
    if (window == handled || ![(id)controller respondsToSelector:@selector(selectMeshAdd:)]) return;
    handled = window;
    if (++showings > 1) {
        (*note)(std::string("DIALOG: ") + kDialogTitleUtf8 + " shown again -> closed");
        [controller closeDialog:nil];
        return;
    }
    NSArrayController* folder = [controller arrayController];
    const NSUInteger offered = [[folder arrangedObjects] count];
    int added = 0;
    // One row at a time, as a person chooses them; every Add rebuilds the lists.
    for (NSUInteger row = [self wantedRowOf:folder]; row != NSNotFound; row = [self wantedRowOf:folder]) {
        const NSUInteger before = [[folder arrangedObjects] count];
        [folder setSelectionIndex:row];
        [controller selectMeshAdd:nil];
        if ([[folder arrangedObjects] count] >= before) break;
        ++added;
    }
    NSButton* line = [controller checkBoxLine];
    NSButton* face = [controller checkBoxPoly];
    if (([line state] == NSOnState) != plan->lineBox) [line performClick:nil];
    if (([face state] == NSOnState) != plan->faceBox) [face performClick:nil];
    (*note)(std::string("DIALOG: ") + kDialogTitleUtf8 + " -> " + std::to_string(added) + " of " +
            std::to_string(offered) + " added, line join " + OnOff(plan->lineBox) + ", face join " +
            OnOff(plan->faceBox) + ", OK");
    [controller selectMergeOK:nil];
    // Refused (nothing selected): a script waits for nobody, so the dialog is closed.
    if ([[[controller arraySelectController] arrangedObjects] count] == 0) {
        (*note)(std::string("DIALOG: ") + kDialogTitleUtf8 + " nothing selected -> closed");
        [controller closeDialog:nil];
    }
}

@end

namespace quiltor::cli {

struct DialogRobot::Timer {
    QuiltorDialogRobot* robot = nil;
    NSTimer* timer = nil;
};

// As the plug-in decides: a display that opens.
bool DialogRobot::WindowShown() {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') return false;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    XCloseDisplay(display);
    return true;
}

DialogRobot::DialogRobot(Plan plan, Note note)
    : plan_(std::move(plan)), note_(std::move(note)), timer_(std::make_unique<Timer>()) {
    Pool pool;
    timer_->robot = [[QuiltorDialogRobot alloc] initWithPlan:&plan_ note:&note_];
    timer_->timer = [[NSTimer timerWithTimeInterval:kLookEvery
                                             target:timer_->robot
                                           selector:@selector(tick:)
                                           userInfo:nil
                                            repeats:YES] retain];
    // The modal run turns the run loop in its own mode.
    NSRunLoop* loop = [NSRunLoop currentRunLoop];
    [loop addTimer:timer_->timer forMode:NSModalPanelRunLoopMode];
    [loop addTimer:timer_->timer forMode:NSDefaultRunLoopMode];
}

DialogRobot::~DialogRobot() {
    Pool pool;
    [timer_->timer invalidate];
    [timer_->timer release];
    [timer_->robot release];
}

}  // namespace quiltor::cli
