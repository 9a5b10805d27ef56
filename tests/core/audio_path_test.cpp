// The audio path through the loaded plug-in: pass-through, the trim smoother, the channel
// choice of each input/output configuration and block-size invariance.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <thread>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

#include "core/readout_query.h"
#include "core/templete.h"
#include "loaded_plugin.h"
#include "meters/meter_engine.h"

namespace {

using AudioPathTest = LoadedPluginTest;
using Signal = std::vector<float>;

Signal noise(size_t frames, uint32_t seed)
{
    Signal signal(frames);
    for (float &sample : signal) {
        seed = seed * 1664525u + 1013904223u;
        sample = (float)((double)(seed >> 8) / (double)(1u << 24) * 2.0 - 1.0);
    }
    return signal;
}

struct Stereo {
    Signal left, right;
};

// Runs the whole material through the plug-in in blocks of the given size.
Stereo run(PluginInstance &plugin, const Stereo &input, size_t blockSize)
{
    size_t frames = input.left.size();
    Stereo output{Signal(frames), Signal(frames)};
    for (size_t start = 0; start < frames; start += blockSize) {
        size_t n = std::min(blockSize, frames - start);
        float *inputs[2] = {const_cast<float *>(&input.left[start]), const_cast<float *>(&input.right[start])};
        float *outputs[2] = {&output.left[start], &output.right[start]};
        plugin.processReplacing(inputs, outputs, (VstInt32)n);
    }
    return output;
}

// Page-aligned buffers that can be made read-only, as a host may hand over audio it wants kept.
class ReadOnlyPages {
public:
    explicit ReadOnlyPages(size_t bytes) : bytes(bytes)
    {
#ifdef _WIN32
        pages = VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
#else
        pages = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (pages == MAP_FAILED)
            pages = nullptr;
#endif
    }
    ~ReadOnlyPages()
    {
#ifdef _WIN32
        if (pages)
            VirtualFree(pages, 0, MEM_RELEASE);
#else
        if (pages)
            munmap(pages, bytes);
#endif
    }
    ReadOnlyPages(const ReadOnlyPages &) = delete;
    ReadOnlyPages &operator=(const ReadOnlyPages &) = delete;
    void *data() const { return pages; }
    bool protect()
    {
#ifdef _WIN32
        DWORD old = 0;
        return pages && VirtualProtect(pages, bytes, PAGE_READONLY, &old);
#else
        return pages && mprotect(pages, bytes, PROT_READ) == 0;
#endif
    }

private:
    size_t bytes;
    void *pages = nullptr;
};

bool arrange(PluginInstance &plugin, int ins, int outs)
{
    VstSpeakerArrangement input{}, output{};
    input.numChannels = ins;
    output.numChannels = outs;
    return plugin.dispatch(effSetSpeakerArrangement, 0, (VstIntPtr)&input, &output) == 1;
}

// Index of the first sample at which the gain has covered 99 % of a step from 1 to target.
size_t samplesToNinetyNinePercent(float rate)
{
    PluginHost &host = loadedPlugin();
    PluginInstance plugin(host);
    plugin.start(rate, 512);
    plugin.setParameter(0, 1.f);
    plugin.setParameter(1, 0.75f);  // +10 dB
    const double target = std::pow(10.0, 0.5);
    Stereo ones{Signal(200000, 1.f), Signal(200000, 1.f)};  // 99 % needs 160 400 samples at 768 kHz
    Stereo out = run(plugin, ones, 512);
    for (size_t i = 0; i < out.left.size(); ++i)
        if ((out.left[i] - 1.0) / (target - 1.0) >= 0.99)
            return i + 1;
    return 0;
}

}  // namespace

TEST_F(AudioPathTest, ProcessOffPassesTheInputBitForBit)
{
    PluginInstance plugin(host());
    plugin.start(44100.f, 256);
    plugin.setParameter(1, 1.f);  // +20 dB, ignored while Process is off
    plugin.setParameter(8, 1.f);
    Stereo input{noise(3000, 1), noise(3000, 2)};
    input.left[10] = 1e-40f;  // subnormals and extremes pass untouched too
    input.right[11] = -3.4e38f;
    Stereo out = run(plugin, input, 256);
    EXPECT_EQ(out.left, input.left);
    EXPECT_EQ(out.right, input.right);
}

