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
#include <vector>

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
        KeySym none[2] = {NoSymbol, NoSymbol};
        for (KeyCode code : borrowed)
            XChangeKeyboardMapping(display, code, 2, none, 1);
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
    // Each character becomes a press and release of its key (with Shift where the keyboard map
    // has it shifted); a character the map lacks is bound to a spare key code for its press.
    bool type(const std::string &text) override
    {
        if (!frame)
            return false;
        for (size_t i = 0; i < text.size();) {
            const unsigned long character = nextCharacter(text, i);
            strike(character < 0x100 ? (KeySym)character : (KeySym)(0x01000000ul | character));
        }
        XSync(display, False);
        return true;
    }
    bool key(const std::string &name) override
    {
        if (!frame)
            return false;
        strike(name == "enter" ? XK_Return : name == "tab" ? XK_Tab : XK_Escape);
        XSync(display, False);
        return true;
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
    static unsigned int buttonOf(int buttons) { return (buttons & kRButton) ? 3u : (buttons & kMButton) ? 2u : 1u; }
    void moveTo(double x, double y)
    {
        int rootX = 0, rootY = 0;
        Window child = 0;
        XTranslateCoordinates(display, frame ? frame : window, DefaultRootWindow(display), (int)x, (int)y, &rootX,
                              &rootY, &child);
        XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
    }
    // The code point at offset i of UTF-8 text; i moves past it (a stray byte counts as itself).
    static unsigned long nextCharacter(const std::string &text, size_t &i)
    {
        const unsigned char lead = static_cast<unsigned char>(text[i++]);
        const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        unsigned long character = more ? (lead & (0x3Fu >> more)) : lead;
        for (int k = 0; k < more && i < text.size(); ++k)
            character = character << 6 | (static_cast<unsigned char>(text[i++]) & 0x3Fu);
        return character;
    }
    void strike(KeySym symbol)
    {
        KeyCode code = XKeysymToKeycode(display, symbol);
        bool shifted = false;
        if (code) {
            shifted = keysymAt(code, 0) != symbol && keysymAt(code, 1) == symbol;
        } else {
            // Bound until the window goes: the frame looks the key up only at its next idle.
            code = spareKeycode();
            if (!code)
                return;
            KeySym both[2] = {symbol, symbol};
            XChangeKeyboardMapping(display, code, 2, both, 1);
            borrowed.push_back(code);
            XSync(display, False);
        }
        if (shifted)
            XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Shift_L), True, CurrentTime);
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        if (shifted)
            XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Shift_L), False, CurrentTime);
        XSync(display, False);
    }
    KeySym keysymAt(KeyCode code, int index)
    {
        int perCode = 0;
        KeySym *symbols = XGetKeyboardMapping(display, code, 1, &perCode);
        KeySym symbol = symbols && index < perCode ? symbols[index] : NoSymbol;
        if (symbols)
            XFree(symbols);
        return symbol;
    }
    // A key code the keyboard map leaves without symbols, 0 when there is none.
    KeyCode spareKeycode()
    {
        int lowest = 0, highest = 0, perCode = 0;
        XDisplayKeycodes(display, &lowest, &highest);
        KeySym *symbols = XGetKeyboardMapping(display, (KeyCode)lowest, highest - lowest + 1, &perCode);
        KeyCode found = 0;
        for (int code = highest; symbols && code >= lowest && !found; --code) {
            bool empty = true;
            for (int k = 0; k < perCode; ++k)
                empty = empty && symbols[(code - lowest) * perCode + k] == NoSymbol;
            if (empty)
                found = (KeyCode)code;
        }
        if (symbols)
            XFree(symbols);
        return found;
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
    std::vector<KeyCode> borrowed;  // key codes bound to characters the keyboard map lacked
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

bool writeWindowPicture(HarnessEditorWindow &window, const std::string &path)
{
    return path.empty() || window.writePicture(path, 0);
}
