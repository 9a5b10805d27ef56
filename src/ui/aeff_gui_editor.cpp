#include "aeff_gui_editor.h"

#include "vst/audio_effect.h"

AEffGUIEditor::AEffGUIEditor(AudioEffect *effect) : AEffEditor(effect) {}

AEffGUIEditor::~AEffGUIEditor()
{
    if (frame) {
        frame->forget();
        frame = nullptr;
    }
}

bool AEffGUIEditor::getRect(ERect **ppRect)
{
    if (!ppRect)
        return false;
    *ppRect = &rect;
    return true;
}

bool AEffGUIEditor::open(void *ptr)
{
    AEffEditor::open(ptr);
    return true;
}

void AEffGUIEditor::close() { AEffEditor::close(); }

void AEffGUIEditor::idle()
{
    if (inIdleStuff || !frame)
        return;
    inIdleStuff = true;
    frame->idle();
    inIdleStuff = false;
}

bool AEffGUIEditor::onKeyDown(VstKeyCode &keyCode) { return frame && frame->onKeyDown(keyCode) == 1; }
bool AEffGUIEditor::onKeyUp(VstKeyCode &keyCode) { return frame && frame->onKeyUp(keyCode) == 1; }

bool AEffGUIEditor::onWheel(float distance)
{
    return frame && frame->platformOnWheel(frame->getLastMousePosition(), distance, VSTGUI::CButtonState());
}

bool AEffGUIEditor::setKnobMode(VstInt32 val)
{
    knobMode = (int)val;
    return true;
}

bool AEffGUIEditor::frameTicks(double &milliseconds)
{
    if (!frame)
        return false;
    milliseconds = (double)frame->getTicks();
    return true;
}

void AEffGUIEditor::beginEdit(VstInt32 index)
{
    if (auto *fx = dynamic_cast<AudioEffectX *>(effect))
        fx->beginEdit(index);
}

void AEffGUIEditor::endEdit(VstInt32 index)
{
    if (auto *fx = dynamic_cast<AudioEffectX *>(effect))
        fx->endEdit(index);
}

void AEffGUIEditor::controlBeginEdit(VSTGUI::CControl *control)
{
    if (control)
        beginEdit((VstInt32)control->getTag());
}

void AEffGUIEditor::controlEndEdit(VSTGUI::CControl *control)
{
    if (control)
        endEdit((VstInt32)control->getTag());
}
