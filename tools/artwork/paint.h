// Drawing kit of the artwork generator: one image surface with the few primitives the faces,
// panels and controls are built from. Everything is deterministic (no clock, no random seed)
// so that running the generator twice writes identical files.
#pragma once

#include <cairo.h>

#include <string>

struct Rgb {
    double r, g, b;
};
Rgb rgb(int r, int g, int b);
Rgb mix(Rgb a, Rgb b, double t);

enum class Align { Left, Centre, Right };

// An image surface of width x height logical pixels, scale device pixels each: every drawing
// function works in logical coordinates and cairo renders it at the scale, so that edges and
// text are drawn sharp at that size instead of enlarged from the 1x image.
class Canvas {
public:
    Canvas(int width, int height, int scale = 1);
    ~Canvas();
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    cairo_t *cr() const { return cr_; }
    cairo_surface_t *surface() const { return surface_; }
    // Logical size; the surface is scale() times as large.
    int width() const { return width_; }
    int height() const { return height_; }
    int scale() const { return scale_; }

    // Writes the image; false on failure.
    bool writePng(const std::string &path) const;

private:
    int width_, height_, scale_;
    cairo_surface_t *surface_;
    cairo_t *cr_;
};

void setColour(cairo_t *cr, Rgb c, double alpha = 1.0);
void roundedRect(cairo_t *cr, double x, double y, double w, double h, double r);

// A vertical gradient fill of the current path.
void fillVertical(cairo_t *cr, double y0, Rgb top, double y1, Rgb bottom, double alpha = 1.0);

// Panel surface: dark graphite with a fine horizontal grain.
void paintPanel(cairo_t *cr, double x, double y, double w, double h, Rgb top, Rgb bottom, unsigned seed);

// A recessed well: darker floor, inner shadow at the top, a light lip at the bottom.
void paintWell(cairo_t *cr, double x, double y, double w, double h, double r, Rgb floor);

// A raised key, lit or not.
void paintKey(cairo_t *cr, double x, double y, double w, double h, double r, bool pressed);

// Text with the product's sans-serif face; y is the baseline. letterSpacing in pixels.
void text(cairo_t *cr, const std::string &s, double x, double y, double size, Align align, Rgb c, bool bold = true,
          double alpha = 1.0, double letterSpacing = 0.0);
double textWidth(cairo_t *cr, const std::string &s, double size, bool bold = true, double letterSpacing = 0.0);
// Engraved caption: light text with a dark shadow one pixel below.
void caption(cairo_t *cr, const std::string &s, double x, double y, double size, Align align, double alpha = 0.9);

// A round indicator LED; level 0 off, 1 dim, 2 fully lit.
void paintLed(cairo_t *cr, double cx, double cy, double radius, Rgb colour, int level);

// A screw head.
void paintScrew(cairo_t *cr, double cx, double cy, double radius, double slotDegrees);

// The product's colours.
namespace palette {
extern const Rgb panelTop, panelBottom, ink, inkDim, shadow, amber, red, well, faceDark;
}
