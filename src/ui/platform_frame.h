// The narrow seam between the frame and a window system. Each backend implements it once:
// win32 as a child window of the host's window; on Linux x11 as a child window of the host's
// X11 window and cairo as an offscreen picture for host programs that drive the editor.
// [ui-thread]
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "draw_context.h"
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
    // The press in progress ends without a release: another window took the mouse, or the
    // window was disabled or hidden.
    virtual void platformOnMouseCancelled() = 0;
    // Writes the whole frame, as drawn now, to a PNG file.
    virtual bool platformWritePicture(const char *path) = 0;
};

class CFontDesc;
class CBitmap;

// What an in-place text edit reports to the view that opened it. Exactly one of the three
// ends an edit; after it the edit takes no more input and the owner releases it. The owner may
// release the edit while it is told; the edit touches nothing of itself after telling.
class IPlatformTextEditCallback {
public:
    virtual ~IPlatformTextEditCallback() = default;
    // The text in the box changed (every keystroke). The edit goes on.
    virtual void platformTextEditChanged(const std::string &text) { (void)text; }
    // A new picture showing what lies under the box (rect in frame coordinates) at the frame's
    // zoom (the rect's size times it, in window pixels), for the box's background; the edit releases it with forget(). Null: the
    // box paints its style's back colour.
    virtual CBitmap *platformTextEditBackground(const CRect &rect)
    {
        (void)rect;
        return nullptr;
    }
    // Return: the user accepted the text.
    virtual void platformTextEditCommitted(const std::string &text) = 0;
    // Escape: the user dropped the edit; the old text stays.
    virtual void platformTextEditCancelled() = 0;
    // The edit lost the keyboard focus (a click elsewhere) with this text in it.
    virtual void platformTextEditLostFocus(const std::string &text) = 0;
};

// How many bytes of UTF-8 text fit in maxBytes without ending inside a character: the text's
// size when it is short enough, else the start of the first character that does not fit whole.
// [any-thread]
inline size_t utf8FittingLength(const std::string &text, size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text.size();
    size_t end = maxBytes;
    while (end > 0 && ((unsigned char)text[end] & 0xC0) == 0x80)
        --end;
    return end;
}

// How an in-place edit box looks. rect is in frame coordinates.
struct PlatformTextEditStyle {
    CRect rect;
    std::string text;
    CFontDesc *font = nullptr;  // not owned; lives at least as long as the edit
    CColor fontColor = kBlackCColor;
    CColor backColor = kWhiteCColor;
    CHoriTxtAlign align = kLeftText;
    // The box uses the font's own native font (IPlatformFont::getNativeFont) instead of one
    // made from its name and size.
    bool useNativeFont = false;
    // The frame's zoom, set by the window: the box lies on rect times it, with a font that much
    // larger.
    double zoom = 1.0;
    // Most bytes of UTF-8 the box holds, as its field keeps them; typing beyond it adds nothing
    // and the box never holds part of a character.
    size_t maxBytes = 255;
};

// A rectangle of frame coordinates in window pixels at a zoom, rounded outward.
inline CRect zoomedRect(const CRect &rect, double zoom)
{
    if (zoom == 1.0)
        return rect;
    constexpr double kSlack = 1e-9;  // 0.1 * 3 stays inside pixel 0
    return CRect(std::floor(rect.left * zoom + kSlack), std::floor(rect.top * zoom + kSlack),
                 std::ceil(rect.right * zoom - kSlack), std::ceil(rect.bottom * zoom - kSlack));
}

// An edit box over the frame, alive until its owner releases it.
class IPlatformTextEdit {
public:
    virtual ~IPlatformTextEdit() = default;
    virtual std::string getText() const = 0;
    virtual const PlatformTextEditStyle &getStyle() const = 0;
    // True until commit, cancel or focus loss has been reported.
    virtual bool isActive() const = 0;
};

class IPlatformFrame {
public:
    virtual ~IPlatformFrame() = default;
    // Asks for the area to be drawn again; redrawNow() draws everything asked for so far.
    virtual void invalidRect(const CRect &rect) = 0;
    virtual void redrawNow() = 0;
    virtual bool setSize(int width, int height) = 0;
    // The frame's zoom, told before the window takes its scaled size: edit boxes follow it.
    virtual void setZoom(double factor) { (void)factor; }
    // Resizes the window the frame lives in, keeping its position and z-order.
    virtual bool setParentSize(int width, int height) = 0;
    // Millisecond tick count of a monotonic clock.
    virtual uint32_t getTicks() const = 0;
    // The native window handle, or null for an offscreen frame.
    virtual void *getSystemWindow() const = 0;
    virtual bool takeFocus() = 0;
    // Handles the input the window system queued for the window since the last call; the
    // frame's idle calls it before it draws. Windows that receive input as it comes do nothing.
    virtual void processPendingEvents() {}
    virtual void captureMouse(bool capture) = 0;
    // Draws the window system's own child windows (an open edit box) over a picture of the
    // whole frame, where they lie; a frame without such windows leaves it as it is.
    virtual void drawChildWindows(CBitmap *picture) { (void)picture; }
    // Opens an edit box with the style's text, selected, holding the keyboard focus; it reports
    // to owner. Null when the window system offers no in-place editing.
    virtual std::unique_ptr<IPlatformTextEdit> createTextEdit(IPlatformTextEditCallback *owner,
                                                              const PlatformTextEditStyle &style)
    {
        (void)owner;
        (void)style;
        return nullptr;
    }
};

// The backend's monotonic millisecond tick count, the one frames report. [any-thread]
uint32_t platformTickCount();

// Implemented by the backend. parent is the native parent window (null allowed offscreen); a
// parent the backend cannot use gives no window (null).
IPlatformFrame *createPlatformFrame(IPlatformFrameCallback *frame, const CRect &size, void *parent);

// Whether frames can live in a real host's window in this build (Windows: an HWND; Linux: an
// X11 window id). [any-thread]
bool platformShowsInHostWindows();

// The host program vouched that it created parent itself (offscreen_parent.h); cookie is the
// secret its picture requests carry. Until the matching platformWithdrawnParent, frames on that
// parent may use what only such a parent offers. [ui-thread]
void platformVouchedParent(void *parent, uint32_t cookie);
void platformWithdrawnParent(void *parent);

}  // namespace VSTGUI
