#include "offscreen_frame.h"

#include <chrono>

#include "cairo_draw_context.h"

namespace VSTGUI {

OffscreenPlatformFrame::OffscreenPlatformFrame(IPlatformFrameCallback *frame, const CRect &size, void *parent)
    : frame(frame), parent(parent)
{
    setSize((int)size.getWidth(), (int)size.getHeight());
}

OffscreenPlatformFrame::~OffscreenPlatformFrame() { delete surface; }

void OffscreenPlatformFrame::invalidRect(const CRect &rect) { invalid.push_back(rect); }

void OffscreenPlatformFrame::redrawNow()
{
    if (!surface) {
        invalid.clear();
        return;
    }
    std::vector<CRect> rects;
    rects.swap(invalid);
    for (const CRect &r : rects) {
        CairoDrawContext context(surface->getSurface());
        cairo_t *cr = context.getCairo();
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_rectangle(cr, r.left, r.top, r.getWidth(), r.getHeight());
        cairo_fill(cr);
        cairo_restore(cr);
        frame->platformDrawRect(&context, r);
    }
}

bool OffscreenPlatformFrame::setSize(int width, int height)
{
    if (width <= 0 || height <= 0)
        return false;
    delete surface;
    surface = static_cast<CairoBitmap *>(createPlatformBitmap(width, height));
    invalid.clear();
    invalid.push_back(CRect(0, 0, width, height));
    return surface != nullptr;
}

bool OffscreenPlatformFrame::setParentSize(int width, int height)
{
    parentSize[0] = width;
    parentSize[1] = height;
    return true;
}

uint32_t OffscreenPlatformFrame::getTicks() const
{
    if (tickSource)
        return tickSource();
    using namespace std::chrono;
    return (uint32_t)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool OffscreenPlatformFrame::takeFocus()
{
    focused = true;
    return true;
}

IPlatformFrame *createPlatformFrame(IPlatformFrameCallback *frame, const CRect &size, void *parent)
{
    return new OffscreenPlatformFrame(frame, size, parent);
}

}  // namespace VSTGUI
