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

// Implemented by the backend. parent is the native parent window (null allowed offscreen).
IPlatformFrame *createPlatformFrame(IPlatformFrameCallback *frame, const CRect &size, void *parent);

}  // namespace VSTGUI
