// The frame's window on Windows: a child of the host's window, painted through a back buffer.
#include <windowsx.h>

#include <mutex>
#include <vector>

#include "gdiplus_draw_context.h"
#include "win32_text_edit.h"
#include "ui/offscreen_parent.h"
#include "ui/platform_frame.h"

namespace VSTGUI {

namespace {

HMODULE ownModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ownModule), &module);
    return module;
}

// Parents whose host program vouched for them, with the cookie of its picture requests.
struct VouchedParent {
    HWND parent;
    uint32_t cookie;
};
std::mutex vouchedMutex;
std::vector<VouchedParent> vouchedParents;

uint32_t cookieOfVouchedParent(HWND parent)
{
    std::lock_guard<std::mutex> hold(vouchedMutex);
    for (const VouchedParent &v : vouchedParents)
        if (v.parent == parent)
            return v.cookie;
    return 0;
}

UINT pictureMessage()
{
    static const UINT message = RegisterWindowMessageW(kFramePictureMessage);
    return message;
}

class Win32Frame : public IPlatformFrame {
public:
    Win32Frame(IPlatformFrameCallback *frame, const CRect &size, HWND parent);
    ~Win32Frame() override;

    bool valid() const { return window != nullptr; }
    void invalidRect(const CRect &rect) override;
    void redrawNow() override { UpdateWindow(window); }
    bool setSize(int width, int height) override;
    bool setParentSize(int width, int height) override;
    void setZoom(double factor) override { zoom = factor; }
    uint32_t getTicks() const override { return platformTickCount(); }
    void *getSystemWindow() const override { return window; }
    bool takeFocus() override { return SetFocus(window) != nullptr || GetFocus() == window; }
    void captureMouse(bool capture) override;
    void drawChildWindows(CBitmap *picture) override;
    std::unique_ptr<IPlatformTextEdit> createTextEdit(IPlatformTextEditCallback *owner,
                                                      const PlatformTextEditStyle &style) override
    {
        PlatformTextEditStyle zoomed(style);
        zoomed.zoom = zoom;
        return createWin32TextEdit(window, owner, zoomed);
    }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    double zoom = 1.0;
    void paint();
    CButtonState buttonsOf(WPARAM wParam, int pressed = 0) const;

    static const wchar_t *className();
    static int windowCount;

    IPlatformFrameCallback *frame;
    HWND window = nullptr;
    Gdiplus::Bitmap *backBuffer = nullptr;
    bool holdsGdiplus = false;  // a reference of the GDI+ session, for the back buffer
    bool trackingLeave = false;
    uint32_t pictureCookie = 0;  // non-zero: the parent's host program may ask for pictures
};

int Win32Frame::windowCount = 0;

const wchar_t *Win32Frame::className()
{
    // One class per loaded copy of the module, so that two copies never share a window procedure.
    static wchar_t name[64] = {0};
    if (!name[0])
        wsprintfW(name, L"ZemOrdwenFrame%p", (void *)ownModule());
    return name;
}

Win32Frame::Win32Frame(IPlatformFrameCallback *frame, const CRect &size, HWND parent) : frame(frame)
{
    if (!parent || !IsWindow(parent) || !acquireGdiplus())
        return;
    holdsGdiplus = true;
    if (windowCount == 0) {
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = windowProc;
        wc.hInstance = ownModule();
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = className();
        RegisterClassW(&wc);
    }
    window = CreateWindowExW(0, className(), L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                             (int)size.left, (int)size.top, (int)size.getWidth(), (int)size.getHeight(), parent,
                             nullptr, ownModule(), this);
    if (window) {
        ++windowCount;
        pictureCookie = cookieOfVouchedParent(parent);
        setSize((int)size.getWidth(), (int)size.getHeight());
    } else if (windowCount == 0) {
        UnregisterClassW(className(), ownModule());
    }
}

Win32Frame::~Win32Frame()
{
    if (window) {
        if (GetCapture() == window)
            ReleaseCapture();
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
        if (--windowCount == 0)
            UnregisterClassW(className(), ownModule());
    }
    delete backBuffer;
    if (holdsGdiplus)
        releaseGdiplus();
}

