#include "controls/zem_horizontal_switch.h"

using namespace VSTGUI;

bool CZEMHorizontalSwitch::onWheel(const CPoint &, const float &distance, const CButtonState &)
{
    if (positions < 2)
        return true;
    const float steps = (float)(positions - 1);
    float next = value;
    if (distance > 0.1f)
        next += 1.f / steps;
    else if (distance < -0.1f)
        next -= 1.f / steps;
    next = (float)(int)(steps * next + 0.5f) / steps;
    commitValue(next);
    return true;
}
