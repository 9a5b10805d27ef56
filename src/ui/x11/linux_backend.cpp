// Which window a frame gets on Linux: a parent that a host program registered or vouched for
// (offscreen_parent.h) gets the offscreen picture, recognised by its address only; any other
// parent is taken as the X11 window id a Linux host passes, used through Xlib only.
#include "ui/cairo/offscreen_frame.h"
#include "ui/offscreen_parent.h"
#include "x11_frame.h"

namespace VSTGUI {

IPlatformFrame *createPlatformFrame(IPlatformFrameCallback *frame, const CRect &size, void *parent)
{
    if (!parent || isRegisteredOffscreenParent(parent))
        return new OffscreenPlatformFrame(frame, size, parent);
    // The id travels by value in the pointer; it is never dereferenced.
    return X11PlatformFrame::create(frame, size, (Window) reinterpret_cast<uintptr_t>(parent));
}

bool platformShowsInHostWindows() { return true; }

void platformVouchedParent(void *parent, uint32_t) { registerOffscreenParent(parent); }

void platformWithdrawnParent(void *parent) { unregisterOffscreenParent(parent); }

}  // namespace VSTGUI
