// zem_host signal OUT.wav RATE CHANNELS FRAMES
// Writes deterministic test material (pseudo-random noise over a slow triangle wave, 32-bit
// float) so that end-to-end checks need no other tool.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "subcommands.h"
#include "wav_file.h"

namespace {

int runSignal(const std::vector<std::string> &arguments)
{
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: zem_host signal OUT.wav RATE CHANNELS FRAMES\n");
        return 2;
    }
    long rate = std::atol(arguments[1].c_str());
    long channelCount = std::atol(arguments[2].c_str());
    long frames = std::atol(arguments[3].c_str());
    if (rate < 1000 || rate > 400000 || channelCount < 1 || channelCount > 8 || frames < 0 || frames > 100000000) {
        std::fprintf(stderr, "signal: rate 1000..400000, 1..8 channels, 0..100000000 frames\n");
        return 2;
    }
    WavAudio audio;
    audio.sampleRate = (unsigned)rate;
    audio.channels.assign((size_t)channelCount, std::vector<float>((size_t)frames));
    uint32_t seed = 12345;
    for (long f = 0; f < frames; ++f) {
        long phase = f % 400;
        float triangle = (float)(phase < 200 ? phase - 100 : 300 - phase) / 200.f;  // -0.5..0.5
        for (long c = 0; c < channelCount; ++c) {
            seed = seed * 1664525u + 1013904223u;
            float noise = (float)(seed >> 9) / 8388608.f - 1.f;  // -1..1
            audio.channels[(size_t)c][(size_t)f] = triangle * (c % 2 ? -0.6f : 0.8f) + noise * 0.25f;
        }
    }
    std::string error;
    if (!writeWav(arguments[0], audio, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}

SubcommandRegistration registration{"signal", "signal OUT.wav RATE CHANNELS FRAMES", runSignal};

}  // namespace
