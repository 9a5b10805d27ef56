// A platform font for a typeface held in a private font file, used without installing it in the
// system: on Windows a private GDI font resource (for edit boxes) and a GDI+ private collection
// (for drawing); elsewhere a fontconfig application font drawn with cairo.
// [ui-thread]
#pragma once

#include <memory>
#include <string>

#include "font.h"

class ZEMCoreTextFont : public VSTGUI::IPlatformFont, public VSTGUI::IFontPainter {
public:
    // The typeface's family name, the font file's name without its extension.
    static constexpr const wchar_t *kFaceName = L"ZEMOrdwen";
    // The drawing font's em size, in points, is the requested size less this.
    static constexpr double kDrawingSizeOffset = 9.5;
    // Metrics and sizes in points become pixels at 96 pixels per inch.
    static constexpr double kPixelsPerPoint = 96.0 / 72.0;

    // Registers the file and makes the native font (Windows: height -size, weight 400,
    // TrueType only, antialiased, face kFaceName; the system's substitute when the file did not
    // register). The drawing font is made on first drawing or measuring, with em size
    // size - 9.5 points.
    ZEMCoreTextFont(const std::wstring &path, double size, int styleFlags);
    ~ZEMCoreTextFont() override;
    ZEMCoreTextFont(const ZEMCoreTextFont &) = delete;
    ZEMCoreTextFont &operator=(const ZEMCoreTextFont &) = delete;

    // One style from the view library's flags: 4 underline, else 2 italic, else 1 bold, else 0.
    static int styleFromFlags(int flags);

    const std::wstring &getPath() const { return path; }
    double getSize() const { return size; }
    int getStyle() const { return style; }
    // The file registered with the window system.
    bool isRegistered() const;
    // The drawing font exists (made on first use; never when the file could not be read).
    bool hasDrawingFont() const;

    // Pixels; each -1 until the drawing font exists.
    double getAscent() const override;
    double getDescent() const override;
    double getLeading() const override;
    VSTGUI::IFontPainter *getPainter() override { return this; }
    void *getNativeFont() override;

    // Draws with the top of the text's line at point.y + 1 - the font's line height; nothing
    // without the drawing font.
    void drawString(VSTGUI::CDrawContext *context, const char *utf8, const VSTGUI::CPoint &point,
                    bool antialias) override;
    // 0 without the drawing font; context may be null.
    VSTGUI::CCoord getStringWidth(VSTGUI::CDrawContext *context, const char *utf8, bool antialias) override;

    // The platform's part (public so that the platform code can keep a list of live fonts).
    struct Backend;

private:
    // Makes the drawing font on first use; answers whether it exists.
    bool ensureDrawingFont();

    std::wstring path;
    double size;
    int style;
    std::unique_ptr<Backend> backend;
};
