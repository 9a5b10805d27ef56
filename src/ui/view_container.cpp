#include "view_container.h"

#include <algorithm>

#include "bitmap.h"
#include "draw_context.h"
#include "frame.h"

namespace VSTGUI {

CViewContainer::CViewContainer(const CRect &size) : CView(size) {}

CViewContainer::~CViewContainer() { removeAll(true); }

bool CViewContainer::addView(CView *view)
{
    if (!view || view->isAttached())
        return false;
    children.push_back(view);
    view->attached(this);
    view->invalid();
    view->setDirty(true);
    return true;
}

bool CViewContainer::removeView(CView *view, bool withForget)
{
    auto it = std::find(children.begin(), children.end(), view);
    if (it == children.end())
        return false;
    view->invalid();
    if (CFrame *frame = getFrame())
        frame->viewWillLeave(view);
    if (capturedView == view)
        capturedView = nullptr;
    children.erase(it);
    view->removed(this);
    if (withForget)
        view->forget();
    return true;
}

void CViewContainer::removeAll(bool withForget)
{
    while (!children.empty())
        removeView(children.back(), withForget);
}

bool CViewContainer::isChild(const CView *view) const
{
    return std::find(children.begin(), children.end(), view) != children.end();
}

bool CViewContainer::isDescendant(const CView *view) const
{
    for (CView *child : children) {
        if (child == view)
            return true;
        if (child->isTypeOf("CViewContainer") && static_cast<CViewContainer *>(child)->isDescendant(view))
            return true;
    }
    return false;
}

CView *CViewContainer::getView(int index) const
{
    return index >= 0 && index < (int)children.size() ? children[(size_t)index] : nullptr;
}

CView *CViewContainer::getCapturedLeaf() const
{
    CView *view = capturedView;
    while (view && view->isTypeOf("CViewContainer")) {
        CView *inner = static_cast<CViewContainer *>(view)->capturedView;
        if (!inner)
            break;
        view = inner;
    }
    return view;
}

void CViewContainer::dropCapture()
{
    CView *view = capturedView;
    capturedView = nullptr;
    if (view && view->isTypeOf("CViewContainer"))
        static_cast<CViewContainer *>(view)->dropCapture();
}

void CViewContainer::removed(CViewContainer *oldParent)
{
    capturedView = nullptr;
    CView::removed(oldParent);
}

CView *CViewContainer::getViewAt(const CPoint &where, bool deep) const
{
    CPoint local = where - getChildOrigin();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        CView *child = *it;
        if (!child->isVisible() || !child->getMouseEnabled() || !child->hitTest(local, CButtonState()))
            continue;
        if (deep && child->isTypeOf("CViewContainer")) {
            CView *inner = static_cast<CViewContainer *>(child)->getViewAt(local, true);
            return inner ? inner : child;
        }
        return child;
    }
    return nullptr;
}

void CViewContainer::setDirty(bool state)
{
    CView::setDirty(state);
    if (!state)
        for (CView *child : children)
            child->setDirty(false);
}

void CViewContainer::collectDirtyRects(std::vector<CRect> &rects, const CPoint &origin)
{
    for (CView *child : children) {
        if (!child->isVisible())
            continue;
        if (child->isDirty()) {
            CRect r(child->getViewSize());
            rects.push_back(r.offset(origin));
        } else if (child->isTypeOf("CViewContainer")) {
            auto *c = static_cast<CViewContainer *>(child);
            c->collectDirtyRects(rects, origin + c->getChildOrigin());
        }
    }
}

void CViewContainer::drawBackgroundRect(CDrawContext *context, const CRect &updateRect)
{
    CRect own = size;
    if (getParentView() == nullptr)
        own.moveTo(0, 0);
    if (background) {
        context->drawBitmap(background, own, backgroundOffset);
    } else if (backgroundColor.alpha != 0) {
        CRect r(own);
        r.bound(updateRect);
        context->setFillColor(backgroundColor);
        context->drawRect(r, kDrawFilled);
    }
}

bool CViewContainer::backgroundHidesBehind(const CRect &area) const
{
    if (!background || !background->isOpaque())
        return false;
    // The picture is copied from backgroundOffset on, unscaled, and ends where the picture ends.
    CRect painted(size.left, size.top, size.left + background->getWidth() - backgroundOffset.x,
                  size.top + background->getHeight() - backgroundOffset.y);
    painted.bound(size);
    return backgroundOffset.x >= 0 && backgroundOffset.y >= 0 && area.left >= painted.left && area.top >= painted.top &&
           area.right <= painted.right && area.bottom <= painted.bottom;
}

