// Keeps X protocol errors on the plug-in's own connection away from the host. Xlib's error
// handler is one per process and its default ends the process, so every batch of requests
// that may fail (a window id the host passed, a window the host destroyed before closing the
// editor) runs inside a trap: the trap installs a handler that swallows errors of the trapped
// connection only, hands every other connection's errors to the handler it replaced, and on
// leaving waits for the server's answer (XSync) and puts the replaced handler back. On a lost
// connection the trap waits for nothing and everything in it counts as failed.
// [ui-thread]
#pragma once

#include <X11/Xlib.h>

#include "x11_connection.h"

namespace VSTGUI {

class X11ErrorTrap {
public:
    explicit X11ErrorTrap(X11Connection &connection);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap &) = delete;
    X11ErrorTrap &operator=(const X11ErrorTrap &) = delete;

    // Waits for the server to answer everything sent so far; true when any of it failed.
    bool failed();

private:
    void waitForServer();

    X11Connection &connection;
    Display *display;
    bool sawError = false;
    X11ErrorTrap *outer;
    static X11ErrorTrap *innermost;
    static XErrorHandler replaced;
    static int onError(Display *display, XErrorEvent *event);
};

}  // namespace VSTGUI
