#include "frame_driver.h"

#include "keyboard_input.h"

#ifdef _WIN32
#include <windows.h>
#include <windowsx.h>
#else
#include "ui/cairo/offscreen_frame.h"
#include "ui/cairo/offscreen_text_edit.h"
#include "ui/offscreen_parent.h"
#endif

using namespace VSTGUI;

namespace {

int withButton(int buttons) { return (buttons & (kLButton | kMButton | kRButton)) ? buttons : buttons | kLButton; }

#ifdef _WIN32
HWND frameWindow(CFrame *frame) { return static_cast<HWND>(frame->getSystemWindow()); }

WPARAM keyState(int buttons)
{
    WPARAM w = 0;
    if (buttons & kLButton)
        w |= MK_LBUTTON;
    if (buttons & kRButton)
        w |= MK_RBUTTON;
    if (buttons & kMButton)
        w |= MK_MBUTTON;
    if (buttons & kShift)
        w |= MK_SHIFT;
    if (buttons & kControl)
        w |= MK_CONTROL;
    return w;
}

LPARAM point(double x, double y) { return MAKELPARAM((int)x, (int)y); }

// Modifier keys are read by the window from the keyboard state for the wheel.
void setModifierKeys(int buttons)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = (buttons & kShift) ? 0x80 : 0;
    keys[VK_CONTROL] = (buttons & kControl) ? 0x80 : 0;
    keys[VK_MENU] = (buttons & kAlt) ? 0x80 : 0;
    SetKeyboardState(keys);
}
#endif

}  // namespace

#ifdef _WIN32
namespace {
LRESULT CALLBACK parentProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) { return DefWindowProcW(hwnd, msg, w, l); }
const wchar_t *parentClass()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = parentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZemTestParent";
        RegisterClassW(&wc);
        registered = true;
    }
    return L"ZemTestParent";
}
}  // namespace

