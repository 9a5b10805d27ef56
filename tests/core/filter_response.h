// The analytic response of the strip filters, written from their definitions, for tests that
// measure the filter bank alone or inside the effect.
#pragma once

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <vector>

namespace filter_response {

using Complex = std::complex<double>;
constexpr double pi = 3.14159265358979323846;

struct Settings {
    float rate = 44100.0f;
    bool hpOn = false;
    bool hp24 = false;
    float hpFreq = 0.0f;  // normalised
    bool lpOn = false;
    bool lp18 = false;
    float lpFreq = 1.0f;  // normalised
};

// The rate the bank runs at: the host's own from 8 kHz to 768 kHz, else 44.1 kHz.
inline double bankRate(double hostRate)
{
    return std::isfinite(hostRate) && hostRate >= 8000.0 && hostRate <= 768000.0 ? hostRate : 44100.0;
}

// Second-order section with Q lowered near half the rate; highPass selects the numerator.
inline Complex secondOrder(bool highPass, double corner, double q, double fs, double f)
{
    const double fc = std::min(corner, 0.499 * fs);
    const double w0 = 2.0 * pi * fc / fs;
    const double qEff = highPass ? q * (1.0 - std::pow(fc / (0.5001 * fs), 6.0))
                                 : q * (1.0 - std::pow(fc / (0.50001 * fs), 8.0));
    const double alpha = std::sin(w0) / (2.0 * qEff);
    const double cw = std::cos(w0);
    const double sign = highPass ? -1.0 : 1.0;
    // Numerator (1 -/+ cos) / 2 * (1 +/- 2 z^-1 + z^-2); denominator unnormalised.
    const double g = (1.0 + sign * -cw) / 2.0;
    const Complex zi = std::polar(1.0, -2.0 * pi * f / fs);
    const Complex num = g * (1.0 + 2.0 * sign * zi + zi * zi);
    const Complex den = (1.0 + alpha) - 2.0 * cw * zi + (1.0 - alpha) * zi * zi;
    return num / den;
}

inline Complex onePole(double corner, double fs, double f)
{
    const double k = 2.0 - std::cos(2.0 * pi * corner / fs);
    const double pole = k - std::sqrt(k * k - 1.0);
    const Complex zi = std::polar(1.0, -2.0 * pi * f / fs);
    return (1.0 - pole) / (1.0 - pole * zi);
}

inline Complex expectedResponse(const Settings &s, double f)
{
    const double fs = bankRate(s.rate);
    Complex h = 1.0;
    if (s.hpOn) {
        const double corner = std::min(std::max(20.0 * std::pow(100.0, s.hpFreq), 20.0), 2000.0);
        h *= secondOrder(true, 0.7 * corner, 0.5, fs, f);
        if (s.hp24)
            h *= secondOrder(true, 0.5 * corner, 0.5, fs, f);
    }
    const double corner = std::min(std::max(300.0 * std::pow(100.0, s.lpFreq), 300.0), 30000.0);
    double onePoleCorner = 1.2 * corner;
    double dry = 0.0;
    if (onePoleCorner > fs / 2.0) {
        dry = std::pow((onePoleCorner - fs / 2.0) / (36000.0 - fs / 2.0), 1.41);
        onePoleCorner = fs / 2.0;
    }
    Complex lowPass = 1.0;
    if (s.lpOn) {
        lowPass = onePole(onePoleCorner, fs, f);
        if (s.lp18) {
            const double q = 0.091 * std::log10(600000.0 / corner) + 0.4;
            lowPass *= secondOrder(false, std::min(1.4 * corner, fs), q, fs, f);
        }
    }
    return h * ((1.0 - dry) * lowPass + dry);
}

inline double decibels(double magnitude) { return 20.0 * std::log10(magnitude); }

// Hann-windowed single-frequency transform of a signal; window and phasor run as rotations.
inline Complex windowedTone(const std::vector<float> &x, size_t start, size_t length, double f, double fs)
{
    const Complex windowStep = std::polar(1.0, 2.0 * pi / double(length));
    const Complex toneStep = std::polar(1.0, -2.0 * pi * f / fs);
    Complex windowPhase = std::polar(1.0, pi / double(length));
    Complex tonePhase = std::polar(1.0, -2.0 * pi * f * double(start) / fs);
    Complex sum = 0.0;
    for (size_t i = 0; i < length; ++i) {
        const double w = 0.5 - 0.5 * windowPhase.real();
        sum += (w * double(x[start + i])) * tonePhase;
        windowPhase *= windowStep;
        tonePhase *= toneStep;
    }
    return sum;
}

}  // namespace filter_response
