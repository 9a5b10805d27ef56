// The measurements behind `zem_host conformance`; see conformance.h.
#include "conformance.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/readout_query.h"
#include "plugin_host.h"
#include "test_signals.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr VstInt32 kMeterIndex = 3;
enum { kVU = 0, kRMS = 1, kPPM = 2 };

double decibels(double ratio) { return 20.0 * std::log10(ratio); }

// The read-outs after every block of about 1 ms.
struct Trace {
    double blockSeconds = 0;
    std::vector<double> level, meanSquare;
    double referenceGain = 1;  // g: the read-outs are relative to it
};

using Settings = std::vector<std::pair<VstInt32, float>>;

// One fresh instance of the plug-in metering one mono signal on both channels.
Trace meter(PluginHost &host, int type, float rate, const Settings &settings, const std::vector<float> &signal)
{
    Trace trace;
    PluginInstance plugin(host);
    if (!plugin.valid())
        return trace;
    plugin.setParameter(kMeterIndex, 0.5f * float(type));
    for (const auto &setting : settings)
        plugin.setParameter(setting.first, setting.second);
    const int block = std::max(1, int(rate / 1000));
    plugin.start(rate, block);
    ReadoutQuery readout;
    if (!plugin.dispatch(effVendorSpecific, kReadoutQuery, sizeof readout, &readout))
        return trace;
    trace.referenceGain = std::pow(10.0, std::strtod(readout.reference, nullptr) / 20);
    trace.blockSeconds = block / double(rate);
    std::vector<float> left(signal), right(signal);
    std::vector<float> outLeft(static_cast<size_t>(block)), outRight(static_cast<size_t>(block));
    for (size_t done = 0; done + size_t(block) <= signal.size(); done += size_t(block)) {
        float *inputs[2] = {&left[done], &right[done]};
        float *outputs[2] = {outLeft.data(), outRight.data()};
        plugin.processReplacing(inputs, outputs, block);
        plugin.dispatch(effVendorSpecific, kReadoutQuery, sizeof readout, &readout);
        trace.level.push_back(readout.values[kMeterLevel1]);
        trace.meanSquare.push_back(readout.values[kMeterMeanSquare1]);
    }
    plugin.stop();
    return trace;
}

// A sine of `seconds` at `frequency`, peak `amplitude`, starting at `phase` turns.
std::vector<float> sine(float rate, double frequency, double amplitude, double seconds, double phase = 0)
{
    std::vector<float> s(size_t(std::lround(seconds * rate)));
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = float(amplitude * sineOfTurns(phase + frequency * double(i) / rate));
    return s;
}

std::vector<float> silence(float rate, double seconds)
{
    return std::vector<float>(size_t(std::lround(seconds * rate)), 0.f);
}