// In place with Process off the block writes nothing: buffers the host made read-only survive
// the block (a copy onto itself would fault), keep their samples, and the meter sees them.
TEST_F(AudioPathTest, ProcessOffInPlaceWritesNoBuffer)
{
    PluginInstance plugin(host());
    plugin.start(48000.f, 512);
    const size_t frames = 512;
    ReadOnlyPages pages(2 * frames * sizeof(float));
    float *left = static_cast<float *>(pages.data()), *right = left + frames;
    const Signal l = noise(frames, 5), r = noise(frames, 6);
    std::copy(l.begin(), l.end(), left);
    std::copy(r.begin(), r.end(), right);
    ASSERT_TRUE(pages.protect());
    float *buffers[2] = {left, right};
    plugin.processReplacing(buffers, buffers, (VstInt32)frames);
    EXPECT_TRUE(std::equal(l.begin(), l.end(), left));
    EXPECT_TRUE(std::equal(r.begin(), r.end(), right));
    ReadoutQuery query;
    ASSERT_EQ(plugin.dispatch(effVendorSpecific, kReadoutQuery, sizeof query, &query), 1);
    EXPECT_GT(query.values[kMeterLevel1], 0.0);
    EXPECT_GT(query.values[kMeterLevel2], 0.0);
}

TEST_F(AudioPathTest, UnityTrimIsExact)
{
    PluginInstance plugin(host());
    plugin.start(48000.f, 128);
    plugin.setParameter(0, 1.f);
    Stereo input{noise(2000, 3), noise(2000, 4)};
    Stereo out = run(plugin, input, 128);
    EXPECT_EQ(out.left, input.left);
    EXPECT_EQ(out.right, input.right);
}

TEST_F(AudioPathTest, TrimGlidesWithATimeConstantIndependentOfTheRate)
{
    size_t at44 = samplesToNinetyNinePercent(44100.f);
    EXPECT_GE(at44, 9205u);
    EXPECT_LE(at44, 9211u);  // ln 0.01 / ln(1 - 0.0005) = 9208.1
    size_t at96 = samplesToNinetyNinePercent(96000.f);
    EXPECT_NEAR((double)at96, std::log(0.01) / std::log(1.0 - 22.05 / 96000.0), 4.0);  // 20047.6
    // The host's own rate from 8 kHz to 768 kHz.
    // (The single-precision smoother drifts by up to a few hundredths of a percent at very
    // high rates.)
    for (float rate : {8000.f, 16000.f, 22050.f, 384000.f, 768000.f}) {
        const double expected = std::log(0.01) / std::log(1.0 - 22.05 / rate);
        EXPECT_NEAR((double)samplesToNinetyNinePercent(rate), expected, 4.0 + 1e-3 * expected) << rate;
    }
    // Rates no host runs at, or none at all, run as 44.1 kHz.
    for (float rate :
         {0.f, 7999.f, 768001.f, 1e9f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()})
        EXPECT_EQ(samplesToNinetyNinePercent(rate), at44) << rate;
}

TEST_F(AudioPathTest, TrimJumpsToItsTargetAtResume)
{
    PluginInstance plugin(host());
    plugin.setParameter(0, 1.f);
    plugin.setParameter(1, 0.25f);  // -10 dB, set while suspended
    plugin.start(44100.f, 64);
    Stereo ones{Signal(64, 1.f), Signal(64, 1.f)};
    Stereo out = run(plugin, ones, 64);
    EXPECT_FLOAT_EQ(out.left[0], (float)std::pow(10.0, -0.5));
    EXPECT_EQ(out.left[0], out.left[63]);
    EXPECT_EQ(out.left, out.right);
}

