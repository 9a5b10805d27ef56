// A view holding child views in drawing order (the last added is on top). Children use
// coordinates relative to the container's top-left corner. [ui-thread]
#pragma once

#include <vector>

#include "view.h"

namespace VSTGUI {

class CViewContainer : public CView {
public:
    explicit CViewContainer(const CRect &size);
    ~CViewContainer() override;

    // Takes over the caller's reference: the container releases the view when it goes.
    virtual bool addView(CView *view);
    // With release the container forgets the view; without it the caller owns the reference
    // the container held, and the view stays alive for re-adding.
    virtual bool removeView(CView *view, bool withForget = true);
    virtual void removeAll(bool withForget = true);
    bool isChild(const CView *view) const;
    // True when view lies anywhere below this container.
    bool isDescendant(const CView *view) const;
    int getNbViews() const { return (int)children.size(); }
    CView *getView(int index) const;

    void setBackgroundOffset(const CPoint &offset) { backgroundOffset = offset; }
    const CPoint &getBackgroundOffset() const { return backgroundOffset; }
    void setBackgroundColor(const CColor &color) { backgroundColor = color; }
    const CColor &getBackgroundColor() const { return backgroundColor; }

    // The origin of the children's coordinates, in this container's own coordinates.
    virtual CPoint getChildOrigin() const { return size.getTopLeft(); }
    // The topmost visible, mouse-enabled child under where (parent coordinates); with deep,
    // the innermost view below it. Null when none.
    CView *getViewAt(const CPoint &where, bool deep = false) const;

    void drawRect(CDrawContext *context, const CRect &updateRect) override;
    void draw(CDrawContext *context) override;
    // Draws the background picture or colour into the update area (parent coordinates).
    virtual void drawBackgroundRect(CDrawContext *context, const CRect &updateRect);
    // True when the background picture alone covers every pixel of area (parent coordinates)
    // with full alpha, so that nothing behind this container shows there.
    bool backgroundHidesBehind(const CRect &area) const;

    CMouseEventResult onMouseDown(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseUp(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseMoved(CPoint &where, const CButtonState &buttons) override;
    bool onWheel(const CPoint &where, const float &distance, const CButtonState &buttons) override;

    // The innermost view that holds the press in progress below this container, or null.
    CView *getCapturedLeaf() const;
    // Forgets the press in progress at every level below this container.
    void dropCapture();

    void removed(CViewContainer *oldParent) override;
    // Collects, in frame coordinates, the areas of dirty visible views below this container.
    void collectDirtyRects(std::vector<CRect> &rects, const CPoint &origin);
    void setDirty(bool state = true) override;

    VSTGUI_TYPE(CViewContainer, CView)

protected:
    CView *mouseDownView() const { return capturedView; }
    // Forgets the captured view when it (or a container holding it) leaves.
    void releaseCapture() { capturedView = nullptr; }

    std::vector<CView *> children;
    CPoint backgroundOffset;
    CColor backgroundColor = kTransparentCColor;

private:
    CView *capturedView = nullptr;
};

}  // namespace VSTGUI
