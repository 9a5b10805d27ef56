// The private label typeface: loaded from an installation folder whose name the process code
// page cannot spell, drawn and measured; a missing file draws nothing and answers -1.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "controls/zem_custom_font.h"
#include "platform/install_dir.h"
#include "ui/bitmap.h"
#include "ui/draw_context.h"

using namespace VSTGUI;

namespace {

namespace fs = std::filesystem;

fs::path sourceFontFile() { return fs::path(std::string(ZEM_SOURCE_DIR) + "/resources/font/ZEMOrdwen.kqf"); }

// The manual's file name is always 36 characters.
const wchar_t kManualName[] = L"ZEM Ordwen User Manual (English).pdf";

// A temporary installation folder named with Greek and Latin letters beyond ASCII.
class InstallationFolder {
public:
    InstallationFolder()
    {
#ifdef _WIN32
        folder = fs::temp_directory_path() /
                 fs::path(L"zem-\u03A9rdwen-\u00FC-" + std::to_wstring(GetCurrentProcessId()));
        wide = folder.wstring() + L"\\";
#else
        std::string name = "zem-\xCE\xA9rdwen-\xC3\xBC-" + std::to_string(::getpid());
        folder = fs::path("/tmp") / name;
        wide = L"/tmp/zem-\u03A9rdwen-\u00FC-" + std::to_wstring(::getpid()) + L"/";
#endif
        fs::create_directories(folder);
        fs::copy_file(sourceFontFile(), folder / "ZEMOrdwen.kqf", fs::copy_options::overwrite_existing);
    }
    ~InstallationFolder()
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    std::wstring manualPath() const { return wide + kManualName; }

private:
    fs::path folder;
    std::wstring wide;
};

// How many pixels of the picture are not fully transparent.
int paintedPixels(const CBitmap &picture)
{
    int painted = 0;
    for (int y = 0; y < (int)picture.getHeight(); ++y)
        for (int x = 0; x < (int)picture.getWidth(); ++x) {
            CColor c;
            if (picture.getPixel(x, y, c) && c.alpha > 0)
                ++painted;
        }
    return painted;
}

int drawOnce(ZEMCoreTextFont &font)
{
    CBitmap picture(200, 60);
    CDrawContext *context = createBitmapDrawContext(&picture);
    context->setFontColor(CColor(4, 45, 85, 205));
    font.drawString(context, "Tape 1", CPoint(5, 50), true);
    context->forget();
    return paintedPixels(picture);
}

TEST(LabelFont, OneStyleIsTakenFromTheFlags)
{
    EXPECT_EQ(ZEMCoreTextFont::styleFromFlags(kNormalFace), 0);
    EXPECT_EQ(ZEMCoreTextFont::styleFromFlags(kBoldFace), 1);
    EXPECT_EQ(ZEMCoreTextFont::styleFromFlags(kBoldFace | kItalicFace), 2);
    EXPECT_EQ(ZEMCoreTextFont::styleFromFlags(kBoldFace | kItalicFace | kUnderlineFace), 4);
}

TEST(LabelFont, TheTypefaceLoadsFromAFolderTheCodePageCannotSpell)
{
    InstallationFolder installed;
    const std::wstring path = fontFilePathFromManualPath(installed.manualPath());
    const std::wstring manual = installed.manualPath();
    EXPECT_EQ(path, manual.substr(0, manual.size() - 36) + L"ZEMOrdwen.kqf");
    // Through the process code page the folder's name is lost (the path the typeface used to
    // get): it no longer names the installed folder.
    const std::string narrow = fontPathFromManualPath(installed.manualPath());
    EXPECT_EQ(narrow.find("rdwen-"), std::string::npos) << narrow;

    ZEMCoreTextFont font(path, 38, kNormalFace);
    EXPECT_TRUE(font.isRegistered());
    EXPECT_FALSE(font.hasDrawingFont());
    EXPECT_EQ(font.getAscent(), -1);  // before the drawing font exists
    EXPECT_GT(font.getStringWidth(nullptr, "Tape 1", true), 20);
    ASSERT_TRUE(font.hasDrawingFont());
    EXPECT_GT(font.getAscent(), 10);
    EXPECT_GT(font.getDescent(), 0);
    EXPECT_GT(font.getLeading(), font.getAscent());
    EXPECT_GT(drawOnce(font), 50);
#ifdef _WIN32
    EXPECT_NE(font.getNativeFont(), nullptr);
#endif
}

TEST(LabelFont, AMissingFileDrawsNothingAndAnswersMinusOne)
{
    ZEMCoreTextFont font(L"/nowhere/at/all/ZEMOrdwen.kqf", 38, kNormalFace);
    EXPECT_FALSE(font.isRegistered());
    EXPECT_EQ(font.getStringWidth(nullptr, "Tape 1", true), 0);
    EXPECT_FALSE(font.hasDrawingFont());
    EXPECT_EQ(font.getAscent(), -1);
    EXPECT_EQ(font.getDescent(), -1);
    EXPECT_EQ(font.getLeading(), -1);
    EXPECT_EQ(drawOnce(font), 0);
#ifdef _WIN32
    EXPECT_NE(font.getNativeFont(), nullptr);  // the system's substitute serves the edit box
#endif
}

TEST(LabelFont, TheSharedLabelFontIsMadeOnFirstUseAndReleasedOnce)
{
    ASSERT_EQ(sharedLabelFont, nullptr);
    CZEMCustomFont *font = acquireSharedLabelFont();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(acquireSharedLabelFont(), font);
    EXPECT_EQ(font->getName(), "doesn't matter");
    EXPECT_EQ(font->getSize(), 38);
    ASSERT_NE(font->getCoreTextFont(), nullptr);
    EXPECT_EQ(font->getPlatformFont(), font->getCoreTextFont());
    EXPECT_EQ(font->getCoreTextFont()->getSize(), 38);
    font->remember();  // a label still holding it
    releaseSharedLabelFont();
    EXPECT_EQ(sharedLabelFont, nullptr);
    EXPECT_EQ(font->getSize(), 38);
    font->forget();
    releaseSharedLabelFont();  // nothing left to release
}

TEST(LabelFont, ACustomFontWithoutAPrivateTypefaceIsTheOrdinaryFont)
{
    CZEMCustomFont font("Arial", 9, kNormalFace, nullptr);
    EXPECT_EQ(font.getCoreTextFont(), nullptr);
    EXPECT_NE(font.getPlatformFont(), nullptr);
}

}  // namespace
