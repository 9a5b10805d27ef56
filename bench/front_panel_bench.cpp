// Cost of one idle of the effect's own editor with every needle of the shown front panel
// moving: the panel reads the engine into its two views, then the frame redraws the
// invalidated areas (cairo, offscreen parent). The audio block that gives each idle new
// readings runs outside the timing.
// Argument: the meter type (0 VU, 1 RMS, 2 PPM).
// Counter: core_percent_at_30_idles (CPU share of one core at 30 idles per second, in %).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "params/parameter_table.h"
#include "core/templete.h"
#include "editor/editor_factory.h"
#include "ui/offscreen_parent.h"
#include "vst/aeff_editor.h"

namespace {

constexpr double kIdlesPerSecond = 30;
constexpr int kBlockFrames = 1470;  // 44.1 kHz / 30 idles

VstIntPtr VSTCALLBACK quietHost(AEffect *, VstInt32 opcode, VstInt32, VstIntPtr, void *, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

// A 1 kHz sine whose level sweeps -40 .. +6 dB over a few seconds, one block per idle.
class SweepingSignal {
public:
    void next(Templete &effect)
    {
        sweep += 0.15;
        const double amplitude = std::pow(10.0, ((0.5 + 0.5 * std::sin(sweep)) * 46.0 - 40.0) / 20.0);
        for (int i = 0; i < kBlockFrames; ++i) {
            left[i] = (float)(amplitude * std::sin(phase));
            right[i] = (float)(0.7 * amplitude * std::sin(phase * 1.01));
            phase += 2 * 3.14159265358979 * 1000.0 / 44100.0;
        }
        float *inputs[2] = {left.data(), right.data()};
        float *outputs[2] = {out0.data(), out1.data()};
        effect.processReplacing(inputs, outputs, kBlockFrames);
    }

private:
    std::vector<float> left = std::vector<float>(kBlockFrames), right = std::vector<float>(kBlockFrames);
    std::vector<float> out0 = std::vector<float>(kBlockFrames), out1 = std::vector<float>(kBlockFrames);
    double phase = 0, sweep = 0;
};

void BM_FrontPanelIdle(benchmark::State &state)
{
    OffscreenParent parent;
    registerOffscreenParent(&parent);
    {
        Templete effect(quietHost, createTemepleteEditor);
        effect.dispatcher(effSetSampleRate, 0, 0, nullptr, 44100.f);
        effect.dispatcher(effMainsChanged, 0, 1, nullptr, 0.f);
        effect.setParameter(kMeter, (float)state.range(0) * 0.5f);
        effect.setParameter(kHold, 1.f);
        effect.setParameter(kStrips, 1.f);
        AEffEditor *editor = effect.getEditor();
        if (!editor || !editor->open(&parent)) {
            state.SkipWithError("the editor did not open");
        } else {
            SweepingSignal signal;
            editor->idle();
            for (auto _ : state) {
                state.PauseTiming();
                signal.next(effect);
                state.ResumeTiming();
                editor->idle();
            }
            editor->close();
        }
    }
    unregisterOffscreenParent(&parent);
    // CPU time per idle x 30 idles per second x 100 %.
    state.counters["core_percent_at_30_idles"] = benchmark::Counter(
        (double)state.iterations() / (kIdlesPerSecond * 100.0),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FrontPanelIdle)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace
