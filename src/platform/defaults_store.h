// The per-user store of the meter defaults: named 4-byte float values. Windows: the registry key
// HKEY_CURRENT_USER\SOFTWARE\Velmora\ZEMMETERS300, REG_BINARY values of 4 bytes. POSIX: one file
// per user, $XDG_CONFIG_HOME (or ~/.config) /Velmora/ZEMMETERS300, replaced atomically on every
// write so that a crash or a full disk never loses the previous file, and written under an
// advisory lock so that processes writing at the same time lose none of each other's values.
// [any-thread] but never the audio thread (file and registry calls): the first entry call or
// engine creation, whichever thread it comes on, and the settings panel's store (UI thread).
#pragma once

#include <cstddef>

// One named value of the store.
struct StoredDefault {
    const char *name;
    float value;
    bool found;  // set by defaultsStoreReadAll
};

// Reads all the named values in one pass over the store. An entry whose value is present and
// exactly 4 bytes receives it and `found`; every other entry keeps its value, `found` false.
void defaultsStoreReadAll(StoredDefault *values, size_t count);

// Writes (creates or replaces) all the values as one batch. Answers false when they could not
// be written; the store is then unchanged (POSIX) or holds those values that could be written
// (Windows: a value that cannot be written is skipped).
bool defaultsStoreWriteAll(const StoredDefault *values, size_t count);

// Reads a value. Answers false, leaving `value` unchanged, when the store or the value is
// missing or the value is not exactly 4 bytes.
bool defaultsStoreRead(const char *name, float &value);

// Writes (creates or replaces) a value. Answers false when it could not be written; the store
// is then unchanged.
bool defaultsStoreWrite(const char *name, float value);

// Removes a value; answers true when it is absent afterwards.
bool defaultsStoreRemove(const char *name);
