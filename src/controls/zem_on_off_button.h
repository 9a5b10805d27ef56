// The editor's two-state buttons. Bitmaps stack the off frame over the on frame (StripActiveButton
// adds a third: on but inactive). [ui-thread]
#pragma once

#include "controls/zem_hint_control.h"
#include "ui/on_off_button.h"

// Click toggles inside one edit; the wheel toggles as its two flags say.
class CZEMOnOffButton : public VSTGUI::CControl {
public:
    CZEMOnOffButton(const VSTGUI::CRect &size, VSTGUI::CControlListener *listener, long tag,
                    VSTGUI::CBitmap *background);

    // With directionalWheel a notch away from the user switches on and one towards switches off
    // (after the sign rule); without it any notch toggles. Without keepWheelSign the distance is
    // negated first.
    bool directionalWheel = false;
    bool keepWheelSign = false;

    void draw(VSTGUI::CDrawContext *context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    bool onWheel(const VSTGUI::CPoint &where, const float &distance, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CZEMOnOffButton, CControl)
};

// Explains itself on the hint line, following its value after its own changes.
class CZEMOnOffButtonH : public CZEMOnOffButton, public CZEMHintControl {
public:
    using CZEMOnOffButton::CZEMOnOffButton;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    bool onWheel(const VSTGUI::CPoint &where, const float &distance, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CZEMOnOffButtonH, CZEMOnOffButton)
};

// Inert while inactive, when entering it shows what would activate it.
class CZEMOnOffButtonAH : public CZEMOnOffButtonH, public CZEMActiveControl {
public:
    using CZEMOnOffButtonH::CZEMOnOffButtonH;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    bool onWheel(const VSTGUI::CPoint &where, const float &distance, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CZEMOnOffButtonAH, CZEMOnOffButtonH)
};

// Three frames: off; on but inactive; on and active.
class StripActiveButton : public CZEMOnOffButtonAH {
public:
    using CZEMOnOffButtonAH::CZEMOnOffButtonAH;
    int frameIndex() const;
    void draw(VSTGUI::CDrawContext *context) override;
    VSTGUI_TYPE(StripActiveButton, CZEMOnOffButtonAH)
};

// The library's on/off button with a hint; it does not take the wheel.
class COnOffButtonH : public VSTGUI::COnOffButton, public CZEMHintControl {
public:
    using COnOffButton::COnOffButton;
    VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(COnOffButtonH, COnOffButton)
};
