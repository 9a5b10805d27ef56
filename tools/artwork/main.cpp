// The artwork generator. Draws every PNG image of the plug-in at its size and frame count.
//
//   zem_artwork generate DIR        writes DIR/NNNNN.png for every image, DIR/NNNNN@2x.png for
//                                   its 2x set (each higher scale of kPngHigherScales)
//   zem_artwork check DIR           fails unless every image is present at every scale with its
//                                   size times the scale and distinct frames
//   zem_artwork contact DIR OUT     one sheet with every image of DIR
//   zem_artwork figures DIR OUTDIR [FONT]  the manual's pictures (PDF): the meters at work,
//                                   the settings panels, the window with both strips
#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <fontconfig/fontconfig.h>
#include <zlib.h>

#include "controls/image_numbers.h"
#include "controls/settings_panel_layout.h"
#include "display/needle_laws.h"
#include "faces.h"
#include "images.h"
#include "paint.h"
#include "platform/png_resource.h"

namespace {

// NNNNN.png at 1x, NNNNN@2x.png at 2x ...
std::string pngFileName(int number, int scale)
{
    char name[32];
    if (scale == 1)
        std::snprintf(name, sizeof name, "%05d.png", number);
    else
        std::snprintf(name, sizeof name, "%05d@%dx.png", number, scale);
    return name;
}

std::string pngName(const std::string &dir, int number, int scale = 1)
{
    return dir + "/" + pngFileName(number, scale);
}

// 1x and every higher set.
std::vector<int> allScales()
{
    std::vector<int> scales{1};
    scales.insert(scales.end(), std::begin(kPngHigherScales), std::end(kPngHigherScales));
    return scales;
}

// The resource script's line of an image at a scale: the image's number, the type of the scale.
std::string resourceLine(int number, int scale)
{
    char line[64];
    if (scale == 1)
        std::snprintf(line, sizeof line, "%d PNG \"png/%s\"\n", number, pngFileName(number, scale).c_str());
    else
        std::snprintf(line, sizeof line, "%d PNG%dX \"png/%s\"\n", number, scale, pngFileName(number, scale).c_str());
    return line;
}

// Draws image `number` onto a canvas of its size; false for an unknown number.
bool drawImage(int number, Canvas &canvas)
{
    cairo_t *cr = canvas.cr();
    const int h = canvas.height();
    auto frames = [&](int count, const std::function<void(double, int)> &draw) {
        const int fh = h / count;
        for (int i = 0; i < count; ++i) {
            cairo_save(cr);
            cairo_rectangle(cr, 0, i * fh, canvas.width(), fh);
            cairo_clip(cr);
            draw(double(i * fh), i);
            cairo_restore(cr);
        }
    };
    // The images of the RMS meter are numbered 41000 to 41999, those of the PPM meter 42000 to
    // 42999; every other image takes the VU meter's accent.
    const int type = number >= 42000 && number < 43000 ? 2 : number >= 41000 && number < 42000 ? 1 : 0;
    const Rgb accent = meterAccent(type);
    switch (number) {
    case kImageVUFront:
    case kImageRMSFront:
    case kImagePPMFront:
        drawFrontPanel(cr, type);
        return true;
    case kImageVUSettings:
    case kImageRMSSettings:
        drawSettingsPanel(cr, type, 586);
        return true;
    case kImagePPMSettings:
        drawSettingsPanel(cr, 2, 585);
        return true;
    case kImageTrimHandle:
        drawTrimHandle(cr);
        return true;
    case kImageProcess:
        frames(2, [&](double y, int i) { drawProcessButton(cr, y, i == 1); });
        return true;
    case kImageVULRMS:
    case kImageRMSLRMS:
    case kImagePPMLRMS:
        frames(2, [&](double y, int i) { drawLrMsButton(cr, y, i == 1, accent); });
        return true;
    case kImageVULRMSLeft:
    case kImageRMSLRMSLeft:
    case kImagePPMLRMSLeft:
        frames(2, [&](double y, int i) { drawChannelIndicator(cr, y, i == 0 ? "LEFT" : "MID", accent); });
        return true;
    case kImageVULRMSRight:
    case kImageRMSLRMSRight:
    case kImagePPMLRMSRight:
        frames(2, [&](double y, int i) { drawChannelIndicator(cr, y, i == 0 ? "RIGHT" : "SIDE", accent); });
        return true;
    case kImageVUHold:
    case kImageRMSHold:
    case kImagePPMHold:
        frames(3, [&](double y, int i) { drawHoldSwitch(cr, y, i, accent); });
        return true;
    case kImageFrontScope:
        frames(3, [&](double y, int i) { drawScopeSelector(cr, y, i, 86); });
        return true;
    case kImageSettingsScope:
        frames(3, [&](double y, int i) {
            // Beyond the selector the image continues the settings panels' top bar, so that a
            // selector spanning the whole width blends in.
            cairo_save(cr);
            cairo_translate(cr, 0, y);
            drawTopBar(cr, 0, 581, 1);
            cairo_restore(cr);
            drawScopeSelector(cr, y, i, 581);
        });
        return true;
    case kImageSettingsScopeIndicator:
        frames(3, [&](double y, int i) { drawScopeIndicator(cr, y, i); });
        return true;
    case kImageReferenceDisplay:
        frames(2, [&](double y, int i) { drawReferenceDisplay(cr, y, i == 1); });
        return true;
    case kImageMeterSelector:
        frames(3, [&](double y, int i) { drawMeterSelector(cr, y, i, meterAccent(0)); });
        return true;
    case kImageStripToggle:
        frames(2, [&](double y, int i) { drawToggle(cr, y, i == 1); });
        return true;
    case kImageManualButton:
        frames(3, [&](double y, int i) { drawManualButton(cr, y, i); });
        return true;
    case kImageVUFace:
        frames(5, [&](double y, int i) { drawVuFace(cr, 0, y, i); });
        return true;
    case kImageOverLED:
        frames(3, [&](double y, int i) { drawOverLed(cr, y, i); });
        return true;
    case kImageKnobStrip:
        frames(51, [&](double y, int i) { drawKnob(cr, y, i, 51); });
        return true;
    case kImageVUNeedleType:
        frames(2, [&](double y, int i) { drawNeedleType(cr, y, i == 1, accent); });
        return true;
    case kImageVUMSType:
    case kImageRMSMSType:
        frames(3, [&](double y, int i) { drawMidSideSwitch(cr, y, 41, i, accent); });
        return true;
    case kImagePPMMSType:
        frames(3, [&](double y, int i) { drawMidSideSwitch(cr, y, 67, i, accent); });
        return true;
    case kImageVUPrecise:
    case kImageRMSPrecise:
    case kImagePPMPrecise:
        frames(2, [&](double y, int i) {
            drawTallButton(cr, y, 54, 97, "PRECISE", "PEAKS", "OVERSAMPLED", i == 1, accent);
        });
        return true;
    case kImageRMSOverBase:
        frames(2, [&](double y, int i) { drawOverBase(cr, y, i == 1, accent); });
        return true;
    case kImageFilterStripExpanded:
    case kImageRMSFilterStripExpanded:
    case kImagePPMFilterStripExpanded:
        drawFilterStrip(cr, (number - kImageFilterStripExpanded) / kImageStripExpandedStep);
        return true;
    case kImageLabelStripExpanded:
    case kImageRMSLabelStripExpanded:
    case kImagePPMLabelStripExpanded:
        drawLabelStrip(cr, (number - kImageLabelStripExpanded) / kImageStripExpandedStep);
        return true;
    case kImageStripCollapsed:
    case kImageRMSStripCollapsed:
    case kImagePPMStripCollapsed:
        drawCollapsedStrip(cr, (number - kImageStripCollapsed) / kImageStripCollapsedStep);
        return true;
    case kImageFiltersInExpanded:
        frames(3, [&](double y, int i) { drawStripActive(cr, y, 31, 30, i, true); });
        return true;
    case kImageFiltersInCollapsed:
        frames(3, [&](double y, int i) { drawStripActive(cr, y, 12, 12, i, false); });
        return true;
    case kImageFilterInOut:
        frames(2, [&](double y, int i) { drawFilterIn(cr, y, i == 1); });
        return true;
    case kImageFilterSlope:
        frames(2, [&](double y, int i) { drawSlope(cr, y, i == 1); });
        return true;
    case kImageFrequencyHandle:
        drawFrequencyHandle(cr);
        return true;
    case kImageFiltersTitle:
        drawTitle(cr, 33, "FILTERS");
        return true;
    case kImageLabelTitle:
        drawTitle(cr, 27, "LABEL");
        return true;
    case kImageLagDisplay:
        for (int layer = 0; layer < 3; ++layer)
            drawLagDisplay(cr, layer);
        return true;
    case kImageTapeMarker:
        drawMarker(cr);
        return true;
    default:
        return false;
    }
}

// The module resource script: every image as a resource of type "PNG" by its number, with paths
// relative to the script's folder; its higher sets follow by the same number with the types
// "PNG2X", "PNG3X".
bool writeResourceScript(const std::string &path)
{
    FILE *f = std::fopen(path.c_str(), "w");
    if (!f)
        return false;
    std::fprintf(f, "// Generated by the artwork generator: every image as a resource of type \"PNG\".\n");
    for (const ArtworkImage &image : artworkImages)
        std::fputs(resourceLine(image.number, 1).c_str(), f);
    for (int scale : kPngHigherScales) {
        std::fprintf(f, "// The same images at %dx, as resources of type \"PNG%dX\".\n", scale, scale);
        for (const ArtworkImage &image : artworkImages)
            std::fputs(resourceLine(image.number, scale).c_str(), f);
    }
    return std::fclose(f) == 0;
}

int generate(const std::string &dir)
{
    int failures = 0;
    if (!writeResourceScript(dir + "/../plugin.rc")) {
        std::fprintf(stderr, "zem_artwork: could not write plugin.rc\n");
        ++failures;
    }
    for (int scale : allScales()) {
        for (const ArtworkImage &image : artworkImages) {
            Canvas canvas(image.width, image.height, scale);
            if (!drawImage(image.number, canvas) || !canvas.writePng(pngName(dir, image.number, scale))) {
                std::fprintf(stderr, "zem_artwork: could not draw image %d at %dx\n", image.number, scale);
                ++failures;
            }
        }
    }
    return failures == 0 ? 0 : 1;
}

// Every image present at every scale, at its size times the scale, and every frame of a
// multi-frame image different from the frame before it (a frame count that does not match the
// drawing shows as equal frames).
int checkImage(const std::string &dir, const ArtworkImage &image, int scale)
{
    int failures = 0;
    const std::string path = pngName(dir, image.number, scale);
    const int width = image.width * scale, height = image.height * scale;
    cairo_surface_t *s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "artwork check: %s is missing or unreadable\n", path.c_str());
        ++failures;
    } else if (cairo_image_surface_get_width(s) != width || cairo_image_surface_get_height(s) != height) {
        std::fprintf(stderr, "artwork check: %s is %d x %d, expected %d x %d\n", path.c_str(),
                     cairo_image_surface_get_width(s), cairo_image_surface_get_height(s), width, height);
        ++failures;
    } else if (image.height % image.frames != 0) {
        std::fprintf(stderr, "artwork check: %d: height %d is not %d equal frames\n", image.number, image.height,
                     image.frames);
        ++failures;
    } else {
        cairo_surface_flush(s);
        const unsigned char *data = cairo_image_surface_get_data(s);
        const int stride = cairo_image_surface_get_stride(s);
        const int frameHeight = height / image.frames;
        for (int f = 1; f < image.frames; ++f) {
            if (std::memcmp(data + size_t(stride) * frameHeight * (f - 1), data + size_t(stride) * frameHeight * f,
                            size_t(stride) * frameHeight) == 0) {
                std::fprintf(stderr, "artwork check: %s: frame %d equals frame %d\n", path.c_str(), f, f - 1);
                ++failures;
            }
        }
    }
    cairo_surface_destroy(s);
    return failures;
}

