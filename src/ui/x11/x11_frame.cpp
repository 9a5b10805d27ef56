#include "x11_frame.h"

#include <X11/Xutil.h>
#include <cstdlib>
#include <cstring>

#include "ui/cairo/cairo_draw_context.h"
#include "x11_error_trap.h"
#include "x11_text_edit.h"

namespace VSTGUI {

namespace {

constexpr int kDoubleClickDistance = 4;  // pixels either way
constexpr unsigned long kDefaultDoubleClickTime = 400;

// Every entry point reached from the host's idle ends an exception here.
template <typename Call> void guarded(Call call)
{
    try {
        call();
    } catch (...) {
    }
}

CRect rectOf(int x, int y, int w, int h) { return CRect(x, y, x + w, y + h); }

}  // namespace

X11PlatformFrame *X11PlatformFrame::create(IPlatformFrameCallback *frame, const CRect &size, Window parent)
{
    if (!parent)
        return nullptr;
    std::unique_ptr<X11Connection> connection = X11Connection::open();
    if (!connection)
        return nullptr;
    auto *platform = new X11PlatformFrame(frame, std::move(connection));
    if (!platform->open(size, parent)) {
        delete platform;
        return nullptr;
    }
    return platform;
}

X11PlatformFrame::X11PlatformFrame(IPlatformFrameCallback *frame, std::unique_ptr<X11Connection> connection)
    : frame(frame), connection(std::move(connection)), display(this->connection->display())
{
    if (const char *value = XGetDefault(display, "ZEMOrdwen", "multiClickTime")) {
        const long ms = std::strtol(value, nullptr, 10);
        multiClickTime = ms > 0 && ms < 5000 ? (unsigned long)ms : kDefaultDoubleClickTime;
    }
}

bool X11PlatformFrame::open(const CRect &size, Window parent)
{
    X11ErrorTrap trap(*connection);
    XWindowAttributes parentAttributes;
    // The host's id is asked about before anything is created on it; a stale or made-up id
    // answers an error here, which the trap keeps from the host.
    if (!XGetWindowAttributes(display, parent, &parentAttributes) || trap.failed())
        return false;
    width = (int)size.getWidth();
    height = (int)size.getHeight();
    if (width <= 0 || height <= 0)
        return false;
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;  // no flicker: every pixel is ours to copy
    attributes.backing_store = WhenMapped;
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                            LeaveWindowMask | KeyPressMask | KeyReleaseMask | FocusChangeMask;
    window = XCreateWindow(display, parent, (int)size.left, (int)size.top, (unsigned)width, (unsigned)height, 0,
                           CopyFromParent, InputOutput, CopyFromParent, CWBackPixmap | CWBackingStore | CWEventMask,
                           &attributes);
    XWindowAttributes own;
    if (trap.failed() || !window || !XGetWindowAttributes(display, window, &own) || trap.failed()) {
        window = 0;
        return false;
    }
    visual = own.visual;
    depth = own.depth;
    gc = XCreateGC(display, window, 0, nullptr);
    XMapWindow(display, window);
    if (!gc || !makePicture(width, height))
        return false;
    invalid.push_back(rectOf(0, 0, width, height));
    // Text input through the input method of the user's locale, where one answers.
    inputMethod = XOpenIM(display, nullptr, nullptr, nullptr);
    if (inputMethod) {
        inputContext = XCreateIC(inputMethod, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow,
                                 window, XNFocusWindow, window, nullptr);
    }
    return !trap.failed();
}

X11PlatformFrame::~X11PlatformFrame()
{
    if (textEdit)
        textEdit->detachFromFrame();
    if (!connection->usable()) {
        // The window and everything else of ours went with the server; the graphics context's
        // record is client memory, and freeing it sends nothing on a lost connection.
        if (gc)
            XFreeGC(display, gc);
    } else {
        X11ErrorTrap trap(*connection);
        if (grabbed)
            XUngrabPointer(display, CurrentTime);
        if (inputContext)
            XDestroyIC(inputContext);
        if (inputMethod)
            XCloseIM(inputMethod);
        if (gc)
            XFreeGC(display, gc);
        // The host may have destroyed its window, and ours with it, before closing the editor.
        if (window)
            XDestroyWindow(display, window);
    }
    // The picture's surface goes before the shared memory under it.
    delete back;
    back = nullptr;
    shared.reset();
}

bool X11PlatformFrame::makePicture(int pictureWidth, int pictureHeight)
{
    std::unique_ptr<X11SharedImage> sharedPicture;
    CairoBitmap *picture = nullptr;
    if (connection->usable())
        sharedPicture = X11SharedImage::create(*connection, visual, depth, pictureWidth, pictureHeight);
    if (sharedPicture) {
        cairo_surface_t *surface = sharedPicture->newSurface();
        if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
            picture = new CairoBitmap(surface);
        } else {
            cairo_surface_destroy(surface);
            sharedPicture.reset();
        }
    }
    if (!picture)
        picture = static_cast<CairoBitmap *>(createPlatformBitmap(pictureWidth, pictureHeight));
    if (!picture)
        return false;
    // The old picture's surface goes before the memory under it.
    delete back;
    back = picture;
    shared = std::move(sharedPicture);
    return true;
}

