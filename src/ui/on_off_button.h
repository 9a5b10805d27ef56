// The two-state button of the view library. Bitmaps with several states stack equal frames
// vertically; a control is as high as one frame. [ui-thread]
#pragma once

#include "control.h"

namespace VSTGUI {

// Two frames: the upper for off (min), the lower for on (max). A left click toggles.
class COnOffButton : public CControl {
public:
    COnOffButton(const CRect &size, CControlListener *listener, long tag, CBitmap *background);
    void draw(CDrawContext *context) override;
    CMouseEventResult onMouseDown(CPoint &where, const CButtonState &buttons) override;
    VSTGUI_TYPE(COnOffButton, CControl)
};

}  // namespace VSTGUI
