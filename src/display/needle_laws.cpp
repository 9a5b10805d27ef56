#include "display/needle_laws.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float degreesPerRadian = 57.29577951308232f;
}

float vuNeedleAngle(float v)
{
    float m = v / 1.44f;
    if (v > 0.0f)
        m = std::pow(m, 1.2f);
    return 136.5f - 91.0f * m;
}

float rmsNeedleAngle(float v)
{
    float d = 20.0f * std::log10(v);
    if (d < -40.0f) {
        // Below -40 dB the scale is compressed ten to one, blended towards the true value as v
        // approaches 0.01.
        const float f = 35.0f * v;
        d = (1.0f - f) * ((d + 40.0f) * 0.1f - 40.0f) + f * d;
    }
    const float theta = (1.0f - (d + 40.0f) / 46.0f) * 99.12f + 38.96f;
    return std::clamp(theta, 34.0f, 145.0f);
}

float ppmNeedleAngle(float v)
{
    const float theta = 180.0f - 20.0f * std::log10(16.0f * v) * 180.0f / 48.0f;
    return std::clamp(theta, 30.0f, 150.0f);
}

const NeedleGeometry vuNeedleGeometry = {250, 122, 128.0f, 155.0f, 3.0f, 134.0f, 121.0f, 134.0f, 181, 90};
const NeedleGeometry rmsNeedleGeometry = {250, 116, 126.0f, 149.8f, 3.0f, 120.0f, 103.0f, 120.0f, 210, 14};
const NeedleGeometry ppmNeedleGeometry = {250, 116, 126.0f, 149.8f, 3.0f, 121.0f, 108.0f, 121.0f, 210, 14};

NeedlePoint needlePoint(float pivotX, float pivotY, float radius, float degrees)
{
    const float radians = degrees / degreesPerRadian;
    return {pivotX + 0.5f + radius * std::cos(radians), pivotY + 0.5f - radius * std::sin(radians)};
}
