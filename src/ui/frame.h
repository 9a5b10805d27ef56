// The root container. It sits on a platform window (or an offscreen picture), redraws dirty
// views at idle, routes mouse, wheel and keys, and tracks the view under the mouse.
// [ui-thread]
#pragma once

#include <vector>

#include "platform_frame.h"
#include "view_container.h"

struct VstKeyCode;

namespace VSTGUI {

class CFrame;

// What a frame knows of the editor that owns it.
class VSTGUIEditorInterface {
public:
    virtual ~VSTGUIEditorInterface() = default;
    virtual CFrame *getFrame() const = 0;
    // 0 circular, 1 relative circular, 2 linear.
    virtual int getKnobMode() const = 0;
};

// Joins areas to be drawn wherever drawing their union costs no more than drawing them
// apart; an area inside another disappears into it. Empty areas are dropped.
std::vector<CRect> mergeDirtyRects(std::vector<CRect> rects);

class CFrame : public CViewContainer, public IPlatformFrameCallback {
public:
    // size: the frame's rectangle inside the parent window; children use coordinates relative
    // to the frame's own top-left corner.
    CFrame(const CRect &size, void *systemWindow, VSTGUIEditorInterface *editor);
    ~CFrame() override;

    // True when the platform window exists.
    bool isValid() const { return platform != nullptr; }
    // Removes every view and the platform window. The owner then forgets the frame.
    void close();

    VSTGUIEditorInterface *getEditor() const { return editor; }
    IPlatformFrame *getPlatformFrame() const { return platform; }
    void *getSystemWindow() const { return platform ? platform->getSystemWindow() : nullptr; }
    uint32_t getTicks() const;
    int getKnobMode() const { return editor ? editor->getKnobMode() : 2; }

    // Redraws the dirty views and every area asked for since the last idle.
    virtual void idle();
    bool isInIdle() const { return inIdle; }
    // Asks for an area (frame coordinates) to be drawn at the next idle.
    void invalidFrameRect(const CRect &rect);

    // Changes the frame's size (logical) and its window's (that size times the zoom).
    bool setSize(CCoord width, CCoord height);
    // Resizes the parent window to the logical size times the zoom.
    bool setParentSize(CCoord width, CCoord height);

    // The factor from the views' logical coordinates to the window's pixels. Views keep their
    // logical geometry; the frame draws them that much larger, divides mouse positions by it and
    // gives its window the scaled size. A factor that is not finite and > 0 is refused (false)
    // and the zoom stays as it was (1 at first).
    bool setZoom(double factor);
    double getZoom() const { return zoom; }
    // A logical length or rectangle in window pixels: the length rounded, the rectangle
    // rounded outward so that it covers every pixel the logical one touches.
    int toDevice(CCoord length) const;
    CRect toDevice(const CRect &rect) const;
    // Where a window pixel lies in logical coordinates.
    CPoint toLogical(const CPoint &devicePoint) const;
    // A wheel turn with the mouse where it was last seen (the host's wheel message carries no
    // position).
    bool onWheelAtLastMouse(float distance, const CButtonState &buttons);
    bool takeKeyboardFocus() { return platform && platform->takeFocus(); }

    void setFocusView(CView *view) { focusView = view; }
    CView *getFocusView() const { return focusView; }
    int onKeyDown(VstKeyCode &keyCode) override;
    int onKeyUp(VstKeyCode &keyCode) override;

    // The view that last received mouse-entered, if it is still under the mouse.
    CView *getMouseOverView() const { return mouseOverView; }
    // Where the mouse was last seen over the frame.
    const CPoint &getLastMousePosition() const { return lastMouse; }
    // Called by containers when view (and everything below it) leaves the view tree.
    void viewWillLeave(CView *view);
    // Called by a view that becomes invisible.
    void viewWillHide(CView *view);
    // The view that holds the press in progress (it gets the moves and the release), or null.
    CView *getGestureView() const { return gestureView; }
    // Ends the press in progress without a release: its view gets onMouseCancel and the
    // mouse is released. The frame does this itself when that view leaves, hides or the frame
    // closes, so that no edit begun by a gesture stays open.
    void cancelGesture();

    CPoint getChildOrigin() const override { return CPoint(0, 0); }
    void drawRect(CDrawContext *context, const CRect &updateRect) override;

    // Events from the window, in window pixels (the frame divides them by the zoom). They are
    // the entry points of real and synthetic input.
    void platformDrawRect(CDrawContext *context, const CRect &rect) override;
    CMouseEventResult platformOnMouseDown(CPoint where, const CButtonState &buttons) override;
    CMouseEventResult platformOnMouseUp(CPoint where, const CButtonState &buttons) override;
    CMouseEventResult platformOnMouseMoved(CPoint where, const CButtonState &buttons) override;
    CMouseEventResult platformOnMouseExited(CPoint where, const CButtonState &buttons) override;
    bool platformOnWheel(CPoint where, float distance, const CButtonState &buttons) override;
    void platformOnMouseCancelled() override;
    bool platformWritePicture(const char *path) override;

    VSTGUI_TYPE(CFrame, CViewContainer)

private:
    void updateMouseOver(const CPoint &where, const CButtonState &buttons);
    bool coversView(const CView *view, const CView *candidate) const;

    IPlatformFrame *platform = nullptr;
    VSTGUIEditorInterface *editor;
    CView *focusView = nullptr;
    CView *mouseOverView = nullptr;
    CView *gestureView = nullptr;
    CPoint lastMouse;
    bool mouseCaptured = false;
    bool inIdle = false;
    double zoom = 1.0;
    std::vector<CRect> pendingRects;
};

}  // namespace VSTGUI
