// The system shell and message boxes, as the manual request uses them.
// [ui-thread] (the editor's)
#pragma once

#include <cstdint>
#include <string>

// Answers of shellOpenDocument, with the meaning of the Windows shell's codes.
constexpr intptr_t kShellNoAssociation = 31;  // no program is associated with the file type
constexpr intptr_t kShellFileNotFound = 2;
constexpr intptr_t kShellSuccessAbove = 32;  // answers above this mean success

// Opens the document with the program the system associates with it (the shell's "open" verb,
// no parameters, no working directory, shown normally). Windows: ShellExecute. POSIX: xdg-open,
// started in the background without the host's file descriptors; the call never waits for the
// viewer and leaves no child behind. A missing file answers kShellFileNotFound, no xdg-open on
// the PATH kShellNoAssociation, a started opener success (what the opener later makes of the
// file is its own to tell the user).
intptr_t shellOpenDocument(void *ownerWindow, const std::wstring &path);

// A modal message box with an OK button, owned by ownerWindow (may be null); returns after OK.
// POSIX has no message box of its own here: the message goes to the standard error stream.
void showMessageBox(void *ownerWindow, const std::string &text, const std::string &caption);

// The seam tests observe: while a hook is installed, it receives the call instead of the system.
struct ShellHooks {
    intptr_t (*openDocument)(void *ownerWindow, const std::wstring &path);                       // null: the real shell
    void (*messageBox)(void *ownerWindow, const std::string &text, const std::string &caption);  // null: real box
};
// Installs the hooks (null removes them). The hooks object must outlive its installation.
void setShellHooks(const ShellHooks *hooks);
