// Test signals for the demo and for checking the meters by ear and eye: a steady sine at the
// reference level, tone bursts, a square wave and a signal whose peaks fall between samples.
// Every signal is stereo with the same material on both channels.
#pragma once

#include "wav_io.h"

struct SignalSpec {
    int sampleRate = 44100;
    double seconds = 5.0;
    double frequency = 1000.0;  // Hz
    double levelDb = -18.0;     // peak level of the tone (dBFS); for the inter-sample signal
                                // the level of its sample values
};

// Steady sine starting at phase 0.
WavData makeSine(const SignalSpec &spec);

// Bursts of the sine (starting at phase 0) lasting burstMs, rounded to whole samples, one per
// second, the first after half a second of silence; silence between them.
WavData makeToneBursts(const SignalSpec &spec, double burstMs);

// Square wave: the first half of every period at +level, the second at -level.
WavData makeSquare(const SignalSpec &spec);

// A sine at a quarter of the sample rate with 45 degrees of phase: the samples alternate in
// pairs between +level and -level, while the waveform between them peaks 3.01 dB higher.
WavData makeInterSamplePeaks(const SignalSpec &spec);

// The number of whole samples of a duration in ms (halves round up).
int samplesFor(double milliseconds, int sampleRate);
