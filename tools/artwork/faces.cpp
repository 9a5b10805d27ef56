// The meter faces: the VU face with its backlight levels and the RMS and PPM scales printed on
// the front panels. Every mark is placed with the same angle law and pivot the needle uses.
#include "faces.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "display/needle_laws.h"
#include "paint.h"

namespace {

double fromDb(double db) { return std::pow(10.0, db / 20.0); }

// Point at radius r along angle theta around the needle pivot, as the views compute it.
void polar(const NeedleGeometry &g, double ox, double oy, double r, double degrees, double &x, double &y)
{
    const NeedlePoint p = needlePoint(g.pivotX, g.pivotY, float(r), float(degrees));
    x = ox + p.x;
    y = oy + p.y;
}

void tick(cairo_t *cr, const NeedleGeometry &g, double ox, double oy, double degrees, double r0, double r1,
          double width, Rgb c, double alpha = 1.0)
{
    double x0, y0, x1, y1;
    polar(g, ox, oy, r0, degrees, x0, y0);
    polar(g, ox, oy, r1, degrees, x1, y1);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    setColour(cr, c, alpha);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_stroke(cr);
}

void arcBand(cairo_t *cr, const NeedleGeometry &g, double ox, double oy, double r, double fromDeg, double toDeg,
             double width, Rgb c, double alpha = 1.0)
{
    const double cx = ox + g.pivotX + 0.5, cy = oy + g.pivotY + 0.5;
    cairo_set_line_width(cr, width);
    setColour(cr, c, alpha);
    // Screen angles run clockwise: a counter-clockwise degree d is -d on screen.
    const double a0 = -fromDeg * M_PI / 180, a1 = -toDeg * M_PI / 180;
    cairo_new_sub_path(cr);
    if (a0 < a1)
        cairo_arc(cr, cx, cy, r, a0, a1);
    else
        cairo_arc(cr, cx, cy, r, a1, a0);
    cairo_stroke(cr);
}

void number(cairo_t *cr, const NeedleGeometry &g, double ox, double oy, double r, double degrees, const std::string &s,
            double size, Rgb c, bool bold = true)
{
    double x, y;
    polar(g, ox, oy, r, degrees, x, y);
    text(cr, s, x, y + size * 0.36, size, Align::Centre, c, bold);
}

void glassAndVignette(cairo_t *cr, double x, double y, double w, double h, double strength)
{
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_pattern_t *v = cairo_pattern_create_radial(x + w / 2, y + h * 0.75, h * 0.4, x + w / 2, y + h * 0.75,
                                                     w * 0.72);
    cairo_pattern_add_color_stop_rgba(v, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(v, 1, 0, 0, 0, 0.45 * strength);
    cairo_set_source(cr, v);
    cairo_paint(cr);
    cairo_pattern_destroy(v);
    // A soft diagonal reflection of the cover glass.
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + w * 0.55, y);
    cairo_line_to(cr, x + w * 0.25, y + h);
    cairo_line_to(cr, x, y + h);
    cairo_close_path(cr);
    cairo_pattern_t *g = cairo_pattern_create_linear(x, y, x + w * 0.4, y + h);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.07 * strength);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0.0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // The bezel's shadow falls on the face from above and from the sides.
    cairo_pattern_t *top = cairo_pattern_create_linear(0, y, 0, y + 7);
    cairo_pattern_add_color_stop_rgba(top, 0, 0, 0, 0, 0.45 * strength);
    cairo_pattern_add_color_stop_rgba(top, 1, 0, 0, 0, 0);
    cairo_set_source(cr, top);
    cairo_rectangle(cr, x, y, w, 7);
    cairo_fill(cr);
    for (int side = 0; side < 2; ++side) {
        const double x0 = side == 0 ? x : x + w, x1 = side == 0 ? x + 4 : x + w - 4;
        cairo_pattern_t *edge = cairo_pattern_create_linear(x0, 0, x1, 0);
        cairo_pattern_add_color_stop_rgba(edge, 0, 0, 0, 0, 0.3 * strength);
        cairo_pattern_add_color_stop_rgba(edge, 1, 0, 0, 0, 0);
        cairo_set_source(cr, edge);
        cairo_rectangle(cr, std::min(x0, x1), y, 4, h);
        cairo_fill(cr);
        cairo_pattern_destroy(edge);
    }
    cairo_pattern_destroy(top);
    cairo_restore(cr);
}

}  // namespace

