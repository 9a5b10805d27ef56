// The large images: front panels with the printed RMS and PPM scales, settings panels with the
// captions and position marks of every control, and the channel-strip backgrounds.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "controls/settings_panel_layout.h"
#include "params/parameter_table.h"
#include "display/needle_laws.h"
#include "faces.h"
#include "images.h"
#include "paint.h"

namespace {

constexpr int kKnobFrames = kSettingKnobFrames;

void hairline(cairo_t *cr, double x0, double x1, double y, double darkAlpha = 0.55, double lightAlpha = 0.06)
{
    cairo_rectangle(cr, x0, y, x1 - x0, 1);
    setColour(cr, {0, 0, 0}, darkAlpha);
    cairo_fill(cr);
    cairo_rectangle(cr, x0, y + 1, x1 - x0, 1);
    setColour(cr, {1, 1, 1}, lightAlpha);
    cairo_fill(cr);
}

// A bezel around a meter window.
void meterBezel(cairo_t *cr, double x, double y, double w, double h)
{
    roundedRect(cr, x - 3.5, y - 3.5, w + 7, h + 7, 4);
    fillVertical(cr, y - 3.5, rgb(12, 13, 15), y + h + 3.5, rgb(50, 52, 57));
    roundedRect(cr, x - 0.5, y - 0.5, w + 1, h + 1, 1);
    setColour(cr, {0, 0, 0}, 1.0);
    cairo_fill(cr);
}

// Position marks of a knob, in the knob's own frames, with optional labels outside them.
void knobMarks(cairo_t *cr, double knobX, double knobY, const std::vector<int> &frames,
               const std::vector<std::string> &labels, Rgb accent)
{
    const double cx = knobX + 21.5, cy = knobY + 20.5;
    for (size_t i = 0; i < frames.size(); ++i) {
        const double a = knobFrameAngle(frames[i], kKnobFrames) * M_PI / 180;
        const double s = std::sin(a), c = std::cos(a);
        cairo_set_line_width(cr, 1.2);
        setColour(cr, labels.empty() ? palette::inkDim : accent, labels.empty() ? 1.0 : 0.9);
        cairo_move_to(cr, cx + s * 18.5, cy - c * 18.5);
        cairo_line_to(cr, cx + s * 21.5, cy - c * 21.5);
        cairo_stroke(cr);
        if (i < labels.size())
            text(cr, labels[i], cx + s * 27.5, cy - c * 27.5 + 2.2, 6.2, Align::Centre, palette::ink, true, 0.9);
    }
}

void plainKnobMarks(cairo_t *cr, double knobX, double knobY)
{
    std::vector<int> frames;
    for (int i = 0; i <= 10; ++i)
        frames.push_back(i * 5);
    knobMarks(cr, knobX, knobY, frames, {}, palette::inkDim);
}

void labelWell(cairo_t *cr, double l, double t, double r, double b)
{
    paintWell(cr, l, t, r - l, b - t, 2, palette::well);
}

void knobCaptionAbove(cairo_t *cr, double knobX, double knobY, const char *s)
{
    caption(cr, s, knobX + 21.5, knobY - 6, 6.5, Align::Centre);
}

void knobCaptionBelow(cairo_t *cr, double knobX, double knobY, const char *s)
{
    caption(cr, s, knobX + 21.5, knobY + 52, 6.5, Align::Centre);
}

std::vector<std::string> overCounts()
{
    std::vector<std::string> v;
    for (int i = 1; i <= 10; ++i)
        v.push_back(std::to_string(i));
    return v;
}

// The over threshold knob and the over count knob, the same on the VU and the PPM settings panels.
void overKnobs(cairo_t *cr, const SettingControlRow &threshold, const SettingControlRow &count, const Rgb &accent)
{
    knobMarks(cr, threshold.left, threshold.top, {5, 19, 31, 45},
              {"+8R",
               "\xE2\x88\x92"
               "3",
               "\xE2\x88\x92"
               "1",
               "0"},
              accent);
    knobCaptionBelow(cr, threshold.left, threshold.top, "OVER dBFS");
    knobMarks(cr, count.left, count.top, {2, 6, 11, 17, 22, 28, 33, 39, 43, 48}, overCounts(), accent);
}

void settingsTitle(cairo_t *cr, int type, double cx, double top)
{
    text(cr, kMeterTypeNames[type], cx, top + 20, 20, Align::Centre, meterAccent(type), true, 0.95, 1.5);
    caption(cr, "SETTINGS", cx, top + 32, 7, Align::Centre);
    text(cr, "ZEM ORDWEN", cx, top + 43, 6, Align::Centre, palette::inkDim, true, 1.0, 1.2);
}

}  // namespace

