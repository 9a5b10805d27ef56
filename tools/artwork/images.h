// Drawing of every image the generator writes. Frame functions draw one frame at (0, y).
#pragma once

#include <cairo.h>

#include "paint.h"

// Controls
double knobFrameAngle(int frame, int frames);
void drawKnob(cairo_t *cr, double y, int frame, int frames);
void drawOverLed(cairo_t *cr, double y, int state);
void drawProcessButton(cairo_t *cr, double y, bool on);
void drawToggle(cairo_t *cr, double y, bool open);
void drawManualButton(cairo_t *cr, double y, int frame);
void drawScopeSelector(cairo_t *cr, double y, int scope, double width);
void drawScopeIndicator(cairo_t *cr, double y, int scope);
void drawReferenceDisplay(cairo_t *cr, double y, bool highlighted);
void drawMeterSelector(cairo_t *cr, double y, int frame, Rgb accent);
void drawLrMsButton(cairo_t *cr, double y, bool midSide, Rgb accent);
void drawChannelIndicator(cairo_t *cr, double y, const char *name, Rgb accent);
void drawHoldSwitch(cairo_t *cr, double y, int position, Rgb accent);
void drawMidSideSwitch(cairo_t *cr, double y, double frameHeight, int position, Rgb accent);
void drawTallButton(cairo_t *cr, double y, double w, double h, const char *line1, const char *line2, const char *line3,
                    bool on, Rgb accent);
void drawNeedleType(cairo_t *cr, double y, bool second, Rgb accent);
void drawOverBase(cairo_t *cr, double y, bool fullScale, Rgb accent);
void drawTrimHandle(cairo_t *cr);
void drawFrequencyHandle(cairo_t *cr);
void drawFilterIn(cairo_t *cr, double y, bool on);
void drawSlope(cairo_t *cr, double y, bool steep);
void drawStripActive(cairo_t *cr, double y, double w, double h, int state, bool withLegend);
void drawTitle(cairo_t *cr, double w, const char *title);
void drawLagDisplay(cairo_t *cr, int layer);
void drawMarker(cairo_t *cr);

// Panels (meter type 0 VU, 1 RMS, 2 PPM)
Rgb meterAccent(int type);
void drawTopBar(cairo_t *cr, double x, double w, double imageTop);
void drawFrontPanel(cairo_t *cr, int type);
void drawSettingsPanel(cairo_t *cr, int type, double width);
void drawFilterStrip(cairo_t *cr, int type);
void drawLabelStrip(cairo_t *cr, int type);
void drawCollapsedStrip(cairo_t *cr, int type);