void *X11PlatformFrame::getSystemWindow() const { return reinterpret_cast<void *>((uintptr_t)window); }

void X11PlatformFrame::invalidRect(const CRect &rect) { invalid.push_back(rect); }

void X11PlatformFrame::redrawNow()
{
    std::vector<CRect> rects;
    rects.swap(invalid);
    if (!connection->usable()) {
        exposed.clear();
        return;  // a picture nobody can see
    }
    if (back) {
        // The server may still be reading the last copies out of the picture.
        if (shared && !rects.empty())
            shared->waitUntilRead();
        for (const CRect &r : rects) {
            CairoDrawContext context(back->getSurface());
            context.clearRect(r);
            frame->platformDrawRect(&context, r);
            // The frame left the context at its zoom: the box draws in frame coordinates.
            if (textEdit)
                textEdit->draw(context, CRect(r.left / zoom, r.top / zoom, r.right / zoom, r.bottom / zoom));
        }
    }
    rects.insert(rects.end(), exposed.begin(), exposed.end());
    exposed.clear();
    copyToWindow(rects);
}

namespace {

int shiftOf(unsigned long mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// The byte order of this machine's 32-bit words, in Xlib's terms.
int hostByteOrder()
{
    const uint32_t one = 1;
    unsigned char first = 0;
    std::memcpy(&first, &one, 1);
    return first == 1 ? LSBFirst : MSBFirst;
}

}  // namespace

// Whether the server stores depth-24 pixels in 32 bits, as the picture does.
bool X11PlatformFrame::hasPixmapFormat32() const
{
    int count = 0;
    XPixmapFormatValues *formats = XListPixmapFormats(display, &count);
    bool found = false;
    for (int i = 0; i < count && formats; ++i)
        found = found || (formats[i].depth == 24 && formats[i].bits_per_pixel == 32);
    if (formats)
        XFree(formats);
    return found;
}

void X11PlatformFrame::copyToWindow(const std::vector<CRect> &rects)
{
    if (!back || !gc || rects.empty() || connection->lost())
        return;
    cairo_surface_t *surface = back->getSurface();
    cairo_surface_flush(surface);
    const unsigned char *pixels = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    X11ErrorTrap trap(*connection);
    if (shared) {
        std::vector<XRectangle> areas;
        areas.reserve(rects.size());
        for (const CRect &area : rects) {
            CRect r(area);
            r.bound(rectOf(0, 0, width, height));
            const int x = (int)r.left, y = (int)r.top;
            const int w = (int)(r.right + 0.999) - x, h = (int)(r.bottom + 0.999) - y;
            if (w > 0 && h > 0 && x + w <= width && y + h <= height)
                areas.push_back(XRectangle{(short)x, (short)y, (unsigned short)w, (unsigned short)h});
        }
        shared->put(window, gc, areas);
        return;
    }
    // Where the server's pixels have the picture's layout, one image header over the whole
    // picture serves every area: nothing is copied on this side, and Xlib sends each area's rows.
    XImage whole{};
    whole.width = width;
    whole.height = height;
    whole.format = ZPixmap;
    whole.data = reinterpret_cast<char *>(const_cast<unsigned char *>(pixels));
    whole.byte_order = hostByteOrder();
    whole.bitmap_unit = 32;
    whole.bitmap_bit_order = whole.byte_order;
    whole.bitmap_pad = 32;
    whole.depth = depth;
    whole.bytes_per_line = stride;
    whole.bits_per_pixel = 32;
    whole.red_mask = visual->red_mask;
    whole.green_mask = visual->green_mask;
    whole.blue_mask = visual->blue_mask;
    const bool wholeFits = depth == 24 && visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 &&
                           visual->blue_mask == 0xFF && hasPixmapFormat32() && XInitImage(&whole) != 0;
    for (const CRect &area : rects) {
        if (connection->lost())
            return;
        CRect r(area);
        r.bound(rectOf(0, 0, width, height));
        const int x = (int)r.left, y = (int)r.top;
        const int w = (int)(r.right + 0.999) - x, h = (int)(r.bottom + 0.999) - y;
        if (w <= 0 || h <= 0 || x + w > width || y + h > height)
            continue;
        if (wholeFits) {
            XPutImage(display, window, gc, &whole, x, y, x, y, (unsigned)w, (unsigned)h);
            continue;
        }
        // The image owns a buffer of its own, freed by XDestroyImage.
        auto *data = static_cast<char *>(std::malloc((size_t)w * (size_t)h * 4));
        XImage *image = data ? XCreateImage(display, visual, (unsigned)depth, ZPixmap, 0, data, (unsigned)w,
                                            (unsigned)h, 32, 0)
                             : nullptr;
        if (!image) {
            std::free(data);
            continue;
        }
        const bool sameLayout = image->bits_per_pixel == 32 && image->red_mask == 0xFF0000 &&
                                image->green_mask == 0xFF00 && image->blue_mask == 0xFF &&
                                image->byte_order == hostByteOrder();
        const int red = shiftOf(image->red_mask), green = shiftOf(image->green_mask), blue = shiftOf(image->blue_mask);
        for (int row = 0; row < h; ++row) {
            const auto *source = reinterpret_cast<const uint32_t *>(pixels + (size_t)(y + row) * (size_t)stride) + x;
            if (sameLayout) {
                std::memcpy(image->data + (size_t)row * (size_t)image->bytes_per_line, source, (size_t)w * 4);
                continue;
            }
            for (int column = 0; column < w; ++column) {
                const uint32_t p = source[column];
                XPutPixel(image, column, row,
                          (unsigned long)((p >> 16) & 0xFF) << red | (unsigned long)((p >> 8) & 0xFF) << green |
                              (unsigned long)(p & 0xFF) << blue);
            }
        }
        XPutImage(display, window, gc, image, 0, 0, x, y, (unsigned)w, (unsigned)h);
        XDestroyImage(image);
    }
}

bool X11PlatformFrame::setSize(int newWidth, int newHeight)
{
    if (newWidth <= 0 || newHeight <= 0)
        return false;
    if (!makePicture(newWidth, newHeight))
        return false;
    width = newWidth;
    height = newHeight;
    invalid.clear();
    invalid.push_back(rectOf(0, 0, width, height));
    if (connection->usable()) {
        X11ErrorTrap trap(*connection);
        XResizeWindow(display, window, (unsigned)width, (unsigned)height);
    }
    return true;
}

// The host's window is the host's: Linux hosts size their editor windows themselves when the
// editor asks through audioMasterSizeWindow (which the editor does right after this), and a
// plug-in that resized a host window behind its back would fight the host's layout.
bool X11PlatformFrame::setParentSize(int, int) { return true; }

bool X11PlatformFrame::takeFocus()
{
    // The window taking the focus takes it from the edit box, as a click beside it does.
    if (X11TextEdit *edit = textEdit)
        edit->loseFocus();
    if (!connection->usable())
        return false;
    X11ErrorTrap trap(*connection);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    return !trap.failed();
}

void X11PlatformFrame::captureMouse(bool capture)
{
    if (!connection->usable()) {
        grabbed = false;  // the server's grabs ended with it
        return;
    }
    X11ErrorTrap trap(*connection);
    if (capture && !grabbed) {
        grabbed = XGrabPointer(display, window, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                               GrabModeAsync, GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
    } else if (!capture && grabbed) {
        XUngrabPointer(display, CurrentTime);
        grabbed = false;
    }
}

std::unique_ptr<IPlatformTextEdit> X11PlatformFrame::createTextEdit(IPlatformTextEditCallback *owner,
                                                                    const PlatformTextEditStyle &style)
{
    if (!owner || !connection->usable())
        return nullptr;
    if (X11TextEdit *previous = textEdit)
        previous->loseFocus();
    PlatformTextEditStyle zoomed(style);
    zoomed.zoom = zoom;
    auto edit = std::make_unique<X11TextEdit>(this, owner, zoomed);
    textEdit = edit.get();
    invalid.push_back(zoomedRect(style.rect, zoom));
    X11ErrorTrap trap(*connection);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    if (inputContext)
        XSetICFocus(inputContext);
    return edit;
}

void X11PlatformFrame::textEditGone(X11TextEdit *edit)
{
    if (textEdit != edit)
        return;
    invalid.push_back(edit->getStyle().rect);
    textEdit = nullptr;
}

CButtonState X11PlatformFrame::buttonsOf(unsigned int state, int pressed) const
{
    int flags = pressed;
    if (state & Button1Mask)
        flags |= kLButton;
    if (state & Button2Mask)
        flags |= kMButton;
    if (state & Button3Mask)
        flags |= kRButton;
    if (state & ShiftMask)
        flags |= kShift;
    if (state & ControlMask)
        flags |= kControl;
    if (state & Mod1Mask)
        flags |= kAlt;
    return CButtonState(flags);
}

void X11PlatformFrame::processPendingEvents()
{
    if (!connection->usable())
        return;
    X11ErrorTrap trap(*connection);
    // One round trip: everything the server queued for this window before now is here.
    if (!connection->lost())
        XSync(display, False);
    while (!connection->lost() && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (shared && shared->takeCompletion(event))
            continue;
        if (XFilterEvent(&event, None))
            continue;
        guarded([&] { handle(event); });
    }
}

void X11PlatformFrame::handlePress(const XButtonEvent &event)
{
    CPoint where(event.x, event.y);
    // A press anywhere beside the open edit box ends it with its text, before the press acts.
    if (X11TextEdit *edit = textEdit) {
        if (edit->getStyle().rect.pointInside(logical(event.x, event.y))) {
            // The left button places the caret; the box has no use for the others.
            if (event.button == Button1) {
                draggingInTextEdit = true;
                edit->press(logical(event.x, event.y), (event.state & ShiftMask) != 0);
            }
            return;
        }
        edit->loseFocus();
    }
    if (event.button == Button4 || event.button == Button5) {
        frame->platformOnMouseMoved(where, buttonsOf(event.state));
        frame->platformOnWheel(where, event.button == Button4 ? 1.f : -1.f, buttonsOf(event.state));
        return;
    }
    int pressed = event.button == Button1   ? kLButton
                  : event.button == Button2 ? kMButton
                  : event.button == Button3 ? kRButton
                                            : 0;
    if (!pressed)
        return;  // the horizontal wheel and extra buttons
    const bool isDouble = !lastWasDouble && event.button == lastButton &&
                          event.time - lastPressTime <= multiClickTime &&
                          std::abs(event.x - lastX) <= kDoubleClickDistance &&
                          std::abs(event.y - lastY) <= kDoubleClickDistance;
    lastWasDouble = isDouble;
    lastButton = event.button;
    lastPressTime = event.time;
    lastX = event.x;
    lastY = event.y;
    frame->platformOnMouseDown(where, buttonsOf(event.state, pressed | (isDouble ? kDoubleClick : 0)));
}

void X11PlatformFrame::handle(XEvent &event)
{
    switch (event.type) {
    case Expose:
        exposed.push_back(rectOf(event.xexpose.x, event.xexpose.y, event.xexpose.width, event.xexpose.height));
        break;
    case ButtonPress:
        handlePress(event.xbutton);
        break;
    case ButtonRelease: {
        const XButtonEvent &b = event.xbutton;
        int released = b.button == Button1   ? kLButton
                       : b.button == Button2 ? kMButton
                       : b.button == Button3 ? kRButton
                                             : 0;
        if (!released)
            break;
        if (b.button == Button1)
            draggingInTextEdit = false;
        if (textEdit && textEdit->getStyle().rect.pointInside(logical(b.x, b.y)))
            break;
        // The state holds the buttons down before this release, the released one included.
        unsigned int state = b.state & ~(b.button == Button1   ? Button1Mask
                                         : b.button == Button2 ? Button2Mask
                                                               : Button3Mask);
        frame->platformOnMouseUp(CPoint(b.x, b.y), buttonsOf(state, released));
        break;
    }
    case MotionNotify: {
        const XMotionEvent &m = event.xmotion;
        if (textEdit && draggingInTextEdit && (m.state & Button1Mask) &&
            textEdit->getStyle().rect.pointInside(logical(m.x, m.y)))
            textEdit->press(logical(m.x, m.y), true);
        else
            frame->platformOnMouseMoved(CPoint(m.x, m.y), buttonsOf(m.state));
        break;
    }
    case EnterNotify:
        if (event.xcrossing.mode == NotifyNormal)
            frame->platformOnMouseMoved(CPoint(event.xcrossing.x, event.xcrossing.y), buttonsOf(event.xcrossing.state));
        break;
    case LeaveNotify:
        // Grabs and ungrabs report crossings too; only the mouse leaving counts.
        if (event.xcrossing.mode == NotifyNormal)
            frame->platformOnMouseExited(CPoint(event.xcrossing.x, event.xcrossing.y),
                                         buttonsOf(event.xcrossing.state));
        break;
    case FocusOut:
        if (event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyPointer &&
            event.xfocus.detail != NotifyInferior) {
            if (inputContext)
                XUnsetICFocus(inputContext);
            if (X11TextEdit *edit = textEdit)
                edit->loseFocus();
        }
        break;
    case MappingNotify:
        // The keyboard map changed (another layout, a key bound anew): keys that follow are
        // looked up in the new one.
        if (event.xmapping.request != MappingPointer)
            XRefreshKeyboardMapping(&event.xmapping);
        break;
    case FocusIn:
        if (inputContext)
            XSetICFocus(inputContext);
        break;
    case KeyPress:
        // Keys for the views come through the host (effEditKeyDown); the window takes them only
        // while an edit box is open.
        if (X11TextEdit *edit = textEdit)
            edit->keyPress(event.xkey);
        break;
    default:
        break;
    }
}

}  // namespace VSTGUI
