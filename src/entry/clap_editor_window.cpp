// What the CLAP gui (clap/clap_gui.h) needs of the editor's window beyond the effect's record:
// the frame's window on Windows (its timer brings the idle work) and the descriptor of the
// editor's X connection on Linux (the host watches it). Set as the library loads.
#include "clap/clap_gui.h"
#include "editor/aeff_gui_editor.h"
#include "vst/audio_effect.h"

#ifndef _WIN32
#include "ui/x11/x11_frame.h"
#endif

namespace {

VSTGUI::IPlatformFrame *platformFrameOf(AEffect *effect)
{
    auto *object = effect ? static_cast<AudioEffect *>(effect->object) : nullptr;
    auto *editor = object ? dynamic_cast<AEffGUIEditor *>(object->getEditor()) : nullptr;
    VSTGUI::CFrame *frame = editor ? editor->getFrame() : nullptr;
    return frame ? frame->getPlatformFrame() : nullptr;
}

void *frameWindow(AEffect *effect)
{
#ifdef _WIN32
    VSTGUI::IPlatformFrame *platform = platformFrameOf(effect);
    return platform ? platform->getSystemWindow() : nullptr;
#else
    (void)effect;
    return nullptr;
#endif
}

int eventDescriptor(AEffect *effect)
{
#ifdef _WIN32
    (void)effect;
    return -1;
#else
    auto *x11 = dynamic_cast<VSTGUI::X11PlatformFrame *>(platformFrameOf(effect));
    return x11 && x11->getDisplay() ? ConnectionNumber(x11->getDisplay()) : -1;
#endif
}

const ClapEditorWindowAccess kAccess{frameWindow, eventDescriptor};

struct Registration {
    Registration() { setClapEditorWindowAccess(&kAccess); }
} registration;

}  // namespace
