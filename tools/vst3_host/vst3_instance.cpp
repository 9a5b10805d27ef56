#include "vst3_instance.h"

#include <bitset>

namespace {

template <typename I> I *queried(vst3::FUnknown *object)
{
    void *out = nullptr;
    if (!object || object->queryInterface(I::iid.data(), &out) != vst3::kResultOk)
        return nullptr;
    return static_cast<I *>(out);
}

int channelsOf(vst3::SpeakerArrangement arrangement) { return (int)std::bitset<64>(arrangement).count(); }

}  // namespace

void copyUtf16(const std::string &text, char16_t out[128])
{
    size_t n = 0;
    for (size_t i = 0; i < text.size() && n < 127; ++i) {
        const unsigned char c = (unsigned char)text[i];
        if (c < 0x80)
            out[n++] = c;
        else if ((c & 0xE0) == 0xC0 && i + 1 < text.size())
            out[n++] = (char16_t)((c & 0x1F) << 6 | (text[++i] & 0x3F));
        else if ((c & 0xF0) == 0xE0 && i + 2 < text.size()) {
            const char16_t u = (char16_t)((c & 0x0F) << 12 | (text[i + 1] & 0x3F) << 6 | (text[i + 2] & 0x3F));
            out[n++] = u;
            i += 2;
        }
    }
    out[n] = 0;
}

Vst3Instance::Vst3Instance(Vst3Module &module, Vst3HostContext &context, Vst3ComponentHandler *handler)
{
    const vst3::PClassInfo2 *effectClass = module.effectClass();
    if (!module.ready() || !effectClass) {
        lastError = module.ready() ? "no audio effect class" : module.error();
        return;
    }
    void *object = nullptr;
    if (module.factory()->createInstance(effectClass->cid, vst3::IComponent::iid.data(), &object) != vst3::kResultOk ||
        !object) {
        lastError = "createInstance failed";
        return;
    }
    componentObject = static_cast<vst3::IComponent *>(object);
    if (componentObject->initialize(static_cast<vst3::IHostApplication *>(&context)) != vst3::kResultOk) {
        // A refused initialize is followed by the release only.
        lastError = "initialize failed";
        componentObject->release();
        componentObject = nullptr;
        return;
    }
    initialised = true;
    processor = queried<vst3::IAudioProcessor>(componentObject);
    controller = queried<vst3::IEditController>(componentObject);
    controllerIsComponent = controller != nullptr;
    if (!controller) {
        vst3::TUID controllerId{};
        if (componentObject->getControllerClassId(controllerId) == vst3::kResultOk &&
            module.factory()->createInstance(controllerId, vst3::IEditController::iid.data(), &object) ==
                vst3::kResultOk) {
            controller = static_cast<vst3::IEditController *>(object);
            controllerInitialised = controller->initialize(static_cast<vst3::IHostApplication *>(&context)) ==
                                    vst3::kResultOk;
        }
    }
    if (!processor || !controller) {
        lastError = processor ? "no controller" : "no IAudioProcessor";
        return;
    }
    if (handler)
        controller->setComponentHandler(handler);
    // As the validator's setup: the main buses active from the start.
    componentObject->activateBus(vst3::kAudio, vst3::kInput, 0, 1);
    componentObject->activateBus(vst3::kAudio, vst3::kOutput, 0, 1);
}

Vst3Instance::~Vst3Instance()
{
    stopProcessing();
    deactivate();
    if (controller) {
        controller->setComponentHandler(nullptr);
        if (controllerInitialised)
            controller->terminate();
        controller->release();
    }
    if (processor)
        processor->release();
    if (componentObject) {
        if (initialised)
            componentObject->terminate();
        componentObject->release();
    }
}

vst3::tresult Vst3Instance::setArrangement(vst3::SpeakerArrangement input, vst3::SpeakerArrangement output)
{
    return processor->setBusArrangements(&input, 1, &output, 1);
}

int Vst3Instance::inputChannels() const
{
    vst3::SpeakerArrangement arrangement = 0;
    return processor->getBusArrangement(vst3::kInput, 0, arrangement) == vst3::kResultOk ? channelsOf(arrangement) : 0;
}

int Vst3Instance::outputChannels() const
{
    vst3::SpeakerArrangement arrangement = 0;
    return processor->getBusArrangement(vst3::kOutput, 0, arrangement) == vst3::kResultOk ? channelsOf(arrangement) : 0;
}

