// The other plug-in formats' adapters drive the effect through its record, as a VST 2.4 host
// does, and answer the effect's host calls (audioMasterCallback) themselves. The effect calls its
// host from its constructor already, before its record can name the adapter in its user field:
// until then the adapter it is built for is kept per thread.
#pragma once

#include "core/templete.h"
#include "vst/aeffect.h"

// Builds the effect for a host callback (entry/effect_instance.h), or answers null.
using EffectMaker = Templete *(*)(audioMasterCallback audioMaster);

// Adapter answers `VstIntPtr answerEffect(VstInt32 opcode, VstInt32 index, VstIntPtr value,
// void *ptr, float opt)` (this class may be its friend).
template <typename Adapter> class EffectHostCalls {
public:
    // [main-thread] The effect makeEffect builds for adapter, its record's user field naming the
    // adapter; null when it builds none. An exception of the constructor ends here.
    static Templete *build(Adapter *adapter, EffectMaker makeEffect)
    {
        Templete *built = nullptr;
        underConstruction() = adapter;
        try {
            built = makeEffect ? makeEffect(callback) : nullptr;
        } catch (...) {
            built = nullptr;
        }
        underConstruction() = nullptr;
        if (built)
            built->getAeffect()->user = adapter;
        return built;
    }

private:
    // On the thread the effect calls on; an exception ends here (it must not cross the C call).
    static VstIntPtr VSTCALLBACK callback(AEffect *effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr,
                                          float opt)
    {
        Adapter *self = effect && effect->user ? static_cast<Adapter *>(effect->user) : underConstruction();
        if (opcode == audioMasterVersion)
            return kVstVersion;
        if (!self)
            return 0;
        try {
            return self->answerEffect(opcode, index, value, ptr, opt);
        } catch (...) {
            return 0;
        }
    }

    static Adapter *&underConstruction()
    {
        static thread_local Adapter *adapter = nullptr;
        return adapter;
    }
};
