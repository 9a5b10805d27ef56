// The filmstrip knob of the view library. Bitmaps with several states stack equal frames
// vertically; a control is as high as one frame. [ui-thread]
#pragma once

#include "control.h"

namespace VSTGUI {

// A filmstrip: frame integer(normalised value x (frames - 1) + 0.5) is shown.
class CAnimKnob : public CControl {
public:
    CAnimKnob(const CRect &size, CControlListener *listener, long tag, int subPixmaps, CCoord heightOfOneImage,
              CBitmap *background, const CPoint &offset = CPoint());
    int getNumSubPixmaps() const { return subPixmaps; }
    CCoord getHeightOfOneImage() const { return heightOfOneImage; }
    const CPoint &getOffset() const { return offset; }
    int frameIndex() const;

    void draw(CDrawContext *context) override;
    // Linear drag: 200 pixels up or right cover the range (Shift: ten times as many);
    // Ctrl-click restores the default value.
    CMouseEventResult onMouseDown(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseMoved(CPoint &where, const CButtonState &buttons) override;
    bool onWheel(const CPoint &where, const float &distance, const CButtonState &buttons) override;
    VSTGUI_TYPE(CAnimKnob, CControl)

protected:
    int subPixmaps;
    CCoord heightOfOneImage;
    CPoint offset;
};

}  // namespace VSTGUI
