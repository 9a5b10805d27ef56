// One LV2 plug-in instance: the effect the VST 2.4 entry builds (with its editor), driven through
// its effect record with only translation added, as the CLAP adapter drives it. The instance
// answers the effect's host calls itself. LV2's life cycle maps onto the effect's: instantiate
// builds and opens it at the host's rate, activate resumes, deactivate suspends, cleanup closes it.
// Threads as LV2 names them: instantiate, activate, deactivate, cleanup and state restore
// [instantiation] (never beside another call on the instance); connect_port and run [audio];
// state save may run beside run.
#pragma once

#include <atomic>
#include <cstdint>

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include "core/effect_host_calls.h"
#include "lv2/lv2_ports.h"
#include "vst/aeffect.h"

class Templete;

// Where the effect's editor sends what a VST 2.4 host hears from it: the editor's edits of the
// host parameters (a normalised value, as the effect stores it) and its size requests. The LV2
// editor sets one while it is open; without one, the edits stay in the effect. [main-thread]
class Lv2EditorLink {
public:
    virtual ~Lv2EditorLink() = default;
    virtual void beginEdit(uint32_t id) = 0;
    virtual void valueEdit(uint32_t id, float normalised) = 0;
    virtual void endEdit(uint32_t id) = 0;
    virtual bool resizeEditor(int width, int height) = 0;
};

class Lv2Plugin {
public:
    // Null when the host lacks urid:map or the effect cannot be built. [instantiation]
    static Lv2Plugin *create(double sampleRate, const LV2_Feature *const *features, EffectMaker makeEffect);
    ~Lv2Plugin();
    Lv2Plugin(const Lv2Plugin &) = delete;
    Lv2Plugin &operator=(const Lv2Plugin &) = delete;

    // What the editor reaches through instance access (the LV2_Handle is this object).
    AEffect *effectRecord() const { return effect; }
    Templete *templete() const { return templeteEffect; }
    void setEditorLink(Lv2EditorLink *link) { editorLink.store(link, std::memory_order_release); }

    void connectPort(uint32_t port, void *data);  // [audio]
    void activate();                              // [instantiation]
    void deactivate();                            // [instantiation]
    void run(uint32_t frames);                    // [audio]

    LV2_State_Status saveState(LV2_State_Store_Function store, LV2_State_Handle handle);
    LV2_State_Status restoreState(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

    // The descriptor's extension_data: the state interface. [discovery]
    static const void *extensionData(const char *uri);

private:
    Lv2Plugin(double sampleRate, LV2_URID_Map *map);
    bool build(EffectMaker makeEffect);

    friend class EffectHostCalls<Lv2Plugin>;
    VstIntPtr answerEffect(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt);
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void *ptr = nullptr, float opt = 0.f);

    void applyControlInputs();   // [audio]
    void writeControlOutputs();  // [audio]
    void adoptControlInputs();   // the connected inputs count as seen

    double sampleRate;
    uint32_t maxBlockLength = 4096;
    LV2_URID chunkKey = 0;
    LV2_URID chunkType = 0;
    AEffect *effect = nullptr;
    Templete *templeteEffect = nullptr;
    std::atomic<Lv2EditorLink *> editorLink{nullptr};

    float *ports[Lv2Port::kCount] = {};
    // The value each control input had when last read, in its unit: only a change from it is
    // passed to the effect, so that the editor's own changes and a restored state stand until
    // the host really moves the port.
    float lastSeen[kPlainParameterCount] = {};
    // Which pins the current block has, for the effect's audioMasterPinConnected. [audio]
    bool secondInput = true;
    bool secondOutput = true;
};

// The descriptor of the plug-in, whose instances build their effect with makeEffect (the first
// call's maker stands). [discovery]
const LV2_Descriptor *lv2PluginDescriptor(EffectMaker makeEffect);
