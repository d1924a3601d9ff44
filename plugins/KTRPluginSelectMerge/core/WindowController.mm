#import "WindowController.h"

#include <dlfcn.h>

#include "AppKitSelectionDialog.h"

NSString* const kFolderDataKey = @"folderdata";
NSString* const kSelectDataKey = @"selectdata";

namespace {

void CollectTables(NSView* view, NSMutableArray* tables) {
    if ([view isKindOfClass:[NSTableView class]]) [tables addObject:view];
    NSArray* children = [view subviews];
    for (NSUInteger i = 0; i < [children count]; ++i) CollectTables([children objectAtIndex:i], tables);
}

}  // namespace

@implementation WindowController

// The outlets, set by the nib. Not retained: the window holds its views, the nib's top level its
// array controllers.
- (NSArrayController*)arraySelectController {
    return arraySelectController;
}
- (void)setArraySelectController:(NSArrayController*)value {
    arraySelectController = value;
}
- (NSTextField*)textType {
    return textType;
}
- (void)setTextType:(NSTextField*)value {
    textType = value;
}
- (NSArrayController*)arrayController {
    return arrayController;
}
- (void)setArrayController:(NSArrayController*)value {
    arrayController = value;
}
- (NSButton*)checkBoxPoly {
    return checkBoxPoly;
}
- (void)setCheckBoxPoly:(NSButton*)value {
    checkBoxPoly = value;
}
- (NSButton*)checkBoxLine {
    return checkBoxLine;
}
- (void)setCheckBoxLine:(NSButton*)value {
    checkBoxLine = value;
}

- (id)init {
    self = [super initWithWindowNibName:@"Window"];
    return self;
}

#ifdef GNUSTEP
// A plug-in is no bundle of its own here: its resources lie beside the plug-in file, in the folder
// NAME.resources, as a bundle's Resources folder would hold them.
- (NSString*)windowNibPath {
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&CollectTables), &info) == 0 || info.dli_fname == nullptr) return nil;
    NSString* module = [NSString stringWithUTF8String:info.dli_fname];
    NSString* resources = [[[module stringByDeletingPathExtension] stringByAppendingPathExtension:@"resources"]
        stringByResolvingSymlinksInPath];
    NSString* path =
        [resources stringByAppendingPathComponent:[[self windowNibName] stringByAppendingPathExtension:@"xib"]];
    return [[NSFileManager defaultManager] fileExistsAtPath:path] ? path : nil;
}
#endif

- (void)windowDidLoad {
    [super windowDidLoad];
    // A row is chosen by the person, never by a rebuild of the lists.
    NSArrayController* lists[] = {arrayController, arraySelectController};
    for (NSArrayController* rows : lists) {
        if ([rows content] == nil) [rows setContent:[NSMutableArray array]];
        [rows setSelectsInsertedObjects:NO];
        [rows setAvoidsEmptySelection:NO];
    }
    // Names are short; the lists scroll up and down only.
    NSMutableArray* tables = [NSMutableArray array];
    CollectTables([[self window] contentView], tables);
    for (NSUInteger i = 0; i < [tables count]; ++i) {
        NSScrollView* scroll = [[tables objectAtIndex:i] enclosingScrollView];
        [scroll setHasHorizontalScroller:NO];
        [scroll setHasVerticalScroller:YES];
    }
}

// The modal run looks at a stop only after its next event; one sent from a timer (a script, a
// test) would wait for the person to move the mouse. An event of our own ends the wait.
- (void)wakeModalRun {
    NSEvent* wake = [NSEvent otherEventWithType:NSApplicationDefined
                                       location:NSZeroPoint
                                  modifierFlags:0
                                      timestamp:0
                                   windowNumber:[[self window] windowNumber]
                                        context:nil
                                        subtype:0
                                          data1:0
                                          data2:0];
    [NSApp postEvent:wake atStart:NO];
}

- (void)setDialog:(AppKitSelectionDialog*)owner {
    dialog = owner;
}

// The list a table shows, by the key of its column.
- (NSArrayController*)rowsOfTable:(NSTableView*)table {
    NSArray* columns = [table tableColumns];
    if ([columns count] == 0) return nil;
    id key = [[columns objectAtIndex:0] identifier];
    if ([kFolderDataKey isEqual:key]) return arrayController;
    if ([kSelectDataKey isEqual:key]) return arraySelectController;
    return nil;
}

- (void)reloadLists {
    NSMutableArray* tables = [NSMutableArray array];
    CollectTables([[self window] contentView], tables);
    for (NSUInteger i = 0; i < [tables count]; ++i) {
        NSTableView* table = [tables objectAtIndex:i];
        [table reloadData];
        const NSUInteger chosen = [[self rowsOfTable:table] selectionIndex];
        if (chosen == NSNotFound || chosen >= static_cast<NSUInteger>([table numberOfRows])) {
            [table deselectAll:nil];
        } else {
            [table selectRowIndexes:[NSIndexSet indexSetWithIndex:chosen] byExtendingSelection:NO];
        }
    }
}

- (NSInteger)numberOfRowsInTableView:(NSTableView*)table {
    return static_cast<NSInteger>([[[self rowsOfTable:table] arrangedObjects] count]);
}

- (id)tableView:(NSTableView*)table objectValueForTableColumn:(NSTableColumn*)column row:(NSInteger)row {
    NSArray* rows = [[self rowsOfTable:table] arrangedObjects];
    if (row < 0 || static_cast<NSUInteger>(row) >= [rows count]) return nil;
    return [[rows objectAtIndex:static_cast<NSUInteger>(row)] objectForKey:[column identifier]];
}

- (void)tableViewSelectionDidChange:(NSNotification*)note {
    NSTableView* table = [note object];
    NSArrayController* rows = [self rowsOfTable:table];
    const NSInteger row = [table selectedRow];
    if (row < 0) {
        [rows setSelectionIndexes:[NSIndexSet indexSet]];
    } else {
        [rows setSelectionIndex:static_cast<NSUInteger>(row)];
    }
}

- (IBAction)selectMeshAdd:(id)sender {
    (void)sender;
    if (dialog != nullptr) dialog->Add();
}

- (IBAction)selectMeshDel:(id)sender {
    (void)sender;
    if (dialog != nullptr) dialog->Delete();
}

- (IBAction)selectMergeOK:(id)sender {
    (void)sender;
    if (dialog != nullptr) dialog->OK();
}

- (IBAction)selectMergeCancel:(id)sender {
    (void)sender;
    [self stopWithCode:kSelectMergeCancelCode];
}

- (IBAction)closeDialog:(id)sender {
    (void)sender;
    [[self window] orderOut:nil];
    if ([NSApp modalWindow] != [self window]) return;
    [NSApp stopModal];
    [self wakeModalRun];
}

// Ends this window's modal run; nothing when it is not running (AppKit would complain).
- (void)stopWithCode:(NSInteger)code {
    if ([NSApp modalWindow] != [self window]) return;
    [NSApp stopModalWithCode:code];
    [self wakeModalRun];
}

// The close box.
- (BOOL)windowShouldClose:(id)sender {
    [self closeDialog:sender];
    return NO;
}

- (NSInteger)showDialog {
    const NSInteger code = [NSApp runModalForWindow:[self window]];
    if (code == kSelectMergeOKCode || code == kSelectMergeCancelCode) [[self window] orderOut:nil];
    return code;
}

@end
