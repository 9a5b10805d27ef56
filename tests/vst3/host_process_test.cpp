// Processing as the official validator's processing tests drive it, and the arrangements a host
// asks for: stereo, mono to mono and mono to stereo taken, others refused with a consistent
// answer; the three parameter flushes, every silence-flag combination, block sizes from 0 to
// 8191, the sample rates of "Process Format", random parameter points (and the queue of no
// parameter), and process on a thread of its own, with every output sample written and sound.
#ifdef ZEM_VST3_BUNDLE  // the tests build the bundle beside them
#include <random>
#include <thread>

#include "host_fixture.h"

namespace {

using Vst3HostProcess = Vst3HostTest;

TEST_F(Vst3HostProcess, TheArrangementsOfTheVst24ConfigurationsAndNoOthers)
{
    auto instance = create();
    struct Case {
        vst3::SpeakerArrangement in, out;
        bool taken;
    };
    const vst3::SpeakerArrangement surround = vst3::kArrangementStereo | vst3::kSpeakerC | (1u << 3) | (3u << 4);
    const Case cases[] = {{vst3::kArrangementMono, vst3::kArrangementMono, true},
                          {vst3::kArrangementMono, vst3::kArrangementStereo, true},
                          {surround, surround, false},
                          {vst3::kArrangementStereo, vst3::kArrangementMono, false},
                          {vst3::kArrangementStereo, vst3::kArrangementStereo, true}};
    for (const Case &c : cases) {
        const vst3::tresult result = instance->setArrangement(c.in, c.out);
        EXPECT_EQ(result == vst3::kResultTrue, c.taken) << std::hex << c.in << " -> " << c.out;
        // Whatever the answer, the buses agree with the arrangements they report.
        for (int direction = vst3::kInput; direction <= vst3::kOutput; ++direction) {
            vst3::SpeakerArrangement now = 0;
            vst3::BusInfo bus{};
            ASSERT_EQ(instance->audioProcessor()->getBusArrangement(direction, 0, now), vst3::kResultOk);
            ASSERT_EQ(instance->component()->getBusInfo(vst3::kAudio, direction, 0, bus), vst3::kResultOk);
            EXPECT_EQ(bus.channelCount, __builtin_popcountll(now));
            if (c.taken) {
                EXPECT_EQ(now, direction == vst3::kInput ? c.in : c.out);
            }
        }
        if (!c.taken)
            continue;
        ASSERT_TRUE(instance->activate(44100, 256) && instance->startProcessing());
        Vst3Buffers buffers(256);
        ASSERT_EQ(instance->process(buffers.inputs(), buffers.outputs(), 256), vst3::kResultOk);
        EXPECT_EQ(buffers.faults(instance->outputChannels()), "");
        instance->stopProcessing();
        instance->deactivate();
    }
}

TEST_F(Vst3HostProcess, TheThreeFlushesApplyTheirChangesWithoutAudio)
{
    auto instance = create();
    ASSERT_TRUE(instance->activate(44100, 8192) && instance->startProcessing());
    // No buffers at all, with a queue of no parameter (the validator's for a parameter it cannot
    // automate) beside a real change.
    ASSERT_EQ(instance->flush({{vst3::kNoParamId, 0, 0.3}, {1, 0, 0.75}}), vst3::kResultOk);
    EXPECT_EQ(instance->value(1), 0.75);
    // Bus arrays whose first bus has no channels.
    vst3::AudioBusBuffers none[1] = {};
    Vst3ParamChanges changes({{1, 0, 0.5}});
    vst3::ProcessData data{};
    data.symbolicSampleSize = vst3::kSample32;
    data.inputs = none;
    data.outputs = none;
    data.inputParameterChanges = &changes;
    EXPECT_EQ(instance->audioProcessor()->process(data), vst3::kResultOk);
    EXPECT_EQ(instance->value(1), 0.5);
    // No parameter list either.
    data.inputParameterChanges = nullptr;
    EXPECT_EQ(instance->audioProcessor()->process(data), vst3::kResultOk);
    vst3::ProcessData empty{};
    EXPECT_EQ(instance->audioProcessor()->process(empty), vst3::kResultOk);
}

TEST_F(Vst3HostProcess, SilenceFlagsBlockSizesAndRatesAsTheValidatorSendsThem)
{
    auto instance = create();
    ASSERT_TRUE(instance->activate(44100, 8192) && instance->startProcessing());
    for (uint64_t flags = 0; flags < 4; ++flags) {
        Vst3Buffers buffers(64);
        if (flags & 1)
            std::fill(buffers.input[0].begin(), buffers.input[0].end(), 0.f);
        if (flags & 2)
            std::fill(buffers.input[1].begin(), buffers.input[1].end(), 0.f);
        uint64_t out = ~0ull;
        ASSERT_EQ(instance->process(buffers.inputs(), buffers.outputs(), 64, {}, flags, &out), vst3::kResultOk);
        EXPECT_EQ(buffers.faults(), "") << flags;
        EXPECT_EQ(out & ~3ull, 0u) << "no flags beyond the two channels";
    }
    std::mt19937 random(21);
    for (int i = 0; i < 21; ++i) {
        const int32_t frames = i == 0 ? 0 : (int32_t)(random() % 8192);
        Vst3Buffers buffers(frames, (uint32_t)i);
        ASSERT_EQ(instance->process(buffers.inputs(), buffers.outputs(), frames), vst3::kResultOk) << frames;
        EXPECT_EQ(buffers.faults(), "") << frames;
    }
    instance->stopProcessing();
    instance->deactivate();
    for (double rate : {22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0, 384000.0, 1234.5678, 12345.678,
                        123456.78, 1234567.8}) {
        ASSERT_TRUE(instance->activate(rate, 64)) << rate;
        ASSERT_TRUE(instance->startProcessing());
        Vst3Buffers buffers(64);
        EXPECT_EQ(instance->process(buffers.inputs(), buffers.outputs(), 64), vst3::kResultOk) << rate;
        EXPECT_EQ(buffers.faults(), "") << rate;
        instance->stopProcessing();
        instance->deactivate();
    }
}

TEST_F(Vst3HostProcess, RandomParameterPointsOnAThreadOfItsOwn)
{
    auto instance = create();
    ASSERT_TRUE(instance->activate(44100, 64));
    std::string fault;
    std::thread audio([&] {
        if (!instance->startProcessing()) {
            fault = "setProcessing(true) failed";
            return;
        }
        std::mt19937 random(3);
        std::uniform_real_distribution<double> value(0.0, 1.0);
        for (int block = 0; block < 2000 && fault.empty(); ++block) {
            std::vector<Vst3ParamPoint> points;
            for (int32_t offset = block == 0 ? 0 : (int32_t)(random() % 100); offset < 64; offset += 100)
                points.push_back(
                    {(uint32_t)(random() % 18 == 17 ? vst3::kNoParamId : random() % 17), offset, value(random)});
            Vst3Buffers buffers(64, (uint32_t)block);
            if (instance->process(buffers.inputs(), buffers.outputs(), 64, points) != vst3::kResultOk)
                fault = "process failed in block " + std::to_string(block);
            else if (!buffers.faults().empty())
                fault = buffers.faults() + " in block " + std::to_string(block);
        }
        instance->stopProcessing();
    });
    audio.join();
    EXPECT_EQ(fault, "");
}

}  // namespace
#endif
