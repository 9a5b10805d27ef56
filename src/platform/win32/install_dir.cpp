#include "platform/install_dir.h"

#include <windows.h>

std::wstring readManualPath()
{
    // A zeroed buffer of 1025 UTF-16 characters (2050 bytes) and one more, so that a value that
    // fills the buffer without a terminator is still read as a terminated text.
    wchar_t buffer[1026] = {};
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Velmora\\ZEMMETERS300", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::wstring();
    DWORD size = 2050;
    const LONG status = RegQueryValueExW(key, L"ManualPath", nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::wstring();
    return std::wstring(buffer);
}