void drawVuFace(cairo_t *cr, double ox, double oy, int backlight)
{
    const NeedleGeometry &g = vuNeedleGeometry;
    const double w = g.width, h = g.height;
    cairo_save(cr);
    cairo_rectangle(cr, ox, oy, w, h);
    cairo_clip(cr);

    // Warm paper face lit from behind: brighter in the middle, the level sets the lamp.
    const double lamp = 0.30 + 0.175 * backlight;
    const Rgb paper = {0.96, 0.90, 0.74};
    const Rgb dark = {0.20, 0.17, 0.12};
    const Rgb lit = mix(dark, paper, lamp);
    const Rgb edge = mix(dark, paper, lamp * 0.62);
    cairo_pattern_t *face = cairo_pattern_create_radial(ox + w / 2, oy + h * 0.62, 8, ox + w / 2, oy + h * 0.62,
                                                        w * 0.62);
    cairo_pattern_add_color_stop_rgb(face, 0, lit.r, lit.g, lit.b * 0.96);
    cairo_pattern_add_color_stop_rgb(face, 1, edge.r, edge.g, edge.b);
    cairo_set_source(cr, face);
    cairo_paint(cr);
    cairo_pattern_destroy(face);

    const Rgb print = {0.12, 0.10, 0.08};
    const Rgb red = {0.78, 0.10, 0.07};
    const double arcR = 108, majorR = 119, labelR = 127;
    const double zero = vuNeedleAngle(1.0f);
    // Main arc; the red zone from 0 VU to +3 VU is a wide band above it.
    arcBand(cr, g, ox, oy, arcR, vuNeedleAngle(float(fromDb(-20))), zero, 1.2, print);
    arcBand(cr, g, ox, oy, arcR + 2.5, zero, vuNeedleAngle(float(fromDb(3))), 5.0, red);
    arcBand(cr, g, ox, oy, arcR, zero, vuNeedleAngle(float(fromDb(3))), 1.2, red);

    const int labelled[] = {-20, -10, -7, -5, -3, -2, -1, 0, 1, 2, 3};
    for (int db : labelled) {
        const double a = vuNeedleAngle(float(fromDb(db)));
        const Rgb c = db > 0 ? red : print;
        tick(cr, g, ox, oy, a, arcR, majorR, db == 0 ? 1.8 : 1.3, c);
        char s[16];
        std::snprintf(s, sizeof s, "%d", db < 0 ? -db : db);
        number(cr, g, ox, oy, labelR, a, s, db == 0 ? 9.0 : 8.0, c);
    }
    // Minor marks at every half and whole dB between the numbers.
    const double minor[] = {-15, -6, -4, -2.5, -1.5, -0.5, 0.5, 1.5, 2.5};
    for (double db : minor)
        tick(cr, g, ox, oy, vuNeedleAngle(float(fromDb(db))), arcR, arcR + 5, 0.9, db > 0 ? red : print);

    // Signs at the ends of the scale.
    text(cr, "\xE2\x88\x92", ox + 14, oy + 60, 13, Align::Centre, print, true);
    text(cr, "+", ox + 236, oy + 60, 13, Align::Centre, red, true);

    // Percentage scale under the arc: 0 to 100 % of the 0 VU needle position.
    const double pctR = 98;
    arcBand(cr, g, ox, oy, pctR, vuNeedleAngle(0.0f), zero, 0.8, print, 0.8);
    for (int pct = 0; pct <= 100; pct += 10) {
        const double a = vuNeedleAngle(pct / 100.0f);
        tick(cr, g, ox, oy, a, pctR - (pct % 20 == 0 ? 5 : 3), pctR, 0.8, print, 0.8);
        if (pct % 20 == 0 && pct > 0) {
            char s[16];
            std::snprintf(s, sizeof s, "%d", pct);
            number(cr, g, ox, oy, pctR - 11, a, s, 6.0, print, false);
        }
    }
    text(cr, "%", ox + 46, oy + 93, 7, Align::Centre, print, false, 0.85);

    // The instrument's name and the over lamp caption.
    text(cr, "VU", ox + 128.5, oy + 96, 20, Align::Centre, print, true, 0.92, 1.0);
    text(cr, "OVER", ox + g.ledX + 10, oy + g.ledY - 3, 6, Align::Centre, print, true, 0.8, 0.5);
    text(cr, "ZEM ORDWEN", ox + 68, oy + 110, 5.5, Align::Centre, print, true, 0.55, 0.6);
    // A lamp socket for the over LED to sit in.
    cairo_arc(cr, ox + g.ledX + 10, oy + g.ledY + 10, 9.5, 0, 2 * M_PI);
    setColour(cr, print, 0.25);
    cairo_fill(cr);

    glassAndVignette(cr, ox, oy, w, h, 1.0);

    // The lower lip of the bezel: it hides the needles' roots (the view draws its last six
    // rows of this frame over them).
    cairo_rectangle(cr, ox, oy + 116, w, 6);
    fillVertical(cr, oy + 116, rgb(58, 60, 64), oy + 122, rgb(26, 27, 30));
    cairo_rectangle(cr, ox, oy + 116, w, 1);
    setColour(cr, {1, 1, 1}, 0.16);
    cairo_fill(cr);
    cairo_restore(cr);
}