Rgb meterAccent(int type)
{
    static const Rgb accents[] = {{1.0, 0.690, 0.255}, {0.42, 0.80, 0.88}, {0.58, 0.86, 0.46}};
    return accents[type];
}

void drawTopBar(cairo_t *cr, double x, double w, double imageTop)
{
    // The bar spans panel rows 0..13; imageTop is the panel row of the image's first row.
    cairo_rectangle(cr, x, 0 - imageTop, w, 14);
    fillVertical(cr, -imageTop, rgb(33, 35, 39), 14 - imageTop, rgb(24, 25, 28));
    cairo_rectangle(cr, x, 13 - imageTop, w, 1);
    setColour(cr, {0, 0, 0}, 0.7);
    cairo_fill(cr);
}

void drawFrontPanel(cairo_t *cr, int type)
{
    const Rgb accent = meterAccent(type);
    paintPanel(cr, 0, 0, 586, 169, palette::panelTop, palette::panelBottom, 10 + type);
    drawTopBar(cr, 0, 586, 0);
    hairline(cr, 0, 586, 14, 0.0, 0.05);
    // The hint line and the maker's mark.
    paintWell(cr, 302, 1.5, 196, 11, 2, palette::well);
    text(cr, "ZEM ORDWEN", 266, 10, 6.5, Align::Centre, palette::inkDim, true, 1.0, 1.4);

    // Meter windows.
    const double viewX[] = {12, 277};
    const double viewH = type == 0 ? 122 : 116;
    for (double x : viewX) {
        meterBezel(cr, x, 18, 250, viewH);
        if (type == 1)
            drawRmsScale(cr, x, 18, accent);
        else if (type == 2)
            drawPpmScale(cr, x, 18, accent);
        else
            drawVuFace(cr, x, 18, 2);
    }

    // Trim: a slot with dB marks at the handle centres. The 19-pixel handle travels the
    // control's 126 pixels less its own height, 107, from the top at +20 dB.
    const double trimTravel = 126 - 19;
    roundedRect(cr, 551.5, 24, 5, trimTravel + 5, 2.5);
    setColour(cr, {0, 0, 0}, 0.85);
    cairo_fill(cr);
    roundedRect(cr, 551.5, 24, 5, trimTravel + 5, 2.5);
    cairo_set_line_width(cr, 1);
    setColour(cr, {1, 1, 1}, 0.06);
    cairo_stroke(cr);
    for (int db = 20; db >= -20; db -= 5) {
        const double v = (db + 20) / 40.0;
        const double y = std::floor(17 + (1 - v) * trimTravel + 9.5) + 0.5;
        const bool major = db % 10 == 0;
        cairo_rectangle(cr, major ? 540 : 543, y - 0.5, major ? 8 : 5, 1);
        cairo_rectangle(cr, 560, y - 0.5, major ? 8 : 5, 1);
        setColour(cr, db == 0 ? accent : palette::inkDim, 0.9);
        cairo_fill(cr);
        if (major) {
            char s[16];
            std::snprintf(s, sizeof s, db > 0 ? "+%d" : "%d", db);
            text(cr, s, 578, y + 2.2, 6, Align::Centre, db == 0 ? accent : palette::ink, true, 0.9);
        }
    }
    cairo_save(cr);
    cairo_translate(cr, 536, 80);
    cairo_rotate(cr, -M_PI / 2);
    caption(cr, "TRIM dB", 0, 0, 6, Align::Centre);
    cairo_restore(cr);
    // The trim field's own ground (the field draws this part of the background behind its text).
    paintWell(cr, 531, 146.5, 46, 14, 2, palette::well);

    // The meter's name in the selector, between its two arrows.
    paintWell(cr, 216, 145, 107, 21, 3, palette::well);
    text(cr, kMeterTypeNames[type], 269.5, 158.5, 12, Align::Centre, accent, true, 1.0, 1.6);
    text(cr, "\xE2\x96\xBE SETTINGS", 269.5, 165.4, 5.2, Align::Centre, palette::inkDim, true, 0.9, 0.5);
    hairline(cr, 0, 586, 141.5, 0.35, 0.04);
}

