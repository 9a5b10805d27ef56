// The harness's parent window on Windows: a top-level window of this program, into which the
// editor opens as a child; input goes to the frame's window as real window messages, keys to
// its edit box, and pictures come from the frame through its picture message.
#include <windows.h>
#include <windowsx.h>

#include <cmath>

#include "editor_window.h"
#include "keyboard_input.h"
#include "rgb_png.h"
#include "ui/offscreen_parent.h"
#include "ui/view.h"

using namespace VSTGUI;

namespace {

class EditorWindow : public HarnessEditorWindow {
public:
    EditorWindow();
    ~EditorWindow() override;
    void *parentHandle() override;
    bool attach() override;
    void press(double x, double y, int buttons) override;
    void release(double x, double y, int buttons) override;
    void move(double x, double y, int buttons) override;
    void wheel(double x, double y, float distance, int buttons) override;
    bool type(const std::string &text) override;
    bool key(const std::string &name) override;
    bool writePicture(const std::string &path, uint32_t cookie) override;
    void pump() override;

private:
    HWND parent = nullptr;
    HWND frame = nullptr;
};

LRESULT CALLBACK parentProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) { return DefWindowProcW(hwnd, msg, w, l); }

EditorWindow::EditorWindow()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = parentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZemHarnessEditor";
    RegisterClassW(&wc);
    parent = CreateWindowExW(0, L"ZemHarnessEditor", L"ZEM Ordwen", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 586,
                             195, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}
EditorWindow::~EditorWindow()
{
    if (parent)
        DestroyWindow(parent);
}
void *EditorWindow::parentHandle() { return parent; }
bool EditorWindow::attach()
{
    frame = GetWindow(parent, GW_CHILD);
    return frame != nullptr;
}
WPARAM keyState(int buttons)
{
    WPARAM w = 0;
    if (buttons & kLButton)
        w |= MK_LBUTTON;
    if (buttons & kRButton)
        w |= MK_RBUTTON;
    if (buttons & kShift)
        w |= MK_SHIFT;
    if (buttons & kControl)
        w |= MK_CONTROL;
    return w;
}
void EditorWindow::press(double x, double y, int buttons)
{
    bool dbl = (buttons & kDoubleClick) != 0;
    UINT msg = (buttons & kRButton) ? (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN)
                                    : (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN);
    SendMessageW(frame, msg, keyState(buttons), MAKELPARAM((int)x, (int)y));
}
void EditorWindow::release(double x, double y, int buttons)
{
    UINT msg = (buttons & kRButton) ? WM_RBUTTONUP : WM_LBUTTONUP;
    SendMessageW(frame, msg, keyState(buttons & ~(kLButton | kRButton)), MAKELPARAM((int)x, (int)y));
}
void EditorWindow::move(double x, double y, int buttons)
{
    SendMessageW(frame, WM_MOUSEMOVE, keyState(buttons), MAKELPARAM((int)x, (int)y));
}
void EditorWindow::wheel(double x, double y, float distance, int buttons)
{
    POINT p{(int)x, (int)y};
    ClientToScreen(frame, &p);
    SendMessageW(frame, WM_MOUSEMOVE, keyState(buttons), MAKELPARAM((int)x, (int)y));
    SendMessageW(frame, WM_MOUSEWHEEL, MAKEWPARAM(keyState(buttons), (WORD)(short)std::lround(distance * WHEEL_DELTA)),
                 MAKELPARAM(p.x, p.y));
}
bool EditorWindow::type(const std::string &text) { return typeIntoEditBox(frame, text); }
bool EditorWindow::key(const std::string &name) { return pressEditBoxKey(frame, name); }
bool EditorWindow::writePicture(const std::string &path, uint32_t cookie)
{
    UINT message = RegisterWindowMessageW(kFramePictureMessage);
    return SendMessageW(frame, message, (WPARAM)cookie, reinterpret_cast<LPARAM>(path.c_str())) == 1;
}
void EditorWindow::pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

std::unique_ptr<HarnessEditorWindow> createWin32EditorWindow() { return std::make_unique<EditorWindow>(); }

bool captureFrameWindow(HarnessEditorWindow &window, std::vector<uint32_t> &pixels, int &width, int &height)
{
    HWND frame = GetWindow(static_cast<HWND>(window.parentHandle()), GW_CHILD);
    RECT client{};
    if (!frame || !GetClientRect(frame, &client) || client.right <= 0 || client.bottom <= 0)
        return false;
    width = client.right;
    height = client.bottom;
    HDC source = GetDC(frame);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        const uint32_t *from = static_cast<const uint32_t *>(bits);
        pixels.assign(from, from + (size_t)width * (size_t)height);
        for (uint32_t &p : pixels)
            p &= 0x00FFFFFFu;
        SelectObject(memory, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(frame, source);
    return copied;
}

bool writeWindowPicture(HarnessEditorWindow &window, const std::string &path)
{
    if (path.empty())
        return true;
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    return captureFrameWindow(window, pixels, width, height) && writeRgbPng(path, pixels, width, height);
}
