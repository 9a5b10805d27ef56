// Font descriptions and the platform fonts behind them. [ui-thread]
#pragma once

#include <string>

#include "base_object.h"
#include "geometry.h"

namespace VSTGUI {

class CDrawContext;

enum CTxtFace {
    kNormalFace = 0,
    kBoldFace = 1 << 1,
    kItalicFace = 1 << 2,
    kUnderlineFace = 1 << 3,
};

// Draws and measures text of one platform font.
class IFontPainter {
public:
    virtual ~IFontPainter() = default;
    // point is the left end of the baseline, in the context's local coordinates.
    virtual void drawString(CDrawContext *context, const char *utf8, const CPoint &point, bool antialias) = 0;
    virtual CCoord getStringWidth(CDrawContext *context, const char *utf8, bool antialias) = 0;
};

// A typeface at a size, as the window system holds it. Metrics in pixels; -1 when unknown.
class IPlatformFont {
public:
    virtual ~IPlatformFont() = default;
    virtual double getAscent() const = 0;
    virtual double getDescent() const = 0;
    virtual double getLeading() const = 0;
    virtual IFontPainter *getPainter() = 0;
    // The window system's own font object for native controls (a GDI font on Windows); null
    // where there is none. It lives as long as the platform font.
    virtual void *getNativeFont() { return nullptr; }
};

// Implemented by the backend: the system font of that name, size (pixels) and style.
IPlatformFont *createPlatformFont(const std::string &name, double size, int style);

class CFontDesc : public CBaseObject {
public:
    CFontDesc(const std::string &name, double size, int style = kNormalFace);
    CFontDesc(const CFontDesc &other);
    ~CFontDesc() override;

    const std::string &getName() const { return name; }
    double getSize() const { return size; }
    int getStyle() const { return style; }
    void setSize(double newSize);
    void setStyle(int newStyle);
    // The platform font, created on first use; null when the system has none.
    virtual IPlatformFont *getPlatformFont();
    // The predefined fonts let go of their platform fonts; each is made again on next use. Run
    // by the backend before the window system's drawing library shuts down, so that nothing of
    // it is freed when the module unloads.
    static void releasePredefinedPlatformFonts();

    VSTGUI_TYPE(CFontDesc, CBaseObject)

protected:
    void freePlatformFont();

    std::string name;
    double size;
    int style;
    IPlatformFont *platformFont = nullptr;
};

typedef CFontDesc *CFontRef;

// The library's predefined fonts: Arial at size 9 and at size 10. They live for the whole
// process; their addresses are valid even during static initialisation.
extern const CFontRef kNormalFontVerySmall;
extern const CFontRef kNormalFontSmaller;

}  // namespace VSTGUI
