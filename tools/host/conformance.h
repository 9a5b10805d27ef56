// The figures that engineers check a meter by, measured through the loaded plug-in with its
// default settings, each beside the figure of the standard it comes from. The ballistics are
// the plug-in's own; a figure that differs from the standard is reported, not corrected.
//   VU: rise to 99 % of the final reading after a 1 kHz sine step at -18 dBFS (peak), and the
//       overshoot above the final reading.
//   PPM: readings of 5 kHz tone bursts of 10, 5, 1.5 and 0.5 ms against the steady tone, and
//       the time to fall by 24 dB after the tone stops.
//   RMS: the display (the mean square's root, sine-calibrated by 1.4142) of a 1 kHz sine and of
//       pink noise against the signal's true RMS.
//   Precise peaks (PPM, reference 0 dBFS, rise 0, precise on) at 44.1 and 48 kHz: the reading
//       of a sine at fs/4 sampled at 45° (its samples lie 3.01 dB below its peak), and the
//       lowest reading of a 16-cycle Hann-windowed burst at 1 to 20 kHz over 32 starting
//       phases, against the burst's continuous-time peak (the under-read).
// The measurement reads the engines of the effect object directly, so the plug-in must come from
// the same build as this code.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "params/meter_standards.h"

class PluginHost;

struct ConformanceRow {
    std::string meter;     // "VU", "PPM", "RMS", "precise"
    std::string figure;    // what was measured
    std::string standard;  // the standard's figure, as text
    std::string measured;  // the measured figure, as text
    double value;          // the measured figure in the unit of its text (ms, %, dB, s)
    // For a standard's figures: whether the measured figure lies within the standard's
    // tolerance, and by how much it misses it (in the figure's unit; 0 within).
    enum class Verdict { Informative, Within, Outside } verdict = Verdict::Informative;
    double excess = 0;
};

// A curve behind some of the figures, for the manual's plots.
struct ConformanceSeries {
    std::string name;
    std::vector<std::pair<double, double>> points;  // (x, y)
};
struct ConformancePlot {
    std::string title, xLabel, yLabel;
    bool logX;
    std::vector<ConformanceSeries> series;
};

struct ConformanceReport {
    std::vector<ConformanceRow> rows;
    std::vector<ConformancePlot> plots;  // VU step response, PPM bursts, precise under-read
};

// Runs every measurement on fresh instances of the plug-in, in a few seconds. The process-wide
// values it changes (the meter type new instances start with, the PPM settings of the
// precise-peak figures) are given back afterwards. Thread: the host's main
// thread.
ConformanceReport measureConformance(PluginHost &host);

// A standard's own figures, measured through the loaded plug-in with the standard's settings
// (its table entry, or settings given instead) applied through setParameter over the settings
// that were current when the run began (so that one standard's settings never carry into the
// next). The figures:
//   VU: rise to 99 % after a 1 kHz sine step at the reference level, overshoot.
//   PPM: 5 kHz tone bursts of 10, 5, 3, 1.5 and 0.5 ms against the steady tone at the reference
//       level, and the return time for the fall the type specifies (20 dB Type I, 24 dB Type II).
//   RMS: a sine and pink noise against their true RMS, a sine at the reference, and (K-System)
//       the time for the RMS reading to reach 99 % after a sine step.
// The shared settings and the meter type are given back afterwards. Thread: the host's main thread.
struct StandardMeasurement {
    const MeterStandard *standard = nullptr;
    std::vector<ConformanceRow> rows;
    // The largest miss of a figure against its tolerance, in tolerances (within when <= 1).
    double worst = 0;
    double total = 0;  // the misses of all figures added up: breaks ties between equal worsts
    bool within() const { return worst <= 1; }
};
StandardMeasurement measureStandard(PluginHost &host, const MeterStandard &standard);
StandardMeasurement measureStandardWith(PluginHost &host, const MeterStandard &standard,
                                        const std::vector<StandardSetting> &settings);

// Walks the settings grid of the standard's meter type (coarse, then every step around the best)
// for the settings that come closest to the standard's figures, keeping the standard's own
// reference. `measured` counts the measurements the search took.
struct StandardSearch {
    std::vector<StandardSetting> settings;
    StandardMeasurement measurement;
    int measured = 0;
};
StandardSearch searchStandard(PluginHost &host, const MeterStandard &standard);
