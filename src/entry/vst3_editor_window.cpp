// What the VST 3 view (vst3/vst3_view.h) needs of the editor's window beyond the effect's record:
// the frame's window on Windows (its timer brings the idle work) and the descriptor of the
// editor's X connection on Linux (the host's run loop watches it). Set as the library loads.
#include "entry/editor_window_access.h"
#include "vst3/vst3_view.h"

namespace {

const Vst3EditorWindowAccess kAccess{editorFrameWindow, editorEventDescriptor};

struct Registration {
    Registration() { setVst3EditorWindowAccess(&kAccess); }
} registration;

}  // namespace
