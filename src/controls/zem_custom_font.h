// The editor's fonts beyond the library's Arial: a font description whose platform font is a
// private typeface, and the process-wide label font of the tape label.
// [ui-thread]
#pragma once

#include "ui/private_font.h"

class CZEMCustomFont : public VSTGUI::CFontDesc {
public:
    // Takes platform (may be null: the library's ordinary font of that name, size and style).
    CZEMCustomFont(const std::string &name, double size, int style, ZEMCoreTextFont *platform);
    VSTGUI::IPlatformFont *getPlatformFont() override;
    // The private typeface; null without one, or after a size or style change dropped it.
    ZEMCoreTextFont *getCoreTextFont() const
    {
        return hasCore ? static_cast<ZEMCoreTextFont *>(platformFont) : nullptr;
    }
    VSTGUI_TYPE(CZEMCustomFont, CFontDesc)

private:
    bool hasCore;
};

// The label font of the whole process: "doesn't matter", size 38, plain, drawn in the private
// typeface from the installation directory. Null until acquireSharedLabelFont made it, and
// again after releaseSharedLabelFont.
extern CZEMCustomFont *sharedLabelFont;

// Makes sharedLabelFont on first use (never while the module is being loaded or unloaded).
CZEMCustomFont *acquireSharedLabelFont();
// Drops sharedLabelFont and its private font resource; users that still hold it keep it
// alive by reference. Called when the last editor object of the module goes.
void releaseSharedLabelFont();