int check(const std::string &dir)
{
    int failures = 0;
    for (int scale : allScales())
        for (const ArtworkImage &image : artworkImages)
            failures += checkImage(dir, image, scale);
    // The resource script must name every image at every scale.
    std::string script;
    if (FILE *f = std::fopen((dir + "/../plugin.rc").c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            script.append(buffer, n);
        std::fclose(f);
    }
    for (int scale : allScales()) {
        for (const ArtworkImage &image : artworkImages) {
            if (script.find("\n" + resourceLine(image.number, scale)) == std::string::npos) {
                std::fprintf(stderr, "artwork check: plugin.rc does not list image %d at %dx\n", image.number, scale);
                ++failures;
            }
        }
    }
    if (failures == 0)
        std::printf("artwork check: %d images present with their sizes and frames at %d scales\n", artworkImageCount,
                    int(allScales().size()));
    return failures == 0 ? 0 : 1;
}

int contactSheet(const std::string &dir, const std::string &out)
{
    // Images in reading order, wrapped at a fixed width; the knob strip is shown as its first
    // twelve frames side by side so that the sheet stays readable.
    const int sheetWidth = 1240, margin = 16, labelHeight = 14;
    struct Placed {
        const ArtworkImage *image;
        int x, y;
    };
    std::vector<Placed> placed;
    int x = margin, y = margin + 26, rowHeight = 0;
    auto shownSize = [](const ArtworkImage &im, int &w, int &h) {
        if (im.number == kImageKnobStrip) {
            w = 43 * 13, h = 41 * 4;
        } else {
            w = im.width, h = im.height;
        }
    };
    for (const ArtworkImage &image : artworkImages) {
        int w, h;
        shownSize(image, w, h);
        if (x + w > sheetWidth - margin) {
            x = margin;
            y += rowHeight + labelHeight + 10;
            rowHeight = 0;
        }
        placed.push_back({&image, x, y});
        x += std::max(w, 44) + 14;
        rowHeight = std::max(rowHeight, h);
    }
    const int sheetHeight = y + rowHeight + labelHeight + margin;
    Canvas sheet(sheetWidth, sheetHeight);
    cairo_t *cr = sheet.cr();
    cairo_rectangle(cr, 0, 0, sheetWidth, sheetHeight);
    setColour(cr, rgb(58, 60, 64));
    cairo_fill(cr);
    text(cr, "ZEM Ordwen \xE2\x80\x94 every image at 100 % (number, width \xC3\x97 height / frames)", margin, 20, 12,
         Align::Left, {0.92, 0.92, 0.92}, true);
    for (const Placed &p : placed) {
        cairo_surface_t *s = cairo_image_surface_create_from_png(pngName(dir, p.image->number).c_str());
        if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(s);
            std::fprintf(stderr, "contact sheet: image %d missing\n", p.image->number);
            return 1;
        }
        if (p.image->number == kImageKnobStrip) {
            for (int f = 0; f < 52; ++f) {
                const int frame = f < 51 ? f : 50;
                const int cx = p.x + (f % 13) * 43, cy = p.y + (f / 13) * 41;
                cairo_save(cr);
                cairo_rectangle(cr, cx, cy, 43, 41);
                cairo_clip(cr);
                cairo_set_source_surface(cr, s, cx, cy - frame * 41);
                cairo_paint(cr);
                cairo_restore(cr);
            }
        } else {
            cairo_set_source_surface(cr, s, p.x, p.y);
            cairo_paint(cr);
        }
        int w, h;
        shownSize(*p.image, w, h);
        char label[48];
        std::snprintf(label, sizeof label, "%d  %d\xC3\x97%d/%d", p.image->number, p.image->width, p.image->height,
                      p.image->frames);
        text(cr, label, p.x, p.y + h + 11, 8, Align::Left, {0.85, 0.85, 0.85}, false);
        cairo_surface_destroy(s);
    }
    return sheet.writePng(out) ? 0 : 1;
}

