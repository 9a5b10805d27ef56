// The editor's zoom factors and the one law that turns any announced, measured or stored scale
// into one of them, and the order in which the factor's sources count. [any-thread] (constants
// and pure functions)
#pragma once

#include <cmath>
#include <initializer_list>

// Every size the editor is drawn at, smallest first: 100 % to 300 %.
constexpr double kZoomFactors[] = {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0};
constexpr int kZoomFactorCount = (int)(sizeof kZoomFactors / sizeof kZoomFactors[0]);

// The factor of the list nearest to scale (the smaller one when it lies halfway); a scale that
// is not a number, infinite, zero or negative gives 100 %.
inline double snapZoomFactor(double scale)
{
    if (!std::isfinite(scale) || scale <= 0)
        return 1.0;
    double best = kZoomFactors[0];
    for (double factor : kZoomFactors)
        if (std::fabs(factor - scale) < std::fabs(best - scale))
            best = factor;
    return best;
}

// The place of a factor in the list, -1 for any value that is not one of them.
inline int zoomFactorIndex(double factor)
{
    for (int i = 0; i < kZoomFactorCount; ++i)
        if (kZoomFactors[i] == factor)
            return i;
    return -1;
}

// What each source says; 0 (or anything not a positive number) where it says nothing.
struct ZoomSources {
    double chosen = 0;  // the user's choice in the size menu; 0 = Auto
    double host = 0;    // the factor the host announced
    double window = 0;  // the scale of the host's window (its DPI / 96)
};

// The user's choice when there is one, else Auto: the host's factor, else the window's scale,
// else 100 %; whichever counts is snapped to the list.
inline double resolveZoomFactor(const ZoomSources &sources)
{
    for (double source : {sources.chosen, sources.host, sources.window})
        if (std::isfinite(source) && source > 0)
            return snapZoomFactor(source);
    return 1.0;
}
