#include "controls/zem_calibration_control.h"

#include "params/parameter_table.h"
#include "ui/filmstrip.h"

using namespace VSTGUI;

CZEMCalibrationControl::CZEMCalibrationControl(const CRect &size, CControlListener *listener, long tag,
                                               CBitmap *background)
    : CControl(size, listener, tag, background)
{
}

int CZEMCalibrationControl::frameIndex() const { return threeState(value); }

void CZEMCalibrationControl::draw(CDrawContext *context)
{
    drawFilmstripFrame(context, background, size, CPoint(), frameIndex(), size.getHeight());
    setDirty(false);
}

CMouseEventResult CZEMCalibrationControl::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    int position = threeState(value);
    if (where.x < kSessionStart)
        position = 0;
    else if (where.x < kInstanceStart)
        position = 1;
    else if (where.x < kZonesEnd)
        position = 2;
    commitValue((float)position * 0.5f, kCommitAlwaysReport);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool CZEMCalibrationControl::onWheel(const CPoint &, const float &distance, const CButtonState &)
{
    commitValue(threeStateWheelStep(value, distance));
    return true;
}
