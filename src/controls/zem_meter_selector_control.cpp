#include "controls/zem_meter_selector_control.h"

#include "params/parameter_table.h"
#include "ui/filmstrip.h"

using namespace VSTGUI;

CZEMMeterSelectorControl::CZEMMeterSelectorControl(const CRect &size, CControlListener *listener, long tag,
                                                   CBitmap *background)
    : CControl(size, listener, tag, background),
      settingsToggle(new CZEMOnOffButton(size, listener, kTagSettingsToggle, background)),
      leftZoneEnd((int)(size.left + 20)), rightZoneStart((int)(size.right - 20))
{
    settingsToggle->setValue(1.f);
}

CZEMMeterSelectorControl::Zone CZEMMeterSelectorControl::zoneAt(const CPoint &where) const
{
    if (where.x <= leftZoneEnd)
        return kLeftArrow;
    if (where.x >= rightZoneStart)
        return kRightArrow;
    return kMiddle;
}

int CZEMMeterSelectorControl::frameIndex() const
{
    return hoverZone == kLeftArrow ? 1 : (hoverZone == kRightArrow ? 2 : 0);
}

void CZEMMeterSelectorControl::draw(CDrawContext *context)
{
    drawFilmstripFrame(context, background, size, CPoint(), frameIndex(), size.getHeight());
    setDirty(false);
}

CMouseEventResult CZEMMeterSelectorControl::onMouseMoved(CPoint &where, const CButtonState &)
{
    hoverZone = zoneAt(where);
    setDirty(true);
    showHint(tag, value, hoverZone);
    return kMouseEventHandled;
}

CMouseEventResult CZEMMeterSelectorControl::onMouseExited(CPoint &, const CButtonState &)
{
    hoverZone = kMiddle;
    setDirty(true);
    showHint(tag, value, kMiddle);  // the empty text
    return kMouseEventHandled;
}

CMouseEventResult CZEMMeterSelectorControl::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    Zone zone = zoneAt(where);
    if (zone == kMiddle) {
        if (listener)
            listener->valueChanged(settingsToggle.get());
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    int meter = threeState(value);
    meter = zone == kLeftArrow ? (meter == 0 ? 2 : meter - 1) : (meter == 2 ? 0 : meter + 1);
    commitValue((float)meter * 0.5f, kCommitAlwaysReport);
    showHint(tag, value, zone);  // names the meter the same arrow selects next
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool CZEMMeterSelectorControl::onWheel(const CPoint &, const float &distance, const CButtonState &)
{
    commitValue(threeStateWheelStep(value, distance));
    showHint(tag, value, hoverZone);
    return true;
}
