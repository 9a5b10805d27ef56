#include "core/editor_factory.h"

#include "editor/temeplete_editor.h"

AEffEditor *createTemepleteEditor(AudioEffect *effect) { return effect ? new TemepleteEditor(effect) : nullptr; }
