// The processing ground of clap-validator, through our host: out-of-place and in-place blocks of
// noise, random parameter changes inside blocks, rates and block sizes from one activation to
// the next, reset, and the host's thread rules kept by every call the plug-in makes back.
#include <thread>

#include "host_fixture.h"

namespace {

using ClapHostProcess = ClapHostTest;

TEST_F(ClapHostProcess, OutOfPlaceBlocksAreSoundAndLeaveTheInputAlone)
{
    auto instance = create();
    ASSERT_TRUE(instance->activate(44100, 1, 512));
    ASSERT_TRUE(instance->startProcessing());
    for (uint32_t block = 0; block < 5; ++block) {
        StereoBuffers buffers(512, block + 1);
        const std::vector<float> left = buffers.input[0], right = buffers.input[1];
        EXPECT_NE(instance->process(buffers.inputs(), buffers.outputs(), 512, {}, block * 512), CLAP_PROCESS_ERROR);
        EXPECT_EQ(buffers.faults(), "");
        EXPECT_EQ(buffers.input[0], left);
        EXPECT_EQ(buffers.input[1], right);
    }
}

TEST_F(ClapHostProcess, InPlaceBlocksMatchOutOfPlace)
{
    auto outOfPlace = create();
    ClapHost otherHost;
    ClapInstance inPlace(library, otherHost);
    for (ClapInstance *i : {outOfPlace.get(), &inPlace})
        ASSERT_TRUE(i->activate(44100, 1, 512) && i->startProcessing());
    for (uint32_t block = 0; block < 5; ++block) {
        StereoBuffers buffers(512, block + 1);
        outOfPlace->process(buffers.inputs(), buffers.outputs(), 512);
        std::vector<float> shared[2] = {buffers.input[0], buffers.input[1]};
        float *channels[2] = {shared[0].data(), shared[1].data()};
        inPlace.process(channels, channels, 512);
        for (int c = 0; c < 2; ++c)
            EXPECT_TRUE(std::equal(shared[c].begin(), shared[c].end(), buffers.output[c].begin())) << "channel " << c;
    }
}

// Random values for random parameters at random places in blocks of random sizes, with the
// audio on a thread of its own while the main thread reads values and texts, as a host's
// editor does.
TEST_F(ClapHostProcess, RandomChangesWhileProcessing)
{
    auto instance = create();
    const std::vector<clap_param_info_t> list = instance->parameters();
    ASSERT_TRUE(instance->activate(44100, 1, 2048));
    std::thread audio([&] {
        std::mt19937 random(5);
        ASSERT_TRUE(instance->startProcessing());
        for (int block = 0; block < 200; ++block) {
            const uint32_t frames = random() % 5 == 0 ? 1 : 2 + random() % 2047;
            std::vector<ClapParamChange> changes;
            for (uint32_t time = 0; time < frames; time += 1 + random() % 300) {
                const clap_param_info_t &p = list[random() % list.size()];
                if (p.id == 2 || p.id == 3)
                    continue;
                const bool bound = random() % 4 == 0;
                double v = bound ? (random() % 2 ? p.max_value : p.min_value)
                                 : p.min_value + (p.max_value - p.min_value) * (random() % 1001) / 1000.0;
                if (p.flags & CLAP_PARAM_IS_STEPPED)
                    v = std::floor(v);
                changes.push_back({time, p.id, v, CLAP_CORE_EVENT_SPACE_ID, random() % 2 == 0});
            }
            StereoBuffers buffers(frames, block);
            EXPECT_NE(instance->process(buffers.inputs(), buffers.outputs(), frames, changes), CLAP_PROCESS_ERROR);
            ASSERT_EQ(buffers.faults(), "") << "block " << block;
        }
        instance->stopProcessing();
    });
    for (int i = 0; i < 200; ++i)
        for (const clap_param_info_t &p : list) {
            double v = 0;
            std::string text;
            EXPECT_TRUE(instance->value(p.id, v) && instance->text(p.id, v, text));
            EXPECT_GE(v, p.min_value);
            EXPECT_LE(v, p.max_value);
        }
    audio.join();
    instance->deactivate();
    EXPECT_EQ(host.callsOffMainThread(), 0u);
}

TEST_F(ClapHostProcess, ConsecutiveActivationsAtOtherRatesAndSizes)
{
    auto instance = create();
    const double rates[] = {8000, 22050, 44100, 48000, 88200, 96000, 192000, 384000, 1234.5678, 45678.901};
    const uint32_t sizes[] = {1, 256, 1024, 4096, 16384, 1536, 10, 17, 2027, 512};
    for (size_t i = 0; i < 10; ++i) {
        SCOPED_TRACE("rate " + std::to_string(rates[i]) + " block " + std::to_string(sizes[i]));
        ASSERT_TRUE(instance->activate(rates[i], 1, sizes[i]));
        ASSERT_TRUE(instance->startProcessing());
        for (int block = 0; block < 3; ++block) {
            StereoBuffers buffers(sizes[i], block);
            EXPECT_NE(instance->process(buffers.inputs(), buffers.outputs(), sizes[i]), CLAP_PROCESS_ERROR);
            EXPECT_EQ(buffers.faults(), "");
            if (block == 1)
                instance->reset();
        }
        instance->stopProcessing();
        instance->deactivate();
    }
    EXPECT_EQ(host.count(ClapHostCall::RequestRestart), 0u);
    EXPECT_EQ(host.callsOffMainThread(), 0u);
    EXPECT_GT(host.threadChecks(), 0) << "the plug-in checks its thread rules where the host can tell";
}

}  // namespace
