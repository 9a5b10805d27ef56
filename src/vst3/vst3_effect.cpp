#include "vst3/vst3_effect.h"

#include <cmath>
#include <cstring>

#include "core/effect_chunk.h"
#include "core/plain_text.h"
#include "core/templete.h"
#include "params/plain_units.h"
#include "vst3/vst3_stream.h"
#include "vst3/vst3_text.h"
#include "vst3/vst3_view.h"

using namespace vst3;

static_assert(kPlainParameterCount == 17, "one initial value per host parameter");

namespace {

struct LayoutChannels {
    int32_t inputs;
    int32_t outputs;
};
LayoutChannels channelsOf(int layout)
{
    switch ((Vst3Layout)layout) {
    case Vst3Layout::kMono:
        return {1, 1};
    case Vst3Layout::kMonoToStereo:
        return {1, 2};
    case Vst3Layout::kStereo:
        break;
    }
    return {2, 2};
}

SpeakerArrangement arrangementOf(int32_t channels) { return channels == 1 ? kArrangementMono : kArrangementStereo; }

// Two-state parameters have one step, three-state ones two; the others are continuous.
int32_t stepCountOf(ParamID id)
{
    const PlainLaw *law = plainLaw(id);
    if (!law)
        return 0;
    return law->unit == PlainUnit::kSwitch ? 1 : law->unit == PlainUnit::kThreeState ? 2 : 0;
}

// A host's normalised value as the effect keeps it: within 0..1 (NaN is 0), and for a stepped
// parameter the state a host's step count gives it (discrete = min(n, floor(v * (n + 1))), v = discrete / n),
// so that the host's reading of a value and the effect's agree.
float effectValueOf(ParamID id, double normalised)
{
    double v = normalised >= 0.0 ? (normalised <= 1.0 ? normalised : 1.0) : 0.0;
    const int32_t steps = stepCountOf(id);
    if (steps > 0)
        v = std::fmin((double)steps, std::floor(v * (steps + 1))) / steps;
    return (float)v;
}

const char *unitOf(ParamID id)
{
    const PlainLaw *law = plainLaw(id);
    if (!law)
        return "";
    switch (law->unit) {
    case PlainUnit::kDecibels:
        return "dB";
    case PlainUnit::kHertz:
        return "Hz";
    case PlainUnit::kMilliseconds:
        return "ms";
    case PlainUnit::kSwitch:
    case PlainUnit::kThreeState:
        break;
    }
    return "";
}

void copyText(char *destination, const char *source, size_t size)
{
    if (size == 0)
        return;
    std::strncpy(destination, source, size - 1);
    destination[size - 1] = 0;
}

}  // namespace

Vst3Effect::Vst3Effect(EffectMaker makeEffect) : makeEffect(makeEffect) {}

Vst3Effect::~Vst3Effect() { terminate(); }

// ---- FUnknown ------------------------------------------------------------------------------------

tresult Vst3Effect::queryInterface(const TUID interfaceId, void **obj)
{
    if (!obj)
        return kInvalidArgument;
    *obj = nullptr;
    if (FUnknown::iid.matches(interfaceId) || IPluginBase::iid.matches(interfaceId) ||
        IComponent::iid.matches(interfaceId))
        *obj = static_cast<IComponent *>(this);
    else if (IAudioProcessor::iid.matches(interfaceId))
        *obj = static_cast<IAudioProcessor *>(this);
    else if (IEditController::iid.matches(interfaceId))
        *obj = static_cast<IEditController *>(this);
    else if (IProcessContextRequirements::iid.matches(interfaceId))
        *obj = static_cast<IProcessContextRequirements *>(this);
    else if (IZemReadout::iid.matches(interfaceId))
        *obj = static_cast<IZemReadout *>(this);
    // Not IConnectionPoint: one object would be connected to itself.
    if (!*obj)
        return kNoInterface;
    addRef();
    return kResultOk;
}

uint32_t Vst3Effect::addRef() { return references.fetch_add(1, std::memory_order_relaxed) + 1; }

