// The effect-side program store: three named slots that record the values of parameters 0..63.
// Towards the host the effect publishes one program and keeps its state in chunks; the store
// answers the host's program-name requests and records every parameter the effect applies.
// Threads, tagged below: the name operations [ui-thread] (the host's dispatcher); the values
// [any-thread] (whichever thread calls the effect's setParameter or getParameter).
#pragma once

#include <atomic>

#include "vst/audio_effect.h"

struct ProgramSlot {
    char name[24];                  // zero-terminated when shorter than 24 bytes
    std::atomic<float> values[64];  // recorded values of parameters 0..63, from any thread
};

class CPresetSystemEffect : public AudioEffectX {
public:
    static constexpr VstInt32 kNumSlots = 3;
    static constexpr VstInt32 kNumRecorded = 64;

    CPresetSystemEffect(audioMasterCallback audioMaster, VstInt32 numParams);  // [ui-thread]
    ~CPresetSystemEffect() override;

    // The program and its names. [ui-thread]

    VstInt32 getProgram() override { return 0; }                   // one program towards the host
    void setProgram(VstInt32 program) override { (void)program; }  // ignored
    void setProgramName(char *name) override;                      // renames the current slot
    void getProgramName(char *name) override;                      // the current slot's 24 name bytes
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char *text) override;

    // The recorded values. [any-thread]
    float getParameter(VstInt32 index) override;  // the recorded value, -1 outside 0..63
    // Stores value for index 0..63 in the current slot; other indices are ignored.
    void recordValue(VstInt32 index, float value);
    // The current slot, or null when the store could not be allocated.
    const ProgramSlot *currentProgram() const { return slots ? &slots[currentSlot] : nullptr; }

protected:
    ProgramSlot *slots = nullptr;  // kNumSlots slots, all zero at construction
    VstInt32 currentSlot = 0;      // nothing in this system changes it
    bool applyingProgram = false;  // true only while a slot is applied through setParameter
};
