#include "x11_connection.h"

#include <dlfcn.h>
#include <poll.h>

// Last: Xlib's internal header defines macros (min, max) that other headers would meet. Its
// display record is the one libX11's extension libraries are built against, so the failure
// flag keeps its place across versions.
#include <X11/Xlibint.h>

namespace VSTGUI {

namespace {

using ExitHandler = void (*)(Display *, void *);
using SetExitHandler = void (*)(Display *, ExitHandler, void *);

// XSetIOErrorExitHandler of the libX11 this module is linked with, or null before 1.7. Looked
// up at run time: a direct reference would keep the module from loading with an older libX11.
SetExitHandler exitHandlerSetter()
{
    static const SetExitHandler found = [] {
        Dl_info info{};
        if (!dladdr(reinterpret_cast<void *>(&XOpenDisplay), &info) || !info.dli_fname)
            return SetExitHandler(nullptr);
        void *library = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
        if (!library)
            return SetExitHandler(nullptr);
        auto setter = reinterpret_cast<SetExitHandler>(dlsym(library, "XSetIOErrorExitHandler"));
        dlclose(library);  // only the reference taken here: the module's own keeps libX11 loaded
        return setter;
    }();
    return found;
}

}  // namespace

std::unique_ptr<X11Connection> X11Connection::open()
{
    const SetExitHandler setExitHandler = exitHandlerSetter();
    if (!setExitHandler)
        return nullptr;
    Display *connection = XOpenDisplay(nullptr);
    if (!connection)
        return nullptr;
    std::unique_ptr<X11Connection> opened(new X11Connection(connection));
    setExitHandler(connection, &X11Connection::onLostInCall, opened.get());
    return opened;
}

X11Connection::X11Connection(Display *connection) : connection(connection) {}

X11Connection::~X11Connection()
{
    // On a lost connection this only frees: nothing is sent, no handler runs.
    XCloseDisplay(connection);
}

bool X11Connection::usable()
{
    if (isLost)
        return false;
    pollfd socket{ConnectionNumber(connection), POLLRDHUP, 0};
    if (poll(&socket, 1, 0) > 0 && (socket.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL))) {
        // Marked as Xlib marks a connection it has found broken, before Xlib reads from it:
        // reading is where Xlib would meet the loss and call the handlers that end the host.
        connection->flags |= XlibDisplayIOError;
        isLost = true;
    }
    return !isLost;
}

// Xlib met the loss inside a call and the host's I/O error handler returned. Returning from
// here lets Xlib go on without ending the process; the call in progress fails, and Xlib has
// already marked the connection failed.
void X11Connection::onLostInCall(Display *, void *self) { static_cast<X11Connection *>(self)->isLost = true; }

}  // namespace VSTGUI
