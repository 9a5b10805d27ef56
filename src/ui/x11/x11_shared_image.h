// The frame's picture in a shared-memory segment that the X server reads too (the MIT-SHM
// extension): copying an area to the window sends a short request instead of the area's pixels.
// It is made only where the server offers the extension, the server's pixels have the picture's
// layout (depth 24 in 32 bits, RGB masks, this machine's byte order) and the server can attach
// the segment (a server on another machine cannot); else create() answers null and the frame
// sends its pixels through the socket as before. ZEM_X11_NO_SHM=1 in the environment refuses
// the extension, for a user whose server misbehaves with it and for the tests of both paths.
//
// The server reads the segment when it handles the request, not when it is sent: put() asks for
// a completion event after its last area, and the picture is drawn into again only after it
// came (waitUntilRead(), at most one round trip; normally the event is already queued).
// [ui-thread]
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#include <cairo.h>

#include <memory>
#include <vector>

#include "x11_connection.h"

namespace VSTGUI {

class X11SharedImage {
public:
    static std::unique_ptr<X11SharedImage> create(X11Connection &connection, Visual *visual, int depth, int width,
                                                  int height);
    ~X11SharedImage();
    X11SharedImage(const X11SharedImage &) = delete;
    X11SharedImage &operator=(const X11SharedImage &) = delete;

    // An ARGB32 image surface over the segment (a new reference for the caller).
    cairo_surface_t *newSurface() const;
    // Copies the areas (in the picture's pixels, inside it) to the drawable.
    void put(Drawable target, GC gc, const std::vector<XRectangle> &areas);
    // Whether the event is the completion of the last put(); then the picture is free again.
    bool takeCompletion(const XEvent &event);
    // Returns once the server has read what put() sent.
    void waitUntilRead();
    bool reading() const { return awaitingCompletion; }

private:
    explicit X11SharedImage(X11Connection &connection);
    bool attach();

    X11Connection &connection;
    Display *display;
    XImage *image = nullptr;
    XShmSegmentInfo segment{};
    bool attached = false;
    int completionType;
    bool awaitingCompletion = false;
};

}  // namespace VSTGUI
