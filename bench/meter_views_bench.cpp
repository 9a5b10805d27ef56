// Cost of one editor idle with every needle moving: new readings into the two views of each
// meter type (VU, RMS, PPM), then the frame's redraw of the invalidated areas over the panels'
// faces, drawn offscreen with cairo.
// Counters: core_percent_at_30_idles (CPU share of one core at 30 idles per second, in %).
// BM_MeterViewsWholeViews redraws the whole views instead of the needles' areas, for comparison.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "display/zem_meter2.h"
#include "controls/image_numbers.h"
#include "ui/bitmap.h"
#include "ui/frame.h"

using namespace VSTGUI;

namespace {

constexpr double kIdlesPerSecond = 30;

struct MeterScene {
    MeterScene()
    {
        frame = new CFrame(CRect(0, 0, 586, 3 * 130), nullptr, nullptr);
        const int faces[3] = {kImageVUFront, kImageRMSFront, kImagePPMFront};
        for (int row = 0; row < 3; ++row) {
            auto *panel = new CViewContainer(CRect(0, 130 * row, 586, 130 * row + 130));
            auto *face = new CBitmap(faces[row]);
            panel->setBackground(face);
            face->forget();
            frame->addView(panel);
            for (int channel = 0; channel < 2; ++channel) {
                CPoint at(30 + 280 * channel, 4);
                CZEMMeter2 *view = row == 0   ? static_cast<CZEMMeter2 *>(new CZEMVUMeter2(at, nullptr))
                                   : row == 1 ? static_cast<CZEMMeter2 *>(new CZEMRMSMeter2(at, nullptr))
                                              : static_cast<CZEMMeter2 *>(new CZEMPPMMeter2(at, nullptr));
                view->setHoldVisible(true);
                panel->addView(view);
                views.push_back(view);
            }
        }
        frame->idle();
    }
    ~MeterScene() { frame->forget(); }

    // Readings that sweep the scales: every needle moves a few degrees per idle.
    void refresh()
    {
        phase += 0.1;
        for (size_t i = 0; i < views.size(); ++i) {
            const double swing = 0.5 + 0.5 * std::sin(phase + 0.7 * (double)i);
            const float amplitude = (float)std::pow(10.0, (swing * 46.0 - 40.0) / 20.0);
            if (auto *vu = dynamic_cast<CZEMVUMeter2 *>(views[i])) {
                vu->setNeedleValue((float)(swing * 1.4));
                vu->setHoldValue((float)(1.2 + 0.2 * std::sin(phase * 0.3)));
            } else if (auto *rms = dynamic_cast<CZEMRMSMeter2 *>(views[i])) {
                rms->setPeakValue(amplitude);
                rms->setRMSValue(amplitude * 0.5f);
                rms->setHoldValue(amplitude * 1.5f);
            } else if (auto *ppm = static_cast<CZEMPPMMeter2 *>(views[i])) {
                ppm->setPeakValue(amplitude);
                ppm->setHoldValue(amplitude * 1.5f);
            }
        }
    }

    CFrame *frame = nullptr;
    std::vector<CZEMMeter2 *> views;
    double phase = 0;
};

void setShareCounter(benchmark::State &state)
{
    // CPU time per idle x 30 idles per second x 100 %.
    state.counters["core_percent_at_30_idles"] = benchmark::Counter(
        (double)state.iterations() / (kIdlesPerSecond * 100.0),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_MeterViewsIdle(benchmark::State &state)
{
    MeterScene scene;
    for (auto _ : state) {
        scene.refresh();
        scene.frame->idle();
    }
    setShareCounter(state);
}
BENCHMARK(BM_MeterViewsIdle)->Unit(benchmark::kMicrosecond);

void BM_MeterViewsWholeViews(benchmark::State &state)
{
    MeterScene scene;
    for (auto _ : state) {
        scene.refresh();
        for (CZEMMeter2 *view : scene.views)
            view->invalid();
        scene.frame->idle();
    }
    setShareCounter(state);
}
BENCHMARK(BM_MeterViewsWholeViews)->Unit(benchmark::kMicrosecond);

}  // namespace
