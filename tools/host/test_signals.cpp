#include "test_signals.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double ln2 = 0.69314718055994530942;
constexpr double ln10 = 2.30258509299404568402;

// The phase of a tone of frequency f at frame i, in turns: the whole turns are taken off exactly
// by fmod before the division, so the phase stays precise over long signals.
double phaseInTurns(double frequency, size_t frame, unsigned sampleRate)
{
    return std::fmod(frequency * (double)frame, (double)sampleRate) / sampleRate;
}

WavAudio silence(const SignalRecipe &recipe)
{
    WavAudio audio;
    audio.sampleRate = recipe.sampleRate;
    const double frames = std::floor(recipe.seconds * recipe.sampleRate);
    audio.channels.assign(2, std::vector<float>(frames > 0 ? (size_t)frames : 0, 0.f));
    return audio;
}

void setFrame(WavAudio &audio, size_t frame, double value)
{
    audio.channels[0][frame] = audio.channels[1][frame] = (float)value;
}

std::string format(const char *pattern, double a, double b)
{
    char text[128];
    std::snprintf(text, sizeof(text), pattern, a, b);
    return text;
}

}  // namespace

double sineOfTurns(double turns)
{
    // Fold the phase into -1/4..1/4 turn, where the Taylor series of the sine to the 23rd power
    // is exact to below 1e-16.
    double f = turns - std::floor(turns);  // 0..1
    if (f >= 0.5)
        f -= 1.0;  // -0.5..0.5
    if (f > 0.25)
        f = 0.5 - f;
    else if (f < -0.25)
        f = -0.5 - f;
    const double x = 2.0 * pi * f;
    const double x2 = x * x;
    double term = 1.0;
    for (int n = 23; n > 1; n -= 2)
        term = 1.0 - x2 / ((double)n * (n - 1)) * term;
    return x * term;
}

void EditorTone::fill(std::vector<float> &block)
{
    const double amplitude = amplitudeOfDecibels(-6.0);
    for (float &s : block) {
        s = (float)(amplitude * sineOfTurns((double)(sample * 1000 % 44100) / 44100.0));
        sample = (sample + 1) % 441;
    }
}

double amplitudeOfDecibels(double db)
{
    // e^y with y = db / 20 * ln 10: y = k ln 2 + r with |r| <= ln 2 / 2, e^r by its series.
    const double y = db / 20.0 * ln10;
    const double k = std::floor(y / ln2 + 0.5);
    const double r = y - k * ln2;
    double sum = 1.0;
    for (int n = 24; n >= 1; --n)
        sum = 1.0 + r / n * sum;
    return std::ldexp(sum, (int)k);
}

long samplesFor(double milliseconds, unsigned sampleRate)
{
    return (long)std::floor(milliseconds * 0.001 * sampleRate + 0.5);
}

WavAudio makeSine(const SignalRecipe &recipe)
{
    WavAudio audio = silence(recipe);
    const double a = amplitudeOfDecibels(recipe.levelDb);
    for (size_t i = 0; i < audio.frames(); ++i)
        setFrame(audio, i, a * sineOfTurns(phaseInTurns(recipe.frequency, i, recipe.sampleRate)));
    return audio;
}

WavAudio makeToneBursts(const SignalRecipe &recipe, double burstMs)
{
    WavAudio audio = silence(recipe);
    const double a = amplitudeOfDecibels(recipe.levelDb);
    const size_t burst = (size_t)samplesFor(burstMs, recipe.sampleRate);
    const size_t period = recipe.sampleRate;
    for (size_t start = period / 2; start < audio.frames(); start += period) {
        for (size_t k = 0; k < burst && start + k < audio.frames(); ++k)
            setFrame(audio, start + k, a * sineOfTurns(phaseInTurns(recipe.frequency, k, recipe.sampleRate)));
    }
    return audio;
}

WavAudio makeSquare(const SignalRecipe &recipe)
{
    WavAudio audio = silence(recipe);
    const double a = amplitudeOfDecibels(recipe.levelDb);
    for (size_t i = 0; i < audio.frames(); ++i) {
        setFrame(audio, i, phaseInTurns(recipe.frequency, i, recipe.sampleRate) < 0.5 ? a : -a);
    }
    return audio;
}

WavAudio makeInterSamplePeaks(const SignalRecipe &recipe)
{
    WavAudio audio = silence(recipe);
    const double a = amplitudeOfDecibels(recipe.levelDb);
    // sin(n * pi/2 + pi/4) is +0.707, +0.707, -0.707, -0.707, ...: scaled so the samples sit at
    // exactly +-a, the waveform itself reaches a * sqrt(2) halfway between them.
    for (size_t i = 0; i < audio.frames(); ++i)
        setFrame(audio, i, (i % 4) < 2 ? a : -a);
    return audio;
}

WavAudio makeNoiseOverTriangle(unsigned sampleRate, size_t channelCount, size_t frames)
{
    WavAudio audio;
    audio.sampleRate = sampleRate;
    audio.channels.assign(channelCount, std::vector<float>(frames));
    uint32_t seed = 12345;
    for (size_t f = 0; f < frames; ++f) {
        long phase = (long)(f % 400);
        float triangle = (float)(phase < 200 ? phase - 100 : 300 - phase) / 200.f;  // -0.5..0.5
        for (size_t c = 0; c < channelCount; ++c) {
            seed = seed * 1664525u + 1013904223u;
            float noise = (float)(seed >> 9) / 8388608.f - 1.f;  // -1..1
            audio.channels[c][f] = triangle * (c % 2 ? -0.6f : 0.8f) + noise * 0.25f;
        }
    }
    return audio;
}

std::vector<ProgrammeSignal> makeProgramme(unsigned sampleRate, double seconds)
{
    // The sine and the bursts sit at the VU meter's default reference level; the bursts use
    // 5 kHz as programme meter tests do; the square and the inter-sample signal reach full scale.
    SignalRecipe reference;
    reference.sampleRate = sampleRate;
    reference.seconds = seconds;
    SignalRecipe burst = reference;
    burst.frequency = 5000.0;
    SignalRecipe fullScale = reference;
    fullScale.levelDb = 0.0;

    std::vector<ProgrammeSignal> programme;
    programme.push_back(
        {"sine", format("%g Hz sine at %g dBFS", reference.frequency, reference.levelDb), makeSine(reference)});
    for (double ms : {5.0, 10.0, 100.0})
        programme.push_back({format("burst%g", ms, 0),
                             format("%g ms bursts of %g Hz", ms, burst.frequency) +
                                 format(" at %g dBFS, one per second", burst.levelDb, 0),
                             makeToneBursts(burst, ms)});
    programme.push_back(
        {"square", format("%g Hz square at %g dBFS", fullScale.frequency, fullScale.levelDb), makeSquare(fullScale)});
    programme.push_back(
        {"intersample",
         format("samples at %g dBFS, waveform peaks 3.01 dB higher (%g Hz)", fullScale.levelDb, sampleRate / 4.0),
         makeInterSamplePeaks(fullScale)});
    return programme;
}
