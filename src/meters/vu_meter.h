// VUmeter: two modelled VU needles (a second-order low-pass whose damping follows the
// deflection), a hold value per needle and the shared frame (over indicator, display delay).
// Thread contracts as MeterEngine.
#pragma once

#include "meters/meter_engine_frame.h"
#include "meters/peak_follower.h"

// One second-order low-pass section of the needle model.
struct NeedleSection {
    double designRate = 44100; // Hz
    double f0 = 2.0;           // corner frequency, Hz
    double q = 0.68;           // quality
    double epsilon = 1e-12;    // anti-denormal offset, sign flipped every step
    double a0 = 1, a1 = 0, a2 = 0, b0 = 0, b1 = 0, b2 = 0;
    double lastInput = 0, x1 = 0, x2 = 0, lastOutput = 0, y1 = 0, y2 = 0;

    void design(double rate, double cornerHz, double quality);
    double step(double x)
    {
        epsilon = -epsilon;
        const double xe = x + epsilon;
        const double y = b0 * xe + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = xe;
        y2 = y1;
        y1 = y + epsilon;
        lastInput = xe;
        lastOutput = y;
        return y;
    }
    void takeStateFrom(const NeedleSection &other)
    {
        x1 = other.x1;
        x2 = other.x2;
        lastOutput = other.lastOutput;
        y1 = other.y1;
        y2 = other.y2;
    }
    void clearState() { lastInput = x1 = x2 = lastOutput = y1 = y2 = 0; }
};

// Sixteen sections from the top damping (at rest) to the bottom one (full deflection); the
// needle's own position picks the section for the next sample.
struct NeedleBank {
    static constexpr int kSections = 16;
    double top = 0.68;
    double bottom = 0.55;
    int current = 0;
    int previous = 0;
    NeedleSection sections[kSections];

    void design(double rate, double cornerHz, double topQ, double bottomQ);
};

// A needle bank for the length of one block: the current section's coefficients, offset and
// state live in locals, so the step's only dependence on the section index is a well-predicted
// branch (the index changes only when the needle crosses into another sixteenth of its travel).
// The sections' stored values after finish() are those of stepping the bank sample by sample:
// the section just used keeps its state, the next one takes it over (x1, x2, last output, y1,
// y2) and keeps its own offset and last input. Thread: audio.
class NeedleRun {
public:
    explicit NeedleRun(NeedleBank &bank) : bank(&bank), current(bank.current), previous(bank.previous)
    {
        const NeedleSection &s = bank.sections[current];
        load(s);
        x1 = s.x1;
        x2 = s.x2;
        y1 = s.y1;
        y2 = s.y2;
        lastOutput = s.lastOutput;
    }

    double step(double u)
    {
        epsilon = -epsilon;
        const double xe = u + epsilon;
        const double y = b0 * xe + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = xe;
        y2 = y1;
        y1 = y + epsilon;
        lastInput = xe;
        lastOutput = y;
        // Clamped so that a non-finite output also selects a valid section (section 0).
        float b = static_cast<float>(y);
        b = b > 0.f ? (b < 1.f ? b : 1.f) : 0.f;
        const int next = static_cast<int>(15.0f * b + 0.5f);
        previous = current;
        if (next != current)
            switchTo(next);
        return y;
    }

    // Stores the running section back into the bank. Thread: audio, after the block.
    void finish()
    {
        store(bank->sections[current]);
        bank->current = current;
        bank->previous = previous;
    }

private:
    void load(const NeedleSection &s)
    {
        b0 = s.b0;
        b1 = s.b1;
        b2 = s.b2;
        a1 = s.a1;
        a2 = s.a2;
        epsilon = s.epsilon;
        lastInput = s.lastInput;
    }
    void store(NeedleSection &s) const
    {
        s.epsilon = epsilon;
        s.lastInput = lastInput;
        s.x1 = x1;
        s.x2 = x2;
        s.lastOutput = lastOutput;
        s.y1 = y1;
        s.y2 = y2;
    }
    void switchTo(int next)
    {
        store(bank->sections[current]);
        current = next;
        load(bank->sections[current]);
    }

    NeedleBank *bank;
    int current, previous;
    double b0, b1, b2, a1, a2, epsilon, lastInput;
    double x1, x2, y1, y2, lastOutput;
};

class VUmeter : public MeterEngineFrame {
public:
    explicit VUmeter(AudioEffect *owner);

    void setSetting(VstInt32 index, float value) override;
    void getSettingText(VstInt32 index, char *text) override;
    void reset() override;
    void process(float *channel1, float *channel2, VstInt32 frames) override;

private:
    friend struct VUChannels;
    void redesignNeedles();
    void restState();

    std::atomic<double> inverseGain_{1.0};     // 1/g, g = 10^(r/20)
    std::atomic<double> integrationMs_{350.1}; // T = 1.167 · shown time
    std::atomic<int> needleType_{0};
    std::atomic<double> overSelector_{1.0};    // q
    HoldTime hold_;                            // H and the hold length
    std::atomic<double> holdFall_{0};          // kH, recomputed by reset()
    std::atomic<bool> redesignPending_{false}; // needle design applied by the audio thread

    NeedleBank banks_[2];                      // audio thread (and reset)
};