bool Vst3Instance::activate(double sampleRate, int32_t maxBlock)
{
    if (isActive)
        return true;
    vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample32, maxBlock, sampleRate};
    if (processor->setupProcessing(setup) != vst3::kResultOk)
        return false;
    blockSize = maxBlock;
    isActive = componentObject->setActive(1) == vst3::kResultOk;
    return isActive;
}

void Vst3Instance::deactivate()
{
    if (!isActive)
        return;
    componentObject->setActive(0);
    isActive = false;
}

bool Vst3Instance::startProcessing()
{
    if (!isActive)
        return false;
    if (!isProcessing)
        isProcessing = processor->setProcessing(1) == vst3::kResultOk;
    return isProcessing;
}

void Vst3Instance::stopProcessing()
{
    if (!isProcessing)
        return;
    processor->setProcessing(0);
    isProcessing = false;
}

vst3::tresult Vst3Instance::process(float *const *inputs, float *const *outputs, int32_t frames,
                                    const std::vector<Vst3ParamPoint> &changes, uint64_t silence,
                                    uint64_t *outputSilence)
{
    Vst3ParamChanges in(changes);
    vst3::AudioBusBuffers input{}, output{};
    input.numChannels = inputChannels();
    input.silenceFlags = silence;
    input.channelBuffers32 = const_cast<float **>(inputs);
    output.numChannels = outputChannels();
    output.silenceFlags = silence;  // as the validator presets them: the plug-in writes its own
    output.channelBuffers32 = const_cast<float **>(outputs);
    vst3::ProcessData data{};
    data.processMode = vst3::kRealtime;
    data.symbolicSampleSize = vst3::kSample32;
    data.numSamples = frames;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &input;
    data.outputs = &output;
    data.inputParameterChanges = &in;
    const vst3::tresult result = processor->process(data);
    if (outputSilence)
        *outputSilence = output.silenceFlags;
    return result;
}

vst3::tresult Vst3Instance::flush(const std::vector<Vst3ParamPoint> &changes)
{
    Vst3ParamChanges in(changes);
    vst3::ProcessData data{};
    data.processMode = vst3::kRealtime;
    data.symbolicSampleSize = vst3::kSample32;
    data.inputParameterChanges = &in;
    return processor->process(data);
}

std::vector<vst3::ParameterInfo> Vst3Instance::parameters() const
{
    std::vector<vst3::ParameterInfo> out;
    const int32_t count = controller->getParameterCount();
    for (int32_t i = 0; i < count; ++i) {
        vst3::ParameterInfo info{};
        if (controller->getParameterInfo(i, info) == vst3::kResultOk)
            out.push_back(info);
    }
    return out;
}

bool Vst3Instance::text(uint32_t id, double normalised, std::string &out) const
{
    vst3::String128 text{};
    if (controller->getParamStringByValue(id, normalised, text) != vst3::kResultOk)
        return false;
    out = utf8Of(text, 128);
    return true;
}

bool Vst3Instance::fromText(uint32_t id, const std::string &text, double &normalised) const
{
    vst3::String128 wide{};
    copyUtf16(text, wide);
    return controller->getParamValueByString(id, wide, normalised) == vst3::kResultOk;
}

bool Vst3Instance::save(std::vector<uint8_t> &component, std::vector<uint8_t> *controllerState, size_t piece) const
{
    Vst3MemoryStream first(piece);
    if (componentObject->getState(&first) != vst3::kResultOk)
        return false;
    component = first.bytes;
    if (!controllerState)
        return true;
    Vst3MemoryStream second(piece);
    if (controller->getState(&second) != vst3::kResultOk)
        return false;
    *controllerState = second.bytes;
    return true;
}

bool Vst3Instance::load(const std::vector<uint8_t> &component, const std::vector<uint8_t> *controllerState,
                        size_t piece) const
{
    Vst3MemoryStream first(component, piece), second(component, piece);
    bool sound = componentObject->setState(&first) == vst3::kResultOk;
    sound = controller->setComponentState(&second) == vst3::kResultOk && sound;
    if (controllerState) {
        Vst3MemoryStream third(*controllerState, piece);
        sound = controller->setState(&third) == vst3::kResultOk && sound;
    }
    return sound;
}
