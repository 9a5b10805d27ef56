#include "movie_bitmap.h"

#include "filmstrip.h"

namespace VSTGUI {

CMovieBitmap::CMovieBitmap(const CRect &size, CControlListener *listener, long tag, int subPixmaps,
                           CCoord heightOfOneImage, CBitmap *background, const CPoint &offset)
    : CControl(size, listener, tag, background), subPixmaps(subPixmaps), heightOfOneImage(heightOfOneImage),
      offset(offset)
{
}

int CMovieBitmap::frameIndex() const { return filmstripFrameOf(getValueNormalized(), subPixmaps); }

void CMovieBitmap::draw(CDrawContext *context)
{
    drawFilmstripFrame(context, background, size, offset, frameIndex(), heightOfOneImage);
    setDirty(false);
}

}  // namespace VSTGUI