namespace {

void darkFace(cairo_t *cr, double ox, double oy, double w, double h, Rgb tint)
{
    cairo_rectangle(cr, ox, oy, w, h);
    cairo_pattern_t *p = cairo_pattern_create_radial(ox + w / 2, oy + h * 0.9, 10, ox + w / 2, oy + h * 0.9, w * 0.7);
    const Rgb centre = mix(palette::faceDark, tint, 0.10);
    cairo_pattern_add_color_stop_rgb(p, 0, centre.r, centre.g, centre.b);
    cairo_pattern_add_color_stop_rgb(p, 1, palette::faceDark.r * 0.7, palette::faceDark.g * 0.7,
                                     palette::faceDark.b * 0.7);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void legendLine(cairo_t *cr, double x, double y, Rgb c, const char *label)
{
    cairo_set_line_width(cr, 2.0);
    setColour(cr, c);
    cairo_move_to(cr, x, y - 2.5);
    cairo_line_to(cr, x + 10, y - 2.5);
    cairo_stroke(cr);
    text(cr, label, x + 13, y, 6, Align::Left, palette::inkDim, true, 1.0, 0.5);
}

}  // namespace

void drawRmsScale(cairo_t *cr, double ox, double oy, Rgb accent)
{
    const NeedleGeometry &g = rmsNeedleGeometry;
    cairo_save(cr);
    cairo_rectangle(cr, ox, oy, g.width, g.height);
    cairo_clip(cr);
    darkFace(cr, ox, oy, g.width, g.height, accent);

    const Rgb ink = {0.86, 0.84, 0.80};
    const Rgb hot = {0.93, 0.26, 0.18};
    const double arcR = 100, labelR = 113;
    const double zero = rmsNeedleAngle(1.0f);
    // The compressed part below -40 dB is printed finer, in a dimmer ink.
    arcBand(cr, g, ox, oy, arcR, rmsNeedleAngle(0.0001f), rmsNeedleAngle(0.01f), 0.8, palette::inkDim);
    arcBand(cr, g, ox, oy, arcR, rmsNeedleAngle(0.01f), zero, 1.1, ink);
    arcBand(cr, g, ox, oy, arcR + 2, zero, rmsNeedleAngle(float(fromDb(6))), 4.0, hot, 0.9);

    for (int db = -40; db <= 6; ++db) {
        const bool labelled = db == -40 || db == -30 || db == -20 || db == -15 || db == -10 || db == -6 || db == -3 ||
                              db == 0 || db == 3 || db == 6;
        const bool minor = db >= -10 || db % 5 == 0;
        if (!labelled && !minor)
            continue;
        const double a = rmsNeedleAngle(float(fromDb(db)));
        const Rgb c = db > 0 ? hot : db == 0 ? accent : ink;
        tick(cr, g, ox, oy, a, arcR, arcR + (labelled ? 9 : 4.5), labelled ? 1.3 : 0.8, c);
        if (labelled) {
            char s[16];
            std::snprintf(s, sizeof s, db > 0 ? "+%d" : "%d", db);
            number(cr, g, ox, oy, labelR, a, s, db == 0 ? 8.0 : 7.0, c);
        }
    }
    for (int db : {-50}) {
        const double a = rmsNeedleAngle(float(fromDb(db)));
        tick(cr, g, ox, oy, a, arcR, arcR + 5, 0.8, palette::inkDim);
        number(cr, g, ox, oy, labelR - 1, a, std::to_string(db), 6.0, palette::inkDim, false);
    }
    text(cr, "RMS", ox + 126.5, oy + 84, 15, Align::Centre, ink, true, 0.9, 1.5);
    text(cr, "dB re REF", ox + 126.5, oy + 96, 6.5, Align::Centre, palette::inkDim, true, 1.0, 0.5);
    legendLine(cr, ox + 10, oy + 110, {237 / 255.0, 230 / 255.0, 201 / 255.0}, "PEAK");
    legendLine(cr, ox + 50, oy + 110, {140 / 255.0, 118 / 255.0, 108 / 255.0}, "RMS");
    text(cr, "OVER", ox + g.ledX + 10, oy + g.ledY + 29, 6, Align::Centre, palette::inkDim, true, 1.0, 0.5);
    glassAndVignette(cr, ox, oy, g.width, g.height, 0.8);
    cairo_restore(cr);
}

void drawPpmScale(cairo_t *cr, double ox, double oy, Rgb accent)
{
    const NeedleGeometry &g = ppmNeedleGeometry;
    cairo_save(cr);
    cairo_rectangle(cr, ox, oy, g.width, g.height);
    cairo_clip(cr);
    darkFace(cr, ox, oy, g.width, g.height, accent);

    const Rgb ink = {0.86, 0.84, 0.80};
    const Rgb hot = {0.93, 0.26, 0.18};
    const double arcR = 100, labelR = 113;
    const double low = ppmNeedleAngle(float(fromDb(-16))), zero = ppmNeedleAngle(1.0f);
    const double high = ppmNeedleAngle(float(fromDb(14)));
    arcBand(cr, g, ox, oy, arcR, low, zero, 1.1, ink);
    arcBand(cr, g, ox, oy, arcR, zero, high, 1.1, hot);
    arcBand(cr, g, ox, oy, arcR + 2, ppmNeedleAngle(float(fromDb(8))), high, 4.0, hot, 0.9);
    // One mark per dB (3.75 degrees), a number every 4 dB.
    for (int db = -16; db <= 14; ++db) {
        const double a = ppmNeedleAngle(float(fromDb(db)));
        const bool labelled = db % 4 == 0 && db > -16;
        const Rgb c = db > 0 ? hot : db == 0 ? accent : ink;
        tick(cr, g, ox, oy, a, arcR, arcR + (labelled ? 9 : db % 2 == 0 ? 6 : 4), labelled ? 1.3 : 0.8, c);
        if (labelled) {
            char s[16];
            std::snprintf(s, sizeof s, db > 0 ? "+%d" : "%d", db);
            number(cr, g, ox, oy, labelR, a, s, db == 0 ? 9.0 : 8.0, c);
        }
    }
    text(cr, "PPM", ox + 126.5, oy + 84, 15, Align::Centre, ink, true, 0.9, 1.5);
    text(cr, "dB re REF  \xC2\xB7  3.75\xC2\xB0/dB", ox + 126.5, oy + 96, 6.5, Align::Centre, palette::inkDim, true,
         1.0, 0.3);
    text(cr, "OVER", ox + g.ledX + 10, oy + g.ledY + 29, 6, Align::Centre, palette::inkDim, true, 1.0, 0.5);
    glassAndVignette(cr, ox, oy, g.width, g.height, 0.8);
    cairo_restore(cr);
}