uint32_t Vst3Effect::release()
{
    const uint32_t left = references.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0)
        delete this;
    return left;
}

// ---- life cycle ----------------------------------------------------------------------------------

// The effect is built and opened as a VST 2.4 host does it. A second call (a host that
// initialises the component and the controller pointer of the one object) changes nothing.
tresult Vst3Effect::initialize(FUnknown *context)
{
    if (effect)
        return kResultFalse;
    if (!makeEffect)
        return kInternalError;
    uiThread = std::this_thread::get_id();
    if (context) {
        context->addRef();
        hostContext = context;
    }
    Templete *built = EffectHostCalls<Vst3Effect>::build(this, makeEffect);
    if (!built) {
        releaseHostObjects();
        return kOutOfMemory;
    }
    templeteEffect = built;
    effect = built->getAeffect();
    dispatch(effOpen);
    for (ParamID id = 0; id < kPlainParameterCount; ++id)
        initialValues[id] = effectValue(id);
    pendingRestart.store(0, std::memory_order_relaxed);  // nothing the host must read again yet
    return kResultOk;
}

// Back to the state before initialize (which may come again); a second call changes nothing.
tresult Vst3Effect::terminate()
{
    if (effect) {
        setActive(false);
        if (viewSlot)
            viewSlot->effectGone();  // a view the host still holds closes its editor now
        editorLink = nullptr;
        dispatch(effClose);  // closes the editor and deletes the effect
        effect = nullptr;
        templeteEffect = nullptr;
    }
    releaseHostObjects();
    pendingRestart.store(0, std::memory_order_relaxed);
    layout.store((int)Vst3Layout::kStereo, std::memory_order_relaxed);
    return kResultOk;
}

void Vst3Effect::releaseHostObjects()
{
    if (handler)
        handler->release();
    handler = nullptr;
    if (hostContext)
        hostContext->release();
    hostContext = nullptr;
}

// Asked as zem_host asks it through VST 2.4: one question for every format.
tresult Vst3Effect::query(ReadoutQuery *readout)
{
    if (!readout || !effect)
        return kInvalidArgument;
    return dispatch(effVendorSpecific, kReadoutQuery, sizeof *readout, readout) == 1 ? kResultOk : kResultFalse;
}

VstIntPtr Vst3Effect::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt)
{
    return effect ? effect->dispatcher(effect, opcode, index, value, ptr, opt) : 0;
}

float Vst3Effect::effectValue(ParamID id) const { return effect ? effect->getParameter(effect, (VstInt32)id) : 0.f; }

// ---- IComponent ----------------------------------------------------------------------------------

tresult Vst3Effect::getControllerClassId(TUID) { return kResultFalse; }  // the controller is this object

tresult Vst3Effect::setIoMode(IoMode) { return kNotImplemented; }

int32_t Vst3Effect::getBusCount(MediaType type, BusDirection dir)
{
    return type == kAudio && (dir == kInput || dir == kOutput) ? 1 : 0;
}

// One main bus each way, named as the effect names its first pins, with the channels of the
// layout; every byte filled the same way each time.
tresult Vst3Effect::getBusInfo(MediaType type, BusDirection dir, int32_t index, BusInfo &bus)
{
    if (type != kAudio || (dir != kInput && dir != kOutput) || index != 0 || !effect)
        return kInvalidArgument;
    std::memset(&bus, 0, sizeof bus);
    VstPinProperties pin = {};
    dispatch(dir == kInput ? effGetInputProperties : effGetOutputProperties, 0, 0, &pin);
    const LayoutChannels channels = channelsOf(layout.load(std::memory_order_relaxed));
    bus.mediaType = kAudio;
    bus.direction = dir;
    bus.channelCount = dir == kInput ? channels.inputs : channels.outputs;
    toUtf16(pin.label[0] ? pin.label : (dir == kInput ? "Input" : "Output"), bus.name, 128);
    bus.busType = kMain;
    bus.flags = kDefaultActive;
    return kResultOk;
}

tresult Vst3Effect::getRoutingInfo(RoutingInfo &, RoutingInfo &) { return kNotImplemented; }

