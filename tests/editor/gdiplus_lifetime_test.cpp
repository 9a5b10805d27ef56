// GDI+ over the life of an effect, as a host uses it: a plug-in scan builds effects and closes
// them without opening the editor, which must not start GDI+; the first editor open starts it,
// and when the last user is gone it is shut down again, outside DllMain, with the process-wide
// fonts no longer holding any of its objects.
#ifdef _WIN32

#include <gtest/gtest.h>

#include "core/templete.h"
#include "editor/editor_factory.h"
#include "ui/font.h"
#include "support/open_editor.h"
#include "ui/win32/gdiplus_session.h"

using namespace VSTGUI;

namespace {

VstIntPtr VSTCALLBACK versionHost(AEffect *, VstInt32 opcode, VstInt32, VstIntPtr, void *, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

}  // namespace

TEST(GdiplusLifetime, AScanStartsNothingTheFirstOpenStartsItAndTheLastUserEndsIt)
{
    // A reference taken and given back: GDI+ stops unless something of an earlier test leaked.
    ASSERT_TRUE(acquireGdiplus());
    releaseGdiplus();
    ASSERT_FALSE(gdiplusRunning()) << "an earlier test still holds GDI+";
    const int starts = gdiplusStartCount();

    // The scan: build, ask, close.
    for (int effects = 0; effects < 3; ++effects) {
        auto *scanned = new Templete(versionHost, createTemepleteEditor);
        EXPECT_TRUE(scanned->getAeffect()->flags & effFlagsHasEditor);
        delete scanned;
    }
    EXPECT_FALSE(gdiplusRunning());
    EXPECT_EQ(gdiplusStartCount(), starts);

    auto *effect = new Templete(versionHost, createTemepleteEditor);
    EXPECT_FALSE(gdiplusRunning());
    {
        OpenEditor editor(effect->getAeffect());
        ASSERT_EQ(editor.openAnswer(), 1);
        EXPECT_TRUE(gdiplusRunning());
        editor.idle();
        ASSERT_NE(kNormalFontVerySmall->getPlatformFont(), nullptr);  // as the editor's labels use it
    }
    ASSERT_EQ(OpenEditor(effect->getAeffect()).openAnswer(), 1);  // and closed again at once
    delete effect;

    EXPECT_FALSE(gdiplusRunning());
    EXPECT_EQ(gdiplusLiveFonts(), 0) << "fonts would free GDI+ objects when the module unloads";
    EXPECT_EQ(gdiplusStartCount(), starts + 1);
    // The process-wide font is made again when it is next needed.
    ASSERT_TRUE(acquireGdiplus());
    EXPECT_NE(kNormalFontVerySmall->getPlatformFont(), nullptr);
    releaseGdiplus();
    EXPECT_EQ(gdiplusLiveFonts(), 0);
}

#endif
