// The strip filters in the signal path: a high-pass (12 or 24 dB/octave) and a low-pass
// (6 or 18 dB/octave) for two channels, processed in place in 64-sample chunks.
// Threads: process - audio (under the effect's lock); setters, update, reset, setSampleRate -
// any thread that holds the effect's lock.
#pragma once

class StripFilterBank {
public:
    StripFilterBank();

    void setSampleRate(float rate);  // limited to 44100..192000 Hz; recomputes every section
    void update();                   // rebuild every section from the stored values
    void reset();                    // clear the running state

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
    // Filled in by the implementation (sections, weights, work buffers).
};
