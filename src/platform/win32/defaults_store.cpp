#include "platform/defaults_store.h"

#include <windows.h>

namespace {

const char kStoreKey[] = "SOFTWARE\\Velmora\\ZEMMETERS300";

} // namespace

bool defaultsStoreRead(const char *name, float &value)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kStoreKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    // A separate buffer: a value of another size must not leave part of itself in `value`.
    BYTE bytes[4];
    DWORD size = sizeof bytes;
    const LONG result = RegQueryValueExA(key, name, nullptr, nullptr, bytes, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || size != sizeof bytes)
        return false;
    CopyMemory(&value, bytes, sizeof bytes);
    return true;
}

bool defaultsStoreWrite(const char *name, float value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    BYTE bytes[4];
    CopyMemory(bytes, &value, sizeof bytes);
    const LONG result = RegSetValueExA(key, name, 0, REG_BINARY, bytes, sizeof bytes);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool defaultsStoreRemove(const char *name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kStoreKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return true;
    const LONG result = RegDeleteValueA(key, name);
    RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}
