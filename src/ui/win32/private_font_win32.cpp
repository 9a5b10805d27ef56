// The private typeface on Windows: a private GDI font resource and a GDI+ private collection.
#include "gdiplus_draw_context.h"
#include "ui/private_font.h"

using namespace VSTGUI;

struct ZEMCoreTextFont::Backend {
    Backend();
    ~Backend();

    // GDI+ may shut down while the font lives on: its GDI+ objects go first, and are made
    // again on the next use.
    void releaseGdiplusObjects()
    {
        delete drawingFont;
        delete family;
        delete collection;
        drawingFont = nullptr;
        family = nullptr;
        collection = nullptr;
        triedDrawingFont = false;
    }

    bool registered = false;
    HFONT nativeFont = nullptr;
    bool triedDrawingFont = false;
    Gdiplus::PrivateFontCollection *collection = nullptr;
    Gdiplus::FontFamily *family = nullptr;
    Gdiplus::Font *drawingFont = nullptr;

    double metric(int value, double emSize, int style) const
    {
        if (!drawingFont || !family)
            return -1;
        UINT16 em = family->GetEmHeight(style);
        return em ? emSize * value / em : -1;
    }

    Backend *previousLive = nullptr;
    Backend *nextLive = nullptr;
};

namespace {
// Every private font alive in the process, so that GDI+ can be shut down under them (UI thread).
ZEMCoreTextFont::Backend *livePrivateFonts = nullptr;
}  // namespace

ZEMCoreTextFont::Backend::Backend()
{
    nextLive = livePrivateFonts;
    if (nextLive)
        nextLive->previousLive = this;
    livePrivateFonts = this;
}

ZEMCoreTextFont::Backend::~Backend()
{
    releaseGdiplusObjects();
    if (previousLive)
        previousLive->nextLive = nextLive;
    else
        livePrivateFonts = nextLive;
    if (nextLive)
        nextLive->previousLive = previousLive;
}

namespace VSTGUI {
void releasePrivateFontsGdiplusObjects()
{
    for (ZEMCoreTextFont::Backend *font = livePrivateFonts; font; font = font->nextLive)
        font->releaseGdiplusObjects();
}

int privateFontsHoldingGdiplus()
{
    int count = 0;
    for (ZEMCoreTextFont::Backend *font = livePrivateFonts; font; font = font->nextLive)
        count += font->drawingFont || font->collection ? 1 : 0;
    return count;
}
}  // namespace VSTGUI

ZEMCoreTextFont::ZEMCoreTextFont(const std::wstring &path, double size, int styleFlags)
    : path(path), size(size), style(styleFromFlags(styleFlags)), backend(std::make_unique<Backend>())
{
    backend->registered = AddFontResourceExW(path.c_str(), FR_PRIVATE, nullptr) > 0;
    LOGFONTW font = {};
    font.lfHeight = -(LONG)size;
    font.lfWeight = FW_NORMAL;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    font.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(font.lfFaceName, kFaceName, LF_FACESIZE);
    backend->nativeFont = CreateFontIndirectW(&font);
}

ZEMCoreTextFont::~ZEMCoreTextFont()
{
    if (backend->nativeFont)
        DeleteObject(backend->nativeFont);
    if (backend->registered)
        RemoveFontResourceExW(path.c_str(), FR_PRIVATE, nullptr);
}

bool ZEMCoreTextFont::isRegistered() const { return backend->registered; }

bool ZEMCoreTextFont::hasDrawingFont() const { return backend->drawingFont != nullptr; }

bool ZEMCoreTextFont::ensureDrawingFont()
{
    Backend &b = *backend;
    if (b.triedDrawingFont)
        return b.drawingFont != nullptr;
    b.triedDrawingFont = true;
    if (!requireGdiplus())
        return false;
    b.collection = new Gdiplus::PrivateFontCollection;
    if (b.collection->AddFontFile(path.c_str()) != Gdiplus::Ok || b.collection->GetFamilyCount() < 1)
        return false;
    Gdiplus::FontFamily first;
    int found = 0;
    if (b.collection->GetFamilies(1, &first, &found) != Gdiplus::Ok || found < 1)
        return false;
    b.family = first.Clone();
    auto *font = new Gdiplus::Font(b.family, (Gdiplus::REAL)(size - kDrawingSizeOffset), style, Gdiplus::UnitPoint);
    if (font->GetLastStatus() != Gdiplus::Ok) {
        delete font;
        return false;
    }
    b.drawingFont = font;
    return true;
}

double ZEMCoreTextFont::getAscent() const
{
    return backend->drawingFont
               ? backend->metric(backend->family->GetCellAscent(style), backend->drawingFont->GetSize(), style)
               : -1;
}

double ZEMCoreTextFont::getDescent() const
{
    return backend->drawingFont
               ? backend->metric(backend->family->GetCellDescent(style), backend->drawingFont->GetSize(), style)
               : -1;
}

double ZEMCoreTextFont::getLeading() const
{
    return backend->drawingFont
               ? backend->metric(backend->family->GetLineSpacing(style), backend->drawingFont->GetSize(), style)
               : -1;
}

void *ZEMCoreTextFont::getNativeFont() { return backend->nativeFont; }

void ZEMCoreTextFont::drawString(CDrawContext *context, const char *utf8, const CPoint &point, bool)
{
    auto *gdiContext = dynamic_cast<GdiplusDrawContext *>(context);
    if (!gdiContext || !utf8 || !ensureDrawingFont())
        return;
    Gdiplus::Graphics *g = gdiContext->getGraphics();
    Gdiplus::SolidBrush *brush = gdiContext->getFontBrush();
    if (!g || !brush)
        return;
    g->SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    Gdiplus::REAL height = backend->drawingFont->GetHeight(g->GetDpiY());
    std::wstring text = toWide(utf8);
    Gdiplus::PointF origin((Gdiplus::REAL)(point.x + context->getOffset().x),
                           (Gdiplus::REAL)(point.y + context->getOffset().y + 1) - height);
    g->DrawString(text.c_str(), (INT)text.size(), backend->drawingFont, origin, brush);
}

CCoord ZEMCoreTextFont::getStringWidth(CDrawContext *context, const char *utf8, bool)
{
    if (!utf8 || !ensureDrawingFont())
        return 0;
    std::wstring text = toWide(utf8);
    Gdiplus::RectF bounds;
    auto *gdiContext = dynamic_cast<GdiplusDrawContext *>(context);
    if (gdiContext && gdiContext->getGraphics()) {
        gdiContext->getGraphics()->MeasureString(text.c_str(), (INT)text.size(), backend->drawingFont,
                                                 Gdiplus::PointF(0, 0), &bounds);
        return bounds.Width;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    {
        Gdiplus::Graphics g(dc);
        g.MeasureString(text.c_str(), (INT)text.size(), backend->drawingFont, Gdiplus::PointF(0, 0), &bounds);
    }
    DeleteDC(dc);
    return bounds.Width;
}
