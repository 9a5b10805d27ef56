#include "filter_section.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double twoPi = 6.283185307179586476925286766559;
// Added and removed again after every output: results below it collapse to zero, so the
// recursion never runs on subnormal numbers.
constexpr double denormalGuard = 1e-30;
}  // namespace

void FilterSection::setSampleRate(double rate)
{
    if (rate == sampleRate)
        return;
    sampleRate = rate;
    recompute();
}

void FilterSection::setEnabled(bool on)
{
    if (on == isEnabled)
        return;
    isEnabled = on;
    recompute();
}

void FilterSection::setShape(int type, double frequency, double q)
{
    if (type == sectionType && frequency == frequencyHz && q == quality)
        return;
    sectionType = type;
    frequencyHz = frequency;
    quality = q;
    recompute();
}

void FilterSection::recompute()
{
    a1 = a2 = b1 = b2 = 0.0;
    b0 = 1.0;
    if (!isEnabled)
        return;

    const double fs = sampleRate;
    const double fc = std::min(frequencyHz, 0.499 * fs);
    const double w = twoPi * fc / fs;
    const double s = std::sin(w);
    const double c = std::cos(w);

    switch (sectionType) {
    case HighPass: {
        const double qCorrected = quality * (1.0 - std::pow(fc / (0.5001 * fs), 6.0));
        const double alpha = s / (2.0 * qCorrected);
        const double a0 = 1.0 + alpha;
        a1 = -2.0 * c / a0;
        a2 = (1.0 - alpha) / a0;
        b0 = (1.0 + c) / 2.0 / a0;
        b1 = -(1.0 + c) / a0;
        b2 = b0;
        break;
    }
    case LowPass: {
        const double qCorrected = quality * (1.0 - std::pow(fc / (0.50001 * fs), 8.0));
        const double alpha = s / (2.0 * qCorrected);
        const double a0 = 1.0 + alpha;
        a1 = -2.0 * c / a0;
        a2 = (1.0 - alpha) / a0;
        b0 = (1.0 - c) / 2.0 / a0;
        b1 = (1.0 - c) / a0;
        b2 = b0;
        break;
    }
    case OnePoleLowPass: {
        // The one-pole works from the frequency itself, not from the limited fc.
        const double k = 2.0 - std::cos(twoPi * frequencyHz / fs);
        a1 = std::sqrt(k * k - 1.0) - k;
        b0 = 1.0 + a1;
        break;
    }
    default:
        break;  // unknown type: identity
    }
}

void FilterSection::clearState() { x1 = x2 = y1 = y2 = 0.0; }

bool FilterSection::stateIsFinite() const
{
    return std::isfinite(x1) && std::isfinite(x2) && std::isfinite(y1) && std::isfinite(y2);
}

void FilterSection::process(float *samples, int count)
{
    if (!isEnabled) {
        clearState();
        return;
    }
    // Work on locals and write the state back once.
    double sx1 = x1, sx2 = x2, sy1 = y1, sy2 = y2;
    const double cb0 = b0, cb1 = b1, cb2 = b2, ca1 = a1, ca2 = a2;
    for (int i = 0; i < count; ++i) {
        const double x = samples[i];
        double y = cb0 * x + cb1 * sx1 + cb2 * sx2 - ca1 * sy1 - ca2 * sy2;
        y += denormalGuard;
        y -= denormalGuard;
        sx2 = sx1;
        sx1 = x;
        sy2 = sy1;
        sy1 = y;
        samples[i] = static_cast<float>(y);
    }
    x1 = sx1;
    x2 = sx2;
    y1 = sy1;
    y2 = sy2;
}

void FilterSection::processPair(FilterSection &first, float *firstSamples, FilterSection &second, float *secondSamples,
                                int count)
{
    if (!first.isEnabled || !second.isEnabled) {
        first.process(firstSamples, count);
        second.process(secondSamples, count);
        return;
    }
    double ax1 = first.x1, ax2 = first.x2, ay1 = first.y1, ay2 = first.y2;
    double bx1 = second.x1, bx2 = second.x2, by1 = second.y1, by2 = second.y2;
    const double ab0 = first.b0, ab1 = first.b1, ab2 = first.b2, aa1 = first.a1, aa2 = first.a2;
    const double bb0 = second.b0, bb1 = second.b1, bb2 = second.b2, ba1 = second.a1, ba2 = second.a2;
    for (int i = 0; i < count; ++i) {
        const double xa = firstSamples[i];
        const double xb = secondSamples[i];
        double ya = ab0 * xa + ab1 * ax1 + ab2 * ax2 - aa1 * ay1 - aa2 * ay2;
        double yb = bb0 * xb + bb1 * bx1 + bb2 * bx2 - ba1 * by1 - ba2 * by2;
        ya += denormalGuard;
        yb += denormalGuard;
        ya -= denormalGuard;
        yb -= denormalGuard;
        ax2 = ax1;
        ax1 = xa;
        ay2 = ay1;
        ay1 = ya;
        bx2 = bx1;
        bx1 = xb;
        by2 = by1;
        by1 = yb;
        firstSamples[i] = static_cast<float>(ya);
        secondSamples[i] = static_cast<float>(yb);
    }
    first.x1 = ax1;
    first.x2 = ax2;
    first.y1 = ay1;
    first.y2 = ay2;
    second.x1 = bx1;
    second.x2 = bx2;
    second.y1 = by1;
    second.y2 = by2;
}
