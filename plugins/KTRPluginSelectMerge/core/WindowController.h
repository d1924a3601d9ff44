// The tile selection dialog of the AppKit builds: a window controller over the nib "Window".
//
// The two array controllers hold one dictionary per row, under the key "folderdata" (folder list)
// or "selectdata" (selected list), in the order the rows were added; Add and Delete read one chosen
// row of each, its selection index. The buttons' actions hand their events to the selection table
// through the dialog that owns the controller. The modal run ends with code 1 (OK), 0 (Cancel) or
// the plain stop response (closed).
#pragma once

#import <AppKit/AppKit.h>

class AppKitSelectionDialog;

// Keys of the rows' dictionaries.
extern NSString* const kFolderDataKey;
extern NSString* const kSelectDataKey;

// The codes the modal run ends with; a close ends it with NSRunStoppedResponse.
inline constexpr NSInteger kSelectMergeOKCode = 1;
inline constexpr NSInteger kSelectMergeCancelCode = 0;

@interface WindowController : NSWindowController {
    NSArrayController* arraySelectController;
    NSTextField* textType;
    NSArrayController* arrayController;
    NSButton* checkBoxPoly;
    NSButton* checkBoxLine;
    AppKitSelectionDialog* dialog;  // not owned; it owns this controller
}
@property(assign) IBOutlet NSArrayController* arraySelectController;
@property(assign) IBOutlet NSTextField* textType;
@property(assign) IBOutlet NSArrayController* arrayController;
@property(assign) IBOutlet NSButton* checkBoxPoly;
@property(assign) IBOutlet NSButton* checkBoxLine;

// Loads the nib "Window"; the window itself comes when first asked for.
- (id)init;
// The dialog whose events the actions deliver; null delivers none.
- (void)setDialog:(AppKitSelectionDialog*)owner;
// Shows the rows the array controllers hold now.
- (void)reloadLists;

- (IBAction)selectMeshAdd:(id)sender;
- (IBAction)selectMeshDel:(id)sender;
- (IBAction)selectMergeOK:(id)sender;
- (IBAction)selectMergeCancel:(id)sender;
- (IBAction)closeDialog:(id)sender;

// Ends this window's modal run with code; nothing when it is not running.
- (void)stopWithCode:(NSInteger)code;

// Runs the window modally and closes it after OK or Cancel; the driver does not use it.
- (NSInteger)showDialog;
@end