// In any state after initialize: the buses are always there.
tresult Vst3Effect::activateBus(MediaType type, BusDirection dir, int32_t index, TBool)
{
    return type == kAudio && (dir == kInput || dir == kOutput) && index == 0 ? kResultOk : kInvalidArgument;
}

// Resume and suspend; answered with success in any order, as hosts tear down.
tresult Vst3Effect::setActive(TBool state)
{
    if (!effect)
        return kNotInitialized;
    if (state && !active.load(std::memory_order_relaxed)) {
        dispatch(effMainsChanged, 0, 1);
        active.store(true, std::memory_order_relaxed);
    } else if (!state && active.load(std::memory_order_relaxed)) {
        processing.store(false, std::memory_order_relaxed);
        dispatch(effMainsChanged, 0, 0);
        active.store(false, std::memory_order_relaxed);
    }
    return kResultOk;
}

// The 596-byte chunk image, as getChunk gives it.
tresult Vst3Effect::getState(IBStream *state)
{
    if (!effect || !state)
        return kInvalidArgument;
    void *chunk = nullptr;
    const VstIntPtr size = dispatch(effGetChunk, 0, 0, &chunk);
    if (size <= 0 || !chunk)
        return kInternalError;
    return writeWhole(state, chunk, (size_t)size) ? kResultOk : kResultFalse;
}

// Applies what arrived as setChunk does (a short image as if padded with zeros, a long one by its
// first 596 bytes) and reports failure for anything but one whole image with its marker; a stream
// that gives nothing (a host reading the controller state from the exhausted component stream)
// changes nothing. The handler is told to read the values again.
tresult Vst3Effect::setState(IBStream *state)
{
    if (!effect)
        return kNotInitialized;
    unsigned char chunk[EffectChunk::kSize] = {};
    const Vst3StreamRead read = readUpTo(state, chunk, sizeof chunk);
    if (read.bytes == 0)
        return kResultFalse;
    dispatch(effSetChunk, 0, (VstIntPtr)read.bytes, chunk);
    restartComponent(kParamValuesChanged);
    const bool marked = EffectChunk::readFloat(chunk, EffectChunk::kMarkerOffset) == EffectChunk::kMarker;
    return read.bytes == EffectChunk::kSize && !read.longer && !read.failed && marked ? kResultOk : kResultFalse;
}

// ---- IAudioProcessor -----------------------------------------------------------------------------

// Stereo, mono to mono and mono to stereo, as the effect's speaker arrangements; anything else is
// refused and the current layout stays.
tresult Vst3Effect::setBusArrangements(SpeakerArrangement *inputs, int32_t numIns, SpeakerArrangement *outputs,
                                       int32_t numOuts)
{
    if (!effect || active.load(std::memory_order_relaxed) || numIns != 1 || numOuts != 1 || !inputs || !outputs)
        return kResultFalse;
    Vst3Layout wanted;
    if (inputs[0] == kArrangementStereo && outputs[0] == kArrangementStereo)
        wanted = Vst3Layout::kStereo;
    else if (inputs[0] == kArrangementMono && outputs[0] == kArrangementMono)
        wanted = Vst3Layout::kMono;
    else if (inputs[0] == kArrangementMono && outputs[0] == kArrangementStereo)
        wanted = Vst3Layout::kMonoToStereo;
    else
        return kResultFalse;
    const LayoutChannels channels = channelsOf((int)wanted);
    VstSpeakerArrangement input = {};
    VstSpeakerArrangement output = {};
    input.numChannels = channels.inputs;
    input.type = channels.inputs == 1 ? kSpeakerArrMono : kSpeakerArrStereo;
    output.numChannels = channels.outputs;
    output.type = channels.outputs == 1 ? kSpeakerArrMono : kSpeakerArrStereo;
    if (dispatch(effSetSpeakerArrangement, 0, (VstIntPtr)&input, &output) == 0)
        return kResultFalse;
    layout.store((int)wanted, std::memory_order_relaxed);
    return kResultTrue;
}

