// The committed artwork agrees with the needle laws: on the printed scales, the marks of the
// reference readings lie exactly where the needle points at those readings, and the face between
// marks is plain. A change of a law without drawing the images again fails here.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "display/needle_laws.h"

namespace {

std::string pngPath(const char *name) { return std::string(ZEM_SOURCE_DIR) + "/resources/png/" + name; }

class Image {
public:
    explicit Image(const char *name) : surface_(cairo_image_surface_create_from_png(pngPath(name).c_str())) {}
    ~Image() { cairo_surface_destroy(surface_); }
    bool ok() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
    // Brightness 0..255 of the pixel under (x, y), composited over black.
    double brightness(double x, double y) const
    {
        const int ix = int(std::floor(x)), iy = int(std::floor(y));
        const unsigned char *data = cairo_image_surface_get_data(surface_);
        const uint32_t p = *reinterpret_cast<const uint32_t *>(
            data + size_t(iy) * cairo_image_surface_get_stride(surface_) + ix * 4);
        return (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3.0;
    }

private:
    cairo_surface_t *surface_;
};

double fromDb(double db) { return std::pow(10.0, db / 20.0); }

// Brightness on the mark at the given angle, and the darkest/brightest of its two neighbours
// two degrees to either side, at radius r of a view whose corner is (ox, oy).
struct Probe {
    double onMark, besideLow, besideHigh;
};
Probe probe(const Image &image, const NeedleGeometry &g, double ox, double oy, double r, double degrees)
{
    auto at = [&](double d) {
        const NeedlePoint p = needlePoint(g.pivotX, g.pivotY, float(r), float(d));
        return image.brightness(ox + p.x, oy + p.y);
    };
    const double a = at(degrees + 2.0), b = at(degrees - 2.0);
    return {at(degrees), std::min(a, b), std::max(a, b)};
}

TEST(ScaleMarks, VuMarksLieUnderTheNeedleOnEveryBacklightLevel)
{
    Image face("40007.png");
    ASSERT_TRUE(face.ok());
    for (int level = 0; level < 5; ++level) {
        for (double db : {-20.0, -10.0, -5.0, 0.0}) {
            // Dark print on the lit paper.
            const Probe p = probe(face, vuNeedleGeometry, 0, 122.0 * level, 115.5, vuNeedleAngle(float(fromDb(db))));
            EXPECT_LT(p.onMark + 25, p.besideLow) << "level " << level << ", " << db << " VU";
        }
    }
}

TEST(ScaleMarks, RmsAndPpmMarksLieUnderTheNeedle)
{
    Image rms("41001.png"), ppm("42001.png");
    ASSERT_TRUE(rms.ok());
    ASSERT_TRUE(ppm.ok());
    for (double ox : {12.0, 277.0}) {
        for (double db : {-40.0, -20.0, -10.0, 0.0}) {
            const Probe p = probe(rms, rmsNeedleGeometry, ox, 18, 105.0, rmsNeedleAngle(float(fromDb(db))));
            EXPECT_GT(p.onMark, p.besideHigh + 40) << "RMS " << db << " dB";
        }
        for (double db : {-12.0, -8.0, -4.0, 0.0}) {
            const Probe p = probe(ppm, ppmNeedleGeometry, ox, 18, 105.0, ppmNeedleAngle(float(fromDb(db))));
            EXPECT_GT(p.onMark, p.besideHigh + 40) << "PPM " << db << " dB";
        }
    }
}

// The trim slider (538, 17)-(570, 143) moves its 19-pixel handle over 107 pixels: the dB marks
// beside the track lie at the handle's centre for their trim, -20 dB at the bottom included.
TEST(ScaleMarks, TrimMarksLieAtTheHandleCentreOnEveryFrontPanel)
{
    for (const char *name : {"10000.png", "41001.png", "42001.png"}) {
        Image panel(name);
        ASSERT_TRUE(panel.ok()) << name;
        for (int db = -20; db <= 20; db += 5) {
            const double centre = 17 + (1 - (db + 20) / 40.0) * 107 + 9.5;
            const double row = std::floor(centre);
            const double onMark = panel.brightness(546, row);
            EXPECT_GT(onMark, panel.brightness(546, row - 3) + 40) << name << ", " << db << " dB";
            EXPECT_GT(onMark, panel.brightness(546, row + 3) + 40) << name << ", " << db << " dB";
        }
    }
}

}  // namespace
#endif