TEST_F(AudioPathTest, MonoInputFeedsBothOutputs)
{
    PluginInstance plugin(host());
    plugin.start(44100.f, 100);
    ASSERT_TRUE(arrange(plugin, 1, 2));
    plugin.setParameter(0, 1.f);
    plugin.setParameter(1, 0.6f);
    Stereo input{noise(1000, 5), noise(1000, 6)};
    Stereo out = run(plugin, input, 100);
    EXPECT_EQ(out.left, out.right);
    EXPECT_NE(out.left, input.left) << "the trim was applied";

    // Back to two inputs: each output follows its own input again.
    ASSERT_TRUE(arrange(plugin, 2, 2));
    out = run(plugin, input, 100);
    EXPECT_NE(out.left, out.right);
}

TEST_F(AudioPathTest, OneOutputCarriesTheRightChannelLast)
{
    PluginInstance plugin(host());
    plugin.start(44100.f, 64);
    ASSERT_TRUE(arrange(plugin, 1, 1));
    Stereo input{noise(64, 7), noise(64, 8)};
    Stereo out{Signal(64, 9.f), Signal(64, 9.f)};
    float *inputs[2] = {input.left.data(), input.right.data()};
    float *outputs[2] = {out.left.data(), out.right.data()};
    plugin.processReplacing(inputs, outputs, 64);
    EXPECT_EQ(out.left, input.left);
    EXPECT_EQ(out.right, Signal(64, 9.f)) << "the second output is not written";

    // An unanswered configuration (2 in, 1 out) restores both channels.
    EXPECT_FALSE(arrange(plugin, 2, 1));
    plugin.processReplacing(inputs, outputs, 64);
    EXPECT_EQ(out.right, input.right);
}

TEST_F(AudioPathTest, UnconnectedSecondPinsFallBackToTheFirst)
{
    PluginInstance plugin(host());
    plugin.start(44100.f, 64);
    host().pinConnectedAnswer = 1;  // the host reports the pins as not connected
    int asked = host().queries(audioMasterPinConnected);
    Stereo input{noise(64, 9), noise(64, 10)};
    Stereo out{Signal(64, 9.f), Signal(64, 9.f)};
    float *inputs[2] = {input.left.data(), input.right.data()};
    float *outputs[2] = {out.left.data(), out.right.data()};
    plugin.processReplacing(inputs, outputs, 64);
    EXPECT_EQ(host().queries(audioMasterPinConnected), asked + 2) << "both pins are asked about every block";
    EXPECT_EQ(out.left, input.left);
    EXPECT_EQ(out.right, Signal(64, 9.f));
}

// With one output the host may pass a one-pointer array, or a second buffer that nobody
// writes (here full of stale 9.0 values, a permanent over): the filters and the meter work on
// the buffer the block wrote, both meter channels see it, and the other buffer stays untouched.
TEST_F(AudioPathTest, OneOutputFeedsBothMeterChannelsWithWhatTheBlockWrote)
{
    enum Case { OneInOneOut, SecondPinsUnconnected };
    for (Case c : {OneInOneOut, SecondPinsUnconnected}) {
        PluginInstance plugin(host());
        plugin.start(44100.f, 256);
        if (c == OneInOneOut)
            ASSERT_TRUE(arrange(plugin, 1, 1));
        else
            host().pinConnectedAnswer = 1;
        plugin.setParameter(0, 1.f);  // Process
        plugin.setParameter(8, 1.f);  // ProcFlt: the default high-pass at 14 Hz
        plugin.setParameter(3, 1.f);  // PPM
        Templete &effect = *static_cast<Templete *>(static_cast<AudioEffect *>(plugin.record()->object));
        MeterEngine &ppm = *effect.meterEngine(kMeterTypePPM);

        Signal input = noise(256, 15);
        for (float &sample : input)
            sample *= 0.1f;
        Signal output(256), stale(256, 9.f);
        // Exactly as many pointers as the host has channels: a read past them is a fault.
        std::vector<float *> inputs{input.data()};
        std::vector<float *> outputs{output.data()};
        if (c == SecondPinsUnconnected) {
            inputs.push_back(input.data());
            outputs.push_back(stale.data());
        }
        for (int block = 0; block < 40; ++block)
            plugin.processReplacing(inputs.data(), outputs.data(), 256);

        EXPECT_EQ(stale, Signal(256, 9.f)) << c;
        EXPECT_GT(ppm.readoutValue(kMeterLevel1, 0.0), 0.0) << c;
        EXPECT_EQ(ppm.readoutValue(kMeterLevel2, 0.0), ppm.readoutValue(kMeterLevel1, 0.0)) << c;
        EXPECT_EQ(ppm.readoutValue(kMeterHold2, 0.0), ppm.readoutValue(kMeterHold1, 0.0)) << c;
        EXPECT_EQ(ppm.readoutOverState(1), -1) << c;
    }
}

