// zem_host conformance <plugin> [--groff FILE] [--standard KEY | --search KEY]
// Prints the figures of measureConformance (conformance.h) as a table: meter, figure, the
// standard's figure, the measured one. With --groff it writes them instead as a chapter of the
// user manual (groff -ms with tbl and pic): the table and the plots, then one table per standard
// of the presets, so that the manual shows what the build measures.
// --standard KEY measures one standard of the presets (params/meter_standards.h) with its
// settings and marks each figure within or outside the standard's tolerance; --search KEY walks
// the settings grid for the settings closest to the standard and prints them as table values.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "conformance.h"
#include "plugin_host.h"
#include "subcommands.h"

namespace {

// Text for groff: a leading dot or quote would start a request, a backslash an escape, the
// table's column separator is |, and the two non-ASCII characters, ° and ±, have names.
std::string groffText(const std::string &text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (text.compare(i, 2, "\xc2\xb0") == 0) {  // the degree sign in UTF-8
            out += "\\(de";
            ++i;
        } else if (text.compare(i, 2, "\xc2\xb1") == 0) {  // the plus-minus sign
            out += "\\(+-";
            ++i;
        } else if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else if (c == '|')
            out += "/";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out = "\\&" + out;
    return out;
}

// A plot in pic: a 5 × 2 inch frame, the extreme values at the axes, one line per series
// (the second dashed), the legend below the frame.
void writePlot(std::FILE *out, const ConformancePlot &plot)
{
    const double width = 5, height = 2;
    double xMin = 1e300, xMax = -1e300, yMin = 1e300, yMax = -1e300;
    const auto xOf = [&plot](double x) { return plot.logX ? std::log10(x) : x; };
    for (const ConformanceSeries &s : plot.series)
        for (const auto &p : s.points) {
            xMin = std::min(xMin, xOf(p.first));
            xMax = std::max(xMax, xOf(p.first));
            yMin = std::min(yMin, p.second);
            yMax = std::max(yMax, p.second);
        }
    if (!(xMax > xMin))
        xMax = xMin + 1;
    const double margin = 0.08 * std::max(yMax - yMin, 0.1);
    yMin -= margin;
    yMax += margin;
    const auto px = [&](double x) { return width * (xOf(x) - xMin) / (xMax - xMin); };
    const auto py = [&](double y) { return height * (y - yMin) / (yMax - yMin); };
    std::fprintf(out, ".KS\n.sp 0.5v\n.PS\nbox wid %g ht %g with .sw at (0,0)\n", width, height);
    const double xLow = plot.logX ? std::pow(10.0, xMin) : xMin, xHigh = plot.logX ? std::pow(10.0, xMax) : xMax;
    std::fprintf(out, "\"\\s-2%g\\s+2\" at (0,-0.12)\n\"\\s-2%g\\s+2\" at (%g,-0.12)\n", xLow, xHigh, width);
    std::fprintf(out, "\"\\s-2%s\\s+2\" at (%g,-0.3)\n", groffText(plot.xLabel).c_str(), width / 2);
    std::fprintf(out, "\"\\s-2%.2f\\s+2\" rjust at (-0.05,0)\n\"\\s-2%.2f\\s+2\" rjust at (-0.05,%g)\n", yMin, yMax,
                 height);
    std::fprintf(out, "\"\\s-2%s\\s+2\" rjust at (-0.05,%g)\n", groffText(plot.yLabel).c_str(), height / 2);
    int index = 0;
    for (const ConformanceSeries &s : plot.series) {
        if (s.points.empty())
            continue;
        std::fprintf(out, "line%s from (%.4f,%.4f)", index ? " dashed" : "", px(s.points[0].first),
                     py(s.points[0].second));
        // "to" for the first segment: a "then" right after "from" would start with a default one.
        for (size_t i = 1; i < s.points.size(); ++i)
            std::fprintf(out, " \\\n%s (%.4f,%.4f)", i == 1 ? "to" : "then to", px(s.points[i].first),
                         py(s.points[i].second));
        std::fprintf(out, "\n");
        const double legendX = 1.6 * index;
        std::fprintf(out, "line%s from (%g,-0.5) to (%g,-0.5)\n\"\\s-2%s\\s+2\" ljust at (%g,-0.5)\n",
                     index ? " dashed" : "", legendX, legendX + 0.3, groffText(s.name).c_str(), legendX + 0.35);
        ++index;
    }
    std::fprintf(out, ".PE\n.ce\n\\s-1\\fI%s\\fP\\s+1\n.sp 0.4v\n.KE\n", groffText(plot.title).c_str());
}

const char *verdictText(const ConformanceRow &row)
{
    switch (row.verdict) {
    case ConformanceRow::Verdict::Within:
        return "within";
    case ConformanceRow::Verdict::Outside:
        return "outside";
    default:
        return "informative";
    }
}

// "outside by 0.60 %": the miss in the unit of the measured figure's text.
std::string verdictWithExcess(const ConformanceRow &row)
{
    std::string text = verdictText(row);
    if (row.verdict == ConformanceRow::Verdict::Outside) {
        char by[48];
        std::snprintf(by, sizeof by, " by %.2f", row.excess);
        text += by;
        const size_t space = row.measured.find(' ');
        if (space != std::string::npos)
            text += row.measured.substr(space);
    }
    return text;
}

// The settings of a standard as their texts, e.g. "83 = 0.2500".
std::string settingsText(const std::vector<StandardSetting> &settings)
{
    std::string text;
    for (const StandardSetting &setting : settings) {
        char one[48];
        std::snprintf(one, sizeof one, "%s%d = %.4f", text.empty() ? "" : ", ", int(setting.index), setting.value);
        text += one;
    }
    return text;
}

void writeStandardTable(std::FILE *out, const StandardMeasurement &m)
{
    std::fprintf(
        out, ".SH 2\n%s\n.LP\nSettings (index = value): %s.", groffText(m.standard->name).c_str(),
        settingsText(std::vector<StandardSetting>(m.standard->settings, m.standard->settings + m.standard->count))
            .c_str());
    std::fprintf(out, m.within() ? " Every figure is within the standard's tolerance.\n"
                                 : " No setting meets every figure: the preset takes the closest, and the table "
                                   "gives by how much it misses.\n");
    std::fprintf(out, ".TS\nallbox tab(|);\nlb lb lb lb\nlw(2.4i) lw(1.35i) lw(0.75i) lw(0.85i).\n"
                      "Figure|Standard|Measured|Verdict\n");
    for (const ConformanceRow &row : m.rows)
        std::fprintf(out, "T{\n.na\n.nh\n%s\nT}|%s|%s|T{\n.na\n.nh\n%s\nT}\n", groffText(row.figure).c_str(),
                     groffText(row.standard).c_str(), groffText(row.measured).c_str(),
                     groffText(verdictWithExcess(row)).c_str());
    std::fprintf(out, ".TE\n");
}

void writeStandards(std::FILE *out, PluginHost &host)
{
    std::fprintf(out, ".NH 2\nThe standards presets\n.LP\n"
                      "A right click on the meter's name on its settings panel offers the standards below; "
                      "choosing one sets the settings it lists and leaves the others as they are. Each table is "
                      "measured at every build through the plug-in's own VST interface with the preset applied.\n");
    for (int type = 0; type < kMeterTypeCount; ++type)
        for (int i = 0; i < meterStandardCount(MeterType(type)); ++i)
            writeStandardTable(out, measureStandard(host, *meterStandard(MeterType(type), i)));
}

void printStandard(const StandardMeasurement &m)
{
    std::printf("%s (%s)\n| figure | standard | measured | verdict |\n|---|---|---|---|\n", m.standard->name,
                m.standard->key);
    for (const ConformanceRow &row : m.rows)
        std::printf("| %s | %s | %s | %s |\n", row.figure.c_str(), row.standard.c_str(), row.measured.c_str(),
                    verdictWithExcess(row).c_str());
    std::printf("worst: %.2f tolerances (%s)\n", m.worst, m.within() ? "within" : "outside");
}

void writeChapter(std::FILE *out, const ConformanceReport &report)
{
    std::fprintf(out, ".\\\" Written by zem_host conformance at build time: the figures the build measured.\n"
                      ".NH 1\nMeasured behaviour\n.LP\n"
                      "The figures below are measured at every build, through the plug-in's own VST interface, with "
                      "the default settings (precise peaks: the PPM3 at a reference of 0\\~dBFS, instant rise, "
                      "PRECISE PEAKS on). Beside each is the figure of the standard that engineers check it against. "
                      "The meters' ballistics are their own: where a figure differs from a standard, the table says "
                      "so rather than the meter being tuned to it.\n");
    // The figure and the standard are text blocks that wrap, ragged right and unhyphenated,
    // within their columns: as plain entries the longest of them would widen the table past
    // the right edge of the page.
    std::fprintf(
        out,
        ".TS\nallbox tab(|);\nlb lb lb lb\nlw(0.55i) lw(2.45i) lw(1.6i) lw(0.75i).\nMeter|Figure|Standard|Measured\n");
    for (const ConformanceRow &row : report.rows)
        std::fprintf(out, "%s|T{\n.na\n.nh\n%s\nT}|T{\n.na\n.nh\n%s\nT}|%s\n", groffText(row.meter).c_str(),
                     groffText(row.figure).c_str(), groffText(row.standard).c_str(), groffText(row.measured).c_str());
    std::fprintf(out, ".TE\n");
    for (const ConformancePlot &plot : report.plots)
        writePlot(out, plot);
}

int runConformance(const std::vector<std::string> &arguments)
{
    std::string groff, standardKey, searchKey;
    std::vector<std::string> positional;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--groff" && i + 1 < arguments.size())
            groff = arguments[++i];
        else if (arguments[i] == "--standard" && i + 1 < arguments.size())
            standardKey = arguments[++i];
        else if (arguments[i] == "--search" && i + 1 < arguments.size())
            searchKey = arguments[++i];
        else
            positional.push_back(arguments[i]);
    }
    if (positional.size() != 1) {
        std::fprintf(stderr, "usage: zem_host conformance <plugin> [--groff FILE] [--standard KEY | --search KEY]\n");
        return 2;
    }
    PluginHost host(positional[0]);
    if (!host.loaded()) {
        std::fprintf(stderr, "cannot load %s: %s\n", positional[0].c_str(), host.error().c_str());
        return 1;
    }
    if (!standardKey.empty() || !searchKey.empty()) {
        const std::string key = standardKey.empty() ? searchKey : standardKey;
        const MeterStandard *standard = meterStandardByKey(key.c_str());
        if (!standard) {
            std::fprintf(stderr, "no standard %s; the standards are:\n", key.c_str());
            for (int type = 0; type < kMeterTypeCount; ++type)
                for (int i = 0; i < meterStandardCount(MeterType(type)); ++i)
                    std::fprintf(stderr, "  %s  %s\n", meterStandard(MeterType(type), i)->key,
                                 meterStandard(MeterType(type), i)->name);
            return 2;
        }
        if (!standardKey.empty()) {
            const StandardMeasurement m = measureStandard(host, *standard);
            if (m.rows.empty())
                return 1;
            printStandard(m);
            return 0;
        }
        const StandardSearch found = searchStandard(host, *standard);
        if (found.measurement.rows.empty())
            return 1;
        std::printf("closest settings after %d measurements: %s\n", found.measured,
                    settingsText(found.settings).c_str());
        printStandard(found.measurement);
        return 0;
    }
    const ConformanceReport report = measureConformance(host);
    if (report.rows.empty()) {
        std::fprintf(stderr, "the plug-in measured nothing\n");
        return 1;
    }
    if (!groff.empty()) {
        std::FILE *out = std::fopen(groff.c_str(), "w");
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", groff.c_str());
            return 1;
        }
        writeChapter(out, report);
        writeStandards(out, host);
        return std::fclose(out) == 0 ? 0 : 1;
    }
    std::printf("| meter | figure | standard | measured |\n|---|---|---|---|\n");
    for (const ConformanceRow &row : report.rows)
        std::printf("| %s | %s | %s | %s |\n", row.meter.c_str(), row.figure.c_str(), row.standard.c_str(),
                    row.measured.c_str());
    return 0;
}

SubcommandRegistration registration{
    "conformance", "conformance <plugin> [--groff FILE] [--standard KEY | --search KEY]", runConformance};

}  // namespace