TestParentWindow::TestParentWindow(int width, int height)
{
    window = CreateWindowExW(0, parentClass(), L"test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}
TestParentWindow::~TestParentWindow() { DestroyWindow(static_cast<HWND>(window)); }
int TestParentWindow::clientWidth() const
{
    RECT r{};
    GetClientRect(static_cast<HWND>(window), &r);
    return r.right - r.left;
}
int TestParentWindow::clientHeight() const
{
    RECT r{};
    GetClientRect(static_cast<HWND>(window), &r);
    return r.bottom - r.top;
}
void TestParentWindow::resize(int width, int height)
{
    SetWindowPos(static_cast<HWND>(window), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrameDriver::press(double x, double y, int buttons)
{
    buttons = withButton(buttons);
    bool dbl = (buttons & kDoubleClick) != 0;
    UINT msg = (buttons & kRButton)   ? (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN)
               : (buttons & kMButton) ? (dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN)
                                      : (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN);
    setModifierKeys(buttons);
    SendMessageW(frameWindow(frame), msg, keyState(buttons), point(x, y));
}

void FrameDriver::release(double x, double y, int buttons)
{
    buttons = withButton(buttons);
    UINT msg = (buttons & kRButton) ? WM_RBUTTONUP : (buttons & kMButton) ? WM_MBUTTONUP : WM_LBUTTONUP;
    setModifierKeys(buttons);
    SendMessageW(frameWindow(frame), msg, keyState(buttons & ~(kLButton | kRButton | kMButton)), point(x, y));
}

void FrameDriver::move(double x, double y, int buttons)
{
    setModifierKeys(buttons);
    SendMessageW(frameWindow(frame), WM_MOUSEMOVE, keyState(buttons), point(x, y));
}

void FrameDriver::wheel(double x, double y, float distance, int modifiers)
{
    POINT p{(int)x, (int)y};
    ClientToScreen(frameWindow(frame), &p);
    setModifierKeys(modifiers);
    WPARAM w = MAKEWPARAM(keyState(modifiers), (WORD)(short)(distance * WHEEL_DELTA));
    SendMessageW(frameWindow(frame), WM_MOUSEWHEEL, w, MAKELPARAM(p.x, p.y));
    setModifierKeys(0);
}

void FrameDriver::leave() { SendMessageW(frameWindow(frame), WM_MOUSELEAVE, 0, 0); }

bool FrameDriver::type(const std::string &utf8) { return typeIntoEditBox(frameWindow(frame), utf8); }

bool FrameDriver::key(const std::string &name) { return pressEditBoxKey(frameWindow(frame), name); }

namespace {
BOOL CALLBACK countChild(HWND, LPARAM data)
{
    ++*reinterpret_cast<int *>(data);
    return TRUE;
}
BOOL CALLBACK countWindowAndChildren(HWND hwnd, LPARAM data)
{
    ++*reinterpret_cast<int *>(data);
    EnumChildWindows(hwnd, countChild, data);
    return TRUE;
}
}  // namespace

int countThreadWindows()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindowAndChildren, reinterpret_cast<LPARAM>(&count));
    return count;
}

#else

// An offscreen parent that this test program registers with the view library by address.
TestParentWindow::TestParentWindow(int, int) : window(new OffscreenParent) { registerOffscreenParent(window); }
TestParentWindow::~TestParentWindow()
{
    unregisterOffscreenParent(window);
    delete static_cast<OffscreenParent *>(window);
}
int TestParentWindow::clientWidth() const { return 0; }
int TestParentWindow::clientHeight() const { return 0; }
void TestParentWindow::resize(int width, int height)
{
    static_cast<OffscreenParent *>(window)->width = width;
    static_cast<OffscreenParent *>(window)->height = height;
}

void FrameDriver::press(double x, double y, int buttons)
{
    frame->platformOnMouseDown(CPoint(x, y), CButtonState(withButton(buttons)));
}

void FrameDriver::release(double x, double y, int buttons)
{
    frame->platformOnMouseUp(CPoint(x, y), CButtonState(withButton(buttons)));
}

void FrameDriver::move(double x, double y, int buttons)
{
    frame->platformOnMouseMoved(CPoint(x, y), CButtonState(buttons));
}

void FrameDriver::wheel(double x, double y, float distance, int modifiers)
{
    frame->platformOnMouseMoved(CPoint(x, y), CButtonState(modifiers & ~(kLButton | kRButton | kMButton)));
    frame->platformOnWheel(CPoint(x, y), distance, CButtonState(modifiers));
}

void FrameDriver::leave() { frame->platformOnMouseExited(frame->getLastMousePosition(), CButtonState()); }

namespace {
OffscreenTextEdit *openBox(CFrame *frame)
{
    auto *window = static_cast<OffscreenPlatformFrame *>(frame->getPlatformFrame());
    return window ? window->activeTextEdit() : nullptr;
}
}  // namespace

bool FrameDriver::type(const std::string &utf8)
{
    OffscreenTextEdit *box = openBox(frame);
    if (!box)
        return false;
    box->type(utf8);
    return true;
}

bool FrameDriver::key(const std::string &name)
{
    OffscreenTextEdit *box = openBox(frame);
    if (!box)
        return false;
    if (name == "enter")
        box->pressReturn();
    else if (name == "tab")
        box->pressTab();
    else if (name == "escape")
        box->pressEscape();
    else
        return false;
    return true;
}

int countThreadWindows() { return 0; }

#endif

TestParentWindow &sharedParentWindow()
{
    static TestParentWindow parent(600, 300);
    return parent;
}

void FrameDriver::drag(double x1, double y1, double x2, double y2, int buttons)
{
    buttons = withButton(buttons);
    press(x1, y1, buttons);
    const int steps = 8;
    for (int i = 1; i <= steps; ++i)
        move(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps, buttons & ~kDoubleClick);
    release(x2, y2, buttons & ~kDoubleClick);
}
