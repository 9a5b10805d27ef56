// The editor's edits on their way to a CLAP host: gesture begin, value and gesture end, queued on
// the main thread (where the editor runs) and taken in the next process call on the audio thread,
// or in params.flush when the host is not processing. One producer and one consumer at a time
// (process and flush never overlap), no lock and no allocation: a fixed ring whose two counters
// are the only shared state.
#pragma once

#include <atomic>
#include <cstdint>

struct ClapEdit {
    enum Kind : uint8_t { kBegin, kValue, kEnd };
    Kind kind;
    uint32_t index;  // the host parameter
    float value;     // the normalised value, for kValue
};

class EditQueue {
public:
    static constexpr uint32_t kCapacity = 1024;  // a power of two

    // [main-thread] False when the ring is full (a host that neither processes nor flushes):
    // the edit is dropped.
    bool push(const ClapEdit &edit)
    {
        const uint32_t write = tail.load(std::memory_order_relaxed);
        if (write - head.load(std::memory_order_acquire) >= kCapacity)
            return false;
        slots[write & (kCapacity - 1)] = edit;
        tail.store(write + 1, std::memory_order_release);
        return true;
    }

    // [audio-thread] in process, [main-thread] in flush: the oldest edit, or null; pop() drops it
    // once the host has taken it.
    const ClapEdit *front() const
    {
        const uint32_t read = head.load(std::memory_order_relaxed);
        if (read == tail.load(std::memory_order_acquire))
            return nullptr;
        return &slots[read & (kCapacity - 1)];
    }
    void pop() { head.store(head.load(std::memory_order_relaxed) + 1, std::memory_order_release); }

private:
    ClapEdit slots[kCapacity] = {};
    std::atomic<uint32_t> head{0};  // the next slot to read, written by the consumer
    std::atomic<uint32_t> tail{0};  // the next slot to write, written by the producer
};
