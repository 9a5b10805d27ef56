#include "test_signals.h"

#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

double amplitude(double levelDb)
{
    return std::pow(10.0, levelDb / 20.0);
}

WavData silence(const SignalSpec &spec)
{
    WavData audio;
    audio.channels = 2;
    audio.sampleRate = spec.sampleRate;
    const double frames = std::floor(spec.seconds * spec.sampleRate);
    audio.samples.assign(frames > 0 ? size_t(frames) * 2 : 0, 0.0f);
    return audio;
}

void setFrame(WavData &audio, size_t frame, double value)
{
    audio.samples[2 * frame] = audio.samples[2 * frame + 1] = static_cast<float>(value);
}

}  // namespace

int samplesFor(double milliseconds, int sampleRate)
{
    return int(std::floor(milliseconds * 0.001 * sampleRate + 0.5));
}

WavData makeSine(const SignalSpec &spec)
{
    WavData audio = silence(spec);
    const double a = amplitude(spec.levelDb);
    for (size_t i = 0; i < audio.frames(); ++i)
        setFrame(audio, i, a * std::sin(2.0 * pi * spec.frequency * double(i) / spec.sampleRate));
    return audio;
}

WavData makeToneBursts(const SignalSpec &spec, double burstMs)
{
    WavData audio = silence(spec);
    const double a = amplitude(spec.levelDb);
    const size_t burst = size_t(samplesFor(burstMs, spec.sampleRate));
    const size_t period = size_t(spec.sampleRate);
    for (size_t start = period / 2; start < audio.frames(); start += period) {
        for (size_t k = 0; k < burst && start + k < audio.frames(); ++k)
            setFrame(audio, start + k, a * std::sin(2.0 * pi * spec.frequency * double(k) / spec.sampleRate));
    }
    return audio;
}

WavData makeSquare(const SignalSpec &spec)
{
    WavData audio = silence(spec);
    const double a = amplitude(spec.levelDb);
    for (size_t i = 0; i < audio.frames(); ++i) {
        const double cycles = spec.frequency * double(i) / spec.sampleRate;
        setFrame(audio, i, cycles - std::floor(cycles) < 0.5 ? a : -a);
    }
    return audio;
}

WavData makeInterSamplePeaks(const SignalSpec &spec)
{
    WavData audio = silence(spec);
    const double a = amplitude(spec.levelDb);
    // sin(n * pi/2 + pi/4) is +0.707, +0.707, -0.707, -0.707, ...: scaled so the samples sit at
    // exactly +-a, the waveform itself reaches a * sqrt(2) halfway between them.
    for (size_t i = 0; i < audio.frames(); ++i)
        setFrame(audio, i, (i % 4) < 2 ? a : -a);
    return audio;
}
