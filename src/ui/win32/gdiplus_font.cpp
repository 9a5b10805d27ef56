// System fonts through GDI+, measured and drawn with typographic layout (no extra padding).
#include "gdiplus_draw_context.h"
#include "ui/font.h"

namespace VSTGUI {

namespace {

int gdiplusStyle(int style)
{
    int s = Gdiplus::FontStyleRegular;
    if (style & kBoldFace)
        s |= Gdiplus::FontStyleBold;
    if (style & kItalicFace)
        s |= Gdiplus::FontStyleItalic;
    if (style & kUnderlineFace)
        s |= Gdiplus::FontStyleUnderline;
    return s;
}

class GdiplusFont;
// Every platform font alive, so that all of them can let go of GDI+ before it shuts down. A
// plain pointer: nothing to destroy when the module unloads.
GdiplusFont *liveFonts = nullptr;

class GdiplusFont : public IPlatformFont, public IFontPainter {
public:
    GdiplusFont(const std::string &name, double size, int style) : size(size), style(style)
    {
        next = liveFonts;
        if (next)
            next->previous = this;
        liveFonts = this;
        // Systems without Arial (Wine) fall back to a face with the same metrics.
        std::wstring names[] = {toWide(name.c_str()), L"Arial", L"Liberation Sans", L"Tahoma"};
        for (const std::wstring &n : names) {
            family = new Gdiplus::FontFamily(n.c_str());
            if (family->GetLastStatus() == Gdiplus::Ok && family->IsAvailable())
                break;
            delete family;
            family = nullptr;
        }
        if (!family)
            return;
        int s = gdiplusStyle(style);
        font = new Gdiplus::Font(family, (Gdiplus::REAL)size, s, Gdiplus::UnitPixel);
        double em = family->GetEmHeight(s);
        if (em > 0) {
            ascent = size * family->GetCellAscent(s) / em;
            descent = size * family->GetCellDescent(s) / em;
            leading = size * (family->GetLineSpacing(s) - family->GetCellAscent(s) - family->GetCellDescent(s)) / em;
        }
    }
    ~GdiplusFont() override
    {
        if (nativeFont)
            DeleteObject(nativeFont);
        releaseGdiplusObjects();
        if (previous)
            previous->next = next;
        else
            liveFonts = next;
        if (next)
            next->previous = previous;
    }

    // Before GDI+ shuts down: the font draws and measures nothing from here on.
    void releaseGdiplusObjects()
    {
        delete font;
        delete family;
        font = nullptr;
        family = nullptr;
    }
    bool holdsGdiplusObjects() const { return font || family; }
    GdiplusFont *nextLive() const { return next; }

    void *getNativeFont() override
    {
        if (!nativeFont && family) {
            WCHAR face[LF_FACESIZE] = {0};
            family->GetFamilyName(face);
            nativeFont = CreateFontW(-(int)size, 0, 0, 0, (style & kBoldFace) ? FW_BOLD : FW_NORMAL,
                                     (style & kItalicFace) ? TRUE : FALSE, (style & kUnderlineFace) ? TRUE : FALSE,
                                     FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, face);
        }
        return nativeFont;
    }

    bool valid() const { return family && font && font->GetLastStatus() == Gdiplus::Ok; }
    double getAscent() const override { return ascent; }
    double getDescent() const override { return descent; }
    double getLeading() const override { return leading; }
    IFontPainter *getPainter() override { return this; }

    void drawString(CDrawContext *context, const char *utf8, const CPoint &point, bool antialias) override
    {
        if (!font)
            return;
        auto *gdiContext = static_cast<GdiplusDrawContext *>(context);
        Gdiplus::Graphics *g = gdiContext->getGraphics();
        g->SetTextRenderingHint(antialias ? Gdiplus::TextRenderingHintAntiAliasGridFit
                                          : Gdiplus::TextRenderingHintSingleBitPerPixelGridFit);
        std::wstring text = toWide(utf8);
        Gdiplus::PointF origin((Gdiplus::REAL)(point.x + context->getOffset().x),
                               (Gdiplus::REAL)(point.y + context->getOffset().y - ascent));
        g->DrawString(text.c_str(), (INT)text.size(), font, origin, Gdiplus::StringFormat::GenericTypographic(),
                      gdiContext->getFontBrush());
    }

    CCoord getStringWidth(CDrawContext *context, const char *utf8, bool antialias) override
    {
        (void)context;
        std::wstring text = toWide(utf8);
        if (text.empty() || !font)
            return 0;
        HDC dc = CreateCompatibleDC(nullptr);
        Gdiplus::RectF bounds;
        {
            Gdiplus::Graphics g(dc);
            g.SetTextRenderingHint(antialias ? Gdiplus::TextRenderingHintAntiAliasGridFit
                                             : Gdiplus::TextRenderingHintSingleBitPerPixelGridFit);
            Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
            format.SetFormatFlags(format.GetFormatFlags() | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
            g.MeasureString(text.c_str(), (INT)text.size(), font, Gdiplus::PointF(0, 0), &format, &bounds);
        }
        DeleteDC(dc);
        return bounds.Width;
    }

private:
    double size;
    int style;
    Gdiplus::FontFamily *family = nullptr;
    Gdiplus::Font *font = nullptr;
    HFONT nativeFont = nullptr;
    double ascent = -1, descent = -1, leading = -1;
    GdiplusFont *previous = nullptr;
    GdiplusFont *next = nullptr;
};

}  // namespace

IPlatformFont *createPlatformFont(const std::string &name, double size, int style)
{
    if (size <= 0 || !requireGdiplus())
        return nullptr;
    auto *font = new GdiplusFont(name, size, style);
    if (!font->valid()) {
        delete font;
        return nullptr;
    }
    return font;
}

void releaseGdiplusFonts()
{
    CFontDesc::releasePredefinedPlatformFonts();
    releasePrivateFontsGdiplusObjects();
    for (GdiplusFont *font = liveFonts; font; font = font->nextLive())
        font->releaseGdiplusObjects();
}

int gdiplusLiveFonts()
{
    int count = 0;
    for (GdiplusFont *font = liveFonts; font; font = font->nextLive())
        count += font->holdsGdiplusObjects() ? 1 : 0;
    return count + privateFontsHoldingGdiplus();
}

}  // namespace VSTGUI
