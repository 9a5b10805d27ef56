// The oversampled ("precise") peak stage shared by the three engines. It keeps the last 64
// samples of both channels and outputs, per channel, the signed value of largest magnitude
// among the sample written 32 frames ago (h[31], where h[0] is the oldest of the 64) and the
// points interpolated just after it (31.25, 31.5, 31.75 below 88.2 kHz; 31.5 below 176.4 kHz;
// none above). Every output is thus the peak of one moment, 32 frames late in every band; the
// plain sample h[31] is available time-aligned for averaging. Thread: audio (clear: see owner).
#pragma once

enum class PreciseBand { Four, Two, None };

// Interpolation coefficients, rounded to 7 decimals; prepared once at library load.
struct PreciseTables {
    double four[3][64]; // points 31.75, 31.5, 31.25 (in this order of comparison)
    double two[64];     // point 31.5, Blackman-Harris window
};
const PreciseTables &preciseTables();

PreciseBand preciseBandFor(float sampleRate);

class PreciseStage {
public:
    static constexpr int kLength = 64;
    static constexpr int kPlainTap = 31; // h[31]

    void clear();
    // Writes one frame and replaces peak1/peak2 by the stage's outputs; plain1/plain2 receive
    // the time-aligned plain samples.
    inline void step(const PreciseTables &tables, PreciseBand band, double &peak1, double &peak2, double &plain1,
                     double &plain2);
    bool isFinite() const;

private:
    inline static double pick(const PreciseTables &tables, PreciseBand band, const double *h);
    // Each channel's 64 samples are kept twice in a row, so h[k] = history[writeIndex + k].
    double history_[2][2 * kLength] = {};
    int writeIndex_ = 0;
};

inline double PreciseStage::pick(const PreciseTables &tables, PreciseBand band, const double *h)
{
    double best = h[kPlainTap];
    if (band == PreciseBand::None)
        return best;
    if (band == PreciseBand::Two) {
        double sum = 0;
        for (int k = 0; k < kLength; ++k)
            sum += tables.two[k] * h[k];
        return (sum < 0 ? -sum : sum) > (best < 0 ? -best : best) ? sum : best;
    }
    for (int j = 0; j < 3; ++j) {
        const double *c = tables.four[j];
        double sum = 0;
        for (int k = 0; k < kLength; ++k)
            sum += c[k] * h[k];
        if ((sum < 0 ? -sum : sum) > (best < 0 ? -best : best))
            best = sum;
    }
    return best;
}

inline void PreciseStage::step(const PreciseTables &tables, PreciseBand band, double &peak1, double &peak2,
                               double &plain1, double &plain2)
{
    history_[0][writeIndex_] = history_[0][writeIndex_ + kLength] = peak1;
    history_[1][writeIndex_] = history_[1][writeIndex_ + kLength] = peak2;
    writeIndex_ = (writeIndex_ + 1) & (kLength - 1);
    const double *h1 = history_[0] + writeIndex_;
    const double *h2 = history_[1] + writeIndex_;
    plain1 = h1[kPlainTap];
    plain2 = h2[kPlainTap];
    peak1 = pick(tables, band, h1);
    peak2 = pick(tables, band, h2);
}
