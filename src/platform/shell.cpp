#include "platform/shell.h"

#include <atomic>

// The system calls, one per platform (win32/ and posix/).
intptr_t systemOpenDocument(void *ownerWindow, const std::wstring &path);
void systemMessageBox(void *ownerWindow, const std::string &text, const std::string &caption);

namespace {
std::atomic<const ShellHooks *> installedHooks{nullptr};
}

void setShellHooks(const ShellHooks *hooks) { installedHooks.store(hooks); }

intptr_t shellOpenDocument(void *ownerWindow, const std::wstring &path)
{
    const ShellHooks *hooks = installedHooks.load();
    if (hooks && hooks->openDocument)
        return hooks->openDocument(ownerWindow, path);
    return systemOpenDocument(ownerWindow, path);
}

void showMessageBox(void *ownerWindow, const std::string &text, const std::string &caption)
{
    const ShellHooks *hooks = installedHooks.load();
    if (hooks && hooks->messageBox) {
        hooks->messageBox(ownerWindow, text, caption);
        return;
    }
    systemMessageBox(ownerWindow, text, caption);
}
