// The angle laws of the three needle meters and their geometry. The needle views draw with
// these functions and the artwork generator prints the scales with them, so a printed mark lies
// exactly under the needle at its reading.
// Threads: pure functions, callable from any thread.
#pragma once

// Angles are in degrees, counter-clockwise from the positive x axis with y pointing up.

// VU: v in needle units (0 VU = 1.0), as clamped by the front panel to -0.05 .. 1.5.
float vuNeedleAngle(float v);
// RMS: linear amplitude relative to the reference level (0.0001 .. 32); 34 .. 145 degrees.
float rmsNeedleAngle(float v);
// PPM: linear amplitude relative to the reference level; 3.75 degrees per dB, 30 .. 150 degrees.
float ppmNeedleAngle(float v);

// Needle geometry of one view type, relative to the view's top-left corner.
struct NeedleGeometry {
    int width, height;           // view size in pixels
    float pivotX, pivotY;        // pivot (below the view's lower edge)
    float needleFrom, needleTo;  // main needle radii (rA .. rB)
    float holdFrom, holdTo;      // hold marker radii (rC .. rD)
    int ledX, ledY;              // top-left corner of the 20 x 20 over LED
};
extern const NeedleGeometry vuNeedleGeometry;
extern const NeedleGeometry rmsNeedleGeometry;
extern const NeedleGeometry ppmNeedleGeometry;

struct NeedlePoint {
    float x, y;
};
// The point at radius r along angle theta: (pivot x + 0.5 + r cos theta, pivot y + 0.5 - r sin theta).
NeedlePoint needlePoint(float pivotX, float pivotY, float radius, float degrees);
