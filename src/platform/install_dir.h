// Where the files that ship with the plug-in are: the installer records the full path of the
// user manual as "ManualPath" under HKEY_CURRENT_USER\SOFTWARE\Velmora\ZEMMETERS300 (POSIX: the
// line "ManualPath=<UTF-8 path>" of the per-user defaults file), and the manual's directory also
// holds the private typeface. The plug-in reads this value and never writes it.
//
// A plug-in copied into a VST folder by hand has no "ManualPath": where the value is missing or
// names no existing file, the manual and the typeface are looked for beside the plug-in module
// itself, then in its "ZEM Ordwen" subfolder (the layout of a Linux install into one folder),
// then (POSIX) in the share folder of the package tree the module is in: <prefix>/share/zem-ordwen/
// for a module in <prefix>/lib/<format>/ or in a bundle <prefix>/lib/<format>/<bundle>/. A
// relative path is never opened: it would name a file in whatever the host's working folder is.
// [any-thread] (module load, UI thread)
#pragma once

#include <string>

// The manual file name that follows the installation directory's final separator is always
// this long.
constexpr size_t kManualFileNameLength = 36;

// The manual's and the typeface's file names, and the folder beside the plug-in that may hold
// them.
constexpr const wchar_t *kManualFileName = L"ZEM Ordwen User Manual v3.0.2 EN.pdf";
constexpr const wchar_t *kFontFileName = L"ZEMOrdwen.kqf";
constexpr const wchar_t *kInstallSubfolder = L"ZEM Ordwen";
// The package's folder of them under <prefix>/share.
constexpr const wchar_t *kPackageDataFolder = L"zem-ordwen";

// "ManualPath", at most 1024 characters; empty when the key or the value is missing. POSIX: the
// carriage return of a CRLF line end and trailing blanks are not part of it.
std::wstring readManualPath();

// The folder of the plug-in module (the library this code is in, not the host program),
// followed by its separator; empty when it cannot be told as an absolute path.
std::wstring pluginModuleFolder();

// The package share folder for a module folder ("/"-separated, absolute, ending in "/"):
// <prefix>/share/zem-ordwen/ when the folder is <prefix>/lib/<format>/ or
// <prefix>/lib/<format>/<bundle>/ ("lib" or "lib64"), the nearer match first; else empty.
std::wstring packageShareFolderOf(const std::wstring &moduleFolder);

// packageShareFolderOf(pluginModuleFolder()) on POSIX; empty on Windows, whose installs record
// "ManualPath" or keep the files beside the plug-in.
std::wstring packageShareFolder();

// A path from a root (POSIX "/..."; Windows "X:\..." or "\\server\..."), never resolved
// against the working folder.
bool isAbsolutePath(const std::wstring &path);

// An existing regular file (not a folder) at an absolute path.
bool isExistingFile(const std::wstring &path);

// The user manual to open: "ManualPath" when it names an existing file, else the manual beside
// the module, in its subfolder or in the package share folder; when none exists, "ManualPath" when absolute (the shell then
// reports it missing), else empty.
std::wstring installedManualPath();

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

// The typeface to load: the first existing file of the one derived from an absolute
// "ManualPath", the one beside the module, the one in its subfolder and the one in the package
// share folder; when none exists the
// one derived from an absolute "ManualPath", else empty (nothing is opened).
std::wstring installedFontFilePath();
