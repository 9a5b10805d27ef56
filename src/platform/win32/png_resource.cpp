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

// The resource type of the images at a scale: "PNG" at 1x, "PNG2X" at 2x, "PNG3X" at 3x (the
// resource script the artwork generator writes); the number stays the image's own.
const wchar_t *resourceType(int scale)
{
    switch (scale) {
    case 1:
        return L"PNG";
    case 2:
        return L"PNG2X";
    case 3:
        return L"PNG3X";
    default:
        return nullptr;
    }
}

}  // namespace

PngBytes findPngResource(int number, int scale)
{
    const wchar_t *type = resourceType(scale);
    if (number <= 0 || number > 0xFFFF || !type)
        return PngBytes{nullptr, 0};
    HMODULE module = ownModule();
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(number), type);
    if (!info)
        return PngBytes{nullptr, 0};
    HGLOBAL handle = LoadResource(module, info);
    DWORD size = SizeofResource(module, info);
    const void *data = handle ? LockResource(handle) : nullptr;
    if (!data || size == 0)
        return PngBytes{nullptr, 0};
    return PngBytes{static_cast<const unsigned char *>(data), size};
}
