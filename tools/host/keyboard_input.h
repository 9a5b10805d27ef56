// Keyboard input to an open in-place edit box on Windows: real keyboard messages (characters,
// key down and up) to the child of the frame's window that holds the keyboard focus.
// Thread: the thread of the frame's window.
#pragma once

#include <string>

// False when no child of frameWindow has the focus (no box is open).
bool typeIntoEditBox(void *frameWindow, const std::string &utf8);
// name: enter, tab or escape.
bool pressEditBoxKey(void *frameWindow, const std::string &name);
