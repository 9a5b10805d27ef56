// The three-digit lag display (LagTime, 0..999 ms): arrows above and below the digits step
// 10 ms (Shift: 1 ms), a vertical drag moves 2 ms per pixel, a double-click asks for the reset.
// [ui-thread]
#pragma once

#include "ui/anim_knob.h"

class CZEMLatencyControl : public VSTGUI::CAnimKnob {
public:
    // The lag display image (kImageLagDisplay): three 40-pixel layers, under and over the digits.
    // The display itself is 38 pixels high (it fits the label strip below its top row): each
    // layer's last two rows are empty.
    static constexpr VSTGUI::CCoord kLayerHeight = 40;

    CZEMLatencyControl(const VSTGUI::CRect &size, VSTGUI::CControlListener *listener, long tag,
                       VSTGUI::CBitmap *background);

    // The milliseconds shown: integer(value x 999 + 0.5).
    int milliseconds() const;
    // Set by a double-click; the listener reads and clears it.
    bool resetRequested = false;

    void draw(VSTGUI::CDrawContext *context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    bool onWheel(const VSTGUI::CPoint &where, const float &distance, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CZEMLatencyControl, CAnimKnob)

private:
    float wheelStep = 10.f / 999.f;
    float fineWheelFactor = 0.1f;
};
