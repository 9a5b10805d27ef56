// A careless host: its main thread switches the effect off and on and changes the sample rate
// and block size while the audio thread is in the middle of processing, and automation arrives
// from a third thread and from the audio thread itself. Run under ThreadSanitizer and
// AddressSanitizer, this shows that none of it races or tears; the output stays finite.
#include <atomic>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "loaded_plugin.h"

namespace {

using CarelessHostStress = LoadedPluginTest;

// A small deterministic generator: the threads' choices differ from run to run only by timing.
struct Choices {
    uint32_t state;
    uint32_t next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    float unit() { return (float)(next() % 1001) / 1000.f; }
};

// Every host parameter but the two that change what every later instance starts with.
VstInt32 automatedIndex(Choices &choices)
{
    VstInt32 index;
    do
        index = (VstInt32)(choices.next() % 17);
    while (index == 2 || index == 3);
    return index;
}

}  // namespace

TEST_F(CarelessHostStress, MainsRateAndBlockSizeChangeWhileProcessing)
{
    PluginInstance plugin(host());
    ASSERT_TRUE(plugin.valid());
    plugin.start(44100.f, 512);
    plugin.setParameter(0, 1.f);  // Process: trim and filters in the path
    plugin.setParameter(8, 1.f);  // ProcFlt

    std::atomic<bool> stop{false};
    std::atomic<int> blocks{0};
    std::atomic<int> nonFinite{0};

    std::thread audio([&] {
        const VstInt32 sizes[] = {1, 64, 65, 512, 4097};
        std::vector<float> left(4097), right(4097), outLeft(4097), outRight(4097);
        for (size_t i = 0; i < left.size(); ++i) {
            left[i] = 0.5f * std::sin(0.05f * (float)i);
            right[i] = 0.25f * std::sin(0.011f * (float)i);
        }
        float *inputs[2] = {left.data(), right.data()};
        float *outputs[2] = {outLeft.data(), outRight.data()};
        Choices choices{7};
        for (int n = 0; !stop.load(std::memory_order_relaxed); ++n) {
            const VstInt32 frames = sizes[n % 5];
            plugin.processReplacing(inputs, outputs, frames);
            for (VstInt32 i = 0; i < frames; ++i)
                if (!std::isfinite(outLeft[(size_t)i]) || !std::isfinite(outRight[(size_t)i]))
                    nonFinite.fetch_add(1, std::memory_order_relaxed);
            if (n % 8 == 0)  // automation played back by the audio thread
                plugin.setParameter(automatedIndex(choices), choices.unit());
            blocks.fetch_add(1, std::memory_order_relaxed);
        }
    });

    std::thread automation([&] {
        Choices choices{11};
        while (!stop.load(std::memory_order_relaxed)) {
            plugin.setParameter(automatedIndex(choices), choices.unit());
            (void)plugin.getParameter((VstInt32)(choices.next() % 101));
            std::this_thread::yield();
        }
    });

    while (blocks.load() == 0)
        std::this_thread::yield();
    const float rates[] = {44100.f, 96000.f, 22050.f, 192000.f, 48000.f, 8000.f, 384000.f, 32000.f};
    for (int cycle = 0; cycle < 200; ++cycle) {
        // Careless: sometimes without switching off first, sometimes switched on twice.
        if (cycle % 3 != 0)
            plugin.dispatch(effMainsChanged, 0, 0);
        plugin.dispatch(effSetSampleRate, 0, 0, nullptr, rates[cycle % 8]);
        plugin.dispatch(effSetBlockSize, 0, 64 << (cycle % 6));
        plugin.dispatch(effMainsChanged, 0, 1);
        if (cycle % 5 == 0)
            plugin.dispatch(effMainsChanged, 0, 1);
    }
    const int target = blocks.load() + 10;
    while (blocks.load() < target)
        std::this_thread::yield();
    stop.store(true);
    audio.join();
    automation.join();

    EXPECT_EQ(nonFinite.load(), 0);
    for (VstInt32 index = 0; index <= 100; ++index) {
        const float value = plugin.getParameter(index);
        EXPECT_TRUE(value >= 0.f && value <= 1.f) << index << ": " << value;
    }
    // Switched off and on once more, the effect passes silence as silence.
    plugin.setParameter(0, 0.f);
    plugin.dispatch(effMainsChanged, 0, 0);
    plugin.dispatch(effMainsChanged, 0, 1);
    std::vector<float> silence(64, 0.f), out0(64, 1.f), out1(64, 1.f);
    float *inputs[2] = {silence.data(), silence.data()};
    float *outputs[2] = {out0.data(), out1.data()};
    plugin.processReplacing(inputs, outputs, 64);
    EXPECT_EQ(out0, silence);
    EXPECT_EQ(out1, silence);
}
