#include "controls/zem_name_plate.h"

using namespace VSTGUI;

CZEMNamePlate::CZEMNamePlate(CControlListener *listener, long tag)
    : CControl(CRect(kLeft, kTop, kRight, kBottom), listener, tag)
{
}

CZEMNamePlate::CZEMNamePlate(CControlListener *listener, long tag, const CRect &place) : CControl(place, listener, tag)
{
}

// The name is part of the panel's picture.
void CZEMNamePlate::draw(CDrawContext *) { setDirty(false); }

CMouseEventResult CZEMNamePlate::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    if (!buttons.isRightButton())
        return kMouseEventNotHandled;
    pressPoint = where;
    valueChanged();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CMouseEventResult CZEMNamePlate::onMouseEntered(CPoint &, const CButtonState &) { return hintOnEnter(tag, 0.f); }

CMouseEventResult CZEMNamePlate::onMouseExited(CPoint &, const CButtonState &) { return hintOnExit(); }
