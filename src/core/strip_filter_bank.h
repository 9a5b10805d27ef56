// The strip filters in the signal path: a high-pass (12 or 24 dB/octave) and a low-pass
// (6 or 18 dB/octave) for two channels, processed in place in 64-sample chunks.
// Threads: process [audio-thread] (under the effect's lock); setters, update, reset,
// setSampleRate [any-thread] that holds the effect's lock.
#pragma once

#include "filter_section.h"

class StripFilterBank {
public:
    StripFilterBank();

    // The rate the audio path runs at (8 kHz to 768 kHz, else 44.1 kHz); recomputes every section.
    void setSampleRate(float rate);
    void update();  // rebuild every section from the stored values
    void reset();   // clear the running state

    // Each setter takes the normalised parameter value and touches only the sections it changes.
    void setHPOn(float value);
    void setHPSlope(float value);
    void setHPFreq(float value);
    void setLPOn(float value);
    void setLPSlope(float value);
    void setLPFreq(float value);

    void process(float *left, float *right, int frames);

    // The stored normalised values, which the effect copies into its parameters at construction.
    float hpOnValue() const;
    float hpSlopeValue() const;
    float hpFreqValue() const;
    float lpOnValue() const;
    float lpSlopeValue() const;
    float lpFreqValue() const;

private:
    static constexpr int chunkFrames = 64;    // frames filtered per pass through the work buffers
    static constexpr int bufferFrames = 128;  // size of each work buffer

    void processChunk(float *left, float *right, int frames);
    void returnNonFiniteSectionsToRest();

    float sampleRate = 44100.0f;  // Hz, as processingRateFor gives it

    // Stored normalised values and their decoded forms.
    float hpOnNormalised = 0.0f, hpSlopeNormalised = 0.0f, hpFreqNormalised = 0.0f;
    float lpOnNormalised = 0.0f, lpSlopeNormalised = 0.0f, lpFreqNormalised = 0.0f;
    int hpOn = 0;
    int hpSlope = 0;       // 0 = 12 dB/octave, 1 = 24
    float hpFreq = 20.0f;  // Hz
    int lpOn = 0;
    int lpSlope = 0;          // 0 = 6 dB/octave, 1 = 18
    float lpFreq = 30000.0f;  // Hz

    // Mix of the low-pass output and its own input near half the rate; they add up to 1.
    float lpWeight = 1.0f;
    float dryWeight = 0.0f;

    // Index 0 is the left channel, 1 the right.
    FilterSection hpStage1[2];
    FilterSection hpStage2[2];
    FilterSection lpStage1[2];
    FilterSection lpStage2[2];

    float hpBuffer[2][bufferFrames] = {};
    float lpBuffer[2][bufferFrames] = {};
};
