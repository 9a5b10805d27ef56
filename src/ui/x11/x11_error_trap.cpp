#include "x11_error_trap.h"

namespace VSTGUI {

X11ErrorTrap *X11ErrorTrap::innermost = nullptr;
XErrorHandler X11ErrorTrap::replaced = nullptr;

X11ErrorTrap::X11ErrorTrap(X11Connection &connection)
    : connection(connection), display(connection.display()), outer(innermost)
{
    // Errors of requests sent before the trap belong to whoever sent them.
    waitForServer();
    if (!outer)
        replaced = XSetErrorHandler(&X11ErrorTrap::onError);
    innermost = this;
}

X11ErrorTrap::~X11ErrorTrap()
{
    waitForServer();
    innermost = outer;
    if (!outer)
        XSetErrorHandler(replaced);
}

void X11ErrorTrap::waitForServer()
{
    if (!connection.lost())
        XSync(display, False);
}

bool X11ErrorTrap::failed()
{
    waitForServer();
    return sawError || connection.lost();
}

int X11ErrorTrap::onError(Display *display, XErrorEvent *event)
{
    for (X11ErrorTrap *trap = innermost; trap; trap = trap->outer) {
        if (trap->display == display) {
            trap->sawError = true;
            return 0;
        }
    }
    return replaced ? replaced(display, event) : 0;
}

}  // namespace VSTGUI
