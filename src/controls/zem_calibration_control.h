// The settings-scope selector (GSIcal): Global, Session, Instance as 0, 0.5 and 1, picked by
// fixed hit zones. [ui-thread]
#pragma once

#include "ui/control.h"

class CZEMCalibrationControl : public VSTGUI::CControl {
public:
    // Hit zones in the panel's coordinates: Global below 14, Session below 26, Instance below 38.
    static constexpr VSTGUI::CCoord kSessionStart = 14;
    static constexpr VSTGUI::CCoord kInstanceStart = 26;
    static constexpr VSTGUI::CCoord kZonesEnd = 38;

    CZEMCalibrationControl(const VSTGUI::CRect &size, VSTGUI::CControlListener *listener, long tag,
                           VSTGUI::CBitmap *background);
    int frameIndex() const;
    void draw(VSTGUI::CDrawContext *context) override;
    // Reports even an unchanged scope; a press beyond the zones keeps the scope.
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    bool onWheel(const VSTGUI::CPoint &where, const float &distance, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CZEMCalibrationControl, CControl)
};
