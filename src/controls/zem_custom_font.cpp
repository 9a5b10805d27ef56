#include "controls/zem_custom_font.h"

#include "platform/install_dir.h"

using namespace VSTGUI;

CZEMCustomFont::CZEMCustomFont(const std::string &name, double size, int style, ZEMCoreTextFont *platform)
    : CFontDesc(name, size, style), hasCore(platform != nullptr)
{
    platformFont = platform;  // freed with the description
}

IPlatformFont *CZEMCustomFont::getPlatformFont()
{
    if (!hasCore)
        return CFontDesc::getPlatformFont();
    return platformFont;
}

CZEMCustomFont *sharedLabelFont = nullptr;

CZEMCustomFont *acquireSharedLabelFont()
{
    if (!sharedLabelFont)
        sharedLabelFont = new CZEMCustomFont("doesn't matter", 38, kNormalFace,
                                             new ZEMCoreTextFont(installedFontFilePath(), 38, kNormalFace));
    return sharedLabelFont;
}

void releaseSharedLabelFont()
{
    if (CZEMCustomFont *font = sharedLabelFont) {
        sharedLabelFont = nullptr;
        font->forget();
    }
}
