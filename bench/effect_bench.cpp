// Cost of the whole effect per stereo frame, driven as a host drives it: the built plug-in is
// loaded by path, created through its entry point and run through processReplacing of its
// effect record. Paths: pass-through (Process off), trim, trim + filters (HP 24, LP 18); each
// with the VU, RMS and PPM engine, precise peaks off and on.
#include "bench_material.h"
#include "plugin_library.h"
#include "vst/aeffect.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

enum Path { PassThrough = 0, Trim = 1, TrimAndFilters = 2 };
enum Meter { VU = 0, RMS = 1, PPM = 2 };

// Parameter indices of the effect.
constexpr VstInt32 processIndex = 0, trimIndex = 1, meterIndex = 3, procFltIndex = 8;
constexpr VstInt32 hpOnIndex = 9, hpSlopeIndex = 10, hpFreqIndex = 11;
constexpr VstInt32 lpOnIndex = 12, lpSlopeIndex = 13, lpFreqIndex = 14;
constexpr VstInt32 rmsPreciseIndex = 80, vuPreciseIndex = 91, ppmPreciseIndex = 100;

// A host that answers the version query and nothing else; safe with a null effect pointer.
VstIntPtr VSTCALLBACK quietHost(AEffect *, VstInt32 opcode, VstInt32, VstIntPtr, void *, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

PluginLibrary &plugin()
{
    static PluginLibrary library(PluginLibrary::programFolder() + ZEM_PLUGIN_FILE);
    return library;
}

struct EffectCloser {
    void operator()(AEffect *effect) const
    {
        effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    }
};
using EffectHandle = std::unique_ptr<AEffect, EffectCloser>;

EffectHandle openEffect(float rate, int block, int path, int meter, bool precise)
{
    if (!plugin().loaded() || !plugin().entry())
        return nullptr;
    AEffect *effect = plugin().entry()(quietHost);
    if (!effect)
        return nullptr;
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, rate);
    effect->dispatcher(effect, effSetBlockSize, 0, block, nullptr, 0.0f);

    auto set = [effect](VstInt32 index, float value) { effect->setParameter(effect, index, value); };
    set(meterIndex, 0.5f * float(meter));
    set(rmsPreciseIndex, precise ? 1.0f : 0.0f);
    set(vuPreciseIndex, precise ? 1.0f : 0.0f);
    set(ppmPreciseIndex, precise ? 1.0f : 0.0f);
    set(processIndex, path == PassThrough ? 0.0f : 1.0f);
    set(trimIndex, 0.6f);  // +4 dB
    set(hpOnIndex, 1.0f);
    set(hpSlopeIndex, 1.0f);
    set(hpFreqIndex, 0.5f);
    set(lpOnIndex, 1.0f);
    set(lpSlopeIndex, 1.0f);
    set(lpFreqIndex, 0.75f);
    set(procFltIndex, path == TrimAndFilters ? 1.0f : 0.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    return EffectHandle(effect);
}

const char *pathName(int path) { return path == PassThrough ? "pass-through" : path == Trim ? "trim" : "trim+filters"; }

const char *meterName(int meter) { return meter == VU ? "VU" : meter == RMS ? "RMS" : "PPM"; }

void BM_Effect(benchmark::State &state)
{
    const int path = int(state.range(0));
    const int meter = int(state.range(1));
    const bool precise = state.range(2) != 0;
    const float rate = float(state.range(3));
    const int block = int(state.range(4));
    EffectHandle effect = openEffect(rate, block, path, meter, precise);
    if (!effect) {
        state.SkipWithError(("cannot load " + std::string(ZEM_PLUGIN_FILE) + ": " + plugin().error()).c_str());
        return;
    }
    BenchMaterial material(rate, block);
    std::vector<float> outLeft(static_cast<size_t>(block)), outRight(static_cast<size_t>(block));
    float *outputs[2] = {outLeft.data(), outRight.data()};
    for (auto _ : state) {
        material.nextBlock();
        float *inputs[2] = {material.left(), material.right()};
        effect->processReplacing(effect.get(), inputs, outputs, block);
        benchmark::DoNotOptimize(outputs[0]);
        benchmark::ClobberMemory();
    }
    setFrameCounters(state, block, rate);
    char label[64];
    std::snprintf(label, sizeof label, "%s %s precise %s", pathName(path), meterName(meter), precise ? "on" : "off");
    state.SetLabel(label);
}

BENCHMARK(BM_Effect)
    ->ArgNames({"path", "meter", "precise", "rate", "block"})
    ->ArgsProduct({{PassThrough, Trim, TrimAndFilters}, {VU, RMS, PPM}, {0, 1}, {44100, 96000, 192000}, {32, 512}});

}  // namespace
