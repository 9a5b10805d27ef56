#include "x11_shared_image.h"

#include <X11/Xutil.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>
#include <cstring>

#include "x11_error_trap.h"

namespace VSTGUI {

namespace {

bool refusedByTheUser()
{
    const char *value = std::getenv("ZEM_X11_NO_SHM");
    return value && *value && std::strcmp(value, "0") != 0;
}

// Whether the display name reaches a server on this machine through its local socket. A name
// with a host ("localhost:10" of a forwarded session too) may be a server elsewhere, whose own
// segment of the same id would be attached without any error.
bool isLocalDisplayName(const char *name)
{
    if (!name)
        return false;
    if (name[0] == '/')
        return true;  // a socket path
    const char *colon = std::strrchr(name, ':');
    if (!colon)
        return false;
    const size_t hostLength = (size_t)(colon - name);
    return hostLength == 0 || (hostLength == 4 && std::strncmp(name, "unix", 4) == 0);
}

int hostByteOrder()
{
    const uint32_t one = 1;
    unsigned char first = 0;
    std::memcpy(&first, &one, 1);
    return first == 1 ? LSBFirst : MSBFirst;
}

}  // namespace

std::unique_ptr<X11SharedImage> X11SharedImage::create(X11Connection &connection, Visual *visual, int depth, int width,
                                                       int height)
{
    Display *display = connection.display();
    if (refusedByTheUser() || !connection.usable() || !isLocalDisplayName(DisplayString(display)) ||
        !XShmQueryExtension(display) || !visual || depth != 24 || width <= 0 || height <= 0)
        return nullptr;
    if (visual->red_mask != 0xFF0000 || visual->green_mask != 0xFF00 || visual->blue_mask != 0xFF)
        return nullptr;
    std::unique_ptr<X11SharedImage> shared(new X11SharedImage(connection));
    // The image keeps a pointer to the segment's record for every copy: the record is ours.
    XImage *image = XShmCreateImage(display, visual, (unsigned)depth, ZPixmap, nullptr, &shared->segment,
                                    (unsigned)width, (unsigned)height);
    shared->image = image;
    if (!image || image->bits_per_pixel != 32 || image->byte_order != hostByteOrder() ||
        image->bytes_per_line != cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width) || !shared->attach())
        return nullptr;
    return shared;
}

X11SharedImage::X11SharedImage(X11Connection &connection)
    : connection(connection), display(connection.display()),
      completionType(XShmGetEventBase(connection.display()) + ShmCompletion)
{
    segment.shmid = -1;
    segment.shmaddr = reinterpret_cast<char *>(-1);
}

bool X11SharedImage::attach()
{
    const size_t size = (size_t)image->bytes_per_line * (size_t)image->height;
    segment.shmid = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (segment.shmid < 0)
        return false;
    segment.shmaddr = static_cast<char *>(shmat(segment.shmid, nullptr, 0));
    if (segment.shmaddr == reinterpret_cast<char *>(-1)) {
        shmctl(segment.shmid, IPC_RMID, nullptr);
        segment.shmid = -1;
        return false;
    }
    segment.readOnly = True;
    image->data = segment.shmaddr;
    {
        X11ErrorTrap trap(connection);
        attached = XShmAttach(display, &segment) && !trap.failed();
    }
    // Marked for removal at once: the segment goes when both sides have let go of it, even if
    // this process ends without closing the editor.
    shmctl(segment.shmid, IPC_RMID, nullptr);
    return attached;
}

X11SharedImage::~X11SharedImage()
{
    if (attached && connection.usable()) {
        X11ErrorTrap trap(connection);
        XShmDetach(display, &segment);
    }
    if (image) {
        // Neither the segment nor its record is Xlib's to free.
        image->data = nullptr;
        image->obdata = nullptr;
        XDestroyImage(image);
    }
    if (segment.shmaddr != reinterpret_cast<char *>(-1))
        shmdt(segment.shmaddr);
}

cairo_surface_t *X11SharedImage::newSurface() const
{
    return cairo_image_surface_create_for_data(reinterpret_cast<unsigned char *>(segment.shmaddr), CAIRO_FORMAT_ARGB32,
                                               image->width, image->height, image->bytes_per_line);
}

void X11SharedImage::put(Drawable target, GC gc, const std::vector<XRectangle> &areas)
{
    for (size_t i = 0; i < areas.size(); ++i) {
        const XRectangle &a = areas[i];
        const bool last = i + 1 == areas.size();
        XShmPutImage(display, target, gc, image, a.x, a.y, a.x, a.y, a.width, a.height, last ? True : False);
        awaitingCompletion = awaitingCompletion || last;
    }
}

bool X11SharedImage::takeCompletion(const XEvent &event)
{
    if (event.type != completionType)
        return false;
    awaitingCompletion = false;
    return true;
}

void X11SharedImage::waitUntilRead()
{
    if (!awaitingCompletion)
        return;
    XEvent event;
    if (connection.usable() && !XCheckTypedEvent(display, completionType, &event)) {
        // Once the server has answered a round trip it has handled the copies before it, and
        // read the segment for them: no need to wait for the event itself.
        XSync(display, False);
        while (!connection.lost() && XCheckTypedEvent(display, completionType, &event)) {
        }
    }
    awaitingCompletion = false;
}

}  // namespace VSTGUI