tresult Vst3Effect::getBusArrangement(BusDirection dir, int32_t index, SpeakerArrangement &arr)
{
    if ((dir != kInput && dir != kOutput) || index != 0)
        return kInvalidArgument;
    const LayoutChannels channels = channelsOf(layout.load(std::memory_order_relaxed));
    arr = arrangementOf(dir == kInput ? channels.inputs : channels.outputs);
    return kResultOk;
}

tresult Vst3Effect::canProcessSampleSize(int32_t symbolicSampleSize)
{
    return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

uint32_t Vst3Effect::getLatencySamples()
{
    return effect && effect->initialDelay > 0 ? (uint32_t)effect->initialDelay : 0u;
}

uint32_t Vst3Effect::getTailSamples()
{
    const VstIntPtr samples = dispatch(effGetTailSize);
    return samples > 1 ? (uint32_t)samples : kNoTail;  // 1 is "no tail" in VST 2.4, as 0 is
}

// The rate and the largest block; an active effect (a host that activates first) is suspended
// around the change.
tresult Vst3Effect::setupProcessing(ProcessSetup &setup)
{
    if (!effect)
        return kNotInitialized;
    if (setup.symbolicSampleSize != kSample32)
        return kResultFalse;
    if (!(setup.sampleRate > 0.0) || !std::isfinite(setup.sampleRate) || setup.maxSamplesPerBlock < 1)
        return kInvalidArgument;
    const bool wasActive = active.load(std::memory_order_relaxed);
    if (wasActive)
        setActive(false);
    sampleRate.store(setup.sampleRate, std::memory_order_relaxed);
    maxBlock.store(setup.maxSamplesPerBlock, std::memory_order_relaxed);
    dispatch(effSetSampleRate, 0, 0, nullptr, (float)setup.sampleRate);
    dispatch(effSetBlockSize, 0, (VstIntPtr)setup.maxSamplesPerBlock);
    if (wasActive)
        setActive(true);
    return kResultOk;
}

// Cheap: some hosts call it from the processing thread.
tresult Vst3Effect::setProcessing(TBool state)
{
    if (!effect)
        return kNotInitialized;
    if (state) {
        dispatch(effStartProcess);
        processing.store(true, std::memory_order_relaxed);
    } else {
        processing.store(false, std::memory_order_relaxed);
        dispatch(effStopProcess);
    }
    return kResultOk;
}

// The parameter points take effect at their samples: the block is run in pieces between them. A
// call without audio (no samples, no buses, no channels or no buffers) only applies the changes.
// The output silence flags are the input's.
tresult Vst3Effect::process(ProcessData &data)
{
    if (!effect)
        return kNotInitialized;
    const int32_t frames = data.numSamples;
    float *inputs[2] = {nullptr, nullptr};
    float *outputs[2] = {nullptr, nullptr};
    bool audio = frames > 0 && data.symbolicSampleSize == kSample32 && data.numInputs >= 1 && data.numOutputs >= 1 &&
                 data.inputs && data.outputs && active.load(std::memory_order_relaxed);
    if (audio) {
        const AudioBusBuffers &in = data.inputs[0];
        const AudioBusBuffers &out = data.outputs[0];
        audio = in.numChannels >= 1 && out.numChannels >= 1 && in.channelBuffers32 && out.channelBuffers32;
        if (audio) {
            inputs[0] = in.channelBuffers32[0];
            inputs[1] = in.numChannels > 1 ? in.channelBuffers32[1] : inputs[0];
            outputs[0] = out.channelBuffers32[0];
            outputs[1] = out.numChannels > 1 ? out.channelBuffers32[1] : outputs[0];
            audio = inputs[0] && inputs[1] && outputs[0] && outputs[1];
        }
    }
    if (!audio) {
        applyChanges(data.inputParameterChanges, nullptr, nullptr, 0);
        return kResultOk;
    }
    const AudioBusBuffers &in = data.inputs[0];
    AudioBusBuffers &out = data.outputs[0];
    const uint64_t outputMask = out.numChannels >= 64 ? ~0ull : (1ull << out.numChannels) - 1;
    out.silenceFlags = in.numChannels == 1 ? ((in.silenceFlags & 1u) ? outputMask : 0u) : in.silenceFlags & outputMask;
    applyChanges(data.inputParameterChanges, inputs, outputs, frames);
    return kResultOk;
}

void Vst3Effect::runEffect(float *const *inputs, float *const *outputs, int32_t from, int32_t to)
{
    float *in[2] = {inputs[0] + from, inputs[1] + from};
    float *out[2] = {outputs[0] + from, outputs[1] + from};
    effect->processReplacing(effect, in, out, to - from);
}

// The points of every queue of ours in the order of their offsets (each queue's are in order
// already): the effect runs up to a point's sample, then the point's value is set. Queues of other
// ids (the host's own, or kNoParamId) are left alone. No allocation: at most one queue per
// parameter is followed.
void Vst3Effect::applyChanges(IParameterChanges *changes, float *const *inputs, float *const *outputs, int32_t frames)
{
    IParamValueQueue *queues[kPlainParameterCount] = {};
    int32_t pointCounts[kPlainParameterCount] = {};
    int32_t nextPoints[kPlainParameterCount] = {};
    uint32_t used = 0;
    const int32_t count = changes ? changes->getParameterCount() : 0;
    for (int32_t i = 0; i < count && used < kPlainParameterCount; ++i) {
        IParamValueQueue *queue = changes->getParameterData(i);
        if (!queue || queue->getParameterId() >= kPlainParameterCount)
            continue;
        const int32_t points = queue->getPointCount();
        if (points <= 0)
            continue;
        queues[used] = queue;
        pointCounts[used] = points;
        ++used;
    }
    int32_t done = 0;
    bool moved = false;
    for (;;) {
        uint32_t best = kPlainParameterCount;
        int32_t bestOffset = 0;
        double bestValue = 0.0;
        for (uint32_t q = 0; q < used; ++q) {
            int32_t offset = 0;
            double value = 0.0;
            while (nextPoints[q] < pointCounts[q] && queues[q]->getPoint(nextPoints[q], offset, value) != kResultOk)
                ++nextPoints[q];  // a point the host cannot give is skipped
            if (nextPoints[q] >= pointCounts[q])
                continue;
            if (best == kPlainParameterCount || offset < bestOffset) {
                best = q;
                bestOffset = offset;
                bestValue = value;
            }
        }
        if (best == kPlainParameterCount)
            break;
        ++nextPoints[best];
        const int32_t at = bestOffset < done ? done : bestOffset > frames ? frames : bestOffset;
        if (at > done && inputs) {
            runEffect(inputs, outputs, done, at);
            done = at;
        }
        moved |= applyHostValue(queues[best]->getParameterId(), bestValue);
    }
    if (done < frames && inputs)
        runEffect(inputs, outputs, done, frames);
    if (moved)
        pendingRestart.fetch_or(kParamValuesChanged, std::memory_order_acq_rel);  // never the handler from here
}

// Set through the effect's record as a VST 2.4 host's automation is.
bool Vst3Effect::applyHostValue(ParamID id, double normalised)
{
    if (id >= kPlainParameterCount || !effect)
        return false;
    float before[kPlainParameterCount];
    for (ParamID other = 0; other < kPlainParameterCount; ++other)
        before[other] = effectValue(other);
    effect->setParameter(effect, (VstInt32)id, effectValueOf(id, normalised));
    for (ParamID other = 0; other < kPlainParameterCount; ++other) {
        const float after = effectValue(other);
        if (other != id && std::memcmp(&before[other], &after, sizeof after) != 0)
            return true;
    }
    return false;
}

// ---- IEditController -----------------------------------------------------------------------------

// The values come from the same image: when they differ from the effect's (a host that gives the
// controller an image the component did not load) the image is applied as setState does.
tresult Vst3Effect::setComponentState(IBStream *state)
{
    if (!effect)
        return kNotInitialized;
    unsigned char chunk[EffectChunk::kSize] = {};
    const Vst3StreamRead read = readUpTo(state, chunk, sizeof chunk);
    if (read.bytes == 0)
        return kResultFalse;
    bool same = true;
    for (ParamID id = 0; id < kPlainParameterCount && same; ++id) {
        const size_t offset = EffectChunk::kParametersOffset + 4 * id;
        const float stored = offset + 4 <= read.bytes ? EffectChunk::readFloat(chunk, offset) : 0.f;
        const float current = effectValue(id);
        same = std::memcmp(&stored, &current, sizeof stored) == 0;
    }
    if (!same) {
        dispatch(effSetChunk, 0, (VstIntPtr)read.bytes, chunk);
        restartComponent(kParamValuesChanged);
    }
    const bool marked = EffectChunk::readFloat(chunk, EffectChunk::kMarkerOffset) == EffectChunk::kMarker;
    return read.bytes == EffectChunk::kSize && !read.longer && !read.failed && marked ? kResultOk : kResultFalse;
}

int32_t Vst3Effect::getParameterCount() { return (int32_t)kPlainParameterCount; }

// Ids 0..16 in index order, the effect's names, the defaults it started with.
tresult Vst3Effect::getParameterInfo(int32_t paramIndex, vst3::ParameterInfo &info)
{
    if (paramIndex < 0 || (uint32_t)paramIndex >= kPlainParameterCount || !effect)
        return kInvalidArgument;
    const ParamID id = (ParamID)paramIndex;
    std::memset(&info, 0, sizeof info);
    info.id = id;
    char name[kVstMaxLabelLen] = {};
    dispatch(effGetParamName, paramIndex, 0, name);
    toUtf16(name, info.title, 128);
    toUtf16(name, info.shortTitle, 128);
    toUtf16(unitOf(id), info.units, 128);
    info.stepCount = stepCountOf(id);
    info.defaultNormalizedValue = effectValueOf(id, initialValues[id]);
    info.unitId = kRootUnitId;
    info.flags = kCanAutomate | (plainIsEnumeration(id) ? kIsList : 0);
    return kResultOk;
}

// The VST 2.4 display text of the value, and its label when it is not blank.
tresult Vst3Effect::getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string)
{
    if (id >= kPlainParameterCount || !string || !templeteEffect)
        return kInvalidArgument;
    const double plain = plainValue(id, effectValueOf(id, valueNormalized));
    toUtf16(plainValueText(*templeteEffect, id, plain).c_str(), string, 128);
    return kResultOk;
}

