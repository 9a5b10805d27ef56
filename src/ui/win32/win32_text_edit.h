// The in-place edit box of the Windows frame: a native single-line "EDIT" child of the frame's
// window. [ui-thread]
#pragma once

#include <windows.h>

#include <memory>

#include "ui/platform_frame.h"

namespace VSTGUI {

// Opens a box over parent at the style's rectangle (parent's client coordinates); null when the
// window cannot be made.
std::unique_ptr<IPlatformTextEdit> createWin32TextEdit(HWND parent, IPlatformTextEditCallback *owner,
                                                       const PlatformTextEditStyle &style);

// The brushes, bitmaps and fonts the boxes made and have not deleted yet (Wine answers GDI
// object counts with 0, so the boxes count their own). [ui-thread]
int win32TextEditLiveGdiObjects();

// The frame drew again at area (parent's client coordinates): a box open over parent renders its
// background again when it next paints, if the area reaches under it. [ui-thread]
void win32TextEditAreaChanged(HWND parent, const CRect &area);

}  // namespace VSTGUI