// A one-page PDF holding the canvas as an image at 72 dpi x 0.75 (one pixel = 0.75 pt), in the
// plain form that the manual's typesetter can embed.
bool writeImagePdf(const Canvas &canvas, const std::string &path)
{
    cairo_surface_flush(canvas.surface());
    const int w = canvas.width(), h = canvas.height();
    const unsigned char *data = cairo_image_surface_get_data(canvas.surface());
    const int stride = cairo_image_surface_get_stride(canvas.surface());
    std::vector<unsigned char> rgb;
    rgb.reserve(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        const uint32_t *row = reinterpret_cast<const uint32_t *>(data + size_t(y) * stride);
        for (int x = 0; x < w; ++x) {
            // Premultiplied ARGB over white.
            const uint32_t p = row[x];
            const unsigned a = p >> 24;
            for (int shift : {16, 8, 0})
                rgb.push_back(static_cast<unsigned char>(((p >> shift) & 0xFF) + (255 - a)));
        }
    }
    uLongf packedSize = compressBound(uLong(rgb.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rgb.data(), uLong(rgb.size()), 9) != Z_OK)
        return false;
    packed.resize(packedSize);

    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    auto object = [&](const std::string &body) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    char box[64];
    std::snprintf(box, sizeof box, "%.2f %.2f", w * 0.75, h * 0.75);
    object("<< /Type /Catalog /Pages 2 0 R >>");
    object("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    object(std::string("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ") + box +
           "] /Resources << /XObject << /Im1 4 0 R >> >> /Contents 5 0 R >>");
    object("<< /Type /XObject /Subtype /Image /Width " + std::to_string(w) + " /Height " + std::to_string(h) +
           " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode /Length " + std::to_string(packed.size()) +
           " >>\nstream\n" + std::string(packed.begin(), packed.end()) + "\nendstream");
    const std::string content = std::string("q ") + std::to_string(w * 0.75) + " 0 0 " + std::to_string(h * 0.75) +
                                " 0 0 cm /Im1 Do Q";
    object("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream");
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool written = std::fwrite(pdf.data(), 1, pdf.size(), f) == pdf.size();
    return std::fclose(f) == 0 && written;
}

