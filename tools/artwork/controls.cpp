// The small images: buttons, switches, selectors, the knob strip, LEDs, handles and the
// tape-label marker. Multi-frame images stack equal frames vertically; each function draws one
// frame at (0, y).
#include "images.h"

#include <cmath>
#include <string>

#include "paint.h"

namespace {

const Rgb kDimText = {0.58, 0.57, 0.56};

// A key whose state is shown by the brightness of its legend and an LED.
void legendKey(cairo_t *cr, double x, double y, double w, double h, const std::string &legend, bool on, Rgb accent,
               double size = 7)
{
    paintKey(cr, x, y, w, h, 2.5, on);
    paintLed(cr, x + 7, y + h / 2 - 0.5, 2.4, accent, on ? 2 : 0);
    text(cr, legend, x + 12 + (w - 12) / 2, y + h / 2 + size * 0.36, size, Align::Centre,
         on ? mix(accent, {1, 1, 1}, 0.35) : kDimText, true, 1.0, 0.4);
}

// Segmented switch: the selected segment is lit.
void segments(cairo_t *cr, double x, double y, double w, double h, const std::string *labels, int count, int selected,
              Rgb accent, double size)
{
    paintWell(cr, x, y, w, h, 2.5, palette::well);
    const double sw = (w - 2) / count;
    for (int i = 0; i < count; ++i) {
        const double sx = x + 1 + i * sw;
        if (i == selected) {
            roundedRect(cr, sx + 0.5, y + 1.5, sw - 1, h - 3, 2);
            fillVertical(cr, y, mix(accent, {0, 0, 0}, 0.45), y + h, mix(accent, {0, 0, 0}, 0.70));
            roundedRect(cr, sx + 0.5, y + 1.5, sw - 1, h - 3, 2);
            cairo_set_line_width(cr, 1);
            setColour(cr, accent, 0.55);
            cairo_stroke(cr);
        } else if (i > 0 && i != selected + 1) {
            cairo_rectangle(cr, sx, y + 3, 1, h - 6);
            setColour(cr, {1, 1, 1}, 0.06);
            cairo_fill(cr);
        }
        // The infinity sign is small in its font: it is set larger than the words beside it.
        const double glyph = labels[i] == "\xE2\x88\x9E" ? size * 1.6 : size;
        text(cr, labels[i], sx + sw / 2, y + h / 2 + glyph * (glyph > size ? 0.30 : 0.38), glyph, Align::Centre,
             i == selected ? mix(accent, {1, 1, 1}, 0.55) : kDimText, true);
    }
}

void triangle(cairo_t *cr, double cx, double cy, double size, double degrees, Rgb c, double alpha)
{
    const double a = degrees * M_PI / 180;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, a);
    cairo_move_to(cr, size, 0);
    cairo_line_to(cr, -size * 0.6, size * 0.85);
    cairo_line_to(cr, -size * 0.6, -size * 0.85);
    cairo_close_path(cr);
    setColour(cr, c, alpha);
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace

double knobFrameAngle(int frame, int frames)
{
    // Clockwise from twelve o'clock; the sweep is 270 degrees.
    return -135.0 + 270.0 * frame / (frames - 1);
}

void drawKnob(cairo_t *cr, double y, int frame, int frames)
{
    const double cx = 21.5, cy = y + 20.5, r = 15;
    // Drop shadow.
    cairo_pattern_t *sh = cairo_pattern_create_radial(cx, cy + 2, r - 2, cx, cy + 2, r + 5);
    cairo_pattern_add_color_stop_rgba(sh, 0, 0, 0, 0, 0.7);
    cairo_pattern_add_color_stop_rgba(sh, 1, 0, 0, 0, 0);
    cairo_set_source(cr, sh);
    cairo_arc(cr, cx, cy + 2, r + 5, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(sh);
    // Knurled skirt.
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    fillVertical(cr, cy - r, rgb(70, 73, 79), cy + r, rgb(22, 23, 26));
    const double turn = knobFrameAngle(frame, frames) * M_PI / 180;
    cairo_set_line_width(cr, 0.8);
    for (int i = 0; i < 36; ++i) {
        const double a = turn + i * 2 * M_PI / 36;
        setColour(cr, {0, 0, 0}, 0.45);
        cairo_move_to(cr, cx + std::sin(a) * (r - 2.2), cy - std::cos(a) * (r - 2.2));
        cairo_line_to(cr, cx + std::sin(a) * (r - 0.3), cy - std::cos(a) * (r - 0.3));
        cairo_stroke(cr);
    }
    // Brushed cap.
    const double cap = 10.5;
    cairo_arc(cr, cx, cy, cap, 0, 2 * M_PI);
    cairo_pattern_t *p = cairo_pattern_create_linear(cx - cap, cy - cap, cx + cap, cy + cap);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.42, 0.43, 0.46);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.26, 0.27, 0.29);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.16, 0.17, 0.18);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_arc(cr, cx, cy, cap, 0, 2 * M_PI);
    cairo_set_line_width(cr, 0.8);
    setColour(cr, {1, 1, 1}, 0.12);
    cairo_stroke(cr);
    // Pointer line from the cap onto the skirt.
    cairo_set_line_width(cr, 2.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColour(cr, {0.97, 0.95, 0.90});
    cairo_move_to(cr, cx + std::sin(turn) * 4.0, cy - std::cos(turn) * 4.0);
    cairo_line_to(cr, cx + std::sin(turn) * (r - 1.5), cy - std::cos(turn) * (r - 1.5));
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void drawOverLed(cairo_t *cr, double y, int state) { paintLed(cr, 10, y + 10, 5.5, {1.0, 0.12, 0.08}, state); }

void drawProcessButton(cairo_t *cr, double y, bool on)
{
    paintKey(cr, 0.5, y + 0.5, 42, 13, 2.5, on);
    paintLed(cr, 5.5, y + 7, 2.2, palette::amber, on ? 2 : 0);
    text(cr, "PROCESS", 25, y + 9.6, 5.8, Align::Centre, on ? mix(palette::amber, {1, 1, 1}, 0.35) : kDimText, true);
}

void drawToggle(cairo_t *cr, double y, bool open)
{
    paintKey(cr, 0.5, y + 0.5, 10, 10, 2, open);
    triangle(cr, 5.5, y + 5.5, 2.8, open ? 90 : 0, open ? palette::amber : kDimText, 1.0);
}

void drawManualButton(cairo_t *cr, double y, int frame)
{
    paintKey(cr, 0, y + 1, 10, 12, 2, frame == 2);
    const Rgb c = frame == 0 ? kDimText : frame == 1 ? mix(palette::amber, {1, 1, 1}, 0.3) : palette::amber;
    text(cr, "?", 5, y + 11 + (frame == 2 ? 0.5 : 0), 9, Align::Centre, c, true);
}

void drawScopeSelector(cairo_t *cr, double y, int scope, double width)
{
    static const char *const letters[] = {"G", "S", "I"};
    static const char *const names[] = {"GLOBAL", "SESSION", "INSTANCE"};
    (void)width;
    const double edges[] = {0, 14, 26, 38};
    for (int i = 0; i < 3; ++i) {
        const double x = edges[i] + 0.5, w = edges[i + 1] - edges[i] - 1;
        const bool lit = i == scope;
        paintKey(cr, x, y + 0.5, w, 10, 2, lit);
        text(cr, letters[i], x + w / 2, y + 8.3, 7, Align::Centre, lit ? palette::amber : kDimText, true);
    }
    text(cr, names[scope], 42, y + 8.5, 6.5, Align::Left, palette::ink, true, 0.85, 0.6);
}

void drawScopeIndicator(cairo_t *cr, double y, int scope)
{
    static const char *const lines[] = {
        "GLOBAL  \xC2\xB7  shared by every instance  \xC2\xB7  stored as your defaults when this panel closes",
        "SESSION  \xC2\xB7  shared by the instances of this session  \xC2\xB7  saved with the project",
        "INSTANCE  \xC2\xB7  this instance only  \xC2\xB7  saved with the project"};
    cairo_rectangle(cr, 0, y, 586, 11);
    fillVertical(cr, y, rgb(20, 21, 24), y + 11, rgb(14, 15, 17));
    cairo_rectangle(cr, 0, y, 586, 1);
    setColour(cr, {0, 0, 0}, 0.6);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, y + 10, 586, 1);
    setColour(cr, {1, 1, 1}, 0.06);
    cairo_fill(cr);
    paintLed(cr, 10, y + 5.5, 2.5, palette::amber, 2);
    text(cr, lines[scope], 18, y + 8.2, 6.5, Align::Left, palette::ink, true, 0.85, 0.3);
}

