// The built "ZEM Ordwen.vst3" bundle, loaded from the test program's folder through our VST 3
// host (tools/vst3_host) as a host loads it: the binary of this platform inside the bundle, its
// module entry, the factory. Each test loads the module afresh (entry and exit pair up). The
// meter type and the calibration scope are shared by the instances of a library (ids 3 and 2):
// every test starts from and gives back the values a fresh library has, as the other suites do.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "plugin_library.h"
#include "vst3_instance.h"

inline std::string builtVst3Path() { return PluginLibrary::programFolder() + ZEM_VST3_BUNDLE; }

class Vst3HostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(module.ready()) << module.binary() << ": " << module.error();
        resetSharedValues();  // whatever an earlier suite of the process left
    }
    void TearDown() override { resetSharedValues(); }
    // The shared values where a fresh library has them: Session scope, VU meter.
    void resetSharedValues()
    {
        Vst3HostContext otherContext;
        Vst3Instance instance(module, otherContext, nullptr);
        if (instance.valid())
            instance.flush({{2, 0, instance.editController()->plainParamToNormalized(2, 1.0)},
                            {3, 0, instance.editController()->plainParamToNormalized(3, 0.0)}});
    }
    std::unique_ptr<Vst3Instance> create()
    {
        auto instance = std::make_unique<Vst3Instance>(module, context, &handler);
        EXPECT_TRUE(instance->valid()) << instance->error();
        return instance;
    }
    Vst3Module module{builtVst3Path()};
    Vst3HostContext context;
    Vst3ComponentHandler handler;
};

// Two channels of input noise and of output the host pre-fills with a marker beyond the block:
// afterwards every sample must be written, finite and not subnormal, nothing past the block.
struct Vst3Buffers {
    explicit Vst3Buffers(int32_t frames, uint32_t seed = 1);
    float *const *inputs();
    float *const *outputs();
    std::string faults(int channels = 2) const;  // "" when the output is sound
    static constexpr int32_t kGuard = 16;
    int32_t frames;
    std::vector<float> input[2], output[2];
    float *in[2] = {nullptr, nullptr};
    float *out[2] = {nullptr, nullptr};
};

inline Vst3Buffers::Vst3Buffers(int32_t frames, uint32_t seed) : frames(frames)
{
    uint32_t state = seed;
    for (int c = 0; c < 2; ++c) {
        input[c].resize((size_t)frames);
        for (float &s : input[c]) {
            state = state * 1664525u + 1013904223u;
            s = (float)((double)state / 4294967296.0 * 2.0 - 1.0);
        }
        output[c].assign((size_t)(frames + kGuard), std::nanf(""));
    }
}
inline float *const *Vst3Buffers::inputs()
{
    in[0] = input[0].data(), in[1] = input[1].data();
    return in;
}
inline float *const *Vst3Buffers::outputs()
{
    out[0] = output[0].data(), out[1] = output[1].data();
    return out;
}
inline std::string Vst3Buffers::faults(int channels) const
{
    for (int c = 0; c < channels; ++c) {
        for (int32_t i = 0; i < frames; ++i) {
            const float s = output[c][(size_t)i];
            if (!std::isfinite(s))
                return "channel " + std::to_string(c) + " sample " + std::to_string(i) + " not finite/unwritten";
            if (std::fpclassify(s) == FP_SUBNORMAL)
                return "channel " + std::to_string(c) + " sample " + std::to_string(i) + " subnormal";
        }
        for (int32_t i = frames; i < frames + kGuard; ++i)
            if (!std::isnan(output[c][(size_t)i]))
                return "channel " + std::to_string(c) + " written past the block";
    }
    return "";
}
