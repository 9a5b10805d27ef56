// The horizontal switch of the view library. Bitmaps with several states stack equal frames
// vertically; a control is as high as one frame. [ui-thread]
#pragma once

#include "control.h"

namespace VSTGUI {

// n positions side by side; a click or drag picks the position under the mouse.
class CHorizontalSwitch : public CControl {
public:
    CHorizontalSwitch(const CRect &size, CControlListener *listener, long tag, int subPixmaps, CCoord heightOfOneImage,
                      int positions, CBitmap *background, const CPoint &offset = CPoint());
    int getNumPositions() const { return positions; }
    int position() const;

    void draw(CDrawContext *context) override;
    CMouseEventResult onMouseDown(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseMoved(CPoint &where, const CButtonState &buttons) override;
    VSTGUI_TYPE(CHorizontalSwitch, CControl)

protected:
    void pickAt(const CPoint &where);

    int subPixmaps;
    CCoord heightOfOneImage;
    int positions;
    CPoint offset;
};

}  // namespace VSTGUI
