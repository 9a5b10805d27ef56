// The largest sample magnitude an engine takes in. An infinite sample is an overload and reads
// as this huge level (over indicator lit) instead of poisoning the ballistics; only a sample that
// is not a number returns an engine to rest. NaN passes unchanged. Thread: audio.
#pragma once

constexpr double kLargestInputMagnitude = 1e6;
inline double limitInputMagnitude(double x)
{
    return x > kLargestInputMagnitude ? kLargestInputMagnitude : x < -kLargestInputMagnitude ? -kLargestInputMagnitude : x;
}