std::vector<float> joined(std::initializer_list<std::vector<float>> parts)
{
    std::vector<float> all;
    for (const auto &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Pink noise (white noise through a -3 dB/octave filter), scaled to the RMS `rms`.
std::vector<float> pinkNoise(float rate, double rms, double seconds)
{
    std::vector<double> s(size_t(std::lround(seconds * rate)));
    uint32_t seed = 22222u;
    double b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, b5 = 0, b6 = 0;
    double sum = 0;
    for (double &v : s) {
        seed = seed * 1664525u + 1013904223u;
        const double white = double(int32_t(seed)) / 2147483648.0;
        b0 = 0.99886 * b0 + white * 0.0555179;
        b1 = 0.99332 * b1 + white * 0.0750759;
        b2 = 0.96900 * b2 + white * 0.1538520;
        b3 = 0.86650 * b3 + white * 0.3104856;
        b4 = 0.55000 * b4 + white * 0.5329522;
        b5 = -0.7616 * b5 - white * 0.0168980;
        v = b0 + b1 + b2 + b3 + b4 + b5 + b6 + white * 0.5362;
        b6 = white * 0.115926;
        sum += v * v;
    }
    const double scale = rms / std::sqrt(sum / double(s.size()));
    std::vector<float> out(s.size());
    for (size_t i = 0; i < s.size(); ++i)
        out[i] = float(s[i] * scale);
    return out;
}

// Sixteen cycles of a sine under a Hann window, starting at `phase` turns; `truePeak` receives the
// largest magnitude of the continuous signal (found at 64 times the sample rate).
std::vector<float> hannBurst(float rate, double frequency, double amplitude, double phase, double &truePeak)
{
    const double length = 16 / frequency;
    const auto at = [&](double t) {
        const double window = 0.5 - 0.5 * std::cos(2 * kPi * t / length);
        return amplitude * window * sineOfTurns(phase + frequency * t);
    };
    truePeak = 0;
    for (double t = 0; t < length; t += 1 / (64.0 * rate))
        truePeak = std::max(truePeak, std::fabs(at(t)));
    std::vector<float> s(size_t(std::ceil(length * rate)));
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = float(at(double(i) / rate));
    return s;
}

double trueRms(const std::vector<float> &s, size_t from)
{
    double sum = 0;
    for (size_t i = from; i < s.size(); ++i)
        sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(s.size() - from));
}

double mean(const std::vector<double> &v, size_t from, size_t to)
{
    double sum = 0;
    for (size_t i = from; i < to; ++i)
        sum += v[i];
    return sum / double(to - from);
}

// The report of the run under way.
ConformanceReport *report = nullptr;

void row(const char *meterName, const std::string &figure, const std::string &standard, const std::string &measured,
         double value)
{
    report->rows.push_back(ConformanceRow{meterName, figure, standard, measured, value});
}

std::string formatted(const char *pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

void measureVU(PluginHost &host)
{
    const float rate = 48000;
    const double onset = 0.5;
    const Trace t = meter(host, kVU, rate, {},
                          joined({silence(rate, onset), sine(rate, 1000, std::pow(10.0, -18.0 / 20), 3.0)}));
    if (t.level.empty())
        return;
    const size_t n = t.level.size(), start = size_t(onset / t.blockSeconds);
    const double final = mean(t.level, n - size_t(0.5 / t.blockSeconds), n);
    size_t reached = start;
    while (reached < n && t.level[reached] < 0.99 * final)
        ++reached;
    const double peak = *std::max_element(t.level.begin() + long(start), t.level.end());
    ConformancePlot plot{"VU needle after a -18 dBFS sine step (1.0 = the final reading)",
                         "time after the step, s",
                         "needle",
                         false,
                         {{"needle", {}}}};
    for (size_t i = start; i < n && double(i - start) * t.blockSeconds <= 1.0; i += 5)
        plot.series[0].points.emplace_back(double(i - start) * t.blockSeconds, t.level[i] / final);
    report->plots.push_back(plot);
    const double riseMs = (double(reached - start) + 1) * t.blockSeconds * 1000;
    row("VU", "rise to 99 % (-18 dBFS sine step)", "300 ms", formatted("%.0f ms", riseMs), riseMs);
    const double overshoot = 100 * (peak - final) / final;
    row("VU", "overshoot", "1 to 1.5 %", formatted("%.2f %%", overshoot), overshoot);
}

void measurePPM(PluginHost &host)
{
    const float rate = 48000;
    const double amplitude = std::pow(10.0, -12.0 / 20);
    const Trace steady = meter(host, kPPM, rate, {}, joined({sine(rate, 5000, amplitude, 2.0), silence(rate, 5.0)}));
    if (steady.level.empty())
        return;
    const size_t stop = size_t(2.0 / steady.blockSeconds);
    const double level = mean(steady.level, stop - size_t(0.5 / steady.blockSeconds), stop);
    const struct {
        double ms, standard;
    } bursts[] = {{10, -2}, {5, -4}, {1.5, -9}, {0.5, -17}};
    ConformancePlot plot{"PPM reading of 5 kHz tone bursts re. the steady tone",
                         "burst length, ms",
                         "dB",
                         true,
                         {{"measured", {}}, {"IEC Type II", {}}}};
    for (const auto &burst : bursts) {
        plot.series[1].points.emplace_back(burst.ms, burst.standard);
        const Trace t = meter(
            host, kPPM, rate, {},
            joined({silence(rate, 0.2), sine(rate, 5000, amplitude, burst.ms / 1000), silence(rate, 0.5)}));
        const double highest = *std::max_element(t.level.begin(), t.level.end());
        const double db = decibels(highest / level);
        row("PPM", formatted("%g ms burst, 5 kHz, re. steady tone", burst.ms),
            formatted("%+g dB (IEC Type II)", burst.standard), formatted("%+.2f dB", db), db);
        plot.series[0].points.emplace_back(burst.ms, db);
    }
    report->plots.push_back(plot);
    size_t fallen = stop;
    while (fallen < steady.level.size() && steady.level[fallen] > level / 16)
        ++fallen;
    const double returnSeconds = double(fallen - stop + 1) * steady.blockSeconds;
    row("PPM", "return time for 24 dB", "2.8 s (IEC Type II)", formatted("%.2f s", returnSeconds), returnSeconds);
}

void measureRMS(PluginHost &host)
{
    const float rate = 48000;
    const double seconds = 8.0, window = 4.0;
    const struct {
        const char *name;
        std::vector<float> signal;
    } signals[] = {{"1 kHz sine", sine(rate, 1000, 0.1, seconds)}, {"pink noise", pinkNoise(rate, 0.1, seconds)}};
    for (const auto &s : signals) {
        const Trace t = meter(host, kRMS, rate, {}, s.signal);
        if (t.meanSquare.empty())
            return;
        const size_t n = t.meanSquare.size(), from = n - size_t(window / t.blockSeconds);
        const double shown = std::sqrt(mean(t.meanSquare, from, n)) * 1.4142 * t.referenceGain;
        const double truth = trueRms(s.signal, s.signal.size() - size_t(window * rate));
        const double db = decibels(shown / truth);
        row("RMS", std::string(s.name) + ", display re. true RMS", "+3.01 dB (sine-calibrated)",
            formatted("%+.2f dB", db), db);
    }
}

void measurePrecise(PluginHost &host)
{
    // Reference 0 dBFS, instantaneous rise, precise on; the PPM settings as they were after.
    const Settings precise = {{93, 1.f}, {94, 0.f}, {100, 1.f}};
    Settings before;
    {
        PluginInstance plugin(host);
        if (!plugin.valid())
            return;
        for (const auto &setting : precise)
            before.emplace_back(setting.first, plugin.getParameter(setting.first));
    }
    const double amplitude = 0.5;
    ConformancePlot plot{"Precise peaks: lowest reading of a tone burst re. its true peak",
                         "frequency, kHz",
                         "dB",
                         false,
                         {{"44.1 kHz", {}}, {"48 kHz", {}}}};
    for (float rate : {44100.f, 48000.f}) {
        const Trace quarter = meter(host, kPPM, rate, precise, sine(rate, rate / 4, amplitude, 0.2, 0.125));
        if (quarter.level.empty())
            return;
        const double highest = *std::max_element(quarter.level.begin(), quarter.level.end());
        const double db = decibels(highest / amplitude);
        row("precise", formatted("fs/4 sine at 45°, %g kHz (samples at -3.01 dB)", rate / 1000), "0 dB (true peak)",
            formatted("%+.2f dB", db), db);
        for (double frequency : {1000.0, 5000.0, 10000.0, 15000.0, 20000.0}) {
            double lowest = 1e9;
            for (int k = 0; k < 32; ++k) {
                double truePeak = 0;
                const std::vector<float> burst = hannBurst(rate, frequency, amplitude, k / 32.0, truePeak);
                const Trace t = meter(host, kPPM, rate, precise,
                                      joined({silence(rate, 0.01), burst, silence(rate, 0.01)}));
                lowest = std::min(lowest, *std::max_element(t.level.begin(), t.level.end()) / truePeak);
            }
            row("precise",
                formatted("16-cycle Hann burst, %g kHz", frequency / 1000) +
                    formatted(" at %g kHz, lowest of 32 phases", rate / 1000),
                "0 dB (true peak)", formatted("%+.2f dB", decibels(lowest)), decibels(lowest));
            plot.series[rate < 46000 ? 0 : 1].points.emplace_back(frequency / 1000, decibels(lowest));
        }
    }
    report->plots.push_back(plot);
    // The settings live in the process-wide Session set: give them back.
    PluginInstance plugin(host);
    for (const auto &setting : before)
        plugin.setParameter(setting.first, setting.second);
}

}  // namespace

ConformanceReport measureConformance(PluginHost &host)
{
    ConformanceReport result;
    // New instances start with the meter type set last, process-wide: give it back after.
    float meterBefore;
    {
        PluginInstance plugin(host);
        if (!plugin.valid())
            return result;
        meterBefore = plugin.getParameter(kMeterIndex);
    }
    report = &result;
    measureVU(host);
    measurePPM(host);
    measureRMS(host);
    measurePrecise(host);
    report = nullptr;
    PluginInstance plugin(host);
    plugin.setParameter(kMeterIndex, meterBefore);
    return result;
}

namespace {

// A standard's figure: the target range and how its text reads.
struct Target {
    double low, high;  // the tolerance; low > high for a figure the standard does not give
    const char *text;  // the standard's figure as text
};
constexpr Target kInformative = {1, 0, "-"};

void judge(ConformanceRow &row, const Target &target, StandardMeasurement &out)
{
    if (target.low > target.high)
        return;
    const double centre = (target.low + target.high) / 2, half = std::max((target.high - target.low) / 2, 1e-9);
    const double misses = std::fabs(row.value - centre) / half;
    row.excess = std::max(0.0, std::fabs(row.value - centre) - half);
    row.verdict = misses <= 1 ? ConformanceRow::Verdict::Within : ConformanceRow::Verdict::Outside;
    out.worst = std::max(out.worst, misses);
    out.total += misses;
}

// The settings every instance of a run starts from (the ones current when it began), then the
// standard's; given back when the run ends.
class SettingsBase {
public:
    explicit SettingsBase(PluginHost &host) : host(host)
    {
        PluginInstance plugin(host);
        valid = plugin.valid();
        if (!valid)
            return;
        meterType = plugin.getParameter(kMeterIndex);
        for (VstInt32 index = kFirstRMSSetting; index <= kLastPPMSetting; ++index)
            if (isMeterSetting(index))
                base.emplace_back(index, plugin.getParameter(index));
    }
    ~SettingsBase()
    {
        if (!valid)
            return;
        PluginInstance plugin(host);
        for (const auto &setting : base)
            plugin.setParameter(setting.first, setting.second);
        plugin.setParameter(kMeterIndex, meterType);
    }
    SettingsBase(const SettingsBase &) = delete;
    SettingsBase &operator=(const SettingsBase &) = delete;

    Settings with(const std::vector<StandardSetting> &settings) const
    {
        Settings all = base;
        for (const StandardSetting &setting : settings)
            all.emplace_back(setting.index, setting.value);
        return all;
    }
    bool valid = false;

private:
    PluginHost &host;
    float meterType = 0;
    Settings base;
};

// The reference level of the meter with these settings, as a linear amplitude.
double referenceAmplitude(PluginHost &host, int type, const Settings &settings)
{
    const Trace t = meter(host, type, 48000, settings, silence(48000, 0.001));
    return t.referenceGain;
}

// The figures of one meter type, each judged against its target.
class StandardFigures {
public:
    StandardFigures(StandardMeasurement &out, const char *meterName) : out(out), meterName(meterName) {}
    void add(const std::string &figure, const Target &target, const std::string &measured, double value)
    {
        ConformanceRow r{meterName, figure, target.text, measured, value};
        judge(r, target, out);
        out.rows.push_back(r);
    }

private:
    StandardMeasurement &out;
    const char *meterName;
};

// The first block from start at which the trace reaches 99 % of its final reading, in ms.
double riseTo99(const std::vector<double> &v, size_t start, double blockSeconds, double final)
{
    size_t reached = start;
    while (reached < v.size() && v[reached] < 0.99 * final)
        ++reached;
    return (double(reached - start) + 1) * blockSeconds * 1000;
}

void measureStandardVU(PluginHost &host, const Settings &settings, StandardFigures &figures)
{
    const float rate = 48000;
    const double onset = 0.5, amplitude = referenceAmplitude(host, kVU, settings);
    const Trace t = meter(host, kVU, rate, settings, joined({silence(rate, onset), sine(rate, 1000, amplitude, 3.0)}));
    if (t.level.empty())
        return;
    const size_t n = t.level.size(), start = size_t(onset / t.blockSeconds);
    const double final = mean(t.level, n - size_t(0.5 / t.blockSeconds), n);
    const double peak = *std::max_element(t.level.begin() + long(start), t.level.end());
    const double riseMs = riseTo99(t.level, start, t.blockSeconds, final);
    figures.add("rise to 99 % (1 kHz sine step at the reference)", {270, 330, "300 ms \xc2\xb1 10 %"},
                formatted("%.0f ms", riseMs), riseMs);
    const double overshoot = 100 * (peak - final) / final;
    figures.add("overshoot", {1.0, 1.5, "1 to 1.5 %"}, formatted("%.2f %%", overshoot), overshoot);
}

// The burst table and return time of the PPM types, by the standard's key.
struct PPMTargets {
    Target bursts[5];  // 10, 5, 3, 1.5, 0.5 ms
    double fallDecibels;
    Target returnTime;
};
PPMTargets ppmTargets(const std::string &key)
{
    if (key == "ppm-din" || key == "ppm-nordic") {
        const Target returnTime = key == "ppm-din" ? Target{1.5, 1.7, "1.5 to 1.7 s"}
                                                   : Target{1.4, 2.0, "1.7 s \xc2\xb1 0.3 s"};
        return {{{-1.5, -0.5, "-1 dB \xc2\xb1 0.5"},
                 {-2.5, -1.5, "-2 dB \xc2\xb1 0.5"},
                 {-5, -3, "-4 dB \xc2\xb1 1"},
                 kInformative,
                 kInformative},
                20,
                returnTime};
    }
    return {{{-2.5, -1.5, "-2 dB \xc2\xb1 0.5"},
             {-4.75, -3.25, "-4 dB \xc2\xb1 0.75"},
             kInformative,
             {-10, -8, "-9 dB \xc2\xb1 1"},
             {-19, -15, "-17 dB \xc2\xb1 2"}},
            24,
            {2.5, 3.1, "2.8 s \xc2\xb1 0.3 s"}};
}

void measureStandardPPM(PluginHost &host, const std::string &key, const Settings &settings, StandardFigures &figures,
                        bool bursts, bool fall)
{
    const float rate = 48000;
    const PPMTargets targets = ppmTargets(key);
    const double amplitude = referenceAmplitude(host, kPPM, settings);
    const double tone = 1.0, after = 4.0;
    const Trace steady = meter(host, kPPM, rate, settings,
                               joined({sine(rate, 5000, amplitude, tone), silence(rate, after)}));
    if (steady.level.empty())
        return;
    const size_t stop = size_t(tone / steady.blockSeconds);
    const double level = mean(steady.level, stop - size_t(0.3 / steady.blockSeconds), stop);
    const double lengths[5] = {10, 5, 3, 1.5, 0.5};
    for (int i = 0; bursts && i < 5; ++i) {
        const Trace t = meter(
            host, kPPM, rate, settings,
            joined({silence(rate, 0.05), sine(rate, 5000, amplitude, lengths[i] / 1000), silence(rate, 0.1)}));
        const double db = decibels(*std::max_element(t.level.begin(), t.level.end()) / level);
        figures.add(formatted("%g ms burst, 5 kHz, re. steady tone", lengths[i]), targets.bursts[i],
                    formatted("%+.2f dB", db), db);
    }
    if (!fall)
        return;
    const double floor = level * std::pow(10.0, -targets.fallDecibels / 20);
    size_t fallen = stop;
    while (fallen < steady.level.size() && steady.level[fallen] > floor)
        ++fallen;
    const double seconds = double(fallen - stop + 1) * steady.blockSeconds;
    figures.add(formatted("return time for %g dB", targets.fallDecibels), targets.returnTime,
                formatted("%.2f s", seconds), seconds);
}

void measureStandardRMS(PluginHost &host, const std::string &key, const Settings &settings, StandardFigures &figures,
                        bool levels)
{
    const float rate = 48000;
    const double amplitude = referenceAmplitude(host, kRMS, settings);
    if (key.compare(0, 2, "k-") == 0) {
        const double onset = 0.2;
        const Trace t = meter(host, kRMS, rate, settings,
                              joined({silence(rate, onset), sine(rate, 1000, amplitude, 3.0)}));
        if (t.meanSquare.empty())
            return;
        std::vector<double> shown(t.meanSquare.size());
        for (size_t i = 0; i < shown.size(); ++i)
            shown[i] = std::sqrt(t.meanSquare[i]);
        const size_t n = shown.size(), start = size_t(onset / t.blockSeconds);
        const double final = mean(shown, n - size_t(0.3 / t.blockSeconds), n);
        const double riseMs = riseTo99(shown, start, t.blockSeconds, final);
        figures.add("RMS rise to 99 % (1 kHz sine step)", {540, 660, "600 ms \xc2\xb1 10 %"},
                    formatted("%.0f ms", riseMs), riseMs);
    }
    if (!levels)
        return;
    const double seconds = 4.0, window = 2.0;
    const struct {
        const char *name;
        std::vector<float> signal;
    } signals[] = {{"1 kHz sine", sine(rate, 1000, 0.1, seconds)}, {"pink noise", pinkNoise(rate, 0.1, seconds)}};
    for (const auto &s : signals) {
        const Trace t = meter(host, kRMS, rate, settings, s.signal);
        if (t.meanSquare.empty())
            return;
        const size_t n = t.meanSquare.size(), from = n - size_t(window / t.blockSeconds);
        const double db = decibels(std::sqrt(mean(t.meanSquare, from, n)) * 1.4142 * t.referenceGain /
                                   trueRms(s.signal, s.signal.size() - size_t(window * rate)));
        figures.add(std::string(s.name) + ", display re. true RMS", {2.91, 3.11, "+3.01 dB \xc2\xb1 0.1"},
                    formatted("%+.2f dB", db), db);
    }
    const Trace t = meter(host, kRMS, rate, settings, sine(rate, 1000, amplitude, seconds));
    if (t.meanSquare.empty())
        return;
    const size_t n = t.meanSquare.size(), from = n - size_t(window / t.blockSeconds);
    const double db = decibels(std::sqrt(mean(t.meanSquare, from, n)) * 1.4142);
    figures.add("1 kHz sine at the reference, display", {-0.1, 0.1, "0 dB \xc2\xb1 0.1"}, formatted("%+.2f dB", db),
                db);
}

// Which figures a measurement takes: all of them, or the ones one setting of a search moves.
enum class Figures { All, Ballistics, Bursts, Return };

StandardMeasurement measure(PluginHost &host, const SettingsBase &base, const MeterStandard &standard,
                            const std::vector<StandardSetting> &settings, Figures which)
{
    StandardMeasurement out;
    out.standard = &standard;
    const Settings all = base.with(settings);
    const std::string key = standard.key;
    switch (standard.type) {
    case kMeterTypeVU: {
        StandardFigures figures(out, "VU");
        measureStandardVU(host, all, figures);
        break;
    }
    case kMeterTypePPM: {
        StandardFigures figures(out, "PPM");
        measureStandardPPM(host, key, all, figures, which != Figures::Return, which != Figures::Bursts);
        break;
    }
    default: {
        StandardFigures figures(out, "RMS");
        measureStandardRMS(host, key, all, figures, which == Figures::All);
        break;
    }
    }
    return out;
}

std::vector<StandardSetting> tableSettings(const MeterStandard &standard)
{
    return std::vector<StandardSetting>(standard.settings, standard.settings + standard.count);
}

// Replaces or adds one setting.
std::vector<StandardSetting> withSetting(std::vector<StandardSetting> settings, VstInt32 index, float value)
{
    for (StandardSetting &setting : settings)
        if (setting.index == index) {
            setting.value = value;
            return settings;
        }
    settings.push_back({index, value});
    return settings;
}

// The step of one setting (value = step / steps) with the smallest worst miss: every coarse-th
// step, then every step within coarse of the best.
int searchSetting(PluginHost &host, const SettingsBase &base, const MeterStandard &standard,
                  const std::vector<StandardSetting> &settings, VstInt32 index, int steps, int coarse, Figures which,
                  int &measured)
{
    int best = 0;
    double bestWorst = 1e300;
    const auto tryStep = [&](int step) {
        const StandardMeasurement m = measure(host, base, standard,
                                              withSetting(settings, index, float(step) / float(steps)), which);
        ++measured;
        const double score = m.worst + 1e-3 * m.total;
        if (score < bestWorst) {
            bestWorst = score;
            best = step;
        }
    };
    for (int step = 0; step <= steps; step += coarse)
        tryStep(step);
    const int centre = best;
    for (int step = std::max(0, centre - coarse + 1); step <= std::min(steps, centre + coarse - 1); ++step)
        if (step != centre)
            tryStep(step);
    return best;
}

}  // namespace

StandardMeasurement measureStandardWith(PluginHost &host, const MeterStandard &standard,
                                        const std::vector<StandardSetting> &settings)
{
    SettingsBase base(host);
    if (!base.valid)
        return StandardMeasurement{};
    return measure(host, base, standard, settings, Figures::All);
}

StandardMeasurement measureStandard(PluginHost &host, const MeterStandard &standard)
{
    return measureStandardWith(host, standard, tableSettings(standard));
}

StandardSearch searchStandard(PluginHost &host, const MeterStandard &standard)
{
    StandardSearch result;
    SettingsBase base(host);
    if (!base.valid)
        return result;
    std::vector<StandardSetting> settings = tableSettings(standard);
    switch (standard.type) {
    case kMeterTypeVU: {
        // The needle type changes the whole response: the integration is searched for each.
        int bestStep = 0;
        float bestType = 0;
        double bestWorst = 1e300;
        for (float type : {0.f, 1.f}) {
            const auto typed = withSetting(settings, kVUNeedleType, type);
            const int step = searchSetting(host, base, standard, typed, kVUIntegration, 200, 10, Figures::All,
                                           result.measured);
            const StandardMeasurement m = measure(
                host, base, standard, withSetting(typed, kVUIntegration, float(step) / 200.f), Figures::All);
            const double worst = m.worst + 1e-3 * m.total;
            if (worst < bestWorst) {
                bestWorst = worst;
                bestStep = step;
                bestType = type;
            }
        }
        settings = withSetting(withSetting(settings, kVUNeedleType, bestType), kVUIntegration, float(bestStep) / 200.f);
        break;
    }
    case kMeterTypePPM: {
        // The bursts depend on the rise, the return time on the return: one after the other.
        const int rise = searchSetting(host, base, standard, settings, kPPMRiseTime, 80, 8, Figures::Bursts,
                                       result.measured);
        settings = withSetting(settings, kPPMRiseTime, float(rise) / 80.f);
        const int fall = searchSetting(host, base, standard, settings, kPPMReturnTime, 80, 8, Figures::Return,
                                       result.measured);
        settings = withSetting(settings, kPPMReturnTime, float(fall) / 80.f);
        break;
    }
    default:
        if (std::string(standard.key).compare(0, 2, "k-") == 0) {
            const int averaging = searchSetting(host, base, standard, settings, kRMSAveragingTime, 80, 8,
                                                Figures::Ballistics, result.measured);
            settings = withSetting(settings, kRMSAveragingTime, float(averaging) / 80.f);
        }
        break;
    }
    result.settings = settings;
    result.measurement = measure(host, base, standard, settings, Figures::All);
    return result;
}
