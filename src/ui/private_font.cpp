#include "private_font.h"

int ZEMCoreTextFont::styleFromFlags(int flags)
{
    if (flags & VSTGUI::kUnderlineFace)
        return 4;
    if (flags & VSTGUI::kItalicFace)
        return 2;
    if (flags & VSTGUI::kBoldFace)
        return 1;
    return 0;
}