void drawReferenceDisplay(cairo_t *cr, double y, bool highlighted)
{
    paintKey(cr, 0.5, y + 0.5, 132, 10.5, 2, false);
    text(cr, "REF LEVEL", 6, y + 8.3, 6.5, Align::Left, highlighted ? palette::amber : palette::ink, true, 0.9, 0.6);
    paintLed(cr, 73, y + 5.5, 1.8, palette::amber, highlighted ? 2 : 1);
    paintWell(cr, 81, y + 1.5, 50, 8.5, 1.5, palette::well);
}

void drawMeterSelector(cairo_t *cr, double y, int frame, Rgb accent)
{
    for (int side = 0; side < 2; ++side) {
        const double x = side == 0 ? 0.5 : 129.5;
        const bool lit = frame == side + 1;
        paintKey(cr, x, y + 1, 19, 21, 3, lit);
        triangle(cr, x + 9.5, y + 11.5, 4.5, side == 0 ? 180 : 0, lit ? accent : kDimText, lit ? 1.0 : 0.9);
    }
}

void drawLrMsButton(cairo_t *cr, double y, bool midSide, Rgb accent)
{
    paintKey(cr, 0.5, y + 0.5, 86, 23, 3, midSide);
    paintLed(cr, 9, y + 12, 2.6, accent, 2);
    const Rgb on = mix(accent, {1, 1, 1}, 0.35);
    text(cr, "L/R", 34, y + 15.5, 9, Align::Centre, midSide ? kDimText : on, true);
    text(cr, "M/S", 66, y + 15.5, 9, Align::Centre, midSide ? on : kDimText, true);
    cairo_rectangle(cr, 50, y + 6, 1, 12);
    setColour(cr, {1, 1, 1}, 0.12);
    cairo_fill(cr);
}

