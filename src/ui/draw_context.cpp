#include "draw_context.h"

#include <cmath>

#include "bitmap.h"
#include "font.h"
#include "view.h"

namespace VSTGUI {

CDrawContext::CDrawContext(CCoord surfaceWidth, CCoord surfaceHeight)
    : deviceWidth(surfaceWidth), deviceHeight(surfaceHeight), surfaceRect(0, 0, surfaceWidth, surfaceHeight),
      clip(surfaceRect)
{
    setFont(kNormalFontVerySmall);
}

void CDrawContext::setDeviceScale(double scale)
{
    if (!std::isfinite(scale) || scale <= 0)
        return;
    deviceScale = scale;
    surfaceRect = CRect(0, 0, deviceWidth / scale, deviceHeight / scale);
    clip = surfaceRect;
}

bool CDrawContext::bitmapPartSize(const CRect &dest, const CPoint &source, CCoord bitmapWidth, CCoord bitmapHeight,
                                  CCoord &width, CCoord &height)
{
    width = dest.getWidth();
    height = dest.getHeight();
    if (source.x + width > bitmapWidth)
        width = bitmapWidth - source.x;
    if (source.y + height > bitmapHeight)
        height = bitmapHeight - source.y;
    return width > 0 && height > 0;
}

CDrawContext::~CDrawContext()
{
    if (font)
        font->forget();
}

void CDrawContext::setFont(CFontDesc *newFont, double size, int style)
{
    if (!newFont)
        return;
    CFontDesc *chosen = newFont;
    if ((size > 0 && size != newFont->getSize()) || (style >= 0 && style != newFont->getStyle())) {
        chosen = new CFontDesc(*newFont);
        if (size > 0)
            chosen->setSize(size);
        if (style >= 0)
            chosen->setStyle(style);
    } else {
        chosen->remember();
    }
    if (font)
        font->forget();
    font = chosen;
}

void CDrawContext::setGlobalAlpha(float alpha) { globalAlpha = alpha < 0.f ? 0.f : (alpha > 1.f ? 1.f : alpha); }

void CDrawContext::setClipRect(const CRect &rect)
{
    clip = rect;
    clip.offset(offset).bound(surfaceRect);
}

CRect CDrawContext::getClipRect() const
{
    CRect r(clip);
    return r.offset(-offset.x, -offset.y);
}

void CDrawContext::resetClipRect() { clip = surfaceRect; }

void CDrawContext::drawString(const char *utf8, const CRect &rect, CHoriTxtAlign align, bool antialias)
{
    if (!utf8 || !*utf8 || !font)
        return;
    IPlatformFont *platformFont = font->getPlatformFont();
    if (!platformFont || !platformFont->getPainter())
        return;
    CRect oldClip = getClipRect();
    CRect area(rect);
    setClipRect(area.bound(oldClip));
    // Measured first: a font may make its drawing font (and know its metrics) only when used.
    CCoord width = platformFont->getPainter()->getStringWidth(this, utf8, antialias);
    double ascent = platformFont->getAscent();
    double descent = platformFont->getDescent();
    CPoint point(rect.left, rect.top + (rect.getHeight() + ascent - descent) / 2.0);
    if (align == kCenterText)
        point.x = rect.left + (rect.getWidth() - width) / 2.0;
    else if (align == kRightText)
        point.x = rect.right - width;
    platformFont->getPainter()->drawString(this, utf8, point, antialias);
    setClipRect(oldClip);
}

void CDrawContext::drawString(const char *utf8, const CPoint &baseline, bool antialias)
{
    if (!utf8 || !*utf8 || !font)
        return;
    IPlatformFont *platformFont = font->getPlatformFont();
    if (platformFont && platformFont->getPainter())
        platformFont->getPainter()->drawString(this, utf8, baseline, antialias);
}

CCoord CDrawContext::getStringWidth(const char *utf8)
{
    if (!utf8 || !font)
        return 0;
    IPlatformFont *platformFont = font->getPlatformFont();
    if (!platformFont || !platformFont->getPainter())
        return 0;
    return platformFont->getPainter()->getStringWidth(this, utf8, true);
}

CBitmap *COffscreenContext::renderView(CView *view, const CRect &area, double scale)
{
    if (!view || area.isEmpty() || !std::isfinite(scale) || scale <= 0)
        return nullptr;
    auto *bitmap = new CBitmap(std::ceil(area.getWidth() * scale - 1e-9), std::ceil(area.getHeight() * scale - 1e-9));
    if (!bitmap->isLoaded()) {
        bitmap->forget();
        return nullptr;
    }
    CDrawContext *context = createBitmapDrawContext(bitmap);
    if (!context) {
        bitmap->forget();
        return nullptr;
    }
    context->setDeviceScale(scale);
    // The view draws in its parent's coordinates; place that origin relative to the area.
    CPoint origin;
    view->localToFrame(origin);
    context->setOffset(origin - area.getTopLeft());
    CRect update(area);
    update.offset(-origin.x, -origin.y);
    context->setClipRect(update);
    bool wasDirty = view->isDirty();
    view->drawRect(context, update);
    view->setDirty(wasDirty);  // a picture for someone else is not a redraw of the window
    context->forget();
    return bitmap;
}

}  // namespace VSTGUI
