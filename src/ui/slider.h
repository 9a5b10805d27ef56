// The slider of the view library. Bitmaps with several states stack equal frames
// vertically; a control is as high as one frame. [ui-thread]
#pragma once

#include "control.h"

namespace VSTGUI {

// A handle moving over an optional background, horizontally or vertically.
class CSlider : public CControl {
public:
    enum Style {
        kHorizontal = 1 << 0,
        kVertical = 1 << 1,
        kLeft = 1 << 2,
        kRight = 1 << 3,
        kTop = 1 << 4,
        kBottom = 1 << 5
    };

    // travel: the handle's movement in pixels from one end to the other. offsetHandle: where the
    // handle's travel starts, relative to the control. offset: source offset of the background.
    // Horizontal sliders grow to the right (kLeft), vertical ones upwards (kBottom).
    CSlider(const CRect &size, CControlListener *listener, long tag, const CPoint &offsetHandle, CCoord travel,
            CBitmap *handle, CBitmap *background, const CPoint &offset = CPoint(), int style = kHorizontal | kLeft);
    ~CSlider() override;

    bool isVertical() const { return (style & kVertical) != 0; }
    int getStyle() const { return style; }
    CCoord getHandleTravel() const { return travel; }
    const CPoint &getOffsetHandle() const { return offsetHandle; }
    CCoord getHandleWidth() const { return handleWidth; }
    CCoord getHandleHeight() const { return handleHeight; }
    CBitmap *getHandle() const { return handle; }
    // Shift divides the drag speed by this factor.
    void setZoomFactor(float factor) { zoomFactor = factor; }
    // The handle's rectangle for the current value, in the control's coordinates (parent's).
    CRect getHandleRect() const;

    void draw(CDrawContext *context) override;
    CMouseEventResult onMouseDown(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseMoved(CPoint &where, const CButtonState &buttons) override;
    bool onWheel(const CPoint &where, const float &distance, const CButtonState &buttons) override;
    VSTGUI_TYPE(CSlider, CControl)

protected:
    // The normalised value whose handle centre lies at the pointer coordinate along the axis.
    float valueAt(const CPoint &where) const;

    CPoint offsetHandle;
    CCoord travel;
    CBitmap *handle;
    CPoint offset;
    int style;
    CCoord handleWidth = 0, handleHeight = 0;
    float zoomFactor = 10.f;
    float wheelInc = 0.1f;
};

}  // namespace VSTGUI
