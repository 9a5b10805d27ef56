// The editor's own connection to the X server, which may be lost at any moment: the server
// ends, the session closes, the socket breaks. A lost connection must end the editor only,
// never the host, and Xlib's own answer to a lost connection is to end the process. What
// Xlib does then is decided by two handlers: the I/O error handler, one per process and the
// host's to set (its default ends the process), and, from libX11 1.7 on, an exit handler of
// each connection (its default ends the process as well). So the connection
// - is not opened where libX11 has no exit handler per connection (it is looked up at run
//   time, so that the plug-in still loads with an older libX11): the editor is refused;
// - looks at its socket before every use: once the server has hung up, the connection is
//   marked failed the way Xlib marks it, before Xlib reads from the socket, so Xlib never
//   meets the loss and no handler runs at all;
// - when Xlib meets the loss inside a call (the server went away while we waited for its
//   answer), the host's handler runs first; if it returns, our exit handler returns too,
//   which makes Xlib go on without ending the process, and the connection is lost.
// A lost connection is used for nothing but freeing its memory: Xlib sends and reads nothing
// on a connection marked failed and calls no handler again, so XFreeGC and XCloseDisplay on
// it only free. The host's process-wide handlers are never touched.
// [ui-thread]
#pragma once

#include <X11/Xlib.h>

#include <memory>

namespace VSTGUI {

class X11Connection {
public:
    // The display the session names; null when none answers, or where a lost connection could
    // not be kept from ending the process.
    static std::unique_ptr<X11Connection> open();
    ~X11Connection();
    X11Connection(const X11Connection &) = delete;
    X11Connection &operator=(const X11Connection &) = delete;

    Display *display() const { return connection; }
    // Looks at the socket: false once the connection is lost, and from then on for good.
    bool usable();
    // Whether the connection is known to be lost, without looking at the socket.
    bool lost() const { return isLost; }

private:
    explicit X11Connection(Display *connection);
    static void onLostInCall(Display *connection, void *self);

    Display *connection;
    bool isLost = false;
};

}  // namespace VSTGUI
