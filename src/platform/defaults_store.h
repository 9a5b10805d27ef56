// The per-user store of the meter defaults: named 4-byte float values. Windows: the registry key
// HKEY_CURRENT_USER\SOFTWARE\Velmora\ZEMMETERS300, REG_BINARY values of 4 bytes. POSIX: one file
// per user, $XDG_CONFIG_HOME (or ~/.config) /Velmora/ZEMMETERS300, replaced atomically on every
// write so that a crash or a full disk never loses the previous file.
// Thread: UI (library load, settings panel closed); never the audio thread.
#pragma once

// Reads a value. Answers false, leaving `value` unchanged, when the store or the value is
// missing or the value is not exactly 4 bytes.
bool defaultsStoreRead(const char *name, float &value);

// Writes (creates or replaces) a value. Answers false when it could not be written; the store
// is then unchanged.
bool defaultsStoreWrite(const char *name, float value);

// Removes a value; answers true when it is absent afterwards.
bool defaultsStoreRemove(const char *name);
