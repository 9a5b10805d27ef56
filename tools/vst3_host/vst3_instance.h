// One instance of the module's effect class driven as a host drives it: createInstance for
// IComponent, initialize with our host context, the controller found by queryInterface on the
// component (a single-component effect) or else through getControllerClassId, the component
// handler set, the buses activated; bus arrangements, setupProcessing, setActive, setProcessing,
// process with our input parameter lists (a block, or a flush with no audio), and the state of
// both sides saved and restored through memory streams that move at most a given number of bytes
// per call, in the order the SDK's hosts and Ardour use on project load.
// Thread: the host's main thread, except process, which runs on the caller's audio thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vst3_host_objects.h"
#include "vst3_module.h"

class Vst3Instance {
public:
    // The module's effect class; handler may be null (the validator sets none).
    Vst3Instance(Vst3Module &module, Vst3HostContext &context, Vst3ComponentHandler *handler);
    // Stops, deactivates, terminates and releases what is still running, as a careful host does.
    ~Vst3Instance();
    Vst3Instance(const Vst3Instance &) = delete;
    Vst3Instance &operator=(const Vst3Instance &) = delete;

    bool valid() const { return initialised && processor && controller; }
    const std::string &error() const { return lastError; }
    vst3::IComponent *component() const { return componentObject; }
    vst3::IAudioProcessor *audioProcessor() const { return processor; }
    vst3::IEditController *editController() const { return controller; }
    // The controller is the component (a single-component effect).
    bool singleComponent() const { return controllerIsComponent; }

    // setBusArrangements for one input and one output bus; answers the plug-in's result.
    vst3::tresult setArrangement(vst3::SpeakerArrangement input, vst3::SpeakerArrangement output);
    int inputChannels() const;
    int outputChannels() const;
    // setupProcessing (realtime, 32-bit) then setActive(true); false if either refuses.
    bool activate(double sampleRate, int32_t maxBlock);
    void deactivate();
    bool startProcessing();
    void stopProcessing();
    bool active() const { return isActive; }

    // One block: the inputs and outputs are the channels of the current arrangement; inputs and
    // outputs may be the same buffers (in place). silence: the input bus's silence flags.
    vst3::tresult process(float *const *inputs, float *const *outputs, int32_t frames,
                          const std::vector<Vst3ParamPoint> &changes = {}, uint64_t silence = 0,
                          uint64_t *outputSilence = nullptr);
    // A parameter flush: 0 samples, no buses, no buffers.
    vst3::tresult flush(const std::vector<Vst3ParamPoint> &changes);

    std::vector<vst3::ParameterInfo> parameters() const;
    double value(uint32_t id) const { return controller->getParamNormalized(id); }
    bool text(uint32_t id, double normalised, std::string &out) const;
    bool fromText(uint32_t id, const std::string &text, double &normalised) const;

    // component getState; controller getState into a second blob.
    bool save(std::vector<uint8_t> &component, std::vector<uint8_t> *controllerState = nullptr,
              size_t piece = SIZE_MAX) const;
    // component setState, controller setComponentState, controller setState (each on a fresh
    // stream): true only when all of them answered kResultOk.
    bool load(const std::vector<uint8_t> &component, const std::vector<uint8_t> *controllerState = nullptr,
              size_t piece = SIZE_MAX) const;

private:
    vst3::IComponent *componentObject = nullptr;
    vst3::IAudioProcessor *processor = nullptr;
    vst3::IEditController *controller = nullptr;
    bool controllerIsComponent = false;
    bool initialised = false;
    bool controllerInitialised = false;
    bool isActive = false;
    bool isProcessing = false;
    int32_t blockSize = 0;
    std::string lastError;
};

// UTF-8 into a String128 (cut at 127 units).
void copyUtf16(const std::string &text, char16_t out[128]);
