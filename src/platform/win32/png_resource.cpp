#include "platform/png_resource.h"

#include <windows.h>

namespace {

// The module that holds this code: the plug-in DLL, or the program it is linked into.
HMODULE ownModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ownModule), &module);
    return module;
}

}  // namespace

PngBytes findPngResource(int number)
{
    if (number <= 0 || number > 0xFFFF)
        return PngBytes{nullptr, 0};
    HMODULE module = ownModule();
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(number), L"PNG");
    if (!info)
        return PngBytes{nullptr, 0};
    HGLOBAL handle = LoadResource(module, info);
    DWORD size = SizeofResource(module, info);
    const void *data = handle ? LockResource(handle) : nullptr;
    if (!data || size == 0)
        return PngBytes{nullptr, 0};
    return PngBytes{static_cast<const unsigned char *>(data), size};
}
