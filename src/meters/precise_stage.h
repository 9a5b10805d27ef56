// The oversampled ("precise") peak stage shared by the three engines. It keeps the last 64
// samples of both channels and outputs, per channel, the signed value of largest magnitude
// among the sample written 32 frames ago (h[31], where h[0] is the oldest of the 64) and the
// points interpolated just after it (31.25, 31.5, 31.75 below 88.2 kHz; 31.5 below 176.4 kHz;
// none above). Every output is thus the peak of one moment, 32 frames late in every band; the
// plain sample h[31] is available time-aligned for averaging. [audio-thread] (clear: see owner)
//
// The stage works a chunk of frames at a time: the history and the chunk lie in one line of
// (channel 1, channel 2) pairs, so that one SSE2 register holds both channels of a tap and each
// channel's sum is formed in exactly the order of the plain sum Σ c[k]·h[k], k = 0..63. Several
// frames are summed side by side to keep the adders busy; the result is bit for bit that of
// the plain loop on every build. Loads are unaligned: the 32-bit Windows heap gives no
// 16-byte alignment, and on current processors an unaligned load of aligned data costs nothing.
#pragma once

#include <emmintrin.h>

enum class PreciseBand { Four, Two, None };

// Interpolation coefficients, rounded to 7 decimals; prepared once at library load. Each
// coefficient is stored twice in a row (once per channel lane).
struct PreciseTables {
    double four[3][64][2];  // points 31.75, 31.5, 31.25 (in this order of comparison)
    double two[1][64][2];   // point 31.5, Blackman-Harris window
};
const PreciseTables &preciseTables();

PreciseBand preciseBandFor(float sampleRate);

class PreciseStage {
public:
    static constexpr int kLength = 64;
    static constexpr int kPlainTap = 31;  // h[31]
    static constexpr int kChunk = 64;     // most frames per run

    void clear();
    // Writes `frames` (1..kChunk) frames, their magnitudes limited as the engines take them in
    // (limitInputMagnitude), and leaves, per frame i of the chunk, the stage's
    // outputs in peaks[2i] (channel 1) and peaks[2i + 1] (channel 2). The time-aligned plain
    // samples are plains(i) until the next run or clear.
    void run(const PreciseTables &tables, PreciseBand band, const float *input1, const float *input2, int frames,
             double *peaks);
    // The time-aligned plain samples of frame i of the chunk, channel 1 in the low lane.
    __m128d plains(int frame) const { return _mm_loadu_pd(line_ + 2 * (frame + kPlainTap)); }
    // Whether the history holds only finite values. [audio-thread]
    bool isFinite() const;

private:
    static constexpr int kKept = kLength - 1;  // frames the next output still needs

    // (channel 1, channel 2) pairs: the kKept frames before the chunk, then the chunk.
    double line_[2 * (kKept + kChunk)] = {};
    int chunkFrames_ = 0;  // frames of the last chunk, moved out of the way by the next run
};
