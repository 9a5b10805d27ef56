// The wheel-notch law of the stepping controls (sliders, knobs, the lag display).
// [any-thread] (a pure function)
#pragma once

namespace VSTGUI {

// A wheel turn of more than a tenth of a notch either way counts as one whole notch (1 or -1);
// a smaller turn moves by its own fraction.
inline float wheelNotches(float distance) { return distance > 0.1f ? 1.f : (distance < -0.1f ? -1.f : distance); }

// The value change of a wheel turn for a control that moves `step` a notch, scaled by
// `fineFactor` while fine (Shift) is held.
inline float wheelChange(float distance, float step, bool fine, float fineFactor)
{
    float change = step * wheelNotches(distance);
    if (fine)
        change *= fineFactor;
    return change;
}

}  // namespace VSTGUI
