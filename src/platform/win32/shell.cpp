#include "platform/shell.h"

#include <windows.h>
#include <shellapi.h>

intptr_t systemOpenDocument(void *ownerWindow, const std::wstring &path);
void systemMessageBox(void *ownerWindow, const std::string &text, const std::string &caption);

namespace {
std::wstring widen(const std::string &text)
{
    if (text.empty())
        return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), int(text.size()), &wide[0], length);
    return wide;
}
}  // namespace

intptr_t systemOpenDocument(void *ownerWindow, const std::wstring &path)
{
    // An empty path would open a folder window on some systems and report success: it names no
    // document, so it fails as a missing file.
    if (path.empty())
        return kShellFileNotFound;
    HINSTANCE result = ShellExecuteW(static_cast<HWND>(ownerWindow), L"open", path.c_str(), nullptr, nullptr,
                                     SW_SHOWNORMAL);
    return reinterpret_cast<intptr_t>(result);
}

void systemMessageBox(void *ownerWindow, const std::string &text, const std::string &caption)
{
    MessageBoxW(static_cast<HWND>(ownerWindow), widen(text).c_str(), widen(caption).c_str(), MB_OK);
}
