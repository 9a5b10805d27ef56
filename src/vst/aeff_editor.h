// Editor base class of the VST class layer. [ui-thread] (the host's), but for the two hooks of our
// own tagged below.
#pragma once

#include "aeffect.h"

class AudioEffect;

// effVendorSpecific with this index and value: the host tells the factor it shows plug-in
// windows at, in opt (a public extension of VST 2 that several hosts send).
constexpr VstInt32 kHostScaleIndex = 0x50726553;   // 'PreS'
constexpr VstIntPtr kHostScaleValue = 0x41654373;  // 'AeCs'

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
    // False when this build cannot show the editor in a host's window; the effect then does not
    // announce it (hosts offer their generic parameter view), though it still opens for a host
    // program that brings a parent of its own.
    virtual bool showsInHostWindows() const { return true; }
    virtual void idle() {}
    // The factor the editor's window is drawn at (1 = its own size); false when refused.
    virtual bool setZoomFactor(double factor)
    {
        (void)factor;
        return false;
    }
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

    // Our own hooks, so that the effect reaches its editor without knowing its classes.
    // The effect echoes every parameter change here. [any-thread] (whichever called setParameter:
    // an editor brings changes from other threads over to its own)
    virtual void setParameter(VstInt32 index, float value)
    {
        (void)index;
        (void)value;
    }
    // The editor frame's millisecond tick count; false while no frame exists. [any-thread]
    virtual bool frameTicks(double &milliseconds)
    {
        (void)milliseconds;
        return false;
    }

protected:
    AudioEffect *effect;
    void *systemWindow = nullptr;
};
