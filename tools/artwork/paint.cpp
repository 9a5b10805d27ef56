#include "paint.h"

#include <cmath>

namespace palette {
const Rgb panelTop = {0.172, 0.180, 0.192};
const Rgb panelBottom = {0.118, 0.125, 0.137};
const Rgb ink = {200 / 255.0, 193 / 255.0, 193 / 255.0};
const Rgb inkDim = {0.52, 0.51, 0.51};
const Rgb shadow = {0.0, 0.0, 0.0};
const Rgb amber = {1.0, 0.690, 0.255};
const Rgb red = {0.93, 0.13, 0.10};
const Rgb well = {0.062, 0.066, 0.074};
const Rgb faceDark = {0.085, 0.090, 0.098};
}  // namespace palette

Rgb rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

Rgb mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

Canvas::Canvas(int width, int height, int scale)
    : width_(width), height_(height), scale_(scale),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * scale, height * scale)),
      cr_(cairo_create(surface_))
{
    // At 1x nothing is transformed, so that the 1x images stay exactly what they were.
    if (scale != 1)
        cairo_scale(cr_, scale, scale);
    cairo_font_options_t *options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
}

Canvas::~Canvas()
{
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

bool Canvas::writePng(const std::string &path) const
{
    cairo_surface_flush(surface_);
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void setColour(cairo_t *cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void roundedRect(cairo_t *cr, double x, double y, double w, double h, double r)
{
    const double pi = M_PI;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

void fillVertical(cairo_t *cr, double y0, Rgb top, double y1, Rgb bottom, double alpha)
{
    cairo_pattern_t *p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, alpha);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void paintPanel(cairo_t *cr, double x, double y, double w, double h, Rgb top, Rgb bottom, unsigned seed)
{
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    fillVertical(cr, y, top, y + h, bottom);
    // Fine grain: short horizontal streaks from a fixed linear congruential sequence.
    unsigned state = seed * 2654435761u + 12345u;
    auto next = [&state]() {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / double(1u << 24);
    };
    cairo_set_line_width(cr, 1.0);
    const int streaks = int(w * h / 40);
    for (int i = 0; i < streaks; ++i) {
        const double sx = x + next() * w, sy = y + std::floor(next() * h) + 0.5;
        const double len = 6 + next() * 30;
        const bool light = next() > 0.5;
        setColour(cr, light ? Rgb{1, 1, 1} : Rgb{0, 0, 0}, 0.012 + next() * 0.018);
        cairo_move_to(cr, sx, sy);
        cairo_line_to(cr, std::min(sx + len, x + w), sy);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void paintWell(cairo_t *cr, double x, double y, double w, double h, double r, Rgb floor)
{
    cairo_save(cr);
    // Light lip below, dark rim above: the well is cut into the panel.
    roundedRect(cr, x - 0.5, y - 0.5, w + 1, h + 1.5, r + 0.5);
    setColour(cr, {1, 1, 1}, 0.07);
    cairo_fill(cr);
    roundedRect(cr, x - 0.5, y - 0.5, w + 1, h + 1, r + 0.5);
    setColour(cr, {0, 0, 0}, 0.55);
    cairo_fill(cr);
    roundedRect(cr, x, y, w, h, r);
    fillVertical(cr, y, mix(floor, {0, 0, 0}, 0.35), y + h, floor);
    roundedRect(cr, x, y, w, h, r);
    cairo_clip(cr);
    cairo_pattern_t *p = cairo_pattern_create_linear(0, y, 0, y + 4);
    cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, 0.45);
    cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0.0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

void paintKey(cairo_t *cr, double x, double y, double w, double h, double r, bool pressed)
{
    cairo_save(cr);
    roundedRect(cr, x, y + 0.5, w, h, r);
    setColour(cr, {0, 0, 0}, 0.6);
    cairo_fill(cr);
    roundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1.5, r);
    const Rgb hi = pressed ? rgb(52, 55, 60) : rgb(74, 78, 85);
    const Rgb lo = pressed ? rgb(40, 42, 46) : rgb(44, 47, 52);
    fillVertical(cr, y, hi, y + h, lo);
    roundedRect(cr, x + 1, y + 1, w - 2, h - 3, r - 0.5);
    cairo_set_line_width(cr, 1.0);
    setColour(cr, {1, 1, 1}, pressed ? 0.04 : 0.09);
    cairo_stroke(cr);
    cairo_restore(cr);
}

static void selectFont(cairo_t *cr, double size, bool bold)
{
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

double textWidth(cairo_t *cr, const std::string &s, double size, bool bold, double letterSpacing)
{
    selectFont(cr, size, bold);
    cairo_text_extents_t e;
    cairo_text_extents(cr, s.c_str(), &e);
    int glyphs = 0;
    for (unsigned char ch : s)
        glyphs += (ch & 0xC0) != 0x80;
    return e.x_advance + letterSpacing * (glyphs > 0 ? glyphs - 1 : 0);
}

void text(cairo_t *cr, const std::string &s, double x, double y, double size, Align align, Rgb c, bool bold,
          double alpha, double letterSpacing)
{
    const double w = textWidth(cr, s, size, bold, letterSpacing);
    double left = x;
    if (align == Align::Centre)
        left = x - w / 2;
    else if (align == Align::Right)
        left = x - w;
    selectFont(cr, size, bold);
    setColour(cr, c, alpha);
    if (letterSpacing == 0.0) {
        cairo_move_to(cr, left, y);
        cairo_show_text(cr, s.c_str());
        return;
    }
    // Spaced captions: one UTF-8 character at a time.
    size_t i = 0;
    double pen = left;
    while (i < s.size()) {
        size_t n = 1;
        while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80)
            ++n;
        const std::string glyph = s.substr(i, n);
        cairo_move_to(cr, pen, y);
        cairo_show_text(cr, glyph.c_str());
        cairo_text_extents_t e;
        cairo_text_extents(cr, glyph.c_str(), &e);
        pen += e.x_advance + letterSpacing;
        i += n;
    }
}

void caption(cairo_t *cr, const std::string &s, double x, double y, double size, Align align, double alpha)
{
    text(cr, s, x, y + 1, size, align, palette::shadow, true, 0.7, 0.6);
    text(cr, s, x, y, size, align, palette::ink, true, alpha, 0.6);
}

void paintLed(cairo_t *cr, double cx, double cy, double radius, Rgb colour, int level)
{
    cairo_save(cr);
    if (level == 2) {
        cairo_pattern_t *glow = cairo_pattern_create_radial(cx, cy, radius * 0.5, cx, cy, radius * 2.2);
        cairo_pattern_add_color_stop_rgba(glow, 0, colour.r, colour.g, colour.b, 0.55);
        cairo_pattern_add_color_stop_rgba(glow, 1, colour.r, colour.g, colour.b, 0.0);
        cairo_set_source(cr, glow);
        cairo_arc(cr, cx, cy, radius * 2.2, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
    }
    // Bezel.
    cairo_arc(cr, cx, cy, radius + 1.2, 0, 2 * M_PI);
    cairo_pattern_t *bezel = cairo_pattern_create_linear(0, cy - radius, 0, cy + radius);
    cairo_pattern_add_color_stop_rgba(bezel, 0, 0, 0, 0, 0.9);
    cairo_pattern_add_color_stop_rgba(bezel, 1, 0.35, 0.36, 0.38, 0.9);
    cairo_set_source(cr, bezel);
    cairo_fill(cr);
    cairo_pattern_destroy(bezel);
    // Lens.
    const Rgb body = level == 2   ? colour
                     : level == 1 ? mix(colour, {0.05, 0.03, 0.03}, 0.55)
                                  : mix(colour, {0.06, 0.06, 0.07}, 0.86);
    cairo_pattern_t *lens = cairo_pattern_create_radial(cx - radius * 0.3, cy - radius * 0.35, radius * 0.1, cx, cy,
                                                        radius);
    const Rgb centre = level == 2 ? mix(colour, {1, 1, 0.9}, 0.65) : mix(body, {1, 1, 1}, 0.18);
    cairo_pattern_add_color_stop_rgb(lens, 0, centre.r, centre.g, centre.b);
    cairo_pattern_add_color_stop_rgb(lens, 1, body.r * 0.8, body.g * 0.8, body.b * 0.8);
    cairo_set_source(cr, lens);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(lens);
    // Specular highlight.
    cairo_arc(cr, cx - radius * 0.3, cy - radius * 0.35, radius * 0.3, 0, 2 * M_PI);
    setColour(cr, {1, 1, 1}, level == 2 ? 0.5 : 0.16);
    cairo_fill(cr);
    cairo_restore(cr);
}

void paintScrew(cairo_t *cr, double cx, double cy, double radius, double slotDegrees)
{
    cairo_save(cr);
    cairo_arc(cr, cx, cy + 0.5, radius + 0.6, 0, 2 * M_PI);
    setColour(cr, {0, 0, 0}, 0.6);
    cairo_fill(cr);
    cairo_pattern_t *p = cairo_pattern_create_radial(cx - radius * 0.4, cy - radius * 0.4, 0.2, cx, cy, radius);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.62, 0.63, 0.65);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.24, 0.25, 0.27);
    cairo_set_source(cr, p);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    const double a = slotDegrees * M_PI / 180;
    cairo_set_line_width(cr, 0.9);
    setColour(cr, {0.05, 0.05, 0.06}, 0.9);
    cairo_move_to(cr, cx - std::cos(a) * radius * 0.8, cy - std::sin(a) * radius * 0.8);
    cairo_line_to(cr, cx + std::cos(a) * radius * 0.8, cy + std::sin(a) * radius * 0.8);
    cairo_stroke(cr);
    cairo_restore(cr);
}
