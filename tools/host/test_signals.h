// Test material for the harness: the demo's programme (a steady sine at the VU reference level,
// tone bursts, a full-scale square and a signal whose peaks fall between samples) and the
// noise-over-triangle material of the end-to-end checks. Programme signals are stereo with the
// same material on both channels.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "wav_file.h"

struct SignalRecipe {
    unsigned sampleRate = 44100;
    double seconds = 5.0;
    double frequency = 1000.0;  // Hz
    double levelDb = -18.0;     // peak level of the tone (dBFS); for the inter-sample signal
                                // the level of its sample values
};

// Steady sine starting at phase 0.
WavAudio makeSine(const SignalRecipe &recipe);

// Bursts of the sine (starting at phase 0) lasting burstMs, rounded to whole samples, one per
// second, the first after half a second of silence; silence between them.
WavAudio makeToneBursts(const SignalRecipe &recipe, double burstMs);

// Square wave: the first half of every period at +level, the second at -level.
WavAudio makeSquare(const SignalRecipe &recipe);

// A sine at a quarter of the sample rate with 45 degrees of phase: the samples alternate in
// pairs between +level and -level, while the waveform between them peaks 3.01 dB higher.
// recipe.frequency is not used.
WavAudio makeInterSamplePeaks(const SignalRecipe &recipe);

// sin(2 pi turns) and 10^(db / 20), computed with plain arithmetic so that the Linux and the
// Windows builds make bit-identical files (their maths libraries differ in the last bit).
// Within a few parts in 1e15 of the exact values for levels down to -140 dB.
double sineOfTurns(double turns);
double amplitudeOfDecibels(double db);

// The 1 kHz tone at -6 dBFS the editor runs feed block after block: the phase in whole samples
// of the 441-sample period of 1 kHz at 44.1 kHz, the sine and the level from plain arithmetic,
// so that every build feeds the same samples.
class EditorTone {
public:
    void fill(std::vector<float> &block);

private:
    long sample = 0;
};

// The number of whole samples of a duration in ms (halves round up).
long samplesFor(double milliseconds, unsigned sampleRate);

// Deterministic pseudo-random noise over a slow triangle wave (400-frame period), a different
// mix on odd channels, within -1..1.
WavAudio makeNoiseOverTriangle(unsigned sampleRate, size_t channelCount, size_t frames);

struct ProgrammeSignal {
    std::string name;         // file name without ".wav"
    std::string description;  // one line for people
    WavAudio audio;
};

// The demo's programme, in playing order: sine, burst5, burst10, burst100, square, intersample.
std::vector<ProgrammeSignal> makeProgramme(unsigned sampleRate, double seconds);
