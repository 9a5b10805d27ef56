#include "platform/defaults_store.h"

#include <windows.h>

namespace {

const char kStoreKey[] = "SOFTWARE\\Velmora\\ZEMMETERS300";

// A separate buffer: a value of another size must not leave part of itself in `value`.
bool queryValue(HKEY key, const char *name, float &value)
{
    BYTE bytes[4];
    DWORD size = sizeof bytes;
    if (RegQueryValueExA(key, name, nullptr, nullptr, bytes, &size) != ERROR_SUCCESS || size != sizeof bytes)
        return false;
    CopyMemory(&value, bytes, sizeof bytes);
    return true;
}

}  // namespace

void defaultsStoreReadAll(StoredDefault *values, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        values[i].found = false;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kStoreKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return;
    for (size_t i = 0; i < count; ++i)
        values[i].found = queryValue(key, values[i].name, values[i].value);
    RegCloseKey(key);
}

// One opened key for the whole batch; each value is written on its own and one that fails is
// skipped.
bool defaultsStoreWriteAll(const StoredDefault *values, size_t count)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool all = true;
    for (size_t i = 0; i < count; ++i) {
        BYTE bytes[4];
        CopyMemory(bytes, &values[i].value, sizeof bytes);
        all = RegSetValueExA(key, values[i].name, 0, REG_BINARY, bytes, sizeof bytes) == ERROR_SUCCESS && all;
    }
    RegCloseKey(key);
    return all;
}

bool defaultsStoreRead(const char *name, float &value)
{
    StoredDefault entry = {name, value, false};
    defaultsStoreReadAll(&entry, 1);
    if (entry.found)
        value = entry.value;
    return entry.found;
}

bool defaultsStoreWrite(const char *name, float value)
{
    const StoredDefault entry = {name, value, false};
    return defaultsStoreWriteAll(&entry, 1);
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