// What the editor's typed entries accept, and every display text.
tresult Vst3Effect::getParamValueByString(ParamID id, TChar *string, ParamValue &valueNormalized)
{
    if (id >= kPlainParameterCount || !string || !templeteEffect)
        return kInvalidArgument;
    double plain = 0.0;
    if (!plainValueFromText(*templeteEffect, id, fromUtf16(string).c_str(), plain))
        return kResultFalse;
    valueNormalized = normalisedValue(id, plain);
    return kResultOk;
}

ParamValue Vst3Effect::normalizedParamToPlain(ParamID id, ParamValue valueNormalized)
{
    if (id >= kPlainParameterCount)
        return valueNormalized;
    return plainValue(id, effectValueOf(id, valueNormalized));
}

ParamValue Vst3Effect::plainParamToNormalized(ParamID id, ParamValue plain)
{
    if (id >= kPlainParameterCount)
        return plain;
    return normalisedValue(id, plain);
}

ParamValue Vst3Effect::getParamNormalized(ParamID id) { return id < kPlainParameterCount ? effectValue(id) : 0.0; }

// The host's own change (its generic editor, automation read, a preset): set in the effect, which
// shows it in the editor; never sent back as an edit.
tresult Vst3Effect::setParamNormalized(ParamID id, ParamValue value)
{
    if (id >= kPlainParameterCount || !effect)
        return kInvalidArgument;
    const float wanted = effectValueOf(id, value);
    const float current = effectValue(id);
    if (std::memcmp(&wanted, &current, sizeof wanted) != 0 && applyHostValue(id, wanted))
        restartComponent(kParamValuesChanged);
    deliverPendingRestart();
    return kResultOk;
}

