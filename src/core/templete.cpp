#include "templete.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <new>

#include "core/effect_chunk.h"
#include "core/param_text.h"
#include "core/readout_query.h"
#include "core/shared_state.h"
#include "core/strip_filter_bank.h"
#include "meters/meter_engine.h"
#include "meters/meter_factory.h"
#include "meters/processing_rate.h"

namespace {

const char *const kCapabilities[] = {"offline", "plugAsChannelInsert", "1in1out", "1in2out", "2in2out"};

// The host's capability text is a C string; it is compared at most one byte past the longest
// capability, so an unterminated text is never read far.
bool sameCapability(const char *text, const char *capability)
{
    return std::strncmp(text, capability, std::strlen(capability) + 1) == 0;
}

void copyText(char *destination, const char *source, size_t size)
{
    std::strncpy(destination, source, size - 1);
    destination[size - 1] = 0;
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

Templete::Templete(audioMasterCallback audioMaster, EditorFactory makeEditor)
    : CPresetSystemEffect(audioMaster, kNumHostParameters)
{
    // Nothing may process while the instance is being built; go on even if the wait times out.
    EffectLockGuard guard(lock);

    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(kUniqueID);
    canProcessReplacing(true);
    canDoubleReplacing(false);
    programsAreChunks(true);
    setInitialDelay(0);
    cEffect.version = 1;
    sampleRate = 44100.f;

    chunkBuffer = new (std::nothrow) unsigned char[kChunkSize];
    if (chunkBuffer)
        std::memset(chunkBuffer, 0, kChunkSize);

    rmsMeter = createRMSMeter(this);
    vuMeter = createVUmeter(this);
    ppmMeter = createPPMmeter(this);

    filterBank = new (std::nothrow) StripFilterBank;

    setDefaults();

    setEditor(makeEditor ? makeEditor(this).release() : nullptr);  // the base deletes its editor

    suspend();
    resume();
    suspend();
}

Templete::~Templete()
{
    // An open editor's panels read the engines: the window goes before the engines do. The
    // editor object itself is deleted by the base, after this body.
    if (editor && editor->isOpen())
        editor->close();
    delete filterBank;
    filterBank = nullptr;
    delete rmsMeter;
    rmsMeter = nullptr;
    delete vuMeter;
    vuMeter = nullptr;
    delete ppmMeter;
    ppmMeter = nullptr;
    delete[] chunkBuffer;
    chunkBuffer = nullptr;
}

void Templete::setDefaults()
{
    for (std::atomic<float> &value : values)
        value.store(0.f, std::memory_order_relaxed);
    for (VstInt32 i = 0; i < kNumRealParameters; ++i)
        values[i].store(parameterInfo(i)->defaultValue, std::memory_order_relaxed);
    for (VstInt32 i = kNumRealParameters; i < kNumHostParameters; ++i)
        values[i].store(kSpareValue, std::memory_order_relaxed);
    int scope = calibrationScopeShared.load(std::memory_order_relaxed);
    int type = meterTypeShared.load(std::memory_order_relaxed);
    values[kGSIcal].store((float)scope * 0.5f, std::memory_order_relaxed);
    values[kMeter].store((float)type * 0.5f, std::memory_order_relaxed);
    meterType.store(type, std::memory_order_relaxed);
    if (filterBank) {
        // The filter parameters start from the bank's own construction values.
        values[kHPStat].store(filterBank->hpOnValue(), std::memory_order_relaxed);
        values[kHPSlope].store(filterBank->hpSlopeValue(), std::memory_order_relaxed);
        values[kHPFreq].store(filterBank->hpFreqValue(), std::memory_order_relaxed);
        values[kLPStat].store(filterBank->lpOnValue(), std::memory_order_relaxed);
        values[kLPSlope].store(filterBank->lpSlopeValue(), std::memory_order_relaxed);
        values[kLPFreq].store(filterBank->lpFreqValue(), std::memory_order_relaxed);
    }
    processOn.store(switchOn(values[kProcess].load()), std::memory_order_relaxed);
    filtersOn.store(switchOn(values[kProcFlt].load()), std::memory_order_relaxed);
    targetGain.store(1.f, std::memory_order_relaxed);
    currentGain = 1.f;

    copyText(stripLabel, "Master Track", sizeof(stripLabel));

    for (VstInt32 index = kFirstRMSSetting; index <= kLastPPMSetting; ++index) {
        MeterEngine *engine = index <= kLastRMSSetting ? rmsMeter : index <= kLastVUSetting ? vuMeter : ppmMeter;
        float mirror = engine && isMeterSetting(index) ? engine->getSetting(index) : 0.f;
        values[index].store(mirror, std::memory_order_relaxed);
    }
}

std::string Templete::stripLabelText() const
{
    std::lock_guard<std::mutex> guard(chunkMutex);
    return std::string(stripLabel);
}

void Templete::setStripLabel(const char *text)
{
    if (!text)
        return;
    char copy[kStripLabelSize] = {};
    const void *end = std::memchr(text, 0, kStripLabelSize - 1);
    size_t length = end ? (size_t)(static_cast<const char *>(end) - text) : (size_t)kStripLabelSize - 1;
    std::memcpy(copy, text, length);
    std::lock_guard<std::mutex> guard(chunkMutex);
    std::memcpy(stripLabel, copy, sizeof(stripLabel));
}

float Templete::effectiveSampleRate() const { return processingRateFor(sampleRate); }

// ---- suspend / resume ------------------------------------------------------------------------

// Hosts are allowed to switch the effect off and on while their audio thread is still in a
// block: the running state changes only under the instance lock, never under the block's feet.
void Templete::suspend()
{
    EffectLockGuard guard(lock);
    currentGain = targetGain.load(std::memory_order_relaxed);
    if (filterBank)
        filterBank->reset();
    for (MeterEngine *engine : {rmsMeter, vuMeter, ppmMeter})
        if (engine)
            engine->reset();
}

void Templete::resume()
{
    // The host is asked before the lock is taken, so that its answer cannot hold up the audio thread.
    const VstInt32 latency = getOutputLatency();
    EffectLockGuard guard(lock);
    float rate = effectiveSampleRate();
    processingRate = rate;
    currentGain = targetGain.load(std::memory_order_relaxed);
    smoothingCoefficient = (0.0005f * 44100.f) / rate;
    if (filterBank) {
        filterBank->setSampleRate(rate);
        filterBank->update();
    }
    for (MeterEngine *engine : {rmsMeter, vuMeter, ppmMeter}) {
        if (engine) {
            engine->setSampleRate(rate);
            engine->reset();
        }
    }
    outputLatencySeconds = (double)latency / rate;
}

// ---- audio -----------------------------------------------------------------------------------

void Templete::processReplacing(float **inputs, float **outputs, VstInt32 sampleFrames)
{
    processBlock(inputs, outputs, sampleFrames);
}

void Templete::processBlock(float **inputs, float **outputs, VstInt32 sampleFrames)
{
    if (!inputs || !outputs || !inputs[0] || !outputs[0] || sampleFrames <= 0)
        return;
    // The host is asked about both pins on every block, before the lock: a host that answers
    // under a lock of its own must never find this thread holding the instance lock.
    const bool secondInputConnected = isInputConnected(1);
    const bool secondOutputConnected = isOutputConnected(1);
    EffectLockGuard guard(lock);  // a wait that times out does not skip the block

    const VstInt32 n = sampleFrames;
    const bool secondInput = secondInputConnected && useSecondInput.load(std::memory_order_relaxed);
    const bool secondOutput = secondOutputConnected && useSecondOutput.load(std::memory_order_relaxed);
    // A second buffer pointer is read only when the host gave that channel: with one output
    // the array may hold one pointer, and a buffer the block does not write may hold anything.
    float *inLeft = inputs[0];
    float *inRight = (secondInput && inputs[1] && inputs[1] != inputs[0]) ? inputs[1] : inputs[0];
    float *outLeft = outputs[0];
    float *outRight = (secondOutput && outputs[1] && outputs[1] != outputs[0]) ? outputs[1] : outputs[0];
    const bool oneOutput = outRight == outLeft;

    if (processOn.load(std::memory_order_relaxed)) {
        const float target = targetGain.load(std::memory_order_relaxed);
        const float coefficient = smoothingCoefficient;
        float current = currentGain;
        VstInt32 i = 0;
        for (; i < n; ++i) {
            float next = current + (target - current) * coefficient;
            // Flushes values too small to matter.
            next = (float)(((double)next + 1e-14) - 1e-14);
            // A step that leaves the gain as it was, bit for bit, leaves it so for good (the
            // target and the coefficient are fixed for the block): the glide has settled.
            if (sameBits(next, current))
                break;
            current = next;
            outLeft[i] = current * inLeft[i];
            outRight[i] = inRight[i] * current;
        }
        for (; i < n; ++i) {
            outLeft[i] = current * inLeft[i];
            outRight[i] = inRight[i] * current;
        }
        currentGain = current;
        // One output is filtered once, by the left sections.
        if (filterBank && filtersOn.load(std::memory_order_relaxed))
            filterBank->process(outLeft, oneOutput ? nullptr : outRight, n);
    } else if (outLeft != inLeft || outRight != inRight) {
        // A host that processes in place (each output is its input) has the pass-through already.
        for (VstInt32 i = 0; i < n; ++i) {
            outLeft[i] = inLeft[i];
            outRight[i] = inRight[i];
        }
    }

    if (editor) {
        double milliseconds = 0.0;
        lastBlockTime.store(editor->frameTicks(milliseconds) ? milliseconds * 0.001 : 0.0, std::memory_order_relaxed);
    }
    blockDuration.store((double)n / (double)processingRate, std::memory_order_relaxed);

    // The meter sees the buffers this block wrote; with one output, on both of its channels.
    if (MeterEngine *engine = meterEngine(selectedMeter()))
        engine->process(outLeft, outRight, n);
}

// ---- filter bank -----------------------------------------------------------------------------

// Switching Process or ProcFlt on brings the bank up to date; switching off clears its state.
void Templete::refreshFilterBank(bool on)
{
    if (!filterBank)
        return;
    if (on)
        filterBank->update();
    else
        filterBank->reset();
}

void Templete::setFilterValue(StripFilterBank &bank, VstInt32 index, float value)
{
    switch (index) {
    case kHPStat:
        bank.setHPOn(value);
        break;
    case kHPSlope:
        bank.setHPSlope(value);
        break;
    case kHPFreq:
        bank.setHPFreq(value);
        break;
    case kLPStat:
        bank.setLPOn(value);
        break;
    case kLPSlope:
        bank.setLPSlope(value);
        break;
    case kLPFreq:
        bank.setLPFreq(value);
        break;
    default:
        break;
    }
}

// ---- parameters ------------------------------------------------------------------------------

void Templete::setParameter(VstInt32 index, float value)
{
    // Clamp; a value that is not a number counts as 0.
    if (!(value >= 0.f))
        value = 0.f;
    if (value > 1.f)
        value = 1.f;

    switch (index) {
    case kProcess: {
        EffectLockGuard guard(lock);
        values[index].store(value, std::memory_order_relaxed);
        processOn.store(switchOn(value), std::memory_order_relaxed);
        refreshFilterBank(switchOn(value));
        break;
    }
    case kTrim: {
        values[index].store(value, std::memory_order_relaxed);
        float decibels = trimDecibels(value);
        targetGain.store((float)std::pow(10.0, (double)decibels * 0.05), std::memory_order_relaxed);
        break;
    }
    case kGSIcal:
        values[index].store(value, std::memory_order_relaxed);
        calibrationScopeShared.store(threeState(value), std::memory_order_relaxed);
        // Each engine reloads its settings and sends them back through setParameter.
        for (MeterEngine *engine : {rmsMeter, vuMeter, ppmMeter})
            if (engine)
                engine->applyScope(value);
        break;
    case kMeter: {
        values[index].store(value, std::memory_order_relaxed);
        int state = threeState(value);
        meterType.store(state, std::memory_order_relaxed);
        meterTypeShared.store(state, std::memory_order_relaxed);
        break;
    }
    case kLRMS:
        values[index].store(value, std::memory_order_relaxed);
        for (MeterEngine *engine : {rmsMeter, vuMeter, ppmMeter})
            if (engine)
                engine->setMidSide(value, switchOn(value));
        break;
    case kHold:
        values[index].store(value, std::memory_order_relaxed);
        for (MeterEngine *engine : {rmsMeter, vuMeter, ppmMeter})
            if (engine)
                engine->setHold(value, threeState(value));
        break;
    case kStrips:
    case kShowFlt:
    case kShowLbl:
        values[index].store(value, std::memory_order_relaxed);  // only the editor acts on these
        break;
    case kProcFlt: {
        EffectLockGuard guard(lock);
        values[index].store(value, std::memory_order_relaxed);
        filtersOn.store(switchOn(value), std::memory_order_relaxed);
        refreshFilterBank(switchOn(value));
        break;
    }
    case kHPStat:
    case kHPSlope:
    case kHPFreq:
    case kLPStat:
    case kLPSlope:
    case kLPFreq: {
        EffectLockGuard guard(lock);
        values[index].store(value, std::memory_order_relaxed);
        if (filterBank)
            setFilterValue(*filterBank, index, value);
        break;
    }
    case kLagTime:
        values[index].store(value, std::memory_order_relaxed);
        for (MeterEngine *engine : {rmsMeter, vuMeter, ppmMeter})
            if (engine)
                engine->setLag(value, lagMilliseconds(value));
        break;
    case kStoreDefaults: {
        // The Global settings of every engine that exists, written to the store as one batch.
        if (rmsMeter && vuMeter && ppmMeter)
            storeDefaults({kMeterTypeRMS, kMeterTypeVU, kMeterTypePPM});
        else
            for (MeterEngine *engine : {rmsMeter, vuMeter, ppmMeter})
                if (engine)
                    engine->storeDefaults();
        break;
    }
    case kResetPeaks:
        for (MeterEngine *engine : {rmsMeter, vuMeter, ppmMeter})
            if (engine)
                engine->resetPeaks();
        break;
    default:
        if (isMeterSetting(index)) {
            values[index].store(value, std::memory_order_relaxed);
            MeterEngine *engine = index <= kLastRMSSetting ? rmsMeter : index <= kLastVUSetting ? vuMeter : ppmMeter;
            if (engine)
                engine->setSetting(index, value);
        }
        break;  // kLabelChanged and indices without a meaning: nothing in the effect
    }

    if (!applyingProgram && index >= 0 && index < kNumHostParameters)
        recordValue(index, value);
    if (editor)
        editor->setParameter(index, value);
}

float Templete::getParameter(VstInt32 index)
{
    if (index < 0 || index > kLastPPMSetting)
        return 0.f;
    return values[index].load(std::memory_order_relaxed);  // slots without a value hold 0
}

void Templete::getParameterLabel(VstInt32 index, char *label)
{
    (void)index;
    std::strcpy(label, kParameterLabel);
}

void Templete::getParameterName(VstInt32 index, char *text)
{
    const ParameterInfo *info = parameterInfo(index);
    std::strcpy(text, info ? info->name : "");
}

void Templete::getParameterDisplay(VstInt32 index, char *text)
{
    if (!isRealParameter(index)) {
        text[0] = 0;
        return;
    }
    getParameterDisplayOf(index, values[index].load(std::memory_order_relaxed), text);
}

void Templete::getParameterDisplayOf(VstInt32 index, float value, char *text)
{
    const bool on = switchOn(value);
    switch (index) {
    case kProcess:
        std::strcpy(text, on ? "On" : "Off");
        break;
    case kTrim: {
        ParamText(trimDecibels(value), 1, text);
        std::strcat(text, "dB");
        break;
    }
    case kGSIcal:
    case kLRMS:
    case kHold:
    case kLagTime:
        // These texts belong to the meter engines; without one the caller's text stays.
        if (MeterEngine *engine = meterEngine(selectedMeter()))
            engine->getCommonDisplay(index, value, text);
        break;
    case kMeter: {
        int state = threeState(value);
        std::strcpy(text, state >= 0 && state < kMeterTypeCount ? kMeterTypeNames[state] : "None");
        break;
    }
    case kStrips:
    case kShowFlt:
    case kShowLbl:
        std::strcpy(text, on ? "Show" : "Hide");
        break;
    case kProcFlt:
    case kHPStat:
    case kLPStat:
        std::strcpy(text, on ? "In" : "Out");
        break;
    case kHPSlope:
        std::strcpy(text, on ? "24" : "12");
        break;
    case kLPSlope:
        std::strcpy(text, on ? "18" : "6");
        break;
    case kHPFreq:
        FrequencyDisplay(value, kHPFreqBase, text);
        break;
    case kLPFreq:
        FrequencyDisplay(value, kLPFreqBase, text);
        break;
    default:
        text[0] = 0;
        break;
    }
}

bool Templete::canParameterBeAutomated(VstInt32 index) { return isRealParameter(index); }

bool Templete::getParameterProperties(VstInt32 index, VstParameterProperties *properties)
{
    const ParameterInfo *info = parameterInfo(index);
    if (!info || !properties)
        return false;
    properties->flags = info->flags;
    properties->stepFloat = info->step;
    properties->smallStepFloat = info->smallStep;
    properties->largeStepFloat = info->largeStep;
    copyText(properties->label, info->name, sizeof(properties->label));
    copyText(properties->shortLabel, info->name, sizeof(properties->shortLabel));
    return true;
}

// ---- chunk ---------------------------------------------------------------------------------

namespace {
// The meter settings in chunk order.
template <typename Visit> void forEachMeterSetting(Visit visit)
{
    size_t offset = EffectChunk::kMeterSettingsOffset;
    for (VstInt32 index = kFirstRMSSetting; index <= kLastPPMSetting; ++index) {
        if (!isMeterSetting(index))
            continue;
        visit(index, offset);
        offset += 4;
    }
}
}  // namespace

void Templete::buildChunkImage(unsigned char *image)
{
    std::memset(image, 0, kChunkSize);
    EffectChunk::writeFloat(image, EffectChunk::kMarkerOffset, EffectChunk::kMarker);
    {
        std::lock_guard<std::mutex> guard(chunkMutex);
        std::memcpy(image + EffectChunk::kLabelOffset, stripLabel, EffectChunk::kLabelSize);
    }
    for (VstInt32 index = 0; index < kNumHostParameters; ++index)
        EffectChunk::writeFloat(image, EffectChunk::kParametersOffset + 4 * (size_t)index, getParameter(index));
    forEachMeterSetting(
        [&](VstInt32 index, size_t offset) { EffectChunk::writeFloat(image, offset, getParameter(index)); });
}

VstInt32 Templete::getChunk(void **data, bool isPreset)
{
    (void)isPreset;
    if (!data || !chunkBuffer)
        return 0;
    // Built apart, then published whole: a second caller never sees the buffer half rewritten,
    // and an unchanged image is not written at all, so that a caller still reading the buffer
    // from its last call reads the same bytes.
    unsigned char image[kChunkSize];
    buildChunkImage(image);
    {
        std::lock_guard<std::mutex> guard(chunkMutex);
        if (std::memcmp(chunkBuffer, image, kChunkSize) != 0)
            std::memcpy(chunkBuffer, image, kChunkSize);
    }
    *data = chunkBuffer;
    return kChunkSize;
}

VstInt32 Templete::setChunk(void *data, VstInt32 byteSize, bool isPreset)
{
    (void)isPreset;
    // Without data there is nothing to apply; a chunk longer than ours uses its first 596 bytes.
    if (!data || byteSize < 0)
        return 0;
    // Hosts often hand back the very buffer that getChunk gave them, and the setParameter calls
    // below may reach code that asks for a chunk again: apply from a private copy.
    unsigned char chunk[kChunkSize];
    std::memset(chunk, 0, kChunkSize);
    {
        // The given bytes may be our own buffer, which another chunk call may be publishing into.
        std::lock_guard<std::mutex> guard(chunkMutex);
        std::memcpy(chunk, data, byteSize < kChunkSize ? (size_t)byteSize : (size_t)kChunkSize);
        if (chunkBuffer)
            std::memcpy(chunkBuffer, chunk, kChunkSize);
        std::memcpy(stripLabel, chunk + EffectChunk::kLabelOffset, EffectChunk::kLabelSize);
        stripLabel[kStripLabelSize - 1] = 0;
    }
    setParameter(kLabelChanged, 0.f);

    // Ascending order: GSIcal (2) makes the engines reload their scope's settings first.
    for (VstInt32 index = 0; index < kNumHostParameters; ++index)
        setParameter(index, EffectChunk::readFloat(chunk, EffectChunk::kParametersOffset + 4 * (size_t)index));

    // In the Global scope the engines keep the Global settings they have just loaded.
    if (threeState(getParameter(kGSIcal)) != 0)
        forEachMeterSetting(
            [&](VstInt32 index, size_t offset) { setParameter(index, EffectChunk::readFloat(chunk, offset)); });
    return 0;
}

// ---- host queries ----------------------------------------------------------------------------

bool Templete::getInputProperties(VstInt32 index, VstPinProperties *properties)
{
    if (!properties || index < 0 || index > 1)
        return false;
    std::snprintf(properties->label, sizeof(properties->label), "ZEM Ordwen %1d In", (int)index + 1);
    properties->flags = kVstPinIsActive | kVstPinIsStereo;
    return true;
}

bool Templete::getOutputProperties(VstInt32 index, VstPinProperties *properties)
{
    if (!properties || index < 0 || index > 1)
        return false;
    std::snprintf(properties->label, sizeof(properties->label), "ZEM Ordwen %1d Out", (int)index + 1);
    properties->flags = kVstPinIsActive | kVstPinIsStereo;
    return true;
}

bool Templete::setSpeakerArrangement(VstSpeakerArrangement *pluginInput, VstSpeakerArrangement *pluginOutput)
{
    // Without both arrangements there is no configuration to judge; nothing changes.
    if (!pluginInput || !pluginOutput)
        return false;
    const VstInt32 ins = pluginInput->numChannels;
    const VstInt32 outs = pluginOutput->numChannels;
    if (ins == 1 && outs == 1) {
        useSecondInput.store(false, std::memory_order_relaxed);
        useSecondOutput.store(false, std::memory_order_relaxed);
        return true;
    }
    if (ins == 1 && outs == 2) {
        useSecondInput.store(false, std::memory_order_relaxed);
        useSecondOutput.store(true, std::memory_order_relaxed);
        return true;
    }
    useSecondInput.store(true, std::memory_order_relaxed);
    useSecondOutput.store(true, std::memory_order_relaxed);
    return ins == 2 && outs == 2;
}

bool Templete::getSpeakerArrangement(VstSpeakerArrangement **pluginInput, VstSpeakerArrangement **pluginOutput)
{
    if (pluginInput)
        *pluginInput = nullptr;
    if (pluginOutput)
        *pluginOutput = nullptr;
    return false;
}

bool Templete::getEffectName(char *name)
{
    std::strcpy(name, kProductName);
    return true;
}

bool Templete::getVendorString(char *text)
{
    std::strcpy(text, kVendorString);
    return true;
}

bool Templete::getProductString(char *text)
{
    std::strcpy(text, kProductName);
    return true;
}

VstIntPtr Templete::vendorSpecific(VstInt32 index, VstIntPtr value, void *ptr, float opt)
{
    if (index == kHostScaleIndex && value == kHostScaleValue) {
        if (!std::isfinite(opt) || opt <= 0.f)
            return 0;
        hostScaleFactor.store(opt, std::memory_order_relaxed);
        return 1;
    }
    if (index != kReadoutQuery || value != (VstIntPtr)sizeof(ReadoutQuery) || !ptr)
        return 0;
    MeterEngine *engine = meterEngine(selectedMeter());
    if (!engine)
        return 0;
    ReadoutQuery &query = *static_cast<ReadoutQuery *>(ptr);
    for (int quantity = 0; quantity < kMeterQuantityCount; ++quantity)
        query.values[quantity] = engine->readoutValue((MeterQuantity)quantity, query.position);
    // The over states follow the values of the same refresh.
    for (int channel = 0; channel < 2; ++channel)
        query.overStates[channel] = query.withOverStates ? engine->readoutOverState(channel) : 0;
    engine->getSettingText(engine->firstSettingIndex(), query.reference);
    query.reference[sizeof query.reference - 1] = 0;
    return 1;
}

VstInt32 Templete::canDo(char *text)
{
    if (!text)
        return 0;
    for (const char *capability : kCapabilities)
        if (sameCapability(text, capability))
            return 1;
    return 0;
}
