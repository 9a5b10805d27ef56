#include "font.h"

namespace VSTGUI {

CFontDesc::CFontDesc(const std::string &name, double size, int style) : name(name), size(size), style(style) {}

CFontDesc::CFontDesc(const CFontDesc &other) : CBaseObject(), name(other.name), size(other.size), style(other.style) {}

CFontDesc::~CFontDesc() { freePlatformFont(); }

void CFontDesc::freePlatformFont()
{
    delete platformFont;
    platformFont = nullptr;
}

void CFontDesc::setSize(double newSize)
{
    if (newSize != size) {
        size = newSize;
        freePlatformFont();
    }
}

void CFontDesc::setStyle(int newStyle)
{
    if (newStyle != style) {
        style = newStyle;
        freePlatformFont();
    }
}

IPlatformFont *CFontDesc::getPlatformFont()
{
    if (!platformFont)
        platformFont = createPlatformFont(name, size, style);
    return platformFont;
}

namespace {
// Never released: drawing may use them until the module unloads. Their platform fonts are
// released when the backend shuts down (releasePredefinedPlatformFonts).
CFontDesc arial9("Arial", 9);
CFontDesc arial10("Arial", 10);
}  // namespace

void CFontDesc::releasePredefinedPlatformFonts()
{
    arial9.freePlatformFont();
    arial10.freePlatformFont();
}

const CFontRef kNormalFontVerySmall = &arial9;
const CFontRef kNormalFontSmaller = &arial10;

}  // namespace VSTGUI
