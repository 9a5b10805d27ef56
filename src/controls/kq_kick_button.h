// The editor's momentary button: normal, hover and pressed frames; it tells its listener only
// about the press. [ui-thread] every operation, mouse events from the frame.
#pragma once

#include "controls/zem_hint_control.h"
#include "ui/kick_button.h"

class CKQKickButton : public VSTGUI::CKickButton {
public:
    // [ui-thread]
    CKQKickButton(const VSTGUI::CRect &size, VSTGUI::CControlListener *listener, long tag, VSTGUI::CBitmap *background,
                  const VSTGUI::CPoint &offset = VSTGUI::CPoint());
    // 2 pressed, 1 hovered, 0 otherwise. [ui-thread] both.
    int frameIndex() const { return pressed ? 2 : (hover ? 1 : 0); }
    bool isPressed() const { return pressed; }

    // [ui-thread] the drawing and the mouse events.
    void draw(VSTGUI::CDrawContext *context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CKQKickButton, CKickButton)

protected:
    // Released or cut short, the button pops up without a report.
    void releasePress() override;

    bool hover = false;
    bool pressed = false;
};

class CKQKickButtonH : public CKQKickButton, public CZEMHintControl {
public:
    using CKQKickButton::CKQKickButton;
    // The button's hover frame, and its hint on the line. [ui-thread]
    VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CKQKickButtonH, CKQKickButton)
};
