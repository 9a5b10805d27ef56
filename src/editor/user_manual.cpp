#include "editor/user_manual.h"

#include "platform/install_dir.h"
#include "platform/shell.h"

void requestUserManual(void *ownerWindow)
{
    // Looked up on every request, so that a manual installed while the host runs is found.
    const std::wstring path = installedManualPath();
    const intptr_t answer = shellOpenDocument(ownerWindow, path);
    if (answer == kShellNoAssociation)
        showMessageBox(ownerWindow, "Make sure Acrobat Reader is installed", "Could not open manual file");
    else if (answer <= kShellSuccessAbove)
        showMessageBox(ownerWindow, "Could not open user manual", "");
}