tresult Vst3Effect::setComponentHandler(IComponentHandler *newHandler)
{
    if (newHandler == handler)
        return kResultOk;
    if (newHandler)
        newHandler->addRef();
    if (handler)
        handler->release();
    handler = newHandler;
    return kResultOk;
}

IPlugView *Vst3Effect::createView(const char *name)
{
    if (!name || std::strcmp(name, kEditorViewType) != 0 || !effect)
        return nullptr;
    return createEditorView();
}

// ---- the editor's view ---------------------------------------------------------------------------
// The IPlugView on the effect's editor (src/vst3/vst3_view.*) is created here, with one reference
// for the host; until it exists the effect offers no view.
IPlugView *Vst3Effect::createEditorView()
{
    if (!viewSlot)
        viewSlot.reset(new Vst3ViewSlot(this));
    Vst3View *view = viewSlot->createView(effect);
    if (view)
        editorLink = viewSlot.get();
    return view;
}
// ---- end of the editor's view --------------------------------------------------------------------

// ---- the handler ---------------------------------------------------------------------------------

void Vst3Effect::restartComponent(int32_t flags)
{
    pendingRestart.fetch_or(flags, std::memory_order_acq_rel);
    if (onUiThread())
        deliverPendingRestart();
}

void Vst3Effect::deliverPendingRestart()
{
    if (!handler || !onUiThread())
        return;
    const int32_t flags = pendingRestart.exchange(0, std::memory_order_acq_rel);
    if (flags)
        handler->restartComponent(flags);
}

