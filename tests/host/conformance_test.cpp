// The conformance figures of the built plug-in with its default settings: the ballistics the
// manual documents, measured through the entry point as `zem_host conformance` measures them.
#include <gtest/gtest.h>

#include <string>

#include "conformance.h"
#include "core/loaded_plugin.h"
#include "plugin_host.h"

namespace {

const ConformanceRow *find(const std::vector<ConformanceRow> &rows, const std::string &meter, const std::string &start)
{
    for (const ConformanceRow &row : rows)
        if (row.meter == meter && row.figure.compare(0, start.size(), start) == 0)
            return &row;
    return nullptr;
}

// Starts from the built-in defaults, whatever earlier tests of the process left in the shared sets.
using Conformance = LoadedPluginTest;

TEST_F(Conformance, DefaultBallisticsMeasureAsDocumented)
{
    PluginHost &host = this->host();
    float preciseBefore, meterBefore;
    {
        PluginInstance plugin(host);
        preciseBefore = plugin.getParameter(100);
        meterBefore = plugin.getParameter(3);
    }
    const ConformanceReport report = measureConformance(host);
    const std::vector<ConformanceRow> &rows = report.rows;
    ASSERT_EQ(rows.size(), 21u);
    ASSERT_EQ(report.plots.size(), 3u);
    for (const ConformancePlot &plot : report.plots)
        for (const ConformanceSeries &series : plot.series)
            EXPECT_GE(series.points.size(), 4u) << plot.title << ": " << series.name;

    const ConformanceRow *rise = find(rows, "VU", "rise");
    ASSERT_NE(rise, nullptr);
    EXPECT_NEAR(rise->value, 300, 30);  // the 300 ms of the standard, within the sampling of 1 ms reads
    const ConformanceRow *overshoot = find(rows, "VU", "overshoot");
    ASSERT_NE(overshoot, nullptr);
    EXPECT_GT(overshoot->value, 0);
    EXPECT_LT(overshoot->value, 2);

    // Shorter bursts read lower, each within 1 dB of the Type II figure.
    const struct {
        const char *burst;
        double standard;
    } bursts[] = {{"10 ms", -2}, {"5 ms", -4}, {"1.5 ms", -9}, {"0.5 ms", -17}};
    double previous = 0;
    for (const auto &b : bursts) {
        const ConformanceRow *row = find(rows, "PPM", b.burst);
        ASSERT_NE(row, nullptr) << b.burst;
        EXPECT_NEAR(row->value, b.standard, 1.0) << b.burst;
        EXPECT_LT(row->value, previous) << b.burst;
        previous = row->value;
    }
    const ConformanceRow *ret = find(rows, "PPM", "return");
    ASSERT_NE(ret, nullptr);
    EXPECT_NEAR(ret->value, 2.0, 0.05);  // the default return time, 24 dB in about 2 s

    for (const char *signal : {"1 kHz sine", "pink noise"}) {
        const ConformanceRow *row = find(rows, "RMS", signal);
        ASSERT_NE(row, nullptr) << signal;
        EXPECT_NEAR(row->value, 3.01, 0.1) << signal;
    }

    int preciseRows = 0;
    for (const ConformanceRow &row : rows) {
        if (row.meter != "precise")
            continue;
        ++preciseRows;
        EXPECT_LT(row.value, 0.2) << row.figure;   // no over-read to speak of
        EXPECT_GT(row.value, -1.0) << row.figure;  // the under-read stays below 1 dB up to 20 kHz
    }
    EXPECT_EQ(preciseRows, 12);

    PluginInstance after(host);
    EXPECT_EQ(after.getParameter(100), preciseBefore) << "the PPM's shared settings are given back";
    EXPECT_EQ(after.getParameter(3), meterBefore) << "new instances start with the meter type of before";
}

}  // namespace
