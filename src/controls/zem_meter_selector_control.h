// The meter-type selector (Meter: VU3, RMS3, PPM3 as 0, 0.5, 1): arrows at both ends step
// round the three types, the middle opens and closes the settings panel. [ui-thread]
#pragma once

#include "controls/zem_hint_control.h"
#include "controls/zem_on_off_button.h"
#include "ui/base_object.h"

class CZEMMeterSelectorControl : public VSTGUI::CControl, public CZEMHintControl {
public:
    enum Zone { kLeftArrow = 0, kRightArrow = 1, kMiddle = 2 };

    CZEMMeterSelectorControl(const VSTGUI::CRect &size, VSTGUI::CControlListener *listener, long tag,
                             VSTGUI::CBitmap *background);

    Zone getHoverZone() const { return hoverZone; }
    Zone zoneAt(const VSTGUI::CPoint &where) const;
    // Frames by hover zone: 1 left arrow, 2 right arrow, 0 middle.
    int frameIndex() const;
    // The never-shown button reported as the sender of the settings-panel toggle.
    VSTGUI::CControl *getSettingsToggle() const { return settingsToggle.get(); }

    void draw(VSTGUI::CDrawContext *context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    // Steps without wrapping round.
    bool onWheel(const VSTGUI::CPoint &where, const float &distance, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CZEMMeterSelectorControl, CControl)

private:
    VSTGUI::OwningPointer<CZEMOnOffButton> settingsToggle;
    int leftZoneEnd;
    int rightZoneStart;
    Zone hoverZone = kMiddle;
};