void drawChannelIndicator(cairo_t *cr, double y, const char *name, Rgb accent)
{
    paintWell(cr, 1, y + 1, 64, 17, 2.5, palette::well);
    text(cr, name, 33, y + 13, 8.5, Align::Centre, mix(accent, {1, 1, 1}, 0.3), true, 1.0, 1.2);
}

void drawHoldSwitch(cairo_t *cr, double y, int position, Rgb accent)
{
    static const std::string labels[] = {"OFF", "\xE2\x88\x9E", "ON"};
    segments(cr, 0.5, y + 0.5, 85, 23, labels, 3, position, accent, 8);
}

void drawMidSideSwitch(cairo_t *cr, double y, double frameHeight, int position, Rgb accent)
{
    static const std::string labels[] = {"0",
                                         "\xE2\x88\x92"
                                         "3",
                                         "\xE2\x88\x92"
                                         "6"};
    segments(cr, 0.5, y + 0.5, 69, frameHeight - 1, labels, 3, position, accent, frameHeight > 50 ? 10 : 8);
    if (frameHeight > 50)
        text(cr, "dB", 35, y + frameHeight - 8, 6.5, Align::Centre, kDimText, true);
}

void drawTallButton(cairo_t *cr, double y, double w, double h, const char *line1, const char *line2, const char *line3,
                    bool on, Rgb accent)
{
    paintKey(cr, 0.5, y + 0.5, w - 1, h - 1, 3, on);
    paintLed(cr, w / 2, y + 12, 3.5, accent, on ? 2 : 0);
    const Rgb c = on ? mix(accent, {1, 1, 1}, 0.4) : kDimText;
    const double mid = y + h / 2 + 4;
    text(cr, line1, w / 2, mid - 4, 7.5, Align::Centre, c, true, 1.0, 0.4);
    text(cr, line2, w / 2, mid + 6, 7.5, Align::Centre, c, true, 1.0, 0.4);
    if (line3)
        text(cr, line3, w / 2, y + h - 8, 5.5, Align::Centre, kDimText, true, 0.9, 0.2);
}

