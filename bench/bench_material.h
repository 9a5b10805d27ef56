// Shared helpers of the benchmarks: a stereo test signal handed out block by block, and the
// per-frame counters every benchmark reports.
#pragma once

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

// One second of music-like material (two tones and noise at about -12 dBFS); each block is
// copied fresh into the work buffers, as a host hands over new audio every block.
class BenchMaterial {
public:
    BenchMaterial(float rate, int blockFrames)
        : frames(static_cast<size_t>(rate)), block(static_cast<size_t>(blockFrames)), sourceLeft(frames),
          sourceRight(frames), workLeft(block), workRight(block)
    {
        uint32_t seed = 12345u;
        for (size_t i = 0; i < frames; ++i) {
            seed = seed * 1664525u + 1013904223u;
            const double noise = double(int32_t(seed)) / 2147483648.0;
            const double t = double(i) / rate;
            sourceLeft[i] = float(0.15 * std::sin(2.0 * 3.14159265358979 * 220.0 * t) + 0.05 * noise);
            sourceRight[i] = float(0.15 * std::sin(2.0 * 3.14159265358979 * 3300.0 * t) - 0.05 * noise);
        }
    }

    void nextBlock()
    {
        if (position + block > frames)
            position = 0;
        std::memcpy(workLeft.data(), sourceLeft.data() + position, block * sizeof(float));
        std::memcpy(workRight.data(), sourceRight.data() + position, block * sizeof(float));
        position += block;
    }

    float *left() { return workLeft.data(); }
    float *right() { return workRight.data(); }

private:
    size_t frames, block, position = 0;
    std::vector<float> sourceLeft, sourceRight, workLeft, workRight;
};

// ns_per_frame: CPU time per stereo frame (printed with its unit, e.g. "26.9ns");
// realtime: seconds of audio processed per second of one core (printed as a rate, "842/s").
inline void setFrameCounters(benchmark::State &state, int blockFrames, float rate)
{
    const double framesPerIteration = double(blockFrames);
    state.counters["ns_per_frame"] = benchmark::Counter(
        framesPerIteration, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["realtime"] = benchmark::Counter(framesPerIteration / rate,
                                                    benchmark::Counter::kIsIterationInvariantRate);
}
