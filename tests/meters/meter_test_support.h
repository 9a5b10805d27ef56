// Shared pieces of the meter tests: an effect stand-in that routes parameters to the three
// engines as the real effect does, a temporary per-user store, and signal helpers.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "meters/meter_engine.h"
#include "meters/meter_factory.h"
#include "meters/meter_settings.h"
#include "vst/audio_effect.h"

namespace meter_test {

constexpr double kPi = 3.14159265358979323846;

// Clamps, records and forwards like the effect: 2 scope, 4/5/16 direct values, 65 store,
// 67 reset peaks, 72..100 the engines' settings.
class MeterTestOwner : public AudioEffectX {
public:
    MeterTestOwner();
    ~MeterTestOwner() override;

    void processReplacing(float **, float **, VstInt32) override {}
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;

    MeterEngine *engine(MeterType type) { return engines[type]; }
    MeterEngine *rms() { return engines[kMeterTypeRMS]; }
    MeterEngine *vu() { return engines[kMeterTypeVU]; }
    MeterEngine *ppm() { return engines[kMeterTypePPM]; }
    // Gives every engine the rate and resets it, as resume does.
    void resumeAt(float rate);

    std::vector<VstInt32> calls;  // indices received through setParameter
    float values[128] = {};

private:
    MeterEngine *engines[kMeterTypeCount] = {};
};

// Points the per-user store at a fresh temporary location for the test's lifetime (POSIX:
// XDG_CONFIG_HOME; Windows: the prefix is already private, the touched values are restored),
// and returns the process-wide settings state to a fresh load afterwards.
class TemporaryStore {
public:
    TemporaryStore();
    ~TemporaryStore();
    // The stored bytes of a value read without the product's code: the file on POSIX, the
    // registry on Windows. False when absent or not 4 bytes.
    bool readBack(const char *name, float &value) const;
    // Writes raw bytes for a value (size 4 normally; other sizes make a damaged value).
    void writeRaw(const char *name, const void *bytes, int size) const;

private:
    std::string directory_;
    std::string oldConfig_;
    bool hadConfig_ = false;
    struct Saved {
        bool present;
        float value;
    };
    std::vector<Saved> saved_;
};

// Every meter test starts from fresh process-wide settings and a private store.
class MeterTest : public ::testing::Test {
protected:
    MeterTest();
    ~MeterTest() override;
    std::unique_ptr<TemporaryStore> store;
};

std::vector<float> sine(double rate, double hz, double amplitude, double seconds, double phase = 0);
std::vector<float> square(double rate, double hz, double amplitude, double seconds);
// Feeds the same signal to both channels (or `right` when given) in blocks of `block` frames.
void feed(MeterEngine &engine, const std::vector<float> &left, int block, const std::vector<float> *right = nullptr);

// The latest value of a quantity: with position 1 the read-out answers the current value.
inline double latest(MeterEngine &engine, MeterQuantity quantity) { return engine.readoutValue(quantity, 1.0); }

inline double dB(double ratio) { return 20 * std::log10(ratio); }

}  // namespace meter_test
