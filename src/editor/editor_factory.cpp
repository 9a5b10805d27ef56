// Until the editor classes exist the effect runs without an editor (no has-editor flag).
#include "core/editor_factory.h"

AEffEditor *createTemepleteEditor(AudioEffect *) { return nullptr; }
