// Base of the editor: it answers the manual button (tag 121) and passes every other control
// change through unchanged. [ui-thread] (the host's)
#pragma once

#include "editor/aeff_gui_editor.h"

class CPresetSystemEditor : public AEffGUIEditor {
public:
    explicit CPresetSystemEditor(AudioEffect *effect) : AEffGUIEditor(effect) {}
    void valueChanged(VSTGUI::CControl *control) override;
};
