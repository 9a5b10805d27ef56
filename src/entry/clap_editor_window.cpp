// What the CLAP gui (clap/clap_gui.h) needs of the editor's window beyond the effect's record:
// the frame's window on Windows (its timer brings the idle work) and the descriptor of the
// editor's X connection on Linux (the host watches it). Set as the library loads.
#include "clap/clap_gui.h"
#include "entry/editor_window_access.h"

namespace {

const ClapEditorWindowAccess kAccess{editorFrameWindow, editorEventDescriptor};

struct Registration {
    Registration() { setClapEditorWindowAccess(&kAccess); }
} registration;

}  // namespace