void Win32Frame::invalidRect(const CRect &rect)
{
    RECT r{(LONG)rect.left, (LONG)rect.top, (LONG)(rect.right + 0.999), (LONG)(rect.bottom + 0.999)};
    InvalidateRect(window, &r, FALSE);
    // The frame's window does not paint under its children: an open edit box shows what lies
    // under it through its own background.
    win32TextEditAreaChanged(window, rect);
}

bool Win32Frame::setSize(int width, int height)
{
    if (!window || width <= 0 || height <= 0)
        return false;
    delete backBuffer;
    backBuffer = new Gdiplus::Bitmap(width, height, PixelFormat32bppPARGB);
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, FALSE);
    return true;
}

bool Win32Frame::setParentSize(int width, int height)
{
    HWND parent = window ? GetParent(window) : nullptr;
    return parent && SetWindowPos(parent, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

BOOL CALLBACK collectChild(HWND child, LPARAM list)
{
    reinterpret_cast<std::vector<HWND> *>(list)->push_back(child);
    return TRUE;
}

}  // namespace

// Each visible child prints itself into an opaque bitmap of its own size (its background brush
// aligned to the child, as on screen), which is then laid over the picture.
void Win32Frame::drawChildWindows(CBitmap *picture)
{
    auto *target = picture ? static_cast<GdiplusBitmap *>(picture->getPlatformBitmap()) : nullptr;
    if (!window || !target)
        return;
    std::vector<HWND> children;
    EnumChildWindows(window, collectChild, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        if (GetParent(child) != window || !IsWindowVisible(child))
            continue;
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&r), 2);
        int width = r.right - r.left, height = r.bottom - r.top;
        if (width <= 0 || height <= 0)
            continue;
        HDC screen = GetDC(window);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(window, screen);
        if (dc && bitmap) {
            HGDIOBJ old = SelectObject(dc, bitmap);
            SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
            SelectObject(dc, old);
            Gdiplus::Bitmap shot(bitmap, nullptr);
            Gdiplus::Graphics g(target->get());
            g.DrawImage(&shot, r.left, r.top, width, height);
        }
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
    }
}

void Win32Frame::captureMouse(bool capture)
{
    if (capture)
        SetCapture(window);
    else if (GetCapture() == window)
        ReleaseCapture();
}

CButtonState Win32Frame::buttonsOf(WPARAM wParam, int pressed) const
{
    int state = pressed;
    WORD keys = LOWORD(wParam);
    if (keys & MK_LBUTTON)
        state |= kLButton;
    if (keys & MK_RBUTTON)
        state |= kRButton;
    if (keys & MK_MBUTTON)
        state |= kMButton;
    if (keys & MK_SHIFT)
        state |= kShift;
    if (keys & MK_CONTROL)
        state |= kControl;
    if (GetKeyState(VK_MENU) < 0)
        state |= kAlt;
    return CButtonState(state);
}

void Win32Frame::paint()
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    int kind = GetUpdateRgn(window, region, FALSE);
    std::vector<RECT> rects;
    if (kind != ERROR && kind != NULLREGION) {
        DWORD bytes = GetRegionData(region, 0, nullptr);
        std::vector<char> data(bytes);
        auto *rgn = reinterpret_cast<RGNDATA *>(data.data());
        if (bytes && GetRegionData(region, bytes, rgn)) {
            auto *r = reinterpret_cast<RECT *>(rgn->Buffer);
            rects.assign(r, r + rgn->rdh.nCount);
        }
    }
    DeleteObject(region);

    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (backBuffer && dc) {
        {
            GdiplusDrawContext context(backBuffer);
            for (const RECT &r : rects) {
                CRect area(r.left, r.top, r.right, r.bottom);
                context.setDeviceScale(1.0);  // the area is in window pixels; the frame sets its zoom
                Gdiplus::Graphics *g = context.getGraphics();
                g->SetClip(Gdiplus::Rect(r.left, r.top, r.right - r.left, r.bottom - r.top));
                g->Clear(Gdiplus::Color(255, 0, 0, 0));
                frame->platformDrawRect(&context, area);
            }
        }
        Gdiplus::Graphics screen(dc);
        screen.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        for (const RECT &r : rects)
            screen.DrawImage(backBuffer, Gdiplus::Rect(r.left, r.top, r.right - r.left, r.bottom - r.top), r.left,
                             r.top, r.right - r.left, r.bottom - r.top, Gdiplus::UnitPixel);
    }
    EndPaint(window, &ps);
}