TEST_F(AudioPathTest, StripFiltersRunOnlyWithProcessAndProcFlt)
{
    // A 20 Hz-period square wave: the high-pass at its top frequency takes most of it away.
    Stereo input{Signal(8820), Signal(8820)};
    for (size_t i = 0; i < input.left.size(); ++i)
        input.left[i] = input.right[i] = (i / 1102) % 2 ? 0.5f : -0.5f;
    auto energy = [](const Signal &signal) {
        double sum = 0.0;
        for (size_t i = signal.size() / 2; i < signal.size(); ++i)
            sum += (double)signal[i] * signal[i];
        return sum;
    };
    PluginInstance plugin(host());
    plugin.start(44100.f, 441);
    plugin.setParameter(11, 1.f);  // HPFreq 2 kHz, HPStat on by default
    plugin.setParameter(0, 1.f);
    EXPECT_EQ(run(plugin, input, 441).left, input.left) << "ProcFlt off: no filtering";

    plugin.setParameter(8, 1.f);
    Stereo filtered = run(plugin, input, 441);
    EXPECT_LT(energy(filtered.left), 0.2 * energy(input.left));
    EXPECT_EQ(filtered.left, filtered.right);

    plugin.setParameter(9, 0.f);  // both sections out: the bank passes the signal unchanged
    plugin.setParameter(12, 0.f);
    EXPECT_EQ(run(plugin, input, 441).left, input.left);

    plugin.setParameter(9, 1.f);
    plugin.setParameter(0, 0.f);  // Process off: the filters do not run
    EXPECT_EQ(run(plugin, input, 441).left, input.left);
}

TEST_F(AudioPathTest, BlockSizeDoesNotChangeTheOutput)
{
    Stereo input{noise(20000, 11), noise(20000, 12)};
    auto render = [&](size_t blockSize) {
        PluginInstance plugin(host());
        plugin.start(44100.f, (VstInt32)blockSize);
        plugin.setParameter(0, 1.f);
        plugin.setParameter(1, 0.9f);
        plugin.setParameter(8, 1.f);
        plugin.setParameter(10, 1.f);
        plugin.setParameter(11, 0.4f);
        plugin.setParameter(13, 1.f);
        plugin.setParameter(14, 0.3f);
        return run(plugin, input, blockSize);
    };
    Stereo whole = render(20000);
    for (size_t blockSize : {1u, 63u, 64u, 65u, 4097u}) {
        Stereo blocks = render(blockSize);
        EXPECT_EQ(blocks.left, whole.left) << blockSize;
        EXPECT_EQ(blocks.right, whole.right) << blockSize;
    }
}

// Parameter changes from another thread while blocks run (checked for races by ThreadSanitizer).
TEST_F(AudioPathTest, ConcurrentParameterChangesDuringProcessing)
{
    PluginInstance plugin(host());
    plugin.start(44100.f, 256);
    plugin.setParameter(0, 1.f);
    std::atomic<bool> stop{false};
    std::thread changer([&] {
        float value = 0.f;
        while (!stop.load()) {
            for (VstInt32 index = 0; index <= 100; ++index)
                if (index != 2 && index != 3 && index != 65)  // 65 would write the user's stored defaults
                    plugin.setParameter(index, value);
            plugin.getParameter(1);
            value = value > 0.9f ? 0.f : value + 0.07f;
        }
    });
    Stereo input{noise(256, 13), noise(256, 14)};
    for (int block = 0; block < 200; ++block)
        run(plugin, input, 256);
    stop = true;
    changer.join();
    Stereo out = run(plugin, input, 256);
    for (float sample : out.left)
        EXPECT_TRUE(std::isfinite(sample));
}
