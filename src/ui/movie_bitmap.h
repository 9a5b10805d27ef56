// The filmstrip indicator of the view library. Bitmaps with several states stack equal frames
// vertically; a control is as high as one frame. [ui-thread]
#pragma once

#include "control.h"

namespace VSTGUI {

// Shows the frame of its value; it takes no mouse events.
class CMovieBitmap : public CControl {
public:
    CMovieBitmap(const CRect &size, CControlListener *listener, long tag, int subPixmaps, CCoord heightOfOneImage,
                 CBitmap *background, const CPoint &offset = CPoint());
    int frameIndex() const;
    void draw(CDrawContext *context) override;
    VSTGUI_TYPE(CMovieBitmap, CControl)

protected:
    int subPixmaps;
    CCoord heightOfOneImage;
    CPoint offset;
};

}  // namespace VSTGUI
