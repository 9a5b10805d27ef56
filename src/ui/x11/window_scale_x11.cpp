// The resource database is read from the root window's RESOURCE_MANAGER property at every ask
// (XResourceManagerString holds the copy made when the connection opened, which a fresh
// connection would give as well), through a short connection of its own: the frame's is made
// after the factor is known.
#include "ui/window_scale.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "ui/offscreen_parent.h"
#include "x11_connection.h"
#include "x11_error_trap.h"

namespace VSTGUI {

namespace {

// The largest resource database read, in 4-byte units.
constexpr long kMaxResourceWords = 64 * 1024;

std::string resourceDatabaseText(X11Connection &connection, Window parent)
{
    Display *display = connection.display();
    Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    {
        X11ErrorTrap trap(connection);  // a parent that went away: the default screen's root
        if (XGetWindowAttributes(display, parent, &attributes) && !trap.failed())
            root = attributes.root;
    }
    Atom type = None;
    int format = 0;
    unsigned long items = 0, remaining = 0;
    unsigned char *data = nullptr;
    std::string text;
    if (XGetWindowProperty(display, root, XA_RESOURCE_MANAGER, 0, kMaxResourceWords, False, XA_STRING, &type, &format,
                           &items, &remaining, &data) == Success &&
        data && type == XA_STRING && format == 8)
        text.assign(reinterpret_cast<const char *>(data), items);
    if (data)
        XFree(data);
    return text;
}

// Xft.dpi / 96 from the database's text, 0 without a positive value.
double xftScale(const std::string &resources)
{
    if (resources.empty())
        return 0;
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources.c_str());
    if (!database)
        return 0;
    char *type = nullptr;
    XrmValue value{};
    double dpi = 0;
    if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
        dpi = std::strtod(std::string(value.addr, value.size).c_str(), nullptr);
    XrmDestroyDatabase(database);
    return dpi > 0 ? dpi / 96.0 : 0;
}

double gdkScale()
{
    const char *text = std::getenv("GDK_SCALE");
    if (!text)
        return 0;
    const double scale = std::strtod(text, nullptr);
    return scale > 0 ? scale : 0;
}

}  // namespace

double platformWindowScale(void *parentWindow)
{
    if (!parentWindow || isRegisteredOffscreenParent(parentWindow))
        return 0;
    double scale = 0;
    if (std::unique_ptr<X11Connection> connection = X11Connection::open()) {
        if (connection->usable())
            scale = xftScale(resourceDatabaseText(*connection, (Window) reinterpret_cast<uintptr_t>(parentWindow)));
    }
    return scale > 0 ? scale : gdkScale();
}

bool platformWindowScaleAtIdle() { return false; }

}  // namespace VSTGUI
