// Filmstrips: pictures whose frames stand one below the other. [ui-thread]
#pragma once

#include "draw_context.h"

namespace VSTGUI {

// The frame integer(normalized x (frames - 1) + 0.5), with normalized limited to [0, 1].
inline int filmstripFrameOf(float normalized, int frames)
{
    if (frames <= 1)
        return 0;
    float v = normalized < 0.f ? 0.f : (normalized > 1.f ? 1.f : normalized);
    int index = (int)(v * (float)(frames - 1) + 0.5f);
    return index < 0 ? 0 : (index > frames - 1 ? frames - 1 : index);
}

// Draws frame number frame of strip into size; frames are heightOfOneImage apart from offset on.
inline void drawFilmstripFrame(CDrawContext *context, CBitmap *strip, const CRect &size, const CPoint &offset,
                               int frame, CCoord heightOfOneImage)
{
    if (strip)
        context->drawBitmap(strip, size, CPoint(offset.x, offset.y + frame * heightOfOneImage));
}

}  // namespace VSTGUI