LRESULT CALLBACK Win32Frame::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *create = reinterpret_cast<CREATESTRUCTW *>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto *self = reinterpret_cast<Win32Frame *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && self->window == hwnd) {
        // The window system and the host are beneath this frame: no exception goes there.
        try {
            return self->handle(message, wParam, lParam);
        } catch (...) {
            return 0;
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Win32Frame::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    CPoint where(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        frame->platformOnMouseDown(where,
                                   buttonsOf(wParam, kLButton | (message == WM_LBUTTONDBLCLK ? kDoubleClick : 0)));
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        frame->platformOnMouseDown(where,
                                   buttonsOf(wParam, kRButton | (message == WM_RBUTTONDBLCLK ? kDoubleClick : 0)));
        return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        frame->platformOnMouseDown(where,
                                   buttonsOf(wParam, kMButton | (message == WM_MBUTTONDBLCLK ? kDoubleClick : 0)));
        return 0;
    case WM_LBUTTONUP:
        frame->platformOnMouseUp(where, buttonsOf(wParam, kLButton));
        return 0;
    case WM_RBUTTONUP:
        frame->platformOnMouseUp(where, buttonsOf(wParam, kRButton));
        return 0;
    case WM_MBUTTONUP:
        frame->platformOnMouseUp(where, buttonsOf(wParam, kMButton));
        return 0;
    case WM_MOUSEMOVE:
        if (!trackingLeave) {
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
            trackingLeave = TrackMouseEvent(&track) != FALSE;
        }
        frame->platformOnMouseMoved(where, buttonsOf(wParam));
        return 0;
    case WM_MOUSELEAVE:
        trackingLeave = false;
        frame->platformOnMouseExited(where, CButtonState());
        return 0;
    // The press in progress cannot end with a release here: another window took the mouse (the
    // frame's own release at the end of a press names no new owner), a dialog cancels modes,
    // or the window is disabled or hidden. The frame ends the gesture, and with it the edit.
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window)
            frame->platformOnMouseCancelled();
        return 0;
    case WM_CANCELMODE:
        frame->platformOnMouseCancelled();
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_ENABLE:
        if (!wParam)
            frame->platformOnMouseCancelled();
        return 0;
    case WM_SHOWWINDOW:
        if (!wParam)
            frame->platformOnMouseCancelled();
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_MOUSEWHEEL: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(window, &p);
        float distance = (float)GET_WHEEL_DELTA_WPARAM(wParam) / (float)WHEEL_DELTA;
        frame->platformOnWheel(CPoint(p.x, p.y), distance, buttonsOf(wParam));
        return 0;
    }
    default:
        // A host program asks for a picture of the frame: lParam is the PNG file's path (UTF-8).
        // Any process may send or post this message with any lParam, so the frame answers only
        // a host program that vouched for its parent, only a send from this thread (another
        // thread's send is refused) and only with that parent's cookie in wParam.
        if (message == pictureMessage()) {
            if (pictureCookie == 0 || wParam != (WPARAM)pictureCookie || InSendMessage() || !lParam)
                return 0;
            return frame->platformWritePicture(reinterpret_cast<const char *>(lParam)) ? 1 : 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

uint32_t platformTickCount() { return (uint32_t)GetTickCount(); }

bool platformShowsInHostWindows() { return true; }

void platformVouchedParent(void *parent, uint32_t cookie)
{
    std::lock_guard<std::mutex> hold(vouchedMutex);
    vouchedParents.push_back(VouchedParent{static_cast<HWND>(parent), cookie});
}

void platformWithdrawnParent(void *parent)
{
    std::lock_guard<std::mutex> hold(vouchedMutex);
    for (auto v = vouchedParents.begin(); v != vouchedParents.end(); ++v) {
        if (v->parent == static_cast<HWND>(parent)) {
            vouchedParents.erase(v);
            return;
        }
    }
}

IPlatformFrame *createPlatformFrame(IPlatformFrameCallback *frame, const CRect &size, void *parent)
{
    auto *platform = new Win32Frame(frame, size, static_cast<HWND>(parent));
    if (!platform->valid()) {
        delete platform;
        return nullptr;
    }
    return platform;
}

}  // namespace VSTGUI