// ---- the effect's host ---------------------------------------------------------------------------

// What the effect asks of its host, on the thread it asks on: the editor's edits go to the
// handler on the UI thread (the effect's value is the VST 3 normalised value), the rest is
// answered from what the host told the object.
VstIntPtr Vst3Effect::answerEffect(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt)
{
    const bool ourParameter = index >= 0 && (uint32_t)index < kPlainParameterCount;
    switch (opcode) {
    case audioMasterAutomate:
        if (handler && ourParameter && onUiThread())
            handler->performEdit((ParamID)index, opt);
        return 0;
    case audioMasterBeginEdit:
        if (handler && ourParameter && onUiThread())
            handler->beginEdit((ParamID)index);
        return 1;
    case audioMasterEndEdit:
        if (handler && ourParameter && onUiThread())
            handler->endEdit((ParamID)index);
        return 1;
    case audioMasterPinConnected: {  // the second pin exists in the stereo layouts
        const LayoutChannels channels = channelsOf(layout.load(std::memory_order_relaxed));
        const int32_t count = value == 0 ? channels.inputs : channels.outputs;
        return index >= 0 && index < count ? 0 : 1;  // 0 is "connected"
    }
    case audioMasterGetSampleRate:
        return (VstIntPtr)sampleRate.load(std::memory_order_relaxed);
    case audioMasterGetBlockSize:
        return (VstIntPtr)maxBlock.load(std::memory_order_relaxed);
    case audioMasterGetProductString: {
        if (!ptr || !hostContext)
            return 0;
        void *object = nullptr;
        if (hostContext->queryInterface(IHostApplication::iid.data(), &object) != kResultOk || !object)
            return 0;
        auto *application = static_cast<IHostApplication *>(object);
        char16_t name[128] = {};
        const bool named = application->getName(name) == kResultOk;
        application->release();
        copyText(static_cast<char *>(ptr), named ? fromUtf16(name).c_str() : "", kVstMaxProductStrLen);
        return named ? 1 : 0;
    }
    case audioMasterSizeWindow:
        if (!editorLink || index <= 0 || value <= 0)
            return 0;
        return editorLink->resizeEditor(index, (int)value) ? 1 : 0;
    case audioMasterUpdateDisplay:
        restartComponent(kParamValuesChanged);
        return 1;
    case audioMasterCanDo: {
        const char *text = static_cast<const char *>(ptr);
        return text && std::strcmp(text, "sizeWindow") == 0 && editorLink ? 1 : 0;
    }
    default:
        // No transport (audioMasterGetTime), no latency figures, no vendor questions.
        return 0;
    }
}
