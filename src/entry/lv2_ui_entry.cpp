// The LV2 UI's entry: lv2ui_descriptor, exported from the same library as lv2_descriptor, so that
// the UI and the instance it reaches through instance access share one copy of the core. And what
// the UI (lv2/lv2_ui.h) needs of the editor's window beyond the effect's record: the X11 window
// of the editor's frame, the UI's widget. Set as the library loads.
#include "editor/aeff_gui_editor.h"
#include "lv2/lv2_ui.h"
#include "vst/audio_effect.h"

namespace {

uintptr_t frameWindow(AEffect *effect)
{
    auto *object = effect ? static_cast<AudioEffect *>(effect->object) : nullptr;
    auto *editor = object ? dynamic_cast<AEffGUIEditor *>(object->getEditor()) : nullptr;
    VSTGUI::CFrame *frame = editor ? editor->getFrame() : nullptr;
    VSTGUI::IPlatformFrame *platform = frame ? frame->getPlatformFrame() : nullptr;
    return platform ? reinterpret_cast<uintptr_t>(platform->getSystemWindow()) : 0;
}

const Lv2UiWindowAccess kAccess{frameWindow};

struct Registration {
    Registration() { setLv2UiWindowAccess(&kAccess); }
} registration;

}  // namespace

extern "C" {
LV2_SYMBOL_EXPORT const LV2UI_Descriptor *lv2ui_descriptor(uint32_t index);
const LV2UI_Descriptor *lv2ui_descriptor(uint32_t index) { return lv2UiDescriptor(index); }
}
