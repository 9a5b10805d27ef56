// What the editor gui of a plug-in format needs of the editor's window beyond the effect's
// record: the frame's window on Windows (its timer brings the idle work) and the descriptor of
// the editor's X connection on Linux (the host watches it). The CLAP gui and the VST 3 view both
// ask through these (clap_editor_window.cpp, vst3_editor_window.cpp).
#pragma once

#include "editor/aeff_gui_editor.h"
#include "vst/audio_effect.h"

#ifndef _WIN32
#include "ui/x11/x11_frame.h"
#endif

inline VSTGUI::IPlatformFrame *editorPlatformFrameOf(AEffect *effect)
{
    auto *object = effect ? static_cast<AudioEffect *>(effect->object) : nullptr;
    auto *editor = object ? dynamic_cast<AEffGUIEditor *>(object->getEditor()) : nullptr;
    VSTGUI::CFrame *frame = editor ? editor->getFrame() : nullptr;
    return frame ? frame->getPlatformFrame() : nullptr;
}

// Windows: the frame's HWND while the editor is open, else null.
inline void *editorFrameWindow(AEffect *effect)
{
#ifdef _WIN32
    VSTGUI::IPlatformFrame *platform = editorPlatformFrameOf(effect);
    return platform ? platform->getSystemWindow() : nullptr;
#else
    (void)effect;
    return nullptr;
#endif
}

// Linux: the descriptor of the editor's X connection while it is open, else -1.
inline int editorEventDescriptor(AEffect *effect)
{
#ifdef _WIN32
    (void)effect;
    return -1;
#else
    auto *x11 = dynamic_cast<VSTGUI::X11PlatformFrame *>(editorPlatformFrameOf(effect));
    return x11 && x11->getDisplay() ? ConnectionNumber(x11->getDisplay()) : -1;
#endif
}
