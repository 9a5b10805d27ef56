// How the effect gets its editor: the entry point hands it a factory, so that the effect does not
// depend on the editor subsystem. The factory creates the editor of one effect instance, or
// answers null when it cannot be created; the effect then runs without an editor. The editor
// registers itself with the effect; the effect takes ownership with setEditor. A null factory
// means an effect without an editor. [ui-thread] (the host's, while it constructs the effect)
#pragma once

#include <memory>

class AEffEditor;
class AudioEffect;

using EditorFactory = std::unique_ptr<AEffEditor> (*)(AudioEffect *effect);
