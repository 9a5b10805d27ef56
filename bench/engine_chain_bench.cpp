// The floor of the meters' per-sample recursions: the time of one step when every step waits for
// the one before, as the ballistics do (each sample's level starts from the last one's). The PPM
// step is the engine's own (PeakFollower::step, both channels in lanes), and so is the VU
// needle's (NeedlePair::step); the level recursion is that chain alone. cycles_per_step converts with the
// core clock measured in the same process by a chain of dependent integer additions (one cycle
// each on every x86-64 core), since a virtual machine often reads no cycle counter.
//     zem_bench --benchmark_filter=Chain
#include "meters/peak_follower.h"
#include "meters/vu_meter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr int kSteps = 4096;

// ns per core cycle: 64 dependent additions per pass, the fastest of several runs.
double nsPerCycle()
{
    static const double ns = [] {
        double best = 1e9;
        for (int run = 0; run < 20; ++run) {
            std::uint64_t x = 0;
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < 20000; ++i) {
                asm volatile(".rept 64\n\tadd $1, %0\n\t.endr" : "+r"(x));
            }
            const std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
            benchmark::DoNotOptimize(x);
            best = std::min(best, took.count() / (20000.0 * 64));
        }
        return best;
    }();
    return ns;
}

// Both channels' levels relative to the reference, from −20 dBFS Gaussian noise: channel 1 at
// 2i, channel 2 at 2i + 1.
const double *relativeLevels()
{
    static const std::vector<double> levels = [] {
        std::mt19937 random(20);
        std::normal_distribution<double> noise(0.0, 0.1);
        std::vector<double> v(2 * kSteps);
        for (double &x : v)
            x = std::fabs(noise(random));
        return v;
    }();
    return levels.data();
}

void setStepCounters(benchmark::State &state)
{
    state.counters["ns_per_step"] = benchmark::Counter(kSteps, benchmark::Counter::kIsIterationInvariantRate |
                                                                   benchmark::Counter::kInvert);
    // Inverted rate counters come out in seconds per step; this one in core cycles per step.
    state.counters["cycles_per_step"] = benchmark::Counter(
        kSteps * nsPerCycle() * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["ns_per_cycle"] = nsPerCycle();
}

// The PPM engine's ballistics, its coefficients at 48 kHz (rise 10 ms, return 2 s, hold 1 s).
void BM_ChainPPMFollowerStep(benchmark::State &state)
{
    const double *levels = relativeLevels();
    PeakFollower follower{_mm_set1_pd(1 - std::pow(0.01, 1 / 480.0)), _mm_set1_pd(1 - std::pow(0.0625, 1 / 96000.0)),
                          _mm_set1_pd(48000), LevelHoldLanes(LevelHold{{0, 0}, {0, 0}, {0, 0}})};
    nsPerCycle();
    for (auto _ : state) {
        for (int i = 0; i < kSteps; ++i)
            follower.step(_mm_loadu_pd(levels + 2 * i));
        benchmark::DoNotOptimize(follower.state.level);
        benchmark::DoNotOptimize(follower.state.hold);
    }
    setStepCounters(state);
}
BENCHMARK(BM_ChainPPMFollowerStep);

// The level recursion alone, as PeakFollower::step forms it: the comparison picks kA or kR,
// then flushTiny(level + (x − level)·k).
void BM_ChainPPMLevelRecursion(benchmark::State &state)
{
    const double *levels = relativeLevels();
    const __m128d rise = _mm_set1_pd(1 - std::pow(0.01, 1 / 480.0));
    const __m128d fall = _mm_set1_pd(1 - std::pow(0.0625, 1 / 96000.0));
    __m128d level = _mm_setzero_pd();
    nsPerCycle();
    for (auto _ : state) {
        for (int i = 0; i < kSteps; ++i) {
            const __m128d x = _mm_loadu_pd(levels + 2 * i);
            const __m128d coefficient = selectLanes(_mm_cmpgt_pd(x, level), rise, fall);
            level = flushTiny(_mm_add_pd(level, _mm_mul_pd(_mm_sub_pd(x, level), coefficient)));
        }
        benchmark::DoNotOptimize(level);
    }
    setStepCounters(state);
}
BENCHMARK(BM_ChainPPMLevelRecursion);

// The VU engine's needle step (NeedlePair::step, both needles in lanes): the second-order
// section y = b0·xe + b1·x1 + b2·x2 − a1·y1 − a2·y2 with the anti-denormal offset, and the
// section choice from the needle's position. The banks as the engine designs them at 48 kHz for
// a 300 ms type 2 needle; the steps of an iteration are one block.
void BM_ChainVUNeedleStep(benchmark::State &state)
{
    const double *levels = relativeLevels();
    NeedleBank banks[2];
    for (NeedleBank &bank : banks)
        bank.design(48000, 857.6 / 310, 0.68, 0.55);
    NeedleLanes stored = {};  // at rest, section 0 current with the designed offset
    stored.epsilon = _mm_set1_pd(banks[0].sections[0].epsilon);
    stored.selectFirstSections(banks, needleSectionStarts());
    nsPerCycle();
    for (auto _ : state) {
        NeedlePair needles(stored, banks, needleSectionStarts());
        __m128d y = _mm_setzero_pd();
        for (int i = 0; i < kSteps; ++i)
            y = needles.step(_mm_loadu_pd(levels + 2 * i));
        needles.finish(stored);
        benchmark::DoNotOptimize(y);
    }
    setStepCounters(state);
}
BENCHMARK(BM_ChainVUNeedleStep);

}  // namespace
