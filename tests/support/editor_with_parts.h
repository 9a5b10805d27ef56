// An editor factory for effects that a test builds with its own editor parts (recording panels,
// strips that fail, ...) instead of the product's: the effect is constructed exactly as the entry
// point constructs it, with the factory creating the editor in the constructor, so no test has to
// delete the effect's editor and make another by hand.
//   Templete effect(host, editorFactoryWithParts(parts));
//   Templete effect(host, editorFactoryWithParts<RecordingEditor>(parts));   // a TemepleteEditor subclass
// The factory the effect takes is a plain function pointer, as the entry point passes it, so the
// parts wait in a static for the next effect built. Thread: the test's main thread.
#pragma once

#include <memory>
#include <new>

#include "controls/editor_parts.h"
#include "core/editor_factory.h"
#include "editor/temeplete_editor.h"

inline EditorPartsFactory *&partsOfTheNextEditor()
{
    static EditorPartsFactory *parts = nullptr;
    return parts;
}

template <class Editor> std::unique_ptr<AEffEditor> createEditorWithWaitingParts(AudioEffect *effect)
{
    EditorPartsFactory *parts = partsOfTheNextEditor();
    partsOfTheNextEditor() = nullptr;
    if (!effect || !parts)
        return nullptr;
    return std::unique_ptr<AEffEditor>(new (std::nothrow) Editor(effect, *parts));
}

template <class Editor = TemepleteEditor> EditorFactory editorFactoryWithParts(EditorPartsFactory &parts)
{
    partsOfTheNextEditor() = &parts;
    return createEditorWithWaitingParts<Editor>;
}
