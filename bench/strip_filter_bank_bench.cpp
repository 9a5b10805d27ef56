// Cost of the strip filter bank per stereo frame, at the rates and block sizes hosts use.
// Counters: ns_per_frame (CPU time per stereo frame, in ns) and realtime (seconds of audio one
// core filters per second).
#include "bench_material.h"
#include "core/strip_filter_bank.h"

#include <benchmark/benchmark.h>

namespace {

enum FilterSetup { HP12LP6 = 0, HP24LP18 = 1 };

void configure(StripFilterBank &bank, int setup, float rate)
{
    bank.setSampleRate(rate);
    bank.setHPOn(1.0f);
    bank.setLPOn(1.0f);
    bank.setHPSlope(setup == HP24LP18 ? 1.0f : 0.0f);
    bank.setLPSlope(setup == HP24LP18 ? 1.0f : 0.0f);
    bank.setHPFreq(0.5f);   // 200 Hz
    bank.setLPFreq(0.75f);  // about 9.5 kHz
    bank.update();
    bank.reset();
}

void BM_StripFilterBank(benchmark::State &state)
{
    const int setup = int(state.range(0));
    const float rate = float(state.range(1));
    const int block = int(state.range(2));
    StripFilterBank bank;
    configure(bank, setup, rate);
    BenchMaterial material(rate, block);
    for (auto _ : state) {
        material.nextBlock();
        bank.process(material.left(), material.right(), block);
        benchmark::DoNotOptimize(material.left());
        benchmark::ClobberMemory();
    }
    setFrameCounters(state, block, rate);
    state.SetLabel(setup == HP24LP18 ? "HP24+LP18" : "HP12+LP6");
}

BENCHMARK(BM_StripFilterBank)
    ->ArgNames({"setup", "rate", "block"})
    ->ArgsProduct({{HP12LP6, HP24LP18}, {44100, 96000, 192000}, {32, 512}});

}  // namespace
