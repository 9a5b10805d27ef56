// The editor's frame: the library frame that takes the keyboard focus on every press.
// [ui-thread]
#pragma once

#include "ui/frame.h"

class MyFrame : public VSTGUI::CFrame {
public:
    MyFrame(const VSTGUI::CRect &size, void *systemWindow, VSTGUI::VSTGUIEditorInterface *editor)
        : CFrame(size, systemWindow, editor)
    {
    }

    VSTGUI::CMouseEventResult platformOnMouseDown(VSTGUI::CPoint where, const VSTGUI::CButtonState &buttons) override
    {
        if (focusOnClick)
            takeKeyboardFocus();
        return CFrame::platformOnMouseDown(where, buttons);
    }

    bool focusOnClick = false;
};
