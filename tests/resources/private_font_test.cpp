// The private typeface of the tape label loads from its file without being installed, and its
// family is "ZEMOrdwen" (the file name without its extension). Windows: a private GDI font
// resource and a GDI+ private collection; Linux: a fontconfig application font.
#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
#include <objidl.h>
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
#else
#include <dlfcn.h>
#endif

namespace {

std::string fontFile() { return std::string(ZEM_SOURCE_DIR) + "/resources/font/ZEMOrdwen.kqf"; }

#ifdef _WIN32

std::wstring widePath()
{
    // A Unix path under Wine names drive Z:.
    const std::string path = fontFile();
    std::wstring wide = L"Z:";
    for (char c : path)
        wide += c == '/' ? L'\\' : wchar_t(c);
    return path.size() > 1 && path[1] == ':' ? std::wstring(path.begin(), path.end()) : wide;
}

int CALLBACK countFamily(const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM counter)
{
    ++*reinterpret_cast<int *>(counter);
    return 1;
}

TEST(PrivateFont, GdiLoadsItPrivatelyUnderItsFamilyName)
{
    const std::wstring path = widePath();
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTW query = {};
    wcscpy(query.lfFaceName, L"ZEMOrdwen");
    query.lfCharSet = DEFAULT_CHARSET;
    int before = 0;
    EnumFontFamiliesExW(dc, &query, countFamily, reinterpret_cast<LPARAM>(&before), 0);
    EXPECT_EQ(before, 0) << "the typeface must not be installed";

    ASSERT_GT(AddFontResourceExW(path.c_str(), FR_PRIVATE, nullptr), 0);
    HFONT font = CreateFontW(-38, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_STRING_PRECIS,
                             CLIP_STROKE_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, L"ZEMOrdwen");
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    EXPECT_STREQ(face, L"ZEMOrdwen");
    SelectObject(dc, old);
    DeleteObject(font);
    EXPECT_TRUE(RemoveFontResourceExW(path.c_str(), FR_PRIVATE, nullptr));
    DeleteDC(dc);
}

TEST(PrivateFont, GdiplusPrivateCollectionNamesTheFamily)
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    {
        Gdiplus::PrivateFontCollection collection;
        ASSERT_EQ(collection.AddFontFile(widePath().c_str()), Gdiplus::Ok);
        ASSERT_EQ(collection.GetFamilyCount(), 1);
        Gdiplus::FontFamily family;
        int found = 0;
        collection.GetFamilies(1, &family, &found);
        ASSERT_EQ(found, 1);
        wchar_t name[LF_FACESIZE] = {};
        family.GetFamilyName(name);
        EXPECT_STREQ(name, L"ZEMOrdwen");
        EXPECT_TRUE(family.IsStyleAvailable(Gdiplus::FontStyleRegular));
    }
    Gdiplus::GdiplusShutdown(token);
}

#else

// The few fontconfig calls, reached through the library the system already has loaded for
// cairo, so that the test needs no link flags of its own.
struct FcFontSet {
    int nfont;
    int sfont;
    void **fonts;
};
using FcConfigCreateFn = void *(*)();
using FcConfigDestroyFn = void (*)(void *);
using FcConfigAppFontAddFileFn = int (*)(void *, const unsigned char *);
using FcConfigGetFontsFn = FcFontSet *(*)(void *, int);
using FcPatternGetStringFn = int (*)(void *, const char *, int, unsigned char **);
using FcPatternGetIntegerFn = int (*)(void *, const char *, int, int *);

TEST(PrivateFont, FontconfigLoadsItAsApplicationFontUnderItsFamilyName)
{
    void *library = dlopen("libfontconfig.so.1", RTLD_NOW);
    ASSERT_NE(library, nullptr) << dlerror();
    auto create = reinterpret_cast<FcConfigCreateFn>(dlsym(library, "FcConfigCreate"));
    auto destroy = reinterpret_cast<FcConfigDestroyFn>(dlsym(library, "FcConfigDestroy"));
    auto addFile = reinterpret_cast<FcConfigAppFontAddFileFn>(dlsym(library, "FcConfigAppFontAddFile"));
    auto getFonts = reinterpret_cast<FcConfigGetFontsFn>(dlsym(library, "FcConfigGetFonts"));
    auto getString = reinterpret_cast<FcPatternGetStringFn>(dlsym(library, "FcPatternGetString"));
    auto getInteger = reinterpret_cast<FcPatternGetIntegerFn>(dlsym(library, "FcPatternGetInteger"));
    ASSERT_TRUE(create && destroy && addFile && getFonts && getString && getInteger);

    // A configuration of its own: the system's fonts are not in it, nothing is installed.
    void *config = create();
    ASSERT_TRUE(addFile(config, reinterpret_cast<const unsigned char *>(fontFile().c_str())));
    const int FcSetApplication = 1;
    FcFontSet *set = getFonts(config, FcSetApplication);
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(set->nfont, 1);
    unsigned char *family = nullptr;
    ASSERT_EQ(getString(set->fonts[0], "family", 0, &family), 0);
    EXPECT_STREQ(reinterpret_cast<char *>(family), "ZEMOrdwen");
    int weight = 0;
    ASSERT_EQ(getInteger(set->fonts[0], "weight", 0, &weight), 0);
    EXPECT_EQ(weight, 80) << "marked as the regular face";
    destroy(config);
    dlclose(library);
}

#endif

}  // namespace
