#include "frame.h"

#include "bitmap.h"
#include "draw_context.h"
#include "png_writer.h"

namespace VSTGUI {

CFrame::CFrame(const CRect &size, void *systemWindow, VSTGUIEditorInterface *editor)
    : CViewContainer(size), editor(editor)
{
    platform = createPlatformFrame(this, size, systemWindow);
}

CFrame::~CFrame() { close(); }

void CFrame::close()
{
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
    std::vector<CRect> rects;
    rects.swap(pendingRects);
    if (isDirty())
        rects.push_back(CRect(0, 0, size.getWidth(), size.getHeight()));
    else
        collectDirtyRects(rects, CPoint());
    CRect bounds(0, 0, size.getWidth(), size.getHeight());
    for (CRect &r : rects)
        r.bound(bounds);
    // An area inside another one asked for is drawn with it.
    for (size_t i = 0; i < rects.size(); ++i) {
        bool covered = rects[i].isEmpty();
        for (size_t k = 0; k < rects.size() && !covered; ++k) {
            if (k == i || rects[k].isEmpty())
                continue;
            CRect u(rects[k]);
            covered = u.unite(rects[i]) == rects[k] && (rects[k] != rects[i] || k < i);
        }
        if (!covered)
            platform->invalidRect(rects[i]);
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
    return platform && platform->setSize((int)width, (int)height);
}

bool CFrame::setParentSize(CCoord width, CCoord height)
{
    return platform && platform->setParentSize((int)width, (int)height);
}

int CFrame::onKeyDown(VstKeyCode &keyCode) { return focusView ? focusView->onKeyDown(keyCode) : -1; }
int CFrame::onKeyUp(VstKeyCode &keyCode) { return focusView ? focusView->onKeyUp(keyCode) : -1; }

void CFrame::viewWillLeave(CView *view)
{
    auto covers = [view](CView *v) {
        return v && (v == view ||
                     (view->isTypeOf("CViewContainer") && static_cast<CViewContainer *>(view)->isDescendant(v)));
    };
    if (covers(mouseOverView))
        mouseOverView = nullptr;
    if (covers(focusView))
        focusView = nullptr;
}

void CFrame::drawRect(CDrawContext *context, const CRect &updateRect) { CViewContainer::drawRect(context, updateRect); }

void CFrame::platformDrawRect(CDrawContext *context, const CRect &rect)
{
    context->setOffset(CPoint());
    context->setClipRect(rect);
    drawRect(context, rect);
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
    ReferenceGuard keep(this);
    updateMouseOver(where, buttons);
    CMouseEventResult result = CViewContainer::onMouseDown(where, buttons);
    if (result == kMouseEventHandled && mouseDownView() && platform) {
        mouseCaptured = true;
        platform->captureMouse(true);
    }
    return result;
}

CMouseEventResult CFrame::platformOnMouseUp(CPoint where, const CButtonState &buttons)
{
    ReferenceGuard keep(this);
    CMouseEventResult result = CViewContainer::onMouseUp(where, buttons);
    if (mouseCaptured && platform)
        platform->captureMouse(false);
    mouseCaptured = false;
    updateMouseOver(where, buttons);
    return result;
}

CMouseEventResult CFrame::platformOnMouseMoved(CPoint where, const CButtonState &buttons)
{
    ReferenceGuard keep(this);
    // While a press is captured the view under the mouse does not change for enter/exit.
    if (!mouseDownView())
        updateMouseOver(where, buttons);
    return CViewContainer::onMouseMoved(where, buttons);
}

CMouseEventResult CFrame::platformOnMouseExited(CPoint where, const CButtonState &buttons)
{
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
    return CViewContainer::onWheel(where, distance, buttons);
}

}  // namespace VSTGUI

namespace VSTGUI {

bool CFrame::platformWritePicture(const char *path)
{
    CBitmap *picture = COffscreenContext::renderView(this, CRect(0, 0, size.getWidth(), size.getHeight()));
    if (!picture)
        return false;
    bool written = path && writePng(*picture, path);
    picture->forget();
    return written;
}

}  // namespace VSTGUI
