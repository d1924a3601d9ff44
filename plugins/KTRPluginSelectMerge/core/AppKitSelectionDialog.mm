#import "WindowController.h"

#include "AppKitSelectionDialog.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "TextSelectionDialog.h"

namespace {

// The code a modal run ends with when the lists ran out of memory.
constexpr NSInteger kSelectMergeFailedCode = 2;

// Objects made autoreleased inside one call are freed before it returns: the host keeps no pool.
class Pool {
public:
    Pool() : pool_([[NSAutoreleasePool alloc] init]) {}
    ~Pool() { [pool_ drain]; }
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

private:
    NSAutoreleasePool* pool_;
};

NSString* Text(const std::string& utf8) {
    NSString* text = [NSString stringWithUTF8String:utf8.c_str()];
    return text != nil ? text : @"";
}

std::string Utf8(id value) {
    if (![value isKindOfClass:[NSString class]]) return std::string();
    const char* utf8 = [value UTF8String];
    return utf8 != nullptr ? std::string(utf8) : std::string();
}

void Append(NSArrayController* rows, NSString* key, const std::string& name) {
    [rows addObject:[NSDictionary dictionaryWithObject:Text(name) forKey:key]];
}

// Removes the first row until none is left; no choice outlives its row.
void Clear(NSArrayController* rows) {
    [rows setSelectionIndexes:[NSIndexSet indexSet]];
    while ([[rows arrangedObjects] count] > 0) [rows removeObjectAtArrangedObjectIndex:0];
}

std::vector<int32_t> Chosen(NSArrayController* rows) {
    const NSUInteger index = [rows selectionIndex];
    if (index == NSNotFound || index >= [[rows arrangedObjects] count]) return {};
    return {static_cast<int32_t>(index)};
}

std::string RowText(NSArrayController* rows, NSString* key, int32_t row) {
    NSArray* objects = [rows arrangedObjects];
    if (row < 0 || static_cast<NSUInteger>(row) >= [objects count]) return std::string();
    return Utf8([[objects objectAtIndex:static_cast<NSUInteger>(row)] objectForKey:key]);
}

void Tick(NSButton* box, bool checked) { [box setState:checked ? NSOnState : NSOffState]; }

}  // namespace

#ifdef GNUSTEP
// Last, since its macros (Status, Bool, None) would rename what the headers above declare.
#include <X11/Xlib.h>
#endif

// GNUstep cannot start without its X display (it would throw at the first window); asked once.
bool AppKitAvailable() {
#ifdef GNUSTEP
    static const bool available = [] {
        const char* name = std::getenv("DISPLAY");
        if (name == nullptr || *name == '\0') return false;
        Display* display = XOpenDisplay(nullptr);
        if (display == nullptr) return false;
        XCloseDisplay(display);
        return true;
    }();
    return available;
#else
    return true;
#endif
}

AppKitSelectionDialog::AppKitSelectionDialog(SelectionAlerts& alerts) : alerts_(alerts) {
    Pool pool;
    [NSApplication sharedApplication];
    WindowController* controller = [[WindowController alloc] init];
    if (controller == nil || [controller window] == nil || [controller arrayController] == nil ||
        [controller arraySelectController] == nil) {
        [controller release];
        throw std::runtime_error("the nib \"Window\" of the tile selection dialog could not be loaded");
    }
    controller_ = controller;
    [controller_ setDialog:this];
}

AppKitSelectionDialog::~AppKitSelectionDialog() {
    Pool pool;
    [controller_ setDialog:nullptr];
    [[controller_ window] orderOut:nil];
    [controller_ release];
}

void AppKitSelectionDialog::SetLineCheckBox(bool checked) { Tick([controller_ checkBoxLine], checked); }
void AppKitSelectionDialog::SetFaceCheckBox(bool checked) { Tick([controller_ checkBoxPoly], checked); }
bool AppKitSelectionDialog::GetLineCheckBox() const { return [[controller_ checkBoxLine] state] == NSOnState; }
bool AppKitSelectionDialog::GetFaceCheckBox() const { return [[controller_ checkBoxPoly] state] == NSOnState; }

void AppKitSelectionDialog::AppendFolderRow(const std::string& name) {
    Pool pool;
    Append([controller_ arrayController], kFolderDataKey, name);
    [controller_ reloadLists];
}

void AppKitSelectionDialog::AppendSelectRow(const std::string& name) {
    Pool pool;
    Append([controller_ arraySelectController], kSelectDataKey, name);
    [controller_ reloadLists];
}

void AppKitSelectionDialog::ClearFolderList() {
    Pool pool;
    Clear([controller_ arrayController]);
    [controller_ reloadLists];
}

void AppKitSelectionDialog::ClearSelectList() {
    Pool pool;
    Clear([controller_ arraySelectController]);
    [controller_ reloadLists];
}

void AppKitSelectionDialog::SetStatus(const std::string& text) {
    Pool pool;
    [[controller_ textType] setStringValue:Text(text)];
}

std::vector<int32_t> AppKitSelectionDialog::ChosenFolderRows() const { return Chosen([controller_ arrayController]); }
std::vector<int32_t> AppKitSelectionDialog::ChosenSelectRows() const {
    return Chosen([controller_ arraySelectController]);
}

std::string AppKitSelectionDialog::FolderRowText(int32_t row) const {
    Pool pool;
    return RowText([controller_ arrayController], kFolderDataKey, row);
}

std::string AppKitSelectionDialog::SelectRowText(int32_t row) const {
    Pool pool;
    return RowText([controller_ arraySelectController], kSelectDataKey, row);
}

DialogResult AppKitSelectionDialog::RunModal() {
    if (closed_) return DialogResult::Closed;
    Pool pool;
    failed_ = false;
    NSInteger code = NSRunStoppedResponse;
    @try {
        code = [NSApp runModalForWindow:[controller_ window]];
    } @catch (NSException* e) {
        (void)e;
        failed_ = true;
    }
    if (failed_ || code == kSelectMergeFailedCode) return DialogResult::Failed;
    if (code == kSelectMergeOKCode) return DialogResult::OK;
    if (code == kSelectMergeCancelCode) return DialogResult::Cancel;
    closed_ = true;
    return DialogResult::Closed;
}

void AppKitSelectionDialog::Close() {
    Pool pool;
    closed_ = true;
    [[controller_ window] orderOut:nil];
}

void AppKitSelectionDialog::Add() {
    if (SelectMeshAdd(*this, alerts_) == SelectionChange::OutOfMemory) {
        failed_ = true;
        [controller_ stopWithCode:kSelectMergeFailedCode];
    }
}

void AppKitSelectionDialog::Delete() {
    if (SelectMeshDel(*this, alerts_) == SelectionChange::OutOfMemory) {
        failed_ = true;
        [controller_ stopWithCode:kSelectMergeFailedCode];
    }
}

void AppKitSelectionDialog::OK() {
    if (SelectMergeOK(alerts_)) [controller_ stopWithCode:kSelectMergeOKCode];
}

// Without a display the terminal dialog stands in, so that a run never fails for want of a window.
// A window that cannot be built (its nib missing) says so on standard error, and the terminal
// dialog stands in too.
std::unique_ptr<SelectionDialog> CreateSelectionDialog(SelectionAlerts& alerts) {
    if (AppKitAvailable()) {
        try {
            return std::make_unique<AppKitSelectionDialog>(alerts);
        } catch (const std::runtime_error& e) {
            std::fprintf(stderr, "Quiltor: %s; the terminal dialog is shown instead\n", e.what());
        }
    }
    return std::make_unique<TextSelectionDialog>(alerts);
}
