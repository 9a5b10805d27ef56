// GetDpiForWindow is looked up at run time: user32 has it from Windows 10 version 1607 on, and
// the plug-in must still load where it is missing (the scale is then unknown).
#include "ui/window_scale.h"

#include <windows.h>

namespace VSTGUI {

namespace {

using GetDpiForWindowCall = UINT(WINAPI *)(HWND);

GetDpiForWindowCall getDpiForWindowCall()
{
    static const GetDpiForWindowCall call = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 ? reinterpret_cast<GetDpiForWindowCall>(
                            reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetDpiForWindow")))
                      : nullptr;
    }();
    return call;
}

}  // namespace

double platformWindowScale(void *parentWindow)
{
    const GetDpiForWindowCall call = getDpiForWindowCall();
    HWND window = static_cast<HWND>(parentWindow);
    if (!call || !window || !IsWindow(window))
        return 0;
    const UINT dpi = call(window);
    return dpi ? dpi / 96.0 : 0;
}

bool platformWindowScaleAtIdle() { return true; }

}  // namespace VSTGUI
