// What the window system says of the scale a host's window wants its contents drawn at: 1 at
// 96 DPI, 2 at 192 DPI. Windows: GetDpiForWindow of the window (where user32 has it) / 96.
// X11: the server's resource database's Xft.dpi / 96, else the GDK_SCALE environment variable.
// [ui-thread]
#pragma once

namespace VSTGUI {

// The scale for contents of parentWindow; 0 when the window system says nothing (no such
// call, no value, a parent that a host program drives offscreen).
double platformWindowScale(void *parentWindow);

// Whether asking is cheap enough for every idle, so that an open editor follows its window to
// a screen of another DPI (Windows: one call into user32). X11 asks at open only.
bool platformWindowScaleAtIdle();

}  // namespace VSTGUI