void CViewContainer::draw(CDrawContext *context) { drawRect(context, size); }

void CViewContainer::drawRect(CDrawContext *context, const CRect &updateRect)
{
    CRect own = size;
    if (getParentView() == nullptr)
        own.moveTo(0, 0);  // a root draws at the surface origin
    CRect oldClip = context->getClipRect();
    CRect area(own);
    area.bound(updateRect).bound(oldClip);
    if (area.isEmpty())
        return;
    context->setClipRect(area);

    CPoint oldOffset = context->getOffset();
    CPoint origin = getParentView() ? getChildOrigin() : CPoint();
    CRect childArea(area);
    childArea.offset(-origin.x, -origin.y);
    // A child panel whose opaque picture covers the whole area paints over every pixel of this
    // background there: drawing it first would only cost time (a front panel covers the frame's).
    bool hidden = false;
    for (CView *child : children) {
        if (context->getGlobalAlpha() < 1.f)
            break;  // then a child lets the background through
        if (child->isVisible() && child->isTypeOf("CViewContainer") &&
            static_cast<const CViewContainer *>(child)->backgroundHidesBehind(childArea)) {
            hidden = true;
            break;
        }
    }
    if (!hidden)
        drawBackgroundRect(context, area);

    context->setOffset(oldOffset + origin);
    for (CView *child : std::vector<CView *>(children)) {
        if (child->isVisible() && child->getViewSize().rectOverlap(childArea))
            child->drawRect(context, childArea);
    }
    context->setOffset(oldOffset);
    context->setClipRect(oldClip);
    CView::setDirty(false);
}

CMouseEventResult CViewContainer::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    CPoint local = where - getChildOrigin();
    // Topmost first; a child that does not handle the press lets it fall to the views below.
    std::vector<CView *> order(children.rbegin(), children.rend());
    for (CView *child : order) {
        if (!isChild(child) || !child->isVisible() || !child->getMouseEnabled() || !child->hitTest(local, buttons))
            continue;
        ReferenceGuard guard(child);
        CPoint p(local);
        CMouseEventResult result = child->onMouseDown(p, buttons);
        if (result == kMouseEventNotHandled)
            continue;
        if (result == kMouseEventHandled && isChild(child))
            capturedView = child;
        return result;
    }
    return kMouseEventNotHandled;
}

CMouseEventResult CViewContainer::onMouseUp(CPoint &where, const CButtonState &buttons)
{
    CView *view = capturedView;
    if (!view)
        return kMouseEventNotHandled;
    capturedView = nullptr;
    ReferenceGuard guard(view);
    CPoint p = where - getChildOrigin();
    view->onMouseUp(p, buttons);
    return kMouseEventHandled;
}

CMouseEventResult CViewContainer::onMouseMoved(CPoint &where, const CButtonState &buttons)
{
    CPoint local = where - getChildOrigin();
    if (CView *view = capturedView) {
        ReferenceGuard guard(view);
        CPoint p(local);
        view->onMouseMoved(p, buttons);  // the press keeps its view until the release
        return kMouseEventHandled;
    }
    std::vector<CView *> order(children.rbegin(), children.rend());
    for (CView *child : order) {
        if (!isChild(child) || !child->isVisible() || !child->getMouseEnabled() || !child->hitTest(local, buttons))
            continue;
        ReferenceGuard guard(child);
        CPoint p(local);
        CMouseEventResult result = child->onMouseMoved(p, buttons);
        if (result != kMouseEventNotHandled)
            return result;
    }
    return kMouseEventNotHandled;
}

bool CViewContainer::onWheel(const CPoint &where, const float &distance, const CButtonState &buttons)
{
    CPoint local = where - getChildOrigin();
    std::vector<CView *> order(children.rbegin(), children.rend());
    for (CView *child : order) {
        if (!isChild(child) || !child->isVisible() || !child->getMouseEnabled() || !child->hitTest(local, buttons))
            continue;
        ReferenceGuard guard(child);
        if (child->onWheel(local, distance, buttons))
            return true;
    }
    return false;
}

}  // namespace VSTGUI
