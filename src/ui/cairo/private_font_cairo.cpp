// The private typeface elsewhere: a fontconfig application font in a configuration of its own
// (nothing is installed, the process's other fonts are untouched), drawn with cairo. The
// drawing size follows Windows: size - 9.5 points at 96 pixels per inch.
#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include "cairo_draw_context.h"
#include "ui/private_font.h"

using namespace VSTGUI;

namespace {

std::string toUtf8(const std::wstring &text)
{
    std::string out;
    for (wchar_t wc : text) {
        auto c = (uint32_t)wc;
        if (c < 0x80) {
            out += (char)c;
        } else if (c < 0x800) {
            out += (char)(0xC0 | (c >> 6));
            out += (char)(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += (char)(0xE0 | (c >> 12));
            out += (char)(0x80 | ((c >> 6) & 0x3F));
            out += (char)(0x80 | (c & 0x3F));
        } else {
            out += (char)(0xF0 | (c >> 18));
            out += (char)(0x80 | ((c >> 12) & 0x3F));
            out += (char)(0x80 | ((c >> 6) & 0x3F));
            out += (char)(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace

struct ZEMCoreTextFont::Backend {
    FcConfig *config = nullptr;
    bool registered = false;
    bool triedDrawingFont = false;
    cairo_font_face_t *face = nullptr;
    double pixelSize = 0;
    cairo_font_extents_t extents{};

    void select(cairo_t *cr) const
    {
        cairo_set_font_face(cr, face);
        cairo_set_font_size(cr, pixelSize);
    }
};

ZEMCoreTextFont::ZEMCoreTextFont(const std::wstring &path, double size, int styleFlags)
    : path(path), size(size), style(styleFromFlags(styleFlags)), backend(std::make_unique<Backend>())
{
    backend->config = FcConfigCreate();
    std::string file = toUtf8(path);
    backend->registered = backend->config &&
                          FcConfigAppFontAddFile(backend->config, reinterpret_cast<const FcChar8 *>(file.c_str()));
}

ZEMCoreTextFont::~ZEMCoreTextFont()
{
    if (backend->face)
        cairo_font_face_destroy(backend->face);
    if (backend->config)
        FcConfigDestroy(backend->config);
}

bool ZEMCoreTextFont::isRegistered() const { return backend->registered; }

bool ZEMCoreTextFont::hasDrawingFont() const { return backend->face != nullptr; }

bool ZEMCoreTextFont::ensureDrawingFont()
{
    Backend &b = *backend;
    if (b.triedDrawingFont)
        return b.face != nullptr;
    b.triedDrawingFont = true;
    if (!b.registered)
        return false;
    FcFontSet *set = FcConfigGetFonts(b.config, FcSetApplication);
    if (!set || set->nfont < 1)
        return false;
    cairo_font_face_t *face = cairo_ft_font_face_create_for_pattern(set->fonts[0]);
    if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(face);
        return false;
    }
    // Underline is not a face property in cairo; bold and italic are synthesised when asked.
    if (style == 1)
        cairo_ft_font_face_set_synthesize(face, CAIRO_FT_SYNTHESIZE_BOLD);
    else if (style == 2)
        cairo_ft_font_face_set_synthesize(face, CAIRO_FT_SYNTHESIZE_OBLIQUE);
    b.face = face;
    b.pixelSize = (size - kDrawingSizeOffset) * kPixelsPerPoint;
    cairo_surface_t *scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t *cr = cairo_create(scratch);
    b.select(cr);
    cairo_font_extents(cr, &b.extents);
    cairo_destroy(cr);
    cairo_surface_destroy(scratch);
    return true;
}

// The metrics in points of the em size, as the Windows build answers them.
double ZEMCoreTextFont::getAscent() const { return backend->face ? backend->extents.ascent * 72.0 / 96.0 : -1; }

double ZEMCoreTextFont::getDescent() const { return backend->face ? backend->extents.descent * 72.0 / 96.0 : -1; }

double ZEMCoreTextFont::getLeading() const { return backend->face ? backend->extents.height * 72.0 / 96.0 : -1; }

void *ZEMCoreTextFont::getNativeFont() { return nullptr; }

void ZEMCoreTextFont::drawString(CDrawContext *context, const char *utf8, const CPoint &point, bool)
{
    auto *cairoContext = dynamic_cast<CairoDrawContext *>(context);
    if (!cairoContext || !utf8 || !ensureDrawingFont())
        return;
    cairo_t *cr = cairoContext->getCairo();
    cairoContext->begin();
    backend->select(cr);
    cairo_font_options_t *options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    cairoContext->setSourceColor(context->getFontColor());
    // The line's top at point.y + 1 - line height; cairo places text by its baseline.
    double top = point.y + context->getOffset().y + 1 - backend->extents.height;
    cairo_move_to(cr, point.x + context->getOffset().x, top + backend->extents.ascent);
    cairo_show_text(cr, utf8);
    cairo_new_path(cr);
    cairoContext->end();
}

CCoord ZEMCoreTextFont::getStringWidth(CDrawContext *, const char *utf8, bool)
{
    if (!utf8 || !ensureDrawingFont())
        return 0;
    cairo_surface_t *scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t *cr = cairo_create(scratch);
    backend->select(cr);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, utf8, &extents);
    cairo_destroy(cr);
    cairo_surface_destroy(scratch);
    return extents.x_advance;
}
