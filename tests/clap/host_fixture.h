// The built ZEM Ordwen.clap, loaded from the test program's folder through our CLAP host
// (tools/clap_host) as a host loads it by path, and the checks a host makes of what the plug-in
// writes into its output buffers. Each test scans the library afresh (init and deinit pair up).
// The meter type and the calibration scope are shared by the instances of a library (ids 3 and
// 2): every test starts from and gives back the values a fresh library has, as the VST 2.4
// suites do.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "clap_instance.h"
#include "plugin_library.h"

inline std::string builtClapPath() { return PluginLibrary::programFolder() + ZEM_CLAP_FILE; }

class ClapHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(library.ready()) << builtClapPath() << ": " << library.error();
        resetSharedValues();  // whatever an earlier suite of the process left
    }
    void TearDown() override { resetSharedValues(); }
    // The shared values where a fresh library has them: Session scope, VU meter.
    void resetSharedValues()
    {
        ClapHost other;
        ClapInstance instance(library, other);
        if (instance.valid())
            instance.flush({{0, 2, 1.0}, {0, 3, 0.0}});
    }
    std::unique_ptr<ClapInstance> create()
    {
        auto instance = std::make_unique<ClapInstance>(library, host);
        EXPECT_TRUE(instance->valid());
        return instance;
    }
    ClapLibrary library{builtClapPath()};
    ClapHost host;
};

// Two channels of output the host pre-fills with a marker beyond the block, as clap-validator
// does, and the checks it makes afterwards: every sample written, finite, not subnormal, nothing
// written past the block.
struct StereoBuffers {
    explicit StereoBuffers(uint32_t frames, uint32_t seed = 1) : frames(frames)
    {
        std::mt19937 random(seed);
        std::uniform_real_distribution<float> noise(-1.f, 1.f);
        for (int c = 0; c < 2; ++c) {
            input[c].resize(frames);
            for (float &s : input[c])
                s = noise(random);
            output[c].assign(frames + kGuard, std::nanf(""));
        }
    }
    float *in[2] = {nullptr, nullptr};
    float *out[2] = {nullptr, nullptr};
    float *const *inputs()
    {
        in[0] = input[0].data(), in[1] = input[1].data();
        return in;
    }
    float *const *outputs()
    {
        out[0] = output[0].data(), out[1] = output[1].data();
        return out;
    }
    // "" when the output is sound, else what is wrong.
    std::string faults() const
    {
        for (int c = 0; c < 2; ++c) {
            for (uint32_t i = 0; i < frames; ++i) {
                const float s = output[c][i];
                if (!std::isfinite(s))
                    return "channel " + std::to_string(c) + " sample " + std::to_string(i) + " not finite/unwritten";
                if (std::fpclassify(s) == FP_SUBNORMAL)
                    return "channel " + std::to_string(c) + " sample " + std::to_string(i) + " subnormal";
            }
            for (uint32_t i = frames; i < frames + kGuard; ++i)
                if (!std::isnan(output[c][i]))
                    return "channel " + std::to_string(c) + " written past the block";
        }
        return "";
    }
    static constexpr uint32_t kGuard = 16;
    uint32_t frames;
    std::vector<float> input[2], output[2];
};
