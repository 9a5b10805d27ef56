#include "meters/precise_stage.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

double sinc(double x)
{
    return x == 0 ? 1.0 : std::sin(kPi * x) / (kPi * x);
}

double roundTo7Decimals(double x)
{
    return std::round(x * 1e7) / 1e7;
}

PreciseTables buildTables()
{
    PreciseTables t{};
    const double centres[3] = {31.75, 31.5, 31.25};
    for (int j = 0; j < 3; ++j) {
        for (int k = 0; k < PreciseStage::kLength; ++k) {
            const double d = k - centres[j];
            t.four[j][k] = roundTo7Decimals(sinc(d) * (0.5 + 0.5 * std::cos(kPi * d / 32)));
        }
    }
    for (int k = 0; k < PreciseStage::kLength; ++k) {
        const double d = k - 31.5;
        const double window = 0.35875 + 0.48829 * std::cos(kPi * d / 32) + 0.14128 * std::cos(2 * kPi * d / 32) +
                              0.01168 * std::cos(3 * kPi * d / 32);
        t.two[k] = roundTo7Decimals(sinc(d) * window);
    }
    return t;
}

} // namespace

const PreciseTables &preciseTables()
{
    static const PreciseTables tables = buildTables();
    return tables;
}

PreciseBand preciseBandFor(float sampleRate)
{
    if (sampleRate < 88200.f)
        return PreciseBand::Four;
    if (sampleRate < 176400.f)
        return PreciseBand::Two;
    return PreciseBand::None;
}

void PreciseStage::clear()
{
    for (auto &channel : history_)
        for (double &v : channel)
            v = 0;
    writeIndex_ = 0;
}

bool PreciseStage::isFinite() const
{
    for (const auto &channel : history_)
        for (double v : channel)
            if (!std::isfinite(v))
                return false;
    return true;
}
