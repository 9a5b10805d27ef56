// A libFuzzer host session. Each input is decoded into a sequence of host actions on one
// instance of the built plug-in, loaded by path as a host loads it: dispatcher opcodes with
// buffers of the interface's sizes, parameters with raw float bits, sample-rate, block-size and
// suspend/resume changes, blocks of odd shapes and lengths, editor opening, idling and input,
// speaker arrangements, pin answers, and chunks (the plug-in's own, mutated, any size).
// After every action the parameters must read within 0..1; every chunk must be 596 bytes with
// the marker and a terminated label; a block of finite input must give finite output; a chunk
// read, restored and read again must come back byte for byte outside the Global scope; and no
// exception may come back out of the plug-in. The sanitizers report everything else.
#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "fuzz_host.h"
#include "session_checks.h"
#include "ui/offscreen_parent.h"

namespace {

// Parameter texts: the published class layer writes up to kVstMaxParamStrLen characters and a
// terminator, so hosts hand at least that much.
constexpr size_t kParamTextSize = kVstMaxParamStrLen + 1;
// A block with a sample beyond this is not held to finite output (the trim alone may overflow).
constexpr float kLoudestFinite = 1e20f;
constexpr int kMaxActionsPerInput = 64;
constexpr int kChunkSlots = (int)(HostChunk::kSize / 4);
constexpr VstInt32 kFirstMeterSetting = 72, kLastMeterSetting = 100;

float floatFromBits(uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

const float kSpecialFloats[] = {0.f,
                                -0.f,
                                0.5f,
                                1.f,
                                -1.f,
                                2.f,
                                0.25f,
                                0.75f,
                                0.49999997f,
                                1.0000001f,
                                std::numeric_limits<float>::quiet_NaN(),
                                -std::numeric_limits<float>::quiet_NaN(),
                                std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity(),
                                FLT_MIN,
                                std::numeric_limits<float>::denorm_min(),
                                -std::numeric_limits<float>::denorm_min(),
                                FLT_MAX,
                                -FLT_MAX,
                                1e-20f};

const float kSampleRates[] = {44100.f,  48000.f, 88200.f,  96000.f, 176400.f, 192000.f, 352800.f, 384000.f,
                              768000.f, 8000.f,  11025.f,  16000.f, 22050.f,  32000.f,  19999.f,  200001.f,
                              1e6f,     0.f,     -44100.f, 1e30f,   7999.f,   768001.f};

const VstInt32 kFrameCounts[] = {0, 1, 2, 3, 31, 63, 64, 65, 127, 128, 129, 512, 4096, 4097, -1, INT_MIN};

template <typename T, size_t N> const T &pick(FuzzedDataProvider &data, const T (&choices)[N])
{
    return choices[data.ConsumeIntegralInRange<size_t>(0, N - 1)];
}

float anyFloat(FuzzedDataProvider &data)
{
    return data.ConsumeBool() ? pick(data, kSpecialFloats) : floatFromBits(data.ConsumeIntegral<uint32_t>());
}

// Mostly indices with a meaning, sometimes anything at all.
VstInt32 anyIndex(FuzzedDataProvider &data)
{
    switch (data.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return data.ConsumeIntegral<VstInt32>();
    case 1:
        return data.ConsumeIntegralInRange<VstInt32>(-2, 130);
    default:
        return data.ConsumeIntegralInRange<VstInt32>(0, 16);
    }
}

// A heap block of exactly the size the interface gives, so that the sanitizer sees any access
// beyond it.
std::unique_ptr<char[]> hostText(size_t size)
{
    std::unique_ptr<char[]> text(new char[size]);
    std::memset(text.get(), 0, size);
    return text;
}

class HostSession {
public:
    explicit HostSession(FuzzedDataProvider &data);
    ~HostSession();
    HostSession(const HostSession &) = delete;
    HostSession &operator=(const HostSession &) = delete;

    void run();

    // The Global and Session settings as the library loaded them; every input starts from them.
    static void recordProcessBaseline();

private:
    enum Action {
        kDispatch,
        kSetParameter,
        kSampleRate,
        kMains,
        kBlockSize,
        kProcess,
        kArrangement,
        kHostAnswers,
        kGetChunk,
        kSetChunk,
        kRoundTrip,
        kEditor,
        kReopen,
        kActionCount
    };

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void *ptr = nullptr, float opt = 0.f)
    {
        return guardedCall("the dispatcher",
                           [&] { return effect->dispatcher(effect, opcode, index, value, ptr, opt); });
    }
    void setParameter(VstInt32 index, float value)
    {
        guardedCall("setParameter", [&] { effect->setParameter(effect, index, value); });
    }
    float getParameter(VstInt32 index)
    {
        return guardedCall("getParameter", [&] { return effect->getParameter(effect, index); });
    }

    void createEffect();
    void closeEffect();
    void dispatchAnyOpcode();
    void changeSampleRate();
    void arrangeSpeakers();
    void changeHostAnswers();
    void processBlock();
    std::vector<unsigned char> readChunk();
    void restoreChunk();
    void roundTripChunk();
    void driveEditor();
    void restoreProcessBaseline();

    FuzzedDataProvider &data;
    FuzzHost &host;
    AEffect *effect = nullptr;
    OffscreenParent parent;
    int declaredInputs = 2, declaredOutputs = 2;  // after the last accepted speaker arrangement

    static float globalBaseline[kLastMeterSetting + 1];
    static float sessionBaseline[kLastMeterSetting + 1];
};

float HostSession::globalBaseline[kLastMeterSetting + 1];
float HostSession::sessionBaseline[kLastMeterSetting + 1];

HostSession::HostSession(FuzzedDataProvider &data) : data(data), host(FuzzHost::instance())
{
    host.answers = FuzzHostAnswers();
    createEffect();
}

HostSession::~HostSession()
{
    if (!effect)
        return;
    restoreProcessBaseline();
    closeEffect();
}

void HostSession::createEffect()
{
    effect = host.createEffect();
    if (!effect)
        fuzzFailure("the plug-in refused an instance although the host answered its version");
    parent = OffscreenParent();
    host.ownParent = &parent;
    declaredInputs = declaredOutputs = 2;
    dispatch(effOpen);
}

void HostSession::closeEffect()
{
    dispatch(effClose);
    effect = nullptr;
}

void HostSession::recordProcessBaseline()
{
    FuzzedDataProvider none(nullptr, 0);
    HostSession session(none);
    for (float scope : {0.f, 0.5f}) {
        session.setParameter(2, scope);
        float *baseline = scope == 0.f ? globalBaseline : sessionBaseline;
        for (VstInt32 index = kFirstMeterSetting; index <= kLastMeterSetting; ++index)
            baseline[index] = session.getParameter(index);
    }
}

// The Global and Session settings, the scope and the meter type are shared by every instance
// in the process: put them back so that each input runs from the same state.
void HostSession::restoreProcessBaseline()
{
    dispatch(effEditClose);
    for (float scope : {0.f, 0.5f}) {
        setParameter(2, scope);
        const float *baseline = scope == 0.f ? globalBaseline : sessionBaseline;
        for (VstInt32 index = kFirstMeterSetting; index <= kLastMeterSetting; ++index)
            setParameter(index, baseline[index]);
    }
    setParameter(3, 0.f);
}

void HostSession::run()
{
    for (int step = 0; step < kMaxActionsPerInput && data.remaining_bytes() > 0; ++step) {
        switch (data.ConsumeIntegralInRange<int>(0, kActionCount - 1)) {
        case kDispatch:
            dispatchAnyOpcode();
            break;
        case kSetParameter:
            setParameter(anyIndex(data), anyFloat(data));
            break;
        case kSampleRate:
            changeSampleRate();
            break;
        case kMains:
            dispatch(effMainsChanged, 0,
                     data.ConsumeBool() ? data.ConsumeIntegralInRange<VstIntPtr>(0, 1)
                                        : data.ConsumeIntegral<VstIntPtr>());
            break;
        case kBlockSize:
            dispatch(effSetBlockSize, 0,
                     data.ConsumeBool() ? (VstIntPtr)pick(data, kFrameCounts) : data.ConsumeIntegral<VstIntPtr>());
            break;
        case kProcess:
            processBlock();
            break;
        case kArrangement:
            arrangeSpeakers();
            break;
        case kHostAnswers:
            changeHostAnswers();
            break;
        case kGetChunk:
            readChunk();
            break;
        case kSetChunk:
            restoreChunk();
            break;
        case kRoundTrip:
            roundTripChunk();
            break;
        case kEditor:
            driveEditor();
            break;
        case kReopen:
            closeEffect();
            createEffect();
            break;
        }
        checkParameters(effect, anyIndex(data));
    }
    roundTripChunk();
}

void HostSession::dispatchAnyOpcode()
{
    VstInt32 opcode = data.ConsumeBool() ? data.ConsumeIntegralInRange<VstInt32>(0, effGetNumMidiOutputChannels + 4)
                                         : data.ConsumeIntegral<VstInt32>();
    const VstInt32 index = anyIndex(data);
    switch (opcode) {
    case effClose:
    case effEditOpen:
    case effEditClose:
        driveEditor();
        return;
    case effGetChunk:
        readChunk();
        return;
    case effSetChunk:
        restoreChunk();
        return;
    case effSetSpeakerArrangement:
        arrangeSpeakers();
        return;
    case effSetSampleRate:
        changeSampleRate();
        return;
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effGetProgramName:
    case effGetProgramNameIndexed:
    case effGetEffectName:
    case effGetVendorString:
    case effGetProductString: {
        const size_t size = opcode == effGetEffectName                                          ? kVstMaxEffectNameLen
                            : opcode == effGetVendorString || opcode == effGetProductString     ? kVstMaxVendorStrLen
                            : opcode == effGetProgramName || opcode == effGetProgramNameIndexed ? kVstMaxProgNameLen
                                                                                                : kParamTextSize;
        std::unique_ptr<char[]> text = hostText(size);
        dispatch(opcode, index, data.ConsumeIntegral<VstIntPtr>(), text.get());
        checkTerminated(text.get(), size, opcode);
        return;
    }
    case effSetProgramName: {
        std::unique_ptr<char[]> name = hostText(kVstMaxProgNameLen);
        std::vector<unsigned char> bytes = data.ConsumeBytes<unsigned char>(kVstMaxProgNameLen);
        if (!bytes.empty())
            std::memcpy(name.get(), bytes.data(), bytes.size());
        dispatch(opcode, index, 0, name.get());
        return;
    }
    case effCanDo:
    case effString2Parameter: {
        std::string text = data.ConsumeRandomLengthString(48);
        std::unique_ptr<char[]> copy = hostText(text.size() + 1);
        std::memcpy(copy.get(), text.c_str(), text.size());
        dispatch(opcode, index, 0, copy.get());
        return;
    }
    case effGetInputProperties:
    case effGetOutputProperties: {
        std::unique_ptr<VstPinProperties> pin(new VstPinProperties{});
        if (dispatch(opcode, index, 0, pin.get()))
            checkTerminated(pin->label, sizeof pin->label, opcode);
        return;
    }
    case effGetParameterProperties: {
        std::unique_ptr<VstParameterProperties> properties(new VstParameterProperties{});
        if (dispatch(opcode, index, 0, properties.get())) {
            checkTerminated(properties->label, sizeof properties->label, opcode);
            checkTerminated(properties->shortLabel, sizeof properties->shortLabel, opcode);
        }
        return;
    }
    case effEditGetRect: {
        std::unique_ptr<ERect *> rect(new ERect *(nullptr));
        if (dispatch(opcode, 0, 0, rect.get()) && *rect &&
            ((*rect)->right <= (*rect)->left || (*rect)->bottom <= (*rect)->top))
            fuzzFailure("the editor rectangle is empty");
        return;
    }
    case effGetSpeakerArrangement: {
        std::unique_ptr<VstSpeakerArrangement *> input(new VstSpeakerArrangement *(nullptr));
        std::unique_ptr<VstSpeakerArrangement *> output(new VstSpeakerArrangement *(nullptr));
        dispatch(opcode, 0, (VstIntPtr)input.get(), output.get());
        return;
    }
    default: {
        // Opcodes the plug-in does not answer, and the plain ones: whatever a host may send.
        std::unique_ptr<char[]> block = hostText(256);
        dispatch(opcode, index, data.ConsumeIntegral<VstIntPtr>(), data.ConsumeBool() ? block.get() : nullptr,
                 anyFloat(data));
        return;
    }
    }
}

void HostSession::changeSampleRate()
{
    // A careful host suspends first; a careless one does not.
    if (data.ConsumeBool())
        dispatch(effMainsChanged, 0, 0);
    float rate = data.ConsumeBool() ? pick(data, kSampleRates) : anyFloat(data);
    if (data.ConsumeBool())
        dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    else
        dispatch(effSetBlockSizeAndSampleRate, 0, data.ConsumeIntegralInRange<VstIntPtr>(-1, 8192), nullptr, rate);
    if (data.ConsumeBool())
        dispatch(effMainsChanged, 0, 1);
}

void HostSession::arrangeSpeakers()
{
    std::unique_ptr<VstSpeakerArrangement> input(new VstSpeakerArrangement{});
    std::unique_ptr<VstSpeakerArrangement> output(new VstSpeakerArrangement{});
    input->numChannels = data.ConsumeIntegralInRange<VstInt32>(-1, 9);
    output->numChannels = data.ConsumeIntegralInRange<VstInt32>(-1, 9);
    const int nulls = data.ConsumeIntegralInRange(0, 4);
    VstSpeakerArrangement *in = nulls == 1 ? nullptr : input.get();
    VstSpeakerArrangement *out = nulls == 2 ? nullptr : output.get();
    const VstIntPtr answer = dispatch(effSetSpeakerArrangement, 0, (VstIntPtr)in, out);
    if (!in || !out)
        return;
    if (answer) {
        declaredInputs = input->numChannels;
        declaredOutputs = output->numChannels;
    } else {
        declaredInputs = declaredOutputs = 2;
    }
}

void HostSession::changeHostAnswers()
{
    host.answers.secondInputConnected = data.ConsumeBool();
    host.answers.secondOutputConnected = data.ConsumeBool();
    const VstIntPtr latencies[] = {0, 64, 512, 48000, -1, INTPTR_MAX, INTPTR_MIN};
    host.answers.outputLatency = data.ConsumeBool() ? pick(data, latencies) : data.ConsumeIntegral<VstIntPtr>();
    if (data.ConsumeBool())
        dispatch(effMainsChanged, 0, 1);  // the latency is asked at resume
}

void HostSession::processBlock()
{
    const VstInt32 frames = data.ConsumeBool() ? pick(data, kFrameCounts)
                                               : data.ConsumeIntegralInRange<VstInt32>(0, 2048);
    const size_t length = frames > 0 ? (size_t)frames : 0;

    // Each channel in a heap block of exactly the block's length.
    std::unique_ptr<float[]> channel[4];
    for (auto &samples : channel) {
        samples.reset(new float[length]);
        std::fill(samples.get(), samples.get() + length, 0.f);
    }
    for (int c = 0; c < 2; ++c) {
        float *samples = channel[c].get();
        switch (data.ConsumeIntegralInRange(0, 3)) {
        case 0:
            break;  // silence
        case 1: {
            float amplitude = anyFloat(data);
            float step = data.ConsumeFloatingPointInRange<float>(0.f, 3.2f);
            for (size_t i = 0; i < length; ++i)
                samples[i] = amplitude * std::sin(step * (float)i);
            break;
        }
        case 2: {
            float pattern[8];
            size_t count = data.ConsumeIntegralInRange<size_t>(1, 8);
            for (size_t i = 0; i < count; ++i)
                pattern[i] = anyFloat(data);
            for (size_t i = 0; i < length; ++i)
                samples[i] = pattern[i % count];
            break;
        }
        default:
            for (int k = data.ConsumeIntegralInRange(0, 4); k > 0 && length > 0; --k)
                samples[data.ConsumeIntegralInRange<size_t>(0, length - 1)] = anyFloat(data);
            break;
        }
    }
    bool finiteInput = true;
    for (int c = 0; c < 2; ++c)
        for (size_t i = 0; i < length; ++i)
            finiteInput = finiteInput && std::fabs(channel[c][i]) <= kLoudestFinite;

    // The host passes one buffer per pin only where it told the plug-in so: by the speaker
    // arrangement or by reporting the second pin unconnected.
    const bool oneInputAllowed = declaredInputs == 1 || !host.answers.secondInputConnected;
    const bool oneOutputAllowed = declaredOutputs == 1 || !host.answers.secondOutputConnected;
    const size_t inputCount = oneInputAllowed && data.ConsumeBool() ? 1 : 2;
    const size_t outputCount = oneOutputAllowed && data.ConsumeBool() ? 1 : 2;
    std::unique_ptr<float *[]> inputs(new float *[inputCount]);
    std::unique_ptr<float *[]> outputs(new float *[outputCount]);
    for (size_t c = 0; c < inputCount; ++c)
        inputs[c] = channel[c].get();
    for (size_t c = 0; c < outputCount; ++c)
        outputs[c] = channel[2 + c].get();
    switch (data.ConsumeIntegralInRange(0, 6)) {
    case 1:  // in place
        for (size_t c = 0; c < std::min(inputCount, outputCount); ++c)
            outputs[c] = inputs[c];
        break;
    case 2:
        inputs[inputCount - 1] = inputs[0];
        break;
    case 3:
        outputs[outputCount - 1] = outputs[0];
        break;
    case 4:
        inputs[inputCount - 1] = nullptr;
        break;
    case 5:
        outputs[outputCount - 1] = nullptr;
        break;
    default:
        break;
    }

    float **inputArray = data.ConsumeProbability<float>() < 0.02f ? nullptr : inputs.get();
    if (data.ConsumeProbability<float>() < 0.02f)
        guardedCall("process", [&] { effect->process(effect, inputArray, outputs.get(), frames); });
    else
        guardedCall("processReplacing", [&] { effect->processReplacing(effect, inputArray, outputs.get(), frames); });

    if (!finiteInput)
        return;
    for (size_t c = 0; c < outputCount; ++c)
        if (outputs[c])
            checkFinite(outputs[c], (int32_t)length, c == 0 ? "output 1" : "output 2");
}

std::vector<unsigned char> HostSession::readChunk()
{
    std::unique_ptr<void *> data_(new void *(nullptr));
    VstIntPtr size = dispatch(effGetChunk, data.ConsumeIntegralInRange<VstInt32>(0, 1), 0, data_.get());
    checkChunk(*data_, size);
    const auto *bytes = static_cast<const unsigned char *>(*data_);
    return std::vector<unsigned char>(bytes, bytes + HostChunk::kSize);
}

void HostSession::restoreChunk()
{
    std::vector<unsigned char> image(HostChunk::kSize, 0);
    unsigned char *ownBuffer = nullptr;
    switch (data.ConsumeIntegralInRange(0, 3)) {
    case 0:
        image = readChunk();
        break;
    case 1: {
        std::vector<unsigned char> bytes = data.ConsumeBytes<unsigned char>(HostChunk::kSize);
        std::copy(bytes.begin(), bytes.end(), image.begin());
        break;
    }
    case 2: {
        // The plug-in's own buffer, handed straight back.
        readChunk();
        void *own = nullptr;
        dispatch(effGetChunk, 0, 0, &own);
        ownBuffer = static_cast<unsigned char *>(own);
        break;
    }
    default:
        break;  // zeros
    }
    unsigned char *bytes = ownBuffer ? ownBuffer : image.data();
    for (int k = data.ConsumeIntegralInRange(0, 8); k > 0; --k)
        HostChunk::writeFloat(bytes, 4 * (size_t)data.ConsumeIntegralInRange(0, kChunkSlots - 1), anyFloat(data));
    if (data.ConsumeBool()) {
        // A label without a terminator, or with bytes after it.
        for (size_t i = 0; i < HostChunk::kLabelSize; ++i)
            bytes[HostChunk::kLabelOffset + i] = data.ConsumeIntegralInRange<unsigned char>(1, 255);
        if (data.ConsumeBool())
            bytes[HostChunk::kLabelOffset + data.ConsumeIntegralInRange<size_t>(0, HostChunk::kLabelSize - 1)] = 0;
    }

    // Any size: the data the host passes is at least as long as it says, or 596 bytes when it
    // claims more than anyone would allocate.
    const VstIntPtr sizes[] = {596, 0, 4, 44, 300, 595, 597, 1024, -1, INT_MAX, (VstIntPtr)INT_MAX + 1, INTPTR_MIN};
    VstIntPtr size = data.ConsumeBool() ? pick(data, sizes) : data.ConsumeIntegralInRange<VstIntPtr>(0, 2048);
    if (ownBuffer) {
        if (size >= 0 && size <= 2048)
            size = std::min<VstIntPtr>(size, (VstIntPtr)HostChunk::kSize);
        dispatch(effSetChunk, data.ConsumeIntegralInRange<VstInt32>(0, 1), size, ownBuffer);
    } else {
        const size_t length = size >= 0 && size <= 2048 ? (size_t)size : HostChunk::kSize;
        std::unique_ptr<unsigned char[]> copy(new unsigned char[length]);
        std::memcpy(copy.get(), image.data(), std::min(length, image.size()));
        if (length > image.size())
            std::memset(copy.get() + image.size(), 0xA5, length - image.size());
        dispatch(effSetChunk, data.ConsumeIntegralInRange<VstInt32>(0, 1), size, copy.get());
    }
    readChunk();
}

void HostSession::roundTripChunk()
{
    const std::vector<unsigned char> before = readChunk();
    if (HostChunk::scopeState(before.data()) == 0)
        return;  // in the Global scope the engines keep the Global settings, not the image's
    std::vector<unsigned char> copy(before);
    dispatch(effSetChunk, data.ConsumeIntegralInRange<VstInt32>(0, 1), (VstIntPtr)copy.size(), copy.data());
    const std::vector<unsigned char> after = readChunk();
    for (size_t i = 0; i < HostChunk::kSize; ++i)
        if (before[i] != after[i])
            fuzzFailure("chunk byte %zu went from 0x%02x to 0x%02x across get, set and get", i, before[i], after[i]);
}

void HostSession::driveEditor()
{
    switch (data.ConsumeIntegralInRange(0, 6)) {
    case 0: {
        void *window = &parent;
        const int kind = data.ConsumeIntegralInRange(0, 3);
        if (kind == 1)
            window = nullptr;
        else if (kind == 2)  // an X11 window id, or anything else a host may pass
            window = reinterpret_cast<void *>(data.ConsumeIntegral<uintptr_t>());
        const bool alreadyOpen = parent.frame != nullptr;
        const VstIntPtr opened = dispatch(effEditOpen, 0, 0, window);
        if (window == &parent && !alreadyOpen && (!opened || !parent.frame))
            fuzzFailure("the editor did not open on the host's own offscreen parent");
        break;
    }
    case 1:
        for (int k = data.ConsumeIntegralInRange(1, 4); k > 0; --k)
            dispatch(effEditIdle);
        break;
    case 2:
        dispatch(effEditClose);
        break;
    case 3:
        closeEffect();  // with the editor open or not
        createEffect();
        break;
    case 4:
    case 5:
        if (void *frame = parent.frame) {
            const double x = data.ConsumeFloatingPointInRange<double>(-10, 600);
            const double y = data.ConsumeFloatingPointInRange<double>(-10, 280);
            const int buttons = data.ConsumeIntegral<uint16_t>();
            switch (data.ConsumeIntegralInRange(0, 4)) {
            case 0:
                guardedCall("mouse down", [&] { return parent.mouseDown(frame, x, y, buttons); });
                break;
            case 1:
                guardedCall("mouse up", [&] { return parent.mouseUp(frame, x, y, buttons); });
                break;
            case 2:
                guardedCall("mouse move", [&] { return parent.mouseMoved(frame, x, y, buttons); });
                break;
            case 3:
                guardedCall("wheel", [&] { return parent.wheel(frame, x, y, anyFloat(data), buttons); });
                break;
            default:
                guardedCall("mouse exit", [&] { return parent.mouseExited(frame); });
                break;
            }
        }
        break;
    default:
        dispatch(data.ConsumeBool() ? effEditKeyDown : effEditKeyUp, data.ConsumeIntegral<VstInt32>(),
                 data.ConsumeIntegral<VstIntPtr>(), nullptr, anyFloat(data));
        break;
    }
}

}  // namespace

// fontconfig keeps its configuration cache for the life of the process; it is not ours to free.
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzHost::instance();
    HostSession::recordProcessBaseline();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    HostSession session(data);
    session.run();
    return 0;
}
