// Hooks of the merge run for tests and other front ends.
#pragma once

#include <functional>
#include <memory>

#include "core/SelectionDialog.h"

// Makes the tile selection dialog of each showing. The run owns what it
// returns. By default CreateSelectionDialog (the dialog of this build).
using SelectionDialogFactory = std::function<std::unique_ptr<SelectionDialog>(SelectionAlerts&)>;

// Replaces the factory; an empty one restores the default.
void SetSelectionDialogFactory(SelectionDialogFactory factory);
