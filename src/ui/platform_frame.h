// The narrow seam between the frame and a window system. Each backend implements it once:
// win32 as a child window of the host's window, cairo as an offscreen picture.
// Thread: the UI thread.
#pragma once

#include <cstdint>

#include "geometry.h"
#include "view.h"

namespace VSTGUI {

class CDrawContext;

// What a window reports to its frame. Coordinates are window pixels.
class IPlatformFrameCallback {
public:
    virtual ~IPlatformFrameCallback() = default;
    virtual void platformDrawRect(CDrawContext *context, const CRect &rect) = 0;
    virtual CMouseEventResult platformOnMouseDown(CPoint where, const CButtonState &buttons) = 0;
    virtual CMouseEventResult platformOnMouseUp(CPoint where, const CButtonState &buttons) = 0;
    virtual CMouseEventResult platformOnMouseMoved(CPoint where, const CButtonState &buttons) = 0;
    virtual CMouseEventResult platformOnMouseExited(CPoint where, const CButtonState &buttons) = 0;
    virtual bool platformOnWheel(CPoint where, float distance, const CButtonState &buttons) = 0;
    // Writes the whole frame, as drawn now, to a PNG file.
    virtual bool platformWritePicture(const char *path) = 0;
};

class IPlatformFrame {
public:
    virtual ~IPlatformFrame() = default;
    // Asks for the area to be drawn again; redrawNow() draws everything asked for so far.
    virtual void invalidRect(const CRect &rect) = 0;
    virtual void redrawNow() = 0;
    virtual bool setSize(int width, int height) = 0;
    // Resizes the window the frame lives in, keeping its position and z-order.
    virtual bool setParentSize(int width, int height) = 0;
    // Millisecond tick count of a monotonic clock.
    virtual uint32_t getTicks() const = 0;
    // The native window handle, or null for an offscreen frame.
    virtual void *getSystemWindow() const = 0;
    virtual bool takeFocus() = 0;
    virtual void captureMouse(bool capture) = 0;
};

// The backend's monotonic millisecond tick count, the one frames report. Thread: any.
uint32_t platformTickCount();

// Implemented by the backend. parent is the native parent window (null allowed offscreen); a
// parent the backend cannot use gives no window (null).
IPlatformFrame *createPlatformFrame(IPlatformFrameCallback *frame, const CRect &size, void *parent);

// Whether frames can live in a real host's window in this build (Windows: yes; the offscreen
// Linux backend: no, until it has an X11 window). Thread: any.
bool platformShowsInHostWindows();

// The host program vouched that it created parent itself (offscreen_parent.h); cookie is the
// secret its picture requests carry. Until the matching platformWithdrawnParent, frames on that
// parent may use what only such a parent offers. Thread: UI.
void platformVouchedParent(void *parent, uint32_t cookie);
void platformWithdrawnParent(void *parent);

}  // namespace VSTGUI
