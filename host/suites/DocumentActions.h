// The editing events of the Edit and Select menus, played on the current document:
//   "adobe_selectAll"    every object a user could click: not locked or hidden, in a layer that is
//                        visible and unlocked all the way up; members follow their group.
//   "adobe_deselectAll"  nothing selected.
//   "adobe_cut"          the selection (its topmost selected objects, top to bottom) goes to the
//                        host's clipboard, each object with the title path of its layer. Cutting
//                        nothing empties the clipboard.
//   "adobe_pasteInBack"  the clipboard goes behind the art already there, in clipboard order, and
//                        becomes the selection: into the current layer, or, with the Layers-panel
//                        option "コピー元のレイヤーにペースト" on, into the layer of the same title
//                        path (made, on top of its siblings, when the document lacks it).
//   "adobe_move"         the selection moves by the reals 'hozn' and 'vtcl' (points, y upward).
// Each takes time linear in the size of the document and of the clipboard.
#pragma once

namespace quiltor::host {

class ActionRegistry;

// Adds the five events; they share one clipboard that lives as long as the registry.
void RegisterDocumentActions(ActionRegistry& registry);

}  // namespace quiltor::host
