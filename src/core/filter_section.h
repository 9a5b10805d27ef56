// One double-precision filter section in direct form I: a second-order high-pass or low-pass
// (RBJ-style, with Q lowered near half the rate) or a one-pole low-pass.
// Threads: process [audio-thread] (under the effect's lock); everything else [any-thread] that
// holds the effect's lock.
#pragma once

class FilterSection {
public:
    // Section types, numbered as the product numbers them.
    static constexpr int HighPass = 1;
    static constexpr int LowPass = 8;
    static constexpr int OnePoleLowPass = 9;

    FilterSection() = default;

    // Each setter recomputes the coefficients only when its value actually changes.
    void setSampleRate(double rate);
    void setEnabled(bool on);
    // Type, frequency (Hz) and Q together, with at most one recomputation.
    void setShape(int type, double frequency, double q);

    void recompute();   // coefficients from the current type, frequency, Q, rate and enable
    void clearState();  // back to rest: x1, x2, y1, y2 = 0

    // Filters the samples in place; a disabled section clears its state and leaves them alone.
    void process(float *samples, int count);
    // The same for a pair of sections (left and right channel) in one interleaved loop: the
    // results are those of two process() calls, the two recursions just overlap in time.
    static void processPair(FilterSection &first, float *firstSamples, FilterSection &second, float *secondSamples,
                            int count);

    bool stateIsFinite() const;
    bool enabled() const { return isEnabled; }
    int type() const { return sectionType; }
    double frequency() const { return frequencyHz; }
    double q() const { return quality; }

private:
    double sampleRate = 44100.0;  // Hz
    int sectionType = HighPass;
    double frequencyHz = 1000.0;  // corner frequency, Hz
    double quality = 0.5;         // Q before the correction near half the rate
    bool isEnabled = false;

    // Normalised coefficients (a0 divided out); identity while disabled.
    double a1 = 0.0, a2 = 0.0, b0 = 1.0, b1 = 0.0, b2 = 0.0;
    // Last two inputs and outputs.
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
};
