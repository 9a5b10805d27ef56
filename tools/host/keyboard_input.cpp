#include "keyboard_input.h"

#ifdef _WIN32
#include <windows.h>

namespace {

HWND focusedChild(void *frameWindow)
{
    HWND focus = GetFocus();
    return focus && frameWindow && GetParent(focus) == static_cast<HWND>(frameWindow) ? focus : nullptr;
}

void pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

bool typeIntoEditBox(void *frameWindow, const std::string &utf8)
{
    HWND box = focusedChild(frameWindow);
    if (!box)
        return false;
    int units = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), (int)utf8.size(), nullptr, 0);
    std::wstring text(units > 0 ? units : 0, L'\0');
    if (units > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), (int)utf8.size(), &text[0], units);
    for (wchar_t c : text)
        SendMessageW(box, WM_CHAR, (WPARAM)c, 1);
    pump();
    return true;
}

bool pressEditBoxKey(void *frameWindow, const std::string &name)
{
    HWND box = focusedChild(frameWindow);
    WPARAM vk = name == "enter" ? VK_RETURN : name == "tab" ? VK_TAB : name == "escape" ? VK_ESCAPE : 0;
    if (!box || !vk)
        return false;
    UINT scan = MapVirtualKeyW((UINT)vk, 0);
    SendMessageW(box, WM_KEYDOWN, vk, (LPARAM)(1 | (scan << 16)));
    if (IsWindow(box))
        SendMessageW(box, WM_KEYUP, vk, (LPARAM)(1 | (scan << 16) | 0xC0000000u));
    pump();
    return true;
}

#else

bool typeIntoEditBox(void *, const std::string &) { return false; }
bool pressEditBoxKey(void *, const std::string &) { return false; }

#endif
