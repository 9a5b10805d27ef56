// Editor base class of the VST class layer. Thread: every operation runs on the host's UI thread.
#pragma once

#include "aeffect.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect *effect = nullptr) : effect(effect) {}
    virtual ~AEffEditor() = default;

    virtual AudioEffect *getEffect() { return effect; }
    // Answers true and stores a pointer to a rectangle that stays valid while the editor lives.
    virtual bool getRect(ERect **rect)
    {
        (void)rect;
        return false;
    }
    virtual bool open(void *ptr)
    {
        systemWindow = ptr;
        return false;
    }
    virtual void close() { systemWindow = nullptr; }
    virtual bool isOpen() { return systemWindow != nullptr; }
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyCode &keyCode)
    {
        (void)keyCode;
        return false;
    }
    virtual bool onKeyUp(VstKeyCode &keyCode)
    {
        (void)keyCode;
        return false;
    }
    virtual bool onWheel(float distance)
    {
        (void)distance;
        return false;
    }
    virtual bool setKnobMode(VstInt32 val)
    {
        (void)val;
        return false;
    }

protected:
    AudioEffect *effect;
    void *systemWindow = nullptr;
};
