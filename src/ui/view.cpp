#include "view.h"

#include "bitmap.h"
#include "draw_context.h"
#include "frame.h"
#include "view_container.h"

namespace VSTGUI {

CView::CView(const CRect &size) : size(size) {}

CView::~CView()
{
    if (background)
        background->forget();
}

bool CView::isTypeOf(const char *name) const { return std::strcmp(name, "CView") == 0 || CBaseObject::isTypeOf(name); }

void CView::setViewSize(const CRect &newSize, bool invalidate)
{
    if (invalidate)
        invalid();
    size = newSize;
    if (invalidate)
        invalid();
    setDirty(true);
}

void CView::setVisible(bool state)
{
    if (visible == state)
        return;
    visible = state;
    invalid();
    if (!state)
        if (CFrame *frame = getFrame())
            frame->viewWillHide(this);
}

void CView::invalidRect(const CRect &rect)
{
    if (CFrame *frame = getFrame())
        frame->invalidFrameRect(localToFrame(rect));
}

CFrame *CView::getFrame() const
{
    const CView *view = this;
    while (view->parent)
        view = view->parent;
    return view->isTypeOf("CFrame") ? static_cast<CFrame *>(const_cast<CView *>(view)) : nullptr;
}

void CView::removed(CViewContainer *oldParent)
{
    (void)oldParent;
    parent = nullptr;
}

CPoint &CView::localToFrame(CPoint &p) const
{
    for (const CViewContainer *c = parent; c; c = c->getParentView())
        p += c->getChildOrigin();
    return p;
}

CPoint &CView::frameToLocal(CPoint &p) const
{
    for (const CViewContainer *c = parent; c; c = c->getParentView())
        p -= c->getChildOrigin();
    return p;
}

CRect CView::localToFrame(const CRect &r) const
{
    CPoint origin;
    localToFrame(origin);
    CRect result(r);
    return result.offset(origin);
}

void CView::setBackground(CBitmap *bitmap)
{
    if (bitmap)
        bitmap->remember();
    if (background)
        background->forget();
    background = bitmap;
    setDirty(true);
}

void CView::draw(CDrawContext *context)
{
    if (background)
        context->drawBitmap(background, size);
    setDirty(false);
}

void CView::drawRect(CDrawContext *context, const CRect &updateRect)
{
    CRect oldClip = context->getClipRect();
    CRect area(size);
    area.bound(updateRect).bound(oldClip);
    if (!area.isEmpty()) {
        context->setClipRect(area);
        draw(context);
        context->setClipRect(oldClip);
    }
    setDirty(false);
}

bool CView::hitTest(const CPoint &where, const CButtonState &buttons)
{
    (void)buttons;
    return size.pointInside(where);
}

CMouseEventResult CView::onMouseDown(CPoint &, const CButtonState &) { return kMouseEventNotHandled; }
CMouseEventResult CView::onMouseUp(CPoint &, const CButtonState &) { return kMouseEventNotHandled; }
CMouseEventResult CView::onMouseMoved(CPoint &, const CButtonState &) { return kMouseEventNotHandled; }
CMouseEventResult CView::onMouseEntered(CPoint &, const CButtonState &) { return kMouseEventNotHandled; }
CMouseEventResult CView::onMouseExited(CPoint &, const CButtonState &) { return kMouseEventNotHandled; }
bool CView::onWheel(const CPoint &, const float &, const CButtonState &) { return false; }
int CView::onKeyDown(VstKeyCode &) { return -1; }
int CView::onKeyUp(VstKeyCode &) { return -1; }

}  // namespace VSTGUI