void drawNeedleType(cairo_t *cr, double y, bool second, Rgb accent)
{
    paintKey(cr, 0.5, y + 0.5, 64, 40, 3, second);
    const Rgb on = mix(accent, {1, 1, 1}, 0.35);
    paintLed(cr, 16, y + 10, 2.6, accent, second ? 0 : 2);
    paintLed(cr, 48, y + 10, 2.6, accent, second ? 2 : 0);
    text(cr, "I", 16, y + 27, 10, Align::Centre, second ? kDimText : on, true);
    text(cr, "II", 48, y + 27, 10, Align::Centre, second ? on : kDimText, true);
    text(cr, "DAMPING", 32, y + 36, 5.2, Align::Centre, kDimText, true, 0.9, 0.3);
}

void drawOverBase(cairo_t *cr, double y, bool fullScale, Rgb accent)
{
    paintKey(cr, 0.5, y + 0.5, 53, 56, 3, fullScale);
    const Rgb on = mix(accent, {1, 1, 1}, 0.35);
    paintLed(cr, 9, y + 17, 2.6, accent, fullScale ? 0 : 2);
    paintLed(cr, 9, y + 38, 2.6, accent, fullScale ? 2 : 0);
    text(cr, "REF", 31, y + 20, 8, Align::Centre, fullScale ? kDimText : on, true);
    text(cr, "dBFS", 31, y + 41, 8, Align::Centre, fullScale ? on : kDimText, true);
    cairo_rectangle(cr, 8, y + 28, 38, 1);
    setColour(cr, {1, 1, 1}, 0.1);
    cairo_fill(cr);
}

void drawTrimHandle(cairo_t *cr)
{
    roundedRect(cr, 1, 1.5, 30, 17, 2.5);
    setColour(cr, {0, 0, 0}, 0.6);
    cairo_fill(cr);
    roundedRect(cr, 1, 0.5, 30, 17, 2.5);
    fillVertical(cr, 0.5, rgb(120, 124, 130), 17.5, rgb(52, 55, 60));
    for (int i = 0; i < 4; ++i) {
        cairo_rectangle(cr, 4, 3.5 + i * 2 + (i >= 2 ? 6 : 0), 24, 0.8);
        setColour(cr, {0, 0, 0}, 0.35);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 2, 8.5, 28, 1.4);
    setColour(cr, {0.97, 0.95, 0.90});
    cairo_fill(cr);
}

void drawFrequencyHandle(cairo_t *cr)
{
    roundedRect(cr, 1.5, 2, 16, 29, 2.5);
    setColour(cr, {0, 0, 0}, 0.6);
    cairo_fill(cr);
    roundedRect(cr, 1.5, 1, 16, 29, 2.5);
    cairo_pattern_t *p = cairo_pattern_create_linear(1.5, 0, 17.5, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.48, 0.50, 0.53);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.21, 0.22, 0.24);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    for (int i = 0; i < 3; ++i) {
        cairo_rectangle(cr, 4.5 + i * 2, 4, 0.8, 23);
        cairo_rectangle(cr, 12 + i * 2 - 2, 4, 0.8, 23);
        setColour(cr, {0, 0, 0}, 0.28);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 9, 2, 1.4, 27);
    setColour(cr, {0.97, 0.95, 0.90});
    cairo_fill(cr);
}

void drawFilterIn(cairo_t *cr, double y, bool on)
{
    legendKey(cr, 0.5, y + 0.5, 35, 11, "IN", on, palette::amber, 6.5);
}

