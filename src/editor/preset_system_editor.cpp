#include "preset_system_editor.h"

#include "editor/user_manual.h"

void CPresetSystemEditor::valueChanged(VSTGUI::CControl *control)
{
    if (control && control->getTag() == kManualButtonTag)
        requestUserManual(frame ? frame->getSystemWindow() : nullptr);
}
