#include "editor/editor_factory.h"

#include <new>

#include "editor/temeplete_editor.h"

std::unique_ptr<AEffEditor> createTemepleteEditor(AudioEffect *effect)
{
    if (!effect)
        return nullptr;
    // Without memory for the editor the effect runs without one.
    try {
        return std::unique_ptr<AEffEditor>(new (std::nothrow) TemepleteEditor(effect));
    } catch (...) {
        return nullptr;
    }
}
