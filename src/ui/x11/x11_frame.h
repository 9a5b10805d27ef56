// The frame's window on Linux: a child of the X11 window a host passes to effEditOpen, on a
// Display connection of the frame's own. Drawing goes through cairo into an off-screen image;
// the areas drawn are copied to the window, and so are the areas the server reports exposed.
// Where the server can read the picture from shared memory (x11_shared_image.h), the copies are
// short requests naming the areas; elsewhere the areas' pixels go through the socket.
//
// The editor has no thread or timer of its own: the X events that arrive for the window wait in
// the connection until the host's next effEditIdle, which handles all of them in order before
// it draws. A host that stops calling idle loses nothing: input waits in the connection's
// queue (the server buffers it) and is handled at the next idle; meanwhile the window shows
// what it showed last (the server keeps it where it offers backing store; elsewhere an exposed
// area stays blank until that idle). Closing never waits for the server beyond one round trip.
//
// The host's window id is never trusted beyond Xlib calls under an error trap: an id that is
// not a window on the plug-in's display refuses the frame.
//
// A lost connection (x11_connection.h) ends the window, not the host: from then on the frame
// draws into its picture only, takes no input and opens no edit box, and closing it only frees
// what it holds. The host's next close ends it; a new open makes a new connection.
// [ui-thread]
#pragma once

#include <X11/Xlib.h>
#include <cairo.h>

#include <memory>
#include <vector>

#include "ui/platform_frame.h"
#include "x11_connection.h"
#include "x11_shared_image.h"

namespace VSTGUI {

class CairoBitmap;
class X11TextEdit;

class X11PlatformFrame : public IPlatformFrame {
public:
    // Null when no display answers (or none that may be lost safely) or parent is no window on it.
    static X11PlatformFrame *create(IPlatformFrameCallback *frame, const CRect &size, Window parent);
    ~X11PlatformFrame() override;

    void invalidRect(const CRect &rect) override;
    void redrawNow() override;
    bool setSize(int width, int height) override;
    bool setParentSize(int width, int height) override;
    void setZoom(double factor) override { zoom = factor; }
    double getZoom() const { return zoom; }
    uint32_t getTicks() const override { return platformTickCount(); }
    void *getSystemWindow() const override;
    bool takeFocus() override;
    void captureMouse(bool capture) override;
    std::unique_ptr<IPlatformTextEdit> createTextEdit(IPlatformTextEditCallback *owner,
                                                      const PlatformTextEditStyle &style) override;
    void processPendingEvents() override;

    // For the edit box: the connection, the window, the input method context (null without one).
    Display *getDisplay() const { return display; }
    Window getWindow() const { return window; }
    XIC getInputContext() const { return inputContext; }
    IPlatformFrameCallback *getCallback() const { return frame; }
    void textEditGone(X11TextEdit *edit);
    // The double-click time in milliseconds (the X resource multiClickTime, else 400).
    unsigned long doubleClickTime() const { return multiClickTime; }
    // Whether the picture lives in memory the server reads (MIT-SHM).
    bool sharesMemoryWithServer() const { return shared != nullptr; }

private:
    X11PlatformFrame(IPlatformFrameCallback *frame, std::unique_ptr<X11Connection> connection);
    bool open(const CRect &size, Window parent);
    void handle(XEvent &event);
    void handlePress(const XButtonEvent &event);
    // The picture of the window's size, in shared memory where the server offers it.
    bool makePicture(int pictureWidth, int pictureHeight);
    void copyToWindow(const std::vector<CRect> &rects);
    bool hasPixmapFormat32() const;
    CButtonState buttonsOf(unsigned int state, int pressed = 0) const;

    IPlatformFrameCallback *frame;
    std::unique_ptr<X11Connection> connection;
    Display *display;  // the connection's
    Window window = 0;
    Visual *visual = nullptr;
    int width = 0, height = 0;
    double zoom = 1.0;
    // A window pixel in frame coordinates.
    CPoint logical(int x, int y) const { return CPoint(x / zoom, y / zoom); }
    CairoBitmap *back = nullptr;             // what the window shows, drawn by the frame
    std::unique_ptr<X11SharedImage> shared;  // back's pixels, where the server reads them too
    int depth = 0;
    GC gc = nullptr;             // for copying the picture to the window
    std::vector<CRect> invalid;  // to draw into back
    std::vector<CRect> exposed;  // to copy from back
    XIM inputMethod = nullptr;
    XIC inputContext = nullptr;
    bool grabbed = false;
    // The left button went down inside the open edit box: its drag selects there. A press that
    // opens a box is no drag of that box.
    bool draggingInTextEdit = false;
    unsigned long multiClickTime = 400;
    // The last press, for double-clicks: same button, within the time and a few pixels.
    unsigned int lastButton = 0;
    Time lastPressTime = 0;
    int lastX = 0, lastY = 0;
    bool lastWasDouble = false;
    X11TextEdit *textEdit = nullptr;
};

}  // namespace VSTGUI