void drawSettingsPanel(cairo_t *cr, int type, double width)
{
    const Rgb accent = meterAccent(type);
    paintPanel(cr, 0, 0, width, 261, rgb(40, 42, 46), rgb(28, 29, 32), 40 + type);
    drawTopBar(cr, 0, width, 0);
    // The scope band at row 180 is an image of its own; the lower part carries the notes.
    hairline(cr, 0, width, 192, 0.5, 0.05);
    caption(cr, "Click any empty place to close this panel.", 18, 208, 7, Align::Left, 0.8);
    text(cr, "Closing stores the Global settings of all three meters as your defaults.", 18, 221, 7, Align::Left,
         palette::inkDim, true);
    text(cr, "Double-click or Ctrl-click a knob for its default; Shift for fine steps; the wheel steps one position.",
         18, 234, 7, Align::Left, palette::inkDim, true);
    text(cr, "Scope: G Global \xC2\xB7 S Session \xC2\xB7 I Instance (top left).", 18, 247, 7, Align::Left,
         palette::inkDim, true);
    paintScrew(cr, width - 12, 206, 3.5, 30);
    paintScrew(cr, width - 12, 248, 3.5, 120);

    // The captions, marks and label wells sit at the controls and labels of the panel's table.
    const SettingsPanelLayout &layout = kSettingsPanelLayouts[type];
    auto at = [&](int index) -> const SettingControlRow & { return *layout.row(index); };
    auto plainKnob = [&](int index, const char *captionAbove) {
        const SettingControlRow &knob = at(index);
        if (captionAbove)
            knobCaptionAbove(cr, knob.left, knob.top, captionAbove);
        plainKnobMarks(cr, knob.left, knob.top);
        labelWell(cr, knob.label.left, knob.label.top, knob.label.right, knob.label.bottom);
    };
    // Under the second row of controls, just above the scope band.
    auto captionUnderRow = [&](int index, const char *s) {
        const SettingControlRow &control = at(index);
        caption(cr, s, control.left + control.width() / 2.0, 177, 6.5, Align::Centre);
    };
    auto captionOver = [&](int index, const char *s, int gap) {
        const SettingControlRow &control = at(index);
        caption(cr, s, control.left + control.width() / 2.0, control.top - gap, 6.5, Align::Centre);
    };

    if (type == kMeterTypeVU) {
        plainKnob(83, "REFERENCE");
        plainKnob(84, "INTEGRATION");
        plainKnob(85, "PEAK HOLD");
        const SettingControlRow &backLight = at(88);
        knobMarks(cr, backLight.left, backLight.top, {15, 20, 25, 30, 35}, {"1", "2", "3", "4", "5"}, accent);
        knobCaptionBelow(cr, backLight.left, backLight.top, "BACKLIGHT");
        overKnobs(cr, at(90), at(89), accent);
        captionUnderRow(89, "OVER SAMPLES");
        captionOver(86, "NEEDLE", 5);
        captionOver(87, "M/S MID LEVEL", 5);
    } else if (type == kMeterTypeRMS) {
        plainKnob(72, "REFERENCE");
        plainKnob(74, "RMS WINDOW");
        plainKnob(73, "PEAK RISE");
        plainKnob(75, "PEAK HOLD");
        plainKnob(76, "RETURN");
        const SettingControlRow &threshold = at(79);
        knobMarks(cr, threshold.left, threshold.top, {0, 8, 17, 25, 33, 42, 50},
                  {"\xE2\x88\x92"
                   "6",
                   "\xE2\x88\x92"
                   "5",
                   "\xE2\x88\x92"
                   "4",
                   "\xE2\x88\x92"
                   "3",
                   "\xE2\x88\x92"
                   "2",
                   "\xE2\x88\x92"
                   "1",
                   "0"},
                  accent);
        knobCaptionBelow(cr, threshold.left, threshold.top, "OVER dB");
        captionOver(81, "OVER RE", 6);
        const SettingControlRow &count = at(78);
        knobMarks(cr, count.left, count.top, {2, 6, 11, 17, 22, 28, 33, 39, 44, 47}, overCounts(), accent);
        captionUnderRow(78, "OVER SAMPLES");
        captionOver(77, "M/S MID LEVEL", 5);
    } else {
        plainKnob(93, "REFERENCE");
        plainKnob(94, "RISE");
        // The M/S switch reaches down to row 103: the second row's captions go under the values.
        captionUnderRow(95, "PEAK HOLD");
        plainKnob(95, nullptr);
        captionUnderRow(96, "RETURN");
        plainKnob(96, nullptr);
        overKnobs(cr, at(99), at(98), accent);
        captionUnderRow(98, "OVER SAMPLES");
        captionOver(97, "M/S MID LEVEL", 5);
    }
    // The title is centred over the version label.
    settingsTitle(cr, type, layout.versionLabel.centreX(), 30);
}

