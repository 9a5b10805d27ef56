// The name plate of the top row (the product's name, drawn in the panel's picture): a right
// press on it reports to the listener, which opens the size menu there; while the mouse is over
// it the hint line says so. It draws nothing of its own and lets left presses fall through.
// A settings panel's title (the meter's name in its picture) is a plate of the same kind at a
// place of its own, for the standards menu.
// [ui-thread] every operation, mouse events from the frame.
#pragma once

#include "controls/zem_hint_control.h"
#include "ui/control.h"

class CZEMNamePlate : public VSTGUI::CControl, public CZEMHintControl {
public:
    // Where the plate lies in the top row, between the reference control and the hint line.
    static constexpr VSTGUI::CCoord kLeft = 229, kTop = 0, kRight = 304, kBottom = 14;

    CZEMNamePlate(VSTGUI::CControlListener *listener, long tag);
    CZEMNamePlate(VSTGUI::CControlListener *listener, long tag, const VSTGUI::CRect &place);
    // Where the last right press was, in the coordinates of the plate's parent.
    const VSTGUI::CPoint &getPressPoint() const { return pressPoint; }

    void draw(VSTGUI::CDrawContext *context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CZEMNamePlate, CControl)

private:
    VSTGUI::CPoint pressPoint;
};
