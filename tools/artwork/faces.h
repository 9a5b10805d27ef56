// Meter faces and printed scales, drawn at (ox, oy) = the meter view's top-left corner.
#pragma once

#include <cairo.h>

#include "paint.h"

// One 250 x 122 frame of the VU face at backlight level 0..4.
void drawVuFace(cairo_t *cr, double ox, double oy, int backlight);
// The 250 x 116 scale faces under the RMS and PPM needles (part of the front panel).
void drawRmsScale(cairo_t *cr, double ox, double oy, Rgb accent);
void drawPpmScale(cairo_t *cr, double ox, double oy, Rgb accent);
