// System fonts through cairo's font selection (fontconfig maps Arial to a metric-compatible face).
#include <cairo.h>

#include "cairo_draw_context.h"
#include "ui/font.h"

namespace VSTGUI {

namespace {

class CairoFont : public IPlatformFont, public IFontPainter {
public:
    CairoFont(const std::string &name, double size, int style)
        : face(cairo_toy_font_face_create(name.c_str(),
                                          (style & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                                          (style & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL)),
          size(size)
    {
        cairo_surface_t *scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        cairo_t *cr = cairo_create(scratch);
        select(cr);
        cairo_font_extents_t extents;
        cairo_font_extents(cr, &extents);
        ascent = extents.ascent;
        descent = extents.descent;
        leading = extents.height - extents.ascent - extents.descent;
        cairo_destroy(cr);
        cairo_surface_destroy(scratch);
    }
    ~CairoFont() override { cairo_font_face_destroy(face); }

    double getAscent() const override { return ascent; }
    double getDescent() const override { return descent; }
    double getLeading() const override { return leading; }
    IFontPainter *getPainter() override { return this; }

    void drawString(CDrawContext *context, const char *utf8, const CPoint &point, bool antialias) override
    {
        auto *cairoContext = static_cast<CairoDrawContext *>(context);
        cairo_t *cr = cairoContext->getCairo();
        cairoContext->begin();
        select(cr);
        cairo_font_options_t *options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_set_font_options(cr, options);
        cairo_font_options_destroy(options);
        cairoContext->setSourceColor(context->getFontColor());
        cairo_move_to(cr, point.x + context->getOffset().x, point.y + context->getOffset().y);
        cairo_show_text(cr, utf8);
        cairo_new_path(cr);
        cairoContext->end();
    }

    CCoord getStringWidth(CDrawContext *context, const char *utf8, bool antialias) override
    {
        (void)context;
        (void)antialias;
        cairo_surface_t *scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        cairo_t *cr = cairo_create(scratch);
        select(cr);
        cairo_text_extents_t extents;
        cairo_text_extents(cr, utf8, &extents);
        cairo_destroy(cr);
        cairo_surface_destroy(scratch);
        return extents.x_advance;
    }

private:
    void select(cairo_t *cr)
    {
        cairo_set_font_face(cr, face);
        cairo_set_font_size(cr, size);
    }

    cairo_font_face_t *face;
    double size;
    double ascent = -1, descent = -1, leading = -1;
};

}  // namespace

IPlatformFont *createPlatformFont(const std::string &name, double size, int style)
{
    if (size <= 0)
        return nullptr;
    return new CairoFont(name, size, style);
}

}  // namespace VSTGUI