void drawSlope(cairo_t *cr, double y, bool steep)
{
    paintKey(cr, 0.5, y + 0.5, 28, 23, 3, steep);
    cairo_set_line_width(cr, 1.4);
    setColour(cr, steep ? palette::amber : kDimText);
    cairo_move_to(cr, 5, y + 7);
    if (steep)
        cairo_curve_to(cr, 14, y + 7, 17, y + 8, 17.5, y + 19);
    else
        cairo_curve_to(cr, 11, y + 7, 17, y + 10, 24, y + 18);
    cairo_stroke(cr);
    text(cr, steep ? "\xE2\x96\xB2" : "\xE2\x96\xB3", 23, y + 9.5, 5, Align::Centre, steep ? palette::amber : kDimText);
}

void drawStripActive(cairo_t *cr, double y, double w, double h, int state, bool withLegend)
{
    if (withLegend) {
        paintKey(cr, 0.5, y + 0.5, w - 1, h - 1, 3, state != 0);
        paintLed(cr, w / 2, y + 9, 3.2, palette::amber, state);
        text(cr, "IN", w / 2, y + h - 6, 7, Align::Centre, state == 2 ? palette::amber : kDimText, true);
    } else {
        paintLed(cr, w / 2, y + h / 2, 3.6, palette::amber, state);
    }
}

void drawTitle(cairo_t *cr, double w, const char *title)
{
    text(cr, title, w / 2, 8.5, 6.5, Align::Centre, palette::ink, true, 0.85, 0.4);
}

void drawLagDisplay(cairo_t *cr, int layer)
{
    const double y = layer * 40;
    if (layer == 0) {
        // 38 of the layer's 40 rows: the display fits the 39-pixel label strip below its top row.
        paintKey(cr, 0.5, y + 0.5, 25, 37, 3, false);
        // The amber read-out window behind the three digits.
        roundedRect(cr, 3, y + 15, 20, 14, 1.5);
        fillVertical(cr, y + 15, rgb(236, 200, 128), y + 29, rgb(208, 160, 80));
        triangle(cr, 13, y + 7.5, 3.6, -90, kDimText, 1.0);
        triangle(cr, 13, y + 31.5, 3.6, 90, kDimText, 1.0);
    } else if (layer == 1) {
        // A thin frame around the window, over the digits.
        roundedRect(cr, 3, y + 15, 20, 14, 1.5);
        cairo_set_line_width(cr, 1.0);
        setColour(cr, {0, 0, 0}, 0.7);
        cairo_stroke(cr);
    } else {
        // Glass glare over the upper half of the window.
        roundedRect(cr, 3.5, y + 15.5, 19, 5, 1.5);
        setColour(cr, {1, 1, 1}, 0.18);
        cairo_fill(cr);
    }
}

void drawMarker(cairo_t *cr)
{
    // A felt-tip marker held at an angle, its tip at the lower left where it writes.
    cairo_save(cr);
    cairo_translate(cr, 6, 28);
    cairo_rotate(cr, -0.62);
    // Tip.
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, 6, -2.2);
    cairo_line_to(cr, 6, 2.2);
    cairo_close_path(cr);
    setColour(cr, rgb(8, 45, 88));
    cairo_fill(cr);
    // Collar.
    cairo_rectangle(cr, 6, -3.2, 5, 6.4);
    fillVertical(cr, -3.2, rgb(150, 152, 156), 3.2, rgb(70, 72, 76));
    // Barrel.
    roundedRect(cr, 11, -4.2, 32, 8.4, 2.2);
    fillVertical(cr, -4.2, rgb(248, 246, 240), 4.2, rgb(190, 186, 178));
    roundedRect(cr, 11, -4.2, 32, 8.4, 2.2);
    cairo_set_line_width(cr, 0.8);
    setColour(cr, {0, 0, 0}, 0.45);
    cairo_stroke(cr);
    // Cap band in the ink colour.
    cairo_rectangle(cr, 36, -4.2, 5, 8.4);
    setColour(cr, rgb(8, 45, 88));
    cairo_fill(cr);
    cairo_restore(cr);
}
