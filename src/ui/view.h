// Views: rectangles that draw themselves and take mouse, wheel and key events.
// [ui-thread] every operation, except where a comment says otherwise.
#pragma once

#include "base_object.h"
#include "geometry.h"

struct VstKeyCode;

namespace VSTGUI {

class CDrawContext;
class CBitmap;
class CFrame;
class CViewContainer;

// Mouse buttons and modifier keys of one event.
enum CButton {
    kLButton = 1 << 0,
    kMButton = 1 << 1,
    kRButton = 1 << 2,
    kShift = 1 << 3,
    kControl = 1 << 4,
    kAlt = 1 << 5,
    kDoubleClick = 1 << 6,
};

class CButtonState {
public:
    CButtonState(int state = 0) : state(state) {}
    int getButtonState() const { return state & (kLButton | kMButton | kRButton); }
    int getModifierState() const { return state & (kShift | kControl | kAlt); }
    bool isLeftButton() const { return (state & kLButton) != 0; }
    bool isRightButton() const { return (state & kRButton) != 0; }
    bool isDoubleClick() const { return (state & kDoubleClick) != 0; }
    int operator()() const { return state; }
    operator int() const { return state; }
    bool operator==(const CButtonState &b) const { return state == b.state; }
    bool operator!=(const CButtonState &b) const { return state != b.state; }

private:
    int state;
};

// Answer of a mouse handler. "Handled" on a press captures the mouse for moves and the release;
// the third answer takes the press without wanting either.
enum CMouseEventResult {
    kMouseEventNotHandled = 0,
    kMouseEventHandled,
    kMouseDownEventHandledButDontNeedMovedOrUpEvents,
};

class CView : public CBaseObject {
public:
    explicit CView(const CRect &size);
    ~CView() override;

    // The rectangle in the coordinates of the parent container.
    const CRect &getViewSize() const { return size; }
    void getViewSize(CRect &r) const { r = size; }
    virtual void setViewSize(const CRect &newSize, bool invalidate = true);
    CCoord getWidth() const { return size.getWidth(); }
    CCoord getHeight() const { return size.getHeight(); }

    bool isVisible() const { return visible; }
    virtual void setVisible(bool state);
    bool getMouseEnabled() const { return mouseEnabled; }
    void setMouseEnabled(bool state) { mouseEnabled = state; }

    // The dirty flag asks the frame to redraw the view at its next idle.
    bool isDirty() const { return dirty; }
    virtual void setDirty(bool state = true) { dirty = state; }
    // Redraw the view's whole rectangle at the next idle, whatever it contains.
    void invalid() { invalidRect(size); }
    void invalidRect(const CRect &rect);

    CViewContainer *getParentView() const { return parent; }
    CFrame *getFrame() const;
    bool isAttached() const { return parent != nullptr; }
    // Called by the container when the view is added to or removed from it.
    virtual void attached(CViewContainer *newParent) { parent = newParent; }
    virtual void removed(CViewContainer *oldParent);

    // Converts between this view's coordinates (those of its parent) and the frame's.
    CPoint &localToFrame(CPoint &p) const;
    CPoint &frameToLocal(CPoint &p) const;
    CRect localToFrame(const CRect &r) const;

    // Drawing. drawRect clips to the view and the update area, draws and marks the view clean.
    virtual void draw(CDrawContext *context);
    virtual void drawRect(CDrawContext *context, const CRect &updateRect);
    // An optional picture drawn by the view itself (containers and controls use it).
    void setBackground(CBitmap *bitmap);
    CBitmap *getBackground() const { return background; }

    // Mouse. where is in the coordinates of the parent, like the view's rectangle.
    virtual bool hitTest(const CPoint &where, const CButtonState &buttons);
    virtual CMouseEventResult onMouseDown(CPoint &where, const CButtonState &buttons);
    virtual CMouseEventResult onMouseUp(CPoint &where, const CButtonState &buttons);
    virtual CMouseEventResult onMouseMoved(CPoint &where, const CButtonState &buttons);
    virtual CMouseEventResult onMouseEntered(CPoint &where, const CButtonState &buttons);
    virtual CMouseEventResult onMouseExited(CPoint &where, const CButtonState &buttons);
    // The press this view took will get no release: the view left the tree, was hidden, or the
    // frame is closing. The view drops what it kept for the gesture and closes any edit it began.
    virtual CMouseEventResult onMouseCancel() { return kMouseEventHandled; }
    // distance: notches, positive away from the user. Answers true when the view took it.
    virtual bool onWheel(const CPoint &where, const float &distance, const CButtonState &buttons);
    // Keys reach the frame's focus view. Answer 1 when used, -1 otherwise.
    virtual int onKeyDown(VstKeyCode &keyCode);
    virtual int onKeyUp(VstKeyCode &keyCode);

    bool isTypeOf(const char *name) const override;

protected:
    CRect size;
    CViewContainer *parent = nullptr;
    CBitmap *background = nullptr;
    bool visible = true;
    bool mouseEnabled = true;
    bool dirty = false;
};

}  // namespace VSTGUI
