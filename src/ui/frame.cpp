#include "frame.h"

#include <algorithm>
#include <cmath>

#include "bitmap.h"
#include "draw_context.h"
#include "png_writer.h"

namespace VSTGUI {

std::vector<CRect> mergeDirtyRects(std::vector<CRect> rects)
{
    // Every separate area costs a clip, a background pass and a walk over the views; this
    // much area is what that is worth.
    constexpr double kCostOfOneMoreArea = 256;
    auto area = [](const CRect &r) { return (double)r.getWidth() * (double)r.getHeight(); };
    rects.erase(std::remove_if(rects.begin(), rects.end(), [](const CRect &r) { return r.isEmpty(); }), rects.end());
    bool merged = true;
    while (merged) {
        merged = false;
        for (size_t i = 0; i < rects.size() && !merged; ++i) {
            for (size_t k = i + 1; k < rects.size() && !merged; ++k) {
                CRect both(rects[i]);
                both.unite(rects[k]);
                if (area(both) <= area(rects[i]) + area(rects[k]) + kCostOfOneMoreArea) {
                    rects[i] = both;
                    rects.erase(rects.begin() + (std::ptrdiff_t)k);
                    merged = true;
                }
            }
        }
    }
    return rects;
}

CFrame::CFrame(const CRect &size, void *systemWindow, VSTGUIEditorInterface *editor)
    : CViewContainer(size), editor(editor)
{
    platform = createPlatformFrame(this, size, systemWindow);
}

CFrame::~CFrame() { close(); }

void CFrame::close()
{
    cancelGesture();
    removeAll(true);
    focusView = nullptr;
    mouseOverView = nullptr;
    pendingRects.clear();
    delete platform;
    platform = nullptr;
}

uint32_t CFrame::getTicks() const { return platform ? platform->getTicks() : 0; }

void CFrame::invalidFrameRect(const CRect &rect)
{
    if (!rect.isEmpty())
        pendingRects.push_back(rect);
}

void CFrame::idle()
{
    if (inIdle || !platform)
        return;
    inIdle = true;
    // Input first, so that what it changes is drawn in this same idle.
    platform->processPendingEvents();
    std::vector<CRect> rects;
    rects.swap(pendingRects);
    if (isDirty())
        rects.push_back(CRect(0, 0, size.getWidth(), size.getHeight()));
    else
        collectDirtyRects(rects, CPoint());
    CRect bounds(0, 0, size.getWidth(), size.getHeight());
    for (CRect &r : rects)
        r.bound(bounds);
    const CRect deviceBounds(0, 0, toDevice(size.getWidth()), toDevice(size.getHeight()));
    for (const CRect &r : mergeDirtyRects(std::move(rects))) {
        CRect device = toDevice(r);
        platform->invalidRect(device.bound(deviceBounds));
    }
    platform->redrawNow();
    inIdle = false;
}

bool CFrame::setSize(CCoord width, CCoord height)
{
    if (width <= 0 || height <= 0)
        return false;
    CRect r(size);
    r.setWidth(width).setHeight(height);
    size = r;
    setDirty(true);
    return platform && platform->setSize(toDevice(width), toDevice(height));
}

bool CFrame::setParentSize(CCoord width, CCoord height)
{
    return platform && platform->setParentSize(toDevice(width), toDevice(height));
}

bool CFrame::setZoom(double factor)
{
    if (!std::isfinite(factor) || factor <= 0)
        return false;
    if (factor == zoom)
        return true;
    zoom = factor;
    setDirty(true);
    if (platform)
        platform->setZoom(factor);
    return !platform || platform->setSize(toDevice(size.getWidth()), toDevice(size.getHeight()));
}

int CFrame::toDevice(CCoord length) const { return (int)std::lround(length * zoom); }

CRect CFrame::toDevice(const CRect &rect) const { return zoomedRect(rect, zoom); }

CPoint CFrame::toLogical(const CPoint &devicePoint) const
{
    return zoom == 1.0 ? devicePoint : CPoint(devicePoint.x / zoom, devicePoint.y / zoom);
}

int CFrame::onKeyDown(VstKeyCode &keyCode) { return focusView ? focusView->onKeyDown(keyCode) : -1; }
int CFrame::onKeyUp(VstKeyCode &keyCode) { return focusView ? focusView->onKeyUp(keyCode) : -1; }

bool CFrame::coversView(const CView *view, const CView *candidate) const
{
    return candidate && (candidate == view || (view->isTypeOf("CViewContainer") &&
                                               static_cast<const CViewContainer *>(view)->isDescendant(candidate)));
}

void CFrame::viewWillLeave(CView *view)
{
    if (coversView(view, gestureView))
        cancelGesture();
    if (coversView(view, mouseOverView))
        mouseOverView = nullptr;
    if (coversView(view, focusView))
        focusView = nullptr;
}

void CFrame::viewWillHide(CView *view)
{
    if (coversView(view, gestureView))
        cancelGesture();
}

void CFrame::cancelGesture()
{
    CView *view = gestureView;
    if (!view)
        return;
    gestureView = nullptr;
    dropCapture();
    if (mouseCaptured && platform)
        platform->captureMouse(false);
    mouseCaptured = false;
    ReferenceGuard keep(view);
    view->onMouseCancel();
}

void CFrame::drawRect(CDrawContext *context, const CRect &updateRect) { CViewContainer::drawRect(context, updateRect); }

void CFrame::platformDrawRect(CDrawContext *context, const CRect &rect)
{
    CRect logical(rect);
    if (zoom != 1.0) {
        context->setDeviceScale(zoom);
        logical = CRect(rect.left / zoom, rect.top / zoom, rect.right / zoom, rect.bottom / zoom);
    }
    context->setOffset(CPoint());
    context->setClipRect(logical);
    drawRect(context, logical);
}

void CFrame::updateMouseOver(const CPoint &where, const CButtonState &buttons)
{
    lastMouse = where;
    CView *view = getViewAt(where, true);
    if (view == mouseOverView)
        return;
    if (CView *old = mouseOverView) {
        mouseOverView = nullptr;
        ReferenceGuard keep(old);
        CPoint p(where);
        old->frameToLocal(p);
        old->onMouseExited(p, buttons);
    }
    if (view && view->getFrame() == this) {
        mouseOverView = view;
        ReferenceGuard keep(view);
        CPoint p(where);
        view->frameToLocal(p);
        view->onMouseEntered(p, buttons);
    }
}

CMouseEventResult CFrame::platformOnMouseDown(CPoint where, const CButtonState &buttons)
{
    where = toLogical(where);
    ReferenceGuard keep(this);
    // A press whose release never came (the window lost the mouse) ends here.
    cancelGesture();
    updateMouseOver(where, buttons);
    CMouseEventResult result = CViewContainer::onMouseDown(where, buttons);
    if (result == kMouseEventHandled && mouseDownView()) {
        gestureView = getCapturedLeaf();
        if (platform) {
            mouseCaptured = true;
            platform->captureMouse(true);
        }
    }
    return result;
}

void CFrame::platformOnMouseCancelled()
{
    ReferenceGuard keep(this);
    cancelGesture();
}

CMouseEventResult CFrame::platformOnMouseUp(CPoint where, const CButtonState &buttons)
{
    where = toLogical(where);
    ReferenceGuard keep(this);
    gestureView = nullptr;
    CMouseEventResult result = CViewContainer::onMouseUp(where, buttons);
    if (mouseCaptured && platform)
        platform->captureMouse(false);
    mouseCaptured = false;
    updateMouseOver(where, buttons);
    return result;
}

CMouseEventResult CFrame::platformOnMouseMoved(CPoint where, const CButtonState &buttons)
{
    where = toLogical(where);
    ReferenceGuard keep(this);
    // While a press is captured the view under the mouse does not change for enter/exit.
    if (!mouseDownView())
        updateMouseOver(where, buttons);
    return CViewContainer::onMouseMoved(where, buttons);
}

CMouseEventResult CFrame::platformOnMouseExited(CPoint where, const CButtonState &buttons)
{
    where = toLogical(where);
    if (mouseDownView())
        return kMouseEventHandled;
    if (CView *old = mouseOverView) {
        mouseOverView = nullptr;
        ReferenceGuard keep(old);
        CPoint p(where);
        old->frameToLocal(p);
        old->onMouseExited(p, buttons);
    }
    return kMouseEventHandled;
}

bool CFrame::platformOnWheel(CPoint where, float distance, const CButtonState &buttons)
{
    ReferenceGuard keep(this);
    return CViewContainer::onWheel(toLogical(where), distance, buttons);
}

bool CFrame::onWheelAtLastMouse(float distance, const CButtonState &buttons)
{
    ReferenceGuard keep(this);
    return CViewContainer::onWheel(lastMouse, distance, buttons);
}

}  // namespace VSTGUI

namespace VSTGUI {

bool CFrame::platformWritePicture(const char *path)
{
    CBitmap *picture = COffscreenContext::renderView(this, CRect(0, 0, size.getWidth(), size.getHeight()), zoom);
    if (!picture)
        return false;
    if (platform)
        platform->drawChildWindows(picture);
    bool written = path && writePng(*picture, path);
    picture->forget();
    return written;
}

}  // namespace VSTGUI
