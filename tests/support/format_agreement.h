// What the CLAP, LV2 and VST 3 agreement suites give each format and the VST 2.4 library alike:
// one programme signal of zem_host and the same parameter changes at the same blocks.
#pragma once

#include <cstdint>
#include <vector>

#include "test_signals.h"

// A change at the start of a block: the plain value in its unit, and the VST 2.4 normalised
// value it means.
struct BlockChange {
    int block;
    uint32_t id;
    double plain;
    float normalised;
};
inline constexpr BlockChange kAgreementChanges[] = {
    {20, 1, 6.0, 0.65f},    // Trim +6.0 dB
    {40, 4, 1.0, 1.f},      // LR/MS: mid/side
    {55, 5, 2.0, 1.f},      // Hold: on
    {70, 8, 1.0, 1.f},      // ProcFlt: the strip filters in the path
    {70, 11, 200.0, 0.5f},  // HPFreq 200 Hz
};

// The programme's 10 ms tone burst, one second at 44.1 kHz: it moves every needle and hold.
inline WavAudio agreementSignal()
{
    for (ProgrammeSignal &s : makeProgramme(44100, 1.0))
        if (s.name == "burst10")
            return s.audio;
    return WavAudio();
}

// One block of the editor runs' tone after another (test_signals.h), with room for the outputs.
struct ToneBlock {
    std::vector<float> samples = std::vector<float>(512), out0 = samples, out1 = samples;
    EditorTone tone;
    void next() { tone.fill(samples); }
};