namespace {

void frequencyScale(cairo_t *cr, double left, double lowHz, const std::vector<double> &marks,
                    const std::vector<std::string> &labels)
{
    // Handle centres: x = left + 9.5 + 144 * v, with f = low * 100^v.
    for (size_t i = 0; i < marks.size(); ++i) {
        const double v = std::log(marks[i] / lowHz) / std::log(100.0);
        const double x = std::floor(left + 9.5 + 144 * v) + 0.5;
        cairo_rectangle(cr, x - 0.5, 41, 1, 3);
        setColour(cr, palette::inkDim, 1.0);
        cairo_fill(cr);
        text(cr, labels[i], x, 51, 6, Align::Centre, palette::ink, true, 0.85);
    }
}

void stripGround(cairo_t *cr, int type, double h, unsigned seed)
{
    paintPanel(cr, 0, 0, 586, h, rgb(36, 38, 42), rgb(26, 27, 30), seed);
    cairo_rectangle(cr, 0, 0, 586, 1);
    setColour(cr, meterAccent(type), 0.35);
    cairo_fill(cr);
}

}  // namespace

void drawFilterStrip(cairo_t *cr, int type)
{
    stripGround(cr, type, 53, 60 + type);
    caption(cr, "HP", 34, 16, 6.5, Align::Centre);
    caption(cr, "LP", 299, 16, 6.5, Align::Centre);
    for (double left : {58.0, 323.0}) {
        roundedRect(cr, left + 6, 24, 162 - 12, 4, 2);
        setColour(cr, {0, 0, 0}, 0.85);
        cairo_fill(cr);
    }
    frequencyScale(cr, 58, 20, {20, 50, 100, 200, 500, 1000, 2000}, {"20", "50", "100", "200", "500", "1k", "2k"});
    frequencyScale(cr, 323, 300, {300, 1000, 3000, 10000, 30000}, {"300", "1k", "3k", "10k", "30k"});
    text(cr, "12/24", 237.5, 41, 5.8, Align::Centre, palette::inkDim, true);
    text(cr, "6/18", 503.5, 41, 5.8, Align::Centre, palette::inkDim, true);
    text(cr, "dB/oct", 237.5, 49, 5.2, Align::Centre, palette::inkDim, true);
    text(cr, "dB/oct", 503.5, 49, 5.2, Align::Centre, palette::inkDim, true);
    caption(cr, "FILTERS", 556.5, 46, 6, Align::Centre);
    cairo_rectangle(cr, 273, 6, 1, 42);
    setColour(cr, {0, 0, 0}, 0.5);
    cairo_fill(cr);
    cairo_rectangle(cr, 274, 6, 1, 42);
    setColour(cr, {1, 1, 1}, 0.05);
    cairo_fill(cr);
}

void drawLabelStrip(cairo_t *cr, int type)
{
    stripGround(cr, type, 39, 70 + type);
    // Masking tape across the strip, its torn ends from a fixed sequence.
    unsigned state = 977u + type;
    auto jitter = [&state]() {
        state = state * 1103515245u + 12345u;
        return ((state >> 16) & 0xFF) / 255.0;
    };
    const double l = 17, r = 523, t = 2, b = 35;
    cairo_move_to(cr, l + 1, t);
    cairo_line_to(cr, r - 1, t + 0.5);
    for (double y = t; y <= b; y += 3)
        cairo_line_to(cr, r - 2 + jitter() * 3, y);
    cairo_line_to(cr, l + 1, b);
    for (double y = b; y >= t; y -= 3)
        cairo_line_to(cr, l - 1 + jitter() * 3, y);
    cairo_close_path(cr);
    cairo_path_t *tape = cairo_copy_path(cr);
    setColour(cr, {0, 0, 0}, 0.5);
    cairo_save(cr);
    cairo_translate(cr, 0, 1.2);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_append_path(cr, tape);
    fillVertical(cr, t, rgb(236, 228, 206), b, rgb(214, 204, 178));
    cairo_append_path(cr, tape);
    cairo_clip(cr);
    for (int i = 0; i < 160; ++i) {
        const double x = l + jitter() * (r - l), y = t + jitter() * (b - t);
        setColour(cr, {0.45, 0.38, 0.25}, 0.05);
        cairo_rectangle(cr, x, y, 6 + jitter() * 10, 0.7);
        cairo_fill(cr);
    }
    cairo_reset_clip(cr);
    cairo_path_destroy(tape);
    cairo_save(cr);
    cairo_translate(cr, 535, 20);
    cairo_rotate(cr, -M_PI / 2);
    caption(cr, "LAG ms", 0, 0, 5.5, Align::Centre);
    cairo_restore(cr);
}

void drawCollapsedStrip(cairo_t *cr, int type)
{
    stripGround(cr, type, 13, 80 + type);
    cairo_rectangle(cr, 0, 12, 586, 1);
    setColour(cr, {0, 0, 0}, 0.6);
    cairo_fill(cr);
    for (double x = 8; x < 490; x += 4) {
        cairo_rectangle(cr, x, 5, 2, 3);
        setColour(cr, {0, 0, 0}, 0.22);
        cairo_fill(cr);
    }
}
