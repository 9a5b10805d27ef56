#include "preset_system_effect.h"

#include <cstring>
#include <new>

CPresetSystemEffect::CPresetSystemEffect(audioMasterCallback audioMaster, VstInt32 numParams)
    : AudioEffectX(audioMaster, 1, numParams)
{
    programsAreChunks(true);
    slots = new (std::nothrow) ProgramSlot[kNumSlots]();  // zero-initialised
}

CPresetSystemEffect::~CPresetSystemEffect() { delete[] slots; }

void CPresetSystemEffect::setProgramName(char *name)
{
    if (!slots || !name)
        return;
    // The host's text need not be terminated: read at most 24 bytes of it.
    char taken[32] = {};
    const void *end = std::memchr(name, 0, 24);
    size_t length = end ? (size_t)(static_cast<const char *>(end) - name) : 24;
    std::memcpy(taken, name, length);

    char *stored = slots[currentSlot].name;
    if (length < 23) {
        std::memset(stored, 0, sizeof(slots[currentSlot].name));
        std::memcpy(stored, taken, length + 1);
    } else {
        std::memcpy(stored, taken, 24);
        stored[23] = 0;
    }
}

void CPresetSystemEffect::getProgramName(char *name)
{
    if (!name)
        return;
    if (!slots) {
        name[0] = 0;
        return;
    }
    // The stored name always ends within its 24 bytes, so nothing is written past the
    // interface's 24-byte program-name buffer.
    std::memcpy(name, slots[currentSlot].name, 24);
}

bool CPresetSystemEffect::getProgramNameIndexed(VstInt32 category, VstInt32 index, char *text)
{
    (void)category;
    if (!slots || !text || index < 0 || index >= kNumSlots)
        return false;
    std::memcpy(text, slots[index].name, 24);
    return true;
}

float CPresetSystemEffect::getParameter(VstInt32 index)
{
    if (!slots || index < 0 || index >= kNumRecorded)
        return -1.f;
    return slots[currentSlot].values[index].load(std::memory_order_relaxed);
}

void CPresetSystemEffect::recordValue(VstInt32 index, float value)
{
    if (slots && index >= 0 && index < kNumRecorded)
        slots[currentSlot].values[index].store(value, std::memory_order_relaxed);  // host and audio threads
}
