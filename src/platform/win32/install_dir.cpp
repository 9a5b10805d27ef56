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

std::wstring pluginModuleFolder()
{
    // The module this code is in (the plug-in's DLL, not the host's program), without taking a
    // reference to it.
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&pluginModuleFolder), &module))
        return std::wstring();
    // A path may be longer than MAX_PATH; the answer fills the buffer when it was cut.
    std::wstring file(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, &file[0], static_cast<DWORD>(file.size()));
        if (length == 0)
            return std::wstring();
        if (length < file.size()) {
            file.resize(length);
            break;
        }
        if (file.size() >= 32768)
            return std::wstring();
        file.resize(file.size() * 2);
    }
    const size_t separator = file.find_last_of(L"\\/");
    if (separator == std::wstring::npos || !isAbsolutePath(file))
        return std::wstring();
    return file.substr(0, separator + 1);
}

std::wstring packageShareFolder() { return std::wstring(); }

bool isAbsolutePath(const std::wstring &path)
{
    const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    if (path.size() >= 3 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
        path[1] == L':' && separator(path[2]))
        return true;
    return path.size() >= 3 && separator(path[0]) && separator(path[1]) && !separator(path[2]);
}

bool isExistingFile(const std::wstring &path)
{
    if (!isAbsolutePath(path))
        return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
