// Where the files that ship with the plug-in are: the installer records the full path of the
// user manual as "ManualPath" under HKEY_CURRENT_USER\SOFTWARE\Velmora\ZEMMETERS300 (POSIX: the
// line "ManualPath=<UTF-8 path>" of the per-user defaults file), and the manual's directory also
// holds the private typeface. The plug-in reads this value and never writes it.
// Thread: any (module load, UI thread).
#pragma once

#include <string>

// The manual file name that follows the installation directory's final separator is always
// this long.
constexpr size_t kManualFileNameLength = 36;

// "ManualPath", at most 1024 characters; empty when the key or the value is missing.
std::wstring readManualPath();

// The private typeface's path from a manual path, in the process code page: the path converted
// with the standard wide-to-multibyte conversion of the current locale (at most 1025 bytes),
// without its last 36 characters when it has at least 36, followed by "ZEMOrdwen.kqf".
std::string fontPathFromManualPath(const std::wstring &manualPath);

// The font path query run when the module loads: fontPathFromManualPath(readManualPath()).
std::string installedFontPath();

// The private typeface's path kept wide end to end, so that an installation directory with
// characters outside the process code page still names the file: the manual path without its
// last 36 characters (whole when shorter), followed by "ZEMOrdwen.kqf".
std::wstring fontFilePathFromManualPath(const std::wstring &manualPath);
std::wstring installedFontFilePath();
