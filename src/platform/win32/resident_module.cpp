#include "platform/resident_module.h"

#include <windows.h>

void keepModuleResident()
{
    static const bool pinned = [] {
        HMODULE module = nullptr;
        return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                  reinterpret_cast<LPCWSTR>(&keepModuleResident), &module) != 0;
    }();
    (void)pinned;
}
