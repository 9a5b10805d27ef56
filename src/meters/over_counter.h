// The over counter of one channel, handed between the audio thread and the read-out. A block
// counts consecutive over samples in a local and writes the count back once; the read-out
// picks a count that has reached N up and clears it. The hand-over is one atomic value: the
// block writes back only if the count is still the one it started from, so a pick-up that
// lands during a block stands and the same over never shows twice. Neither side waits.
#pragma once

#include <atomic>

class OverCounter {
public:
    // The count a block starts from (−1 after a reset). [audio-thread]
    double beginBlock() const { return count_.load(std::memory_order_relaxed); }

    // Publishes the count the block ends with. If the read-out picked `started` up meanwhile,
    // the cleared count stands: the overs this block added belong to the over just shown.
    // [audio-thread]
    void endBlock(double started, double counted)
    {
        // An unchanged count needs no write: either the count is still `started`, or a pick-up
        // cleared it, which stands. Most blocks count no over, and the exchange is a locked
        // instruction.
        if (counted != started)
            count_.compare_exchange_strong(started, counted, std::memory_order_relaxed);
    }

    // True when the count has reached `overCount`; the count is then cleared. [ui-thread] (the editor)
    bool pickUp(int overCount)
    {
        double count = count_.load(std::memory_order_relaxed);
        while (count >= overCount) {
            if (count_.compare_exchange_weak(count, 0, std::memory_order_relaxed))
                return true;
        }
        return false;
    }

    // True when the count has reached `overCount`, leaving it for the read-out to pick up.
    // [any-thread]
    bool reached(int overCount) const { return count_.load(std::memory_order_relaxed) >= overCount; }

    // Sets the count outright: −1 at a reset. [audio-thread], or [ui-thread] while the effect is
    // suspended.
    void set(double count) { count_.store(count, std::memory_order_relaxed); }

private:
    std::atomic<double> count_{-1};  // consecutive over samples
};