// The manual's pictures: each front panel as the user sees it, the needles at a reading.
int figures(const std::string &dir, const std::string &outDir)
{
    auto load = [&](int number) { return cairo_image_surface_create_from_png(pngName(dir, number).c_str()); };
    auto blit = [](cairo_t *cr, cairo_surface_t *s, double x, double y, int frame, int frameHeight, int width) {
        cairo_save(cr);
        cairo_rectangle(cr, x, y, width, frameHeight);
        cairo_clip(cr);
        cairo_set_source_surface(cr, s, x, y - frame * frameHeight);
        cairo_paint(cr);
        cairo_restore(cr);
    };
    auto line = [](cairo_t *cr, const NeedleGeometry &g, double ox, double oy, double r0, double r1, double deg, Rgb c,
                   double alpha, double width) {
        const NeedlePoint a = needlePoint(g.pivotX, g.pivotY, float(r0), float(deg));
        const NeedlePoint b = needlePoint(g.pivotX, g.pivotY, float(r1), float(deg));
        cairo_set_line_width(cr, width);
        setColour(cr, c, alpha);
        cairo_move_to(cr, ox + a.x, oy + a.y);
        cairo_line_to(cr, ox + b.x, oy + b.y);
        cairo_stroke(cr);
    };
    const int mainImages[] = {kImageVUFront, kImageRMSFront, kImagePPMFront};
    const char *const names[] = {"vu", "rms", "ppm"};
    int failures = 0;
    for (int type = 0; type < 3; ++type) {
        Canvas panel(586, 169);
        cairo_t *cr = panel.cr();
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_BEST);
        cairo_surface_t *bg = load(mainImages[type]);
        cairo_set_source_surface(cr, bg, 0, 0);
        cairo_paint(cr);
        cairo_surface_destroy(bg);
        cairo_surface_t *led = load(kImageOverLED), *face = load(kImageVUFace);
        const double views[] = {12, 277};
        const float levels[2][3] = {{0.80f, 0.9f, 0.35f}, {1.12f, 1.3f, 0.55f}};  // needle, hold, RMS
        for (int ch = 0; ch < 2; ++ch) {
            const double ox = views[ch], oy = 18;
            if (type == 0) {
                const NeedleGeometry &g = vuNeedleGeometry;
                blit(cr, face, ox, oy, 2, 122, 250);
                blit(cr, led, ox + g.ledX, oy + g.ledY, ch == 1 ? 2 : 0, 20, 20);
                line(cr, g, ox, oy, 3, 134, vuNeedleAngle(levels[ch][0]), rgb(50, 45, 30), 1, 2.4);
                line(cr, g, ox, oy, 121, 134, vuNeedleAngle(levels[ch][1]), rgb(220, 0, 0), 1, 2.4);
                cairo_save(cr);
                cairo_rectangle(cr, ox, oy + 116, 250, 6);
                cairo_clip(cr);
                cairo_set_source_surface(cr, face, ox, oy - 2 * 122);
                cairo_paint(cr);
                cairo_restore(cr);
            } else if (type == 1) {
                const NeedleGeometry &g = rmsNeedleGeometry;
                cairo_save(cr);
                cairo_rectangle(cr, ox, oy, 250, 116);
                cairo_clip(cr);
                blit(cr, led, ox + g.ledX, oy + g.ledY, ch == 1 ? 1 : 0, 20, 20);
                const double rms = rmsNeedleAngle(levels[ch][2]), peak = rmsNeedleAngle(levels[ch][0]);
                line(cr, g, ox, oy, 3, 120, rms, rgb(140, 118, 108), 1, 2.4);
                line(cr, g, ox, oy, 3, 120, rms, rgb(0, 0, 0), 1, 0.6);
                line(cr, g, ox, oy, 3, 120, peak, rgb(237, 230, 201), 1, 2.4);
                line(cr, g, ox, oy, 103, 120, peak, rgb(160, 0, 0), 220 / 255.0, 2.4);
                line(cr, g, ox, oy, 103, 120, rmsNeedleAngle(levels[ch][1]), rgb(255, 0, 0), 130 / 255.0, 2.4);
                cairo_restore(cr);
            } else {
                const NeedleGeometry &g = ppmNeedleGeometry;
                cairo_save(cr);
                cairo_rectangle(cr, ox, oy, 250, 116);
                cairo_clip(cr);
                blit(cr, led, ox + g.ledX, oy + g.ledY, 0, 20, 20);
                line(cr, g, ox, oy, 3, 121, ppmNeedleAngle(levels[ch][0]), rgb(229, 218, 202), 1, 2.4);
                line(cr, g, ox, oy, 108, 121, ppmNeedleAngle(levels[ch][1]), rgb(220, 0, 0), 1, 2.4);
                cairo_restore(cr);
            }
        }
        cairo_surface_destroy(led);
        cairo_surface_destroy(face);
        // The controls on top, in their default states.
        struct Control {
            int number, x, y, frame, frameHeight, width;
        };
        const int t = type;
        const Control controls[] = {{kImageMeterSelector, 195, 144, 0, 23, 149},
                                    {kImageTrimHandle, 538, 17 + 63, 0, 19, 32},
                                    {kImageProcess, 531, 1, 1, 14, 43},
                                    {kImageFrontScope, 0, 1, 1, 11, 86},
                                    {kImageStripToggle, 574, 1, 1, 11, 11},
                                    {kImageManualButton, 505, 0, 0, 14, 10},
                                    {kImageReferenceDisplay, 96, 1, 0, 11, 133},
                                    {t == 0   ? kImageVULRMS
                                     : t == 1 ? kImageRMSLRMS
                                              : kImagePPMLRMS,
                                     8, 144, 0, 24, 87},
                                    {t == 0   ? kImageVULRMSLeft
                                     : t == 1 ? kImageRMSLRMSLeft
                                              : kImagePPMLRMSLeft,
                                     104, 146, 0, 19, 66},
                                    {t == 0   ? kImageVULRMSRight
                                     : t == 1 ? kImageRMSLRMSRight
                                              : kImagePPMLRMSRight,
                                     369, 146, 0, 19, 66},
                                    {t == 0   ? kImageVUHold
                                     : t == 1 ? kImageRMSHold
                                              : kImagePPMHold,
                                     442, 144, 2, 24, 86}};
        for (const Control &c : controls) {
            cairo_surface_t *s = load(c.number);
            blit(cr, s, c.x, c.y, c.frame, c.frameHeight, c.width);
            cairo_surface_destroy(s);
        }
        static const char *const refs[] = {"-18.0dBFS", "0.0dBFS", "-12.0dBFS"};
        text(cr, refs[type], 96 + 81 + (133 - 83) / 2.0, 10, 8.5, Align::Centre, rgb(200, 193, 193), false);
        text(cr, "0.0dB", 554, 157, 8.5, Align::Centre, rgb(170, 170, 170), false);
        panel.writePng(outDir + "/front-" + names[type] + ".png");

        failures += !writeImagePdf(panel, outDir + "/front-" + names[type] + ".pdf");
    }

    // The settings panels with every control at its default and the texts the plug-in shows, at
    // the places of the panels' table: the frame each control shows and each label's text.
    struct Shown {
        int index, frame;
    };
    struct Label {
        int index;
        const char *text;
    };
    const std::vector<Shown> shown[3] = {
        {{83, 13}, {84, 25}, {85, 25}, {88, 25}, {90, 45}, {89, 11}, {87, 1}, {86, 0}, {91, 0}},
        {{72, 33}, {74, 25}, {73, 25}, {75, 25}, {76, 33}, {79, 50}, {78, 11}, {77, 1}, {81, 1}, {80, 1}},
        {{93, 25}, {94, 25}, {95, 25}, {96, 33}, {99, 45}, {98, 11}, {97, 1}, {100, 0}}};
    const std::vector<Label> labels[3] = {{{83, "-18.0dBFS"}, {84, "300ms"}, {85, "1.00s"}},
                                          {{72, "0.0dBFS"}, {74, "1.00s"}, {73, "10ms"}, {75, "1.00s"}, {76, "2.00s"}},
                                          {{93, "-12.0dBFS"}, {94, "10ms"}, {95, "1.00s"}, {96, "2.00s"}}};
    for (int type = 0; type < 3; ++type) {
        const SettingsPanelLayout &layout = kSettingsPanelLayouts[type];
        cairo_surface_t *bg = load(layout.background);
        const int width = cairo_image_surface_get_width(bg);
        Canvas panel(width, 261);
        cairo_t *cr = panel.cr();
        cairo_set_source_surface(cr, bg, 0, 0);
        cairo_paint(cr);
        cairo_surface_destroy(bg);
        cairo_surface_t *scope = load(kImageSettingsScope), *band = load(kImageSettingsScopeIndicator);
        blit(cr, scope, 0, 1, 1, 11, 86);
        blit(cr, band, 0, 180, 1, 11, 586);
        cairo_surface_destroy(scope);
        cairo_surface_destroy(band);
        for (const Shown &c : shown[type]) {
            const SettingControlRow &row = *layout.row(c.index);
            cairo_surface_t *s = load(row.image());
            const int fh = cairo_image_surface_get_height(s) / artworkImage(row.image())->frames;
            blit(cr, s, row.left, row.top, c.frame, fh, cairo_image_surface_get_width(s));
            cairo_surface_destroy(s);
        }
        auto print = [&](const char *s, const LayoutRect &r) {
            text(cr, s, r.centreX(), r.bottom - 3.5, 8.5, Align::Centre, rgb(200, 193, 193), false);
        };
        for (const Label &l : labels[type])
            print(l.text, layout.row(l.index)->label);
        print(kSettingsVersionText, layout.versionLabel);
        failures += !writeImagePdf(panel, outDir + "/settings-" + names[type] + ".pdf");
        panel.writePng(outDir + "/settings-" + names[type] + ".png");
    }

    // The whole window of the VU meter with both strips expanded, as the strips section shows it.
    {
        Canvas window(586, 261);
        cairo_t *cr = window.cr();
        cairo_surface_t *front = cairo_image_surface_create_from_png((outDir + "/front-vu.png").c_str());
        cairo_set_source_surface(cr, front, 0, 0);
        cairo_paint(cr);
        cairo_surface_destroy(front);
        struct Part {
            int number, x, y, frame, frames;
        };
        const Part parts[] = {{kImageFilterStripExpanded, 0, 169, 0, 1}, {kImageLabelStripExpanded, 0, 222, 0, 1},
                              {kImageFiltersInExpanded, 541, 173, 2, 3}, {kImageStripToggle, 574, 169, 1, 2},
                              {kImageFilterInOut, 16, 189, 1, 2},        {kImageFilterInOut, 281, 189, 1, 2},
                              {kImageFilterSlope, 223, 177, 1, 2},       {kImageFilterSlope, 489, 177, 0, 2},
                              {kImageFrequencyHandle, 87, 179, 0, 1},    {kImageFrequencyHandle, 438, 179, 0, 1},
                              {kImageStripToggle, 574, 222, 1, 2},       {kImageLagDisplay, 541, 223, 0, 3}};
        for (const Part &p : parts) {
            cairo_surface_t *s = load(p.number);
            const int fh = cairo_image_surface_get_height(s) / p.frames;
            blit(cr, s, p.x, p.y, p.frame, fh, cairo_image_surface_get_width(s));
            cairo_surface_destroy(s);
        }
        text(cr, "50", 45 + 144 * 0.2 + 21, 169 + 11, 8.5, Align::Centre, rgb(170, 170, 170), false);
        text(cr, "12k", 310 + 144 * 0.8 + 21, 169 + 11, 8.5, Align::Centre, rgb(170, 170, 170), false);
        // The lag digits between the display's layers.
        cairo_save(cr);
        cairo_rectangle(cr, 541, 223, 26, 38);
        cairo_clip(cr);
        const char *digits[] = {"1", "2", "0"};
        for (int i = 0; i < 3; ++i)
            text(cr, digits[i], 541 + 7 + 7 * i, 223 + 26.5, 11, Align::Centre, {0, 0, 0}, true);
        cairo_surface_t *lag = load(kImageLagDisplay);
        for (int layer = 1; layer < 3; ++layer) {
            cairo_set_source_surface(cr, lag, 541, 223 - 40 * layer);
            cairo_paint(cr);
        }
        cairo_surface_destroy(lag);
        cairo_restore(cr);
        // The tape label in the private typeface, when fontconfig knows it.
        cairo_select_font_face(cr, "ZEMOrdwen", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, 28);
        cairo_text_extents_t e;
        cairo_text_extents(cr, "LEAD VOCAL  Take 3", &e);
        cairo_set_source_rgba(cr, 4 / 255.0, 45 / 255.0, 85 / 255.0, 205 / 255.0);
        cairo_move_to(cr, 3 + 17 + (506 - e.x_advance) / 2, 222 + 5 + 26);
        cairo_show_text(cr, "LEAD VOCAL  Take 3");
        failures += !writeImagePdf(window, outDir + "/window-vu.pdf");
        window.writePng(outDir + "/window-vu.png");
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "generate" && argc == 3)
        return generate(argv[2]);
    if (mode == "check" && argc == 3)
        return check(argv[2]);
    if (mode == "contact" && argc == 4)
        return contactSheet(argv[2], argv[3]);
    if (mode == "figures" && (argc == 4 || argc == 5)) {
        // The label typeface as an application font, so that the tape label shows in it.
        if (argc == 5 && !FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8 *>(argv[4]))) {
            std::fprintf(stderr, "zem_artwork: could not load %s\n", argv[4]);
            return 1;
        }
        return figures(argv[2], argv[3]);
    }
    std::fprintf(stderr, "usage: zem_artwork generate|check DIR | contact DIR OUT.png | figures DIR OUTDIR [FONT]\n");
    return 2;
}
