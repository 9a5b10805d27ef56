// The harness's real X11 parent: the editor runs in it as in a Linux host's window, and input
// is made by the X server itself (XTest), so it takes the path real input takes.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <cairo.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "editor_window.h"
#include "ui/view.h"

using namespace VSTGUI;

namespace {

// Longer than any double-click time: two separate clicks at one place stay two clicks.
constexpr int kClickPauseMs = 600;

class X11EditorWindow : public HarnessEditorWindow {
public:
    explicit X11EditorWindow(Display *display) : display(display)
    {
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;  // exactly where asked, whatever window manager runs
        attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
        attributes.event_mask = StructureNotifyMask;
        window = XCreateWindow(display, DefaultRootWindow(display), 0, 0, 586, 195, 0, CopyFromParent, InputOutput,
                               CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
        XMapRaised(display, window);
        XEvent event;
        do
            XWindowEvent(display, window, StructureNotifyMask, &event);
        while (event.type != MapNotify);
    }
    ~X11EditorWindow() override
    {
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    void *parentHandle() override { return reinterpret_cast<void *>((uintptr_t)window); }
    bool vouched() const override { return false; }
    bool attach() override
    {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        XQueryTree(display, window, &root, &parent, &children, &count);
        frame = count == 1 ? children[0] : 0;
        if (children)
            XFree(children);
        return frame != 0;
    }
    void press(double x, double y, int buttons) override
    {
        moveTo(x, y);
        modifiers(buttons, True);
        const bool isDouble = (buttons & kDoubleClick) != 0;
        const unsigned int button = buttonOf(buttons);
        const bool samePlace = button == lastButton && std::abs(x - lastX) <= 4 && std::abs(y - lastY) <= 4;
        const auto now = std::chrono::steady_clock::now();
        const bool recent = now - lastPress < std::chrono::milliseconds(kClickPauseMs);
        if (isDouble && !(samePlace && recent)) {
            // A double-click is two clicks; this is the first.
            XTestFakeButtonEvent(display, button, True, CurrentTime);
            XTestFakeButtonEvent(display, button, False, CurrentTime);
        } else if (!isDouble && samePlace && recent) {
            std::this_thread::sleep_until(lastPress + std::chrono::milliseconds(kClickPauseMs));
        }
        XTestFakeButtonEvent(display, button, True, CurrentTime);
        XSync(display, False);
        lastButton = button;
        lastX = x;
        lastY = y;
        lastPress = std::chrono::steady_clock::now();
    }
    void release(double x, double y, int buttons) override
    {
        moveTo(x, y);
        XTestFakeButtonEvent(display, buttonOf(buttons), False, CurrentTime);
        modifiers(buttons, False);
        XSync(display, False);
    }
    void move(double x, double y, int) override
    {
        moveTo(x, y);
        XSync(display, False);
    }
    void wheel(double x, double y, float distance, int buttons) override
    {
        moveTo(x, y);
        modifiers(buttons, True);
        const unsigned int button = distance > 0 ? 4 : 5;
        for (long notch = std::lround(std::fabs(distance)); notch > 0; --notch) {
            XTestFakeButtonEvent(display, button, True, CurrentTime);
            XTestFakeButtonEvent(display, button, False, CurrentTime);
        }
        modifiers(buttons, False);
        XSync(display, False);
    }
    bool writePicture(const std::string &path, uint32_t) override
    {
        XWindowAttributes attributes;
        if (!frame || !XGetWindowAttributes(display, frame, &attributes))
            return false;
        XImage *image = XGetImage(display, frame, 0, 0, (unsigned)attributes.width, (unsigned)attributes.height,
                                  AllPlanes, ZPixmap);
        if (!image)
            return false;
        cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image->width, image->height);
        unsigned char *data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const int redShift = shiftOf(image->red_mask), greenShift = shiftOf(image->green_mask),
                  blueShift = shiftOf(image->blue_mask);
        for (int y = 0; y < image->height; ++y) {
            auto *row = reinterpret_cast<uint32_t *>(data + (size_t)y * (size_t)stride);
            for (int x = 0; x < image->width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                const uint32_t r = (uint32_t)((pixel & image->red_mask) >> redShift) & 0xFF;
                const uint32_t g = (uint32_t)((pixel & image->green_mask) >> greenShift) & 0xFF;
                const uint32_t b = (uint32_t)((pixel & image->blue_mask) >> blueShift) & 0xFF;
                row[x] = 0xFF000000u | r << 16 | g << 8 | b;
            }
        }
        cairo_surface_mark_dirty(surface);
        XDestroyImage(image);
        const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
        cairo_surface_destroy(surface);
        return written;
    }
    void resize(int width, int height) override
    {
        if (width > 0 && height > 0)
            XResizeWindow(display, window, (unsigned)width, (unsigned)height);
        XSync(display, False);
    }

private:
    static int shiftOf(unsigned long mask)
    {
        int shift = 0;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        return shift;
    }
    static unsigned int buttonOf(int buttons)
    {
        return (buttons & kRButton) ? 3u : (buttons & kMButton) ? 2u : 1u;
    }
    void moveTo(double x, double y)
    {
        int rootX = 0, rootY = 0;
        Window child = 0;
        XTranslateCoordinates(display, frame ? frame : window, DefaultRootWindow(display), (int)x, (int)y, &rootX,
                              &rootY, &child);
        XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
    }
    void modifiers(int buttons, Bool down)
    {
        if (buttons & kShift)
            XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Shift_L), down, CurrentTime);
        if (buttons & kControl)
            XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Control_L), down, CurrentTime);
    }

    Display *display;
    Window window = 0;
    Window frame = 0;
    unsigned int lastButton = 0;
    double lastX = -100, lastY = -100;
    std::chrono::steady_clock::time_point lastPress;
};

}  // namespace

std::unique_ptr<HarnessEditorWindow> createX11EditorWindow(std::string &error)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        error = "no X display (DISPLAY)";
        return nullptr;
    }
    int event = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &errorBase, &major, &minor)) {
        XCloseDisplay(display);
        error = "the X server offers no XTest extension";
        return nullptr;
    }
    return std::make_unique<X11EditorWindow>(display);
}
