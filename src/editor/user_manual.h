// The manual request: the editor's control-change routing calls it for every change of a control
// with tag 121 (the front panel's manual button), whatever the value.
// [ui-thread] (blocks it while a message box is shown).
#pragma once

#include "params/parameter_table.h"

constexpr int kManualButtonTag = kTagManual;

// Opens the installed user manual (installedManualPath) with its associated program, owned by
// ownerWindow (the editor frame's window, or null without a frame). When that fails it tells the
// user in a modal message box: "Make sure Acrobat Reader is installed" under "Could not open
// manual file" when no program is associated with the file type, otherwise "Could not open user
// manual" with an empty caption.
void requestUserManual(void *ownerWindow);
