// The momentary button of the view library. Bitmaps with several states stack equal frames
// vertically; a control is as high as one frame. [ui-thread]
#pragma once

#include "control.h"

namespace VSTGUI {

// Reports max on press and min on release; the lower frame shows while pressed.
class CKickButton : public CControl {
public:
    CKickButton(const CRect &size, CControlListener *listener, long tag, CBitmap *background,
                const CPoint &offset = CPoint());
    void draw(CDrawContext *context) override;
    CMouseEventResult onMouseDown(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseMoved(CPoint &where, const CButtonState &buttons) override;
    VSTGUI_TYPE(CKickButton, CControl)

protected:
    // Released or cut short, the button pops up again and reports it; then the edit closes.
    void releasePress() override;

    CPoint offset;
    bool pressedInside = false;
};

}  // namespace VSTGUI
