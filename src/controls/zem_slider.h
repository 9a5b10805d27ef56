// The editor's sliders: the vertical trim slider and the horizontal frequency sliders.
// [ui-thread]
#pragma once

#include "controls/zem_hint_control.h"
#include "ui/slider.h"

// A drag on the handle moves it relatively (Shift: finely); once a drag has started, a pointer
// beyond the handle pulls the handle's centre to it. A double-click restores the default.
class CZEMSlider : public VSTGUI::CSlider {
public:
    using CSlider::CSlider;

    // [ui-thread] the settings, set while the editor builds the slider.
    void setFineDragFactor(float factor) { fineDragFactor = factor; }
    void setWheelStep(float step) { wheelStep = step; }
    void setFineWheelFactor(float factor) { fineWheelFactor = factor; }

    // [ui-thread] the mouse events, from the frame.
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    bool onWheel(const VSTGUI::CPoint &where, const float &distance, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CZEMSlider, CSlider)

protected:
    float fineDragFactor = 0.1f;
    float wheelStep = 0.025f;
    float fineWheelFactor = 0.1f;
};

// Half transparent and inert while inactive (Process off). The release is never inert: a drag that
// began while active ends its edit even when Process went off meanwhile.
class CZEMSliderAH : public CZEMSlider, public CZEMActiveControl, public CZEMHintControl {
public:
    using CZEMSlider::CZEMSlider;
    // [ui-thread] the drawing and the mouse events.
    void draw(VSTGUI::CDrawContext *context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    bool onWheel(const VSTGUI::CPoint &where, const float &distance, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CZEMSliderAH, CZEMSlider)
};
