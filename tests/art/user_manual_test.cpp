// The installation directory and the manual request: the font path derived from "ManualPath",
// and which message the user sees for each answer of the shell. The stored value lives in a
// store of the test's own (a temporary configuration folder; under Wine the temporary prefix).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/user_manual.h"
#include "platform/install_dir.h"
#include "platform/shell.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

const std::wstring kManualName = L"ZEM Ordwen 3 User Manual (EN) v3.pdf";  // 36 characters

// The per-user "ManualPath" value, set for one test and removed afterwards.
class ManualPathValue {
public:
    ManualPathValue()
    {
#ifndef _WIN32
        char pattern[] = "/tmp/zem-manual-test.XXXXXX";
        dir_ = mkdtemp(pattern);
        const char *old = std::getenv("XDG_CONFIG_HOME");
        hadOld_ = old != nullptr;
        if (old)
            old_ = old;
        setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
#endif
        remove();
    }
    ~ManualPathValue()
    {
        remove();
#ifndef _WIN32
        std::remove((dir_ + "/Velmora/ZEMMETERS300").c_str());
        rmdir((dir_ + "/Velmora").c_str());
        rmdir(dir_.c_str());
        if (hadOld_)
            setenv("XDG_CONFIG_HOME", old_.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
#endif
    }
    void set(const std::wstring &path)
    {
#ifdef _WIN32
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Velmora\\ZEMMETERS300", 0, nullptr, 0, KEY_WRITE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, L"ManualPath", 0, REG_SZ, reinterpret_cast<const BYTE *>(path.c_str()),
                       DWORD((path.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
#else
        mkdir((dir_ + "/Velmora").c_str(), 0700);
        FILE *f = std::fopen((dir_ + "/Velmora/ZEMMETERS300").c_str(), "w");
        ASSERT_NE(f, nullptr);
        // A meter default before it: the value shares the file with them.
        std::fprintf(f, "Avureference=0000803e\nManualPath=%s\n", std::string(path.begin(), path.end()).c_str());
        std::fclose(f);
#endif
    }
    void remove()
    {
#ifdef _WIN32
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Velmora\\ZEMMETERS300", 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, L"ManualPath");
            RegCloseKey(key);
        }
#else
        std::remove((dir_ + "/Velmora/ZEMMETERS300").c_str());
#endif
    }
    // A folder of the test's own, with the platform's separator at its end.
    std::wstring folder() const
    {
#ifdef _WIN32
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        return temp;
#else
        return std::wstring(dir_.begin(), dir_.end()) + L"/";
#endif
    }

private:
#ifndef _WIN32
    std::string dir_, old_;
    bool hadOld_ = false;
#endif
};

struct Message {
    void *owner;
    std::string text, caption;
};
std::vector<Message> messages;
std::vector<std::wstring> opened;
intptr_t shellAnswer = 0;

void recordMessage(void *owner, const std::string &text, const std::string &caption)
{
    messages.push_back({owner, text, caption});
}
intptr_t answerOpen(void *, const std::wstring &path)
{
    opened.push_back(path);
    return shellAnswer;
}

// Message boxes are observed, never shown; the shell is either the real one or a scripted one.
class ManualRequest : public ::testing::Test {
protected:
    void SetUp() override
    {
        messages.clear();
        opened.clear();
    }
    void TearDown() override { setShellHooks(nullptr); }
    void useRealShell() { setShellHooks(&realShell_); }
    void useScriptedShell(intptr_t answer)
    {
        shellAnswer = answer;
        setShellHooks(&scriptedShell_);
    }
    ManualPathValue value_;

private:
    const ShellHooks realShell_ = {nullptr, recordMessage};
    const ShellHooks scriptedShell_ = {answerOpen, recordMessage};
};

std::string narrow(const std::wstring &wide) { return std::string(wide.begin(), wide.end()); }

TEST(FontPath, IsTheManualsDirectoryFollowedByTheFontName)
{
    EXPECT_EQ(fontPathFromManualPath(L"C:\\Program Files\\Velmora\\ZEM Ordwen\\" + kManualName),
              "C:\\Program Files\\Velmora\\ZEM Ordwen\\ZEMOrdwen.kqf");
    EXPECT_EQ(kManualName.size(), kManualFileNameLength);
    // The name a hand install keeps beside the plug-in is the built manual's, of that length too.
    EXPECT_EQ(std::wstring(kManualFileName), L"ZEM Ordwen User Manual v3.0.2 EN.pdf");
    EXPECT_EQ(std::wstring(kManualFileName).size(), kManualFileNameLength);
    // Exactly 36 characters: the whole value is the file name.
    EXPECT_EQ(fontPathFromManualPath(kManualName), "ZEMOrdwen.kqf");
    // Shorter values are used whole; an absent value leaves the file name alone.
    EXPECT_EQ(fontPathFromManualPath(L"D:\\m.pdf"), "D:\\m.pdfZEMOrdwen.kqf");
    EXPECT_EQ(fontPathFromManualPath(L""), "ZEMOrdwen.kqf");
}

TEST(FontPath, ALongValueIsCutAtTheConversionLimit)
{
    // 1200 characters: at most 1025 bytes are converted, the last 36 of them are dropped.
    const std::wstring longPath(1200, L'a');
    EXPECT_EQ(fontPathFromManualPath(longPath), std::string(1025 - 36, 'a') + "ZEMOrdwen.kqf");
}

TEST(PackageShareFolder, IsThePrefixsShareFolderOfAModuleInAFormatsLibFolder)
{
    // The package's folders: the VST 2.4 and CLAP plug-ins in lib/<format>, the LV2 one in a bundle.
    EXPECT_EQ(packageShareFolderOf(L"/usr/lib/vst/"), L"/usr/share/zem-ordwen/");
    EXPECT_EQ(packageShareFolderOf(L"/usr/lib/clap/"), L"/usr/share/zem-ordwen/");
    EXPECT_EQ(packageShareFolderOf(L"/usr/lib/lv2/zem-ordwen.lv2/"), L"/usr/share/zem-ordwen/");
    EXPECT_EQ(packageShareFolderOf(L"/usr/local/lib/vst/"), L"/usr/local/share/zem-ordwen/");
    EXPECT_EQ(packageShareFolderOf(L"/opt/root dir/usr/lib64/vst/"), L"/opt/root dir/usr/share/zem-ordwen/");
    // The folder above the module's own is the nearer match: a bundle folder named lib.
    EXPECT_EQ(packageShareFolderOf(L"/x/lib/lv2/lib/"), L"/x/share/zem-ordwen/");
    // Repeated separators count as one.
    EXPECT_EQ(packageShareFolderOf(L"/usr//lib//vst/"), L"/usr//share/zem-ordwen/");
}

TEST(PackageShareFolder, IsEmptyOutsideAPackageTree)
{
    EXPECT_EQ(packageShareFolderOf(L"/home/user/.vst/"), L"");
    EXPECT_EQ(packageShareFolderOf(L"/usr/lib/"), L"");  // the module in lib itself: no format folder
    EXPECT_EQ(packageShareFolderOf(L"/usr/lib/lv2/a/b/"), L"");
    EXPECT_EQ(packageShareFolderOf(L"/usr/libx/vst/"), L"");
    EXPECT_EQ(packageShareFolderOf(L"usr/lib/vst/"), L"");  // relative: never
    EXPECT_EQ(packageShareFolderOf(L"/usr/lib/vst"), L"");  // not a folder with its separator
    EXPECT_EQ(packageShareFolderOf(L"C:\\usr\\lib\\vst\\"), L"");
    EXPECT_EQ(packageShareFolderOf(L""), L"");
    EXPECT_EQ(packageShareFolderOf(L"/"), L"");
}

TEST_F(ManualRequest, FontPathQueryReadsTheInstallersValue)
{
    EXPECT_EQ(installedFontPath(), "ZEMOrdwen.kqf");
    value_.set(value_.folder() + kManualName);
    EXPECT_EQ(readManualPath(), value_.folder() + kManualName);
    EXPECT_EQ(installedFontPath(), narrow(value_.folder()) + "ZEMOrdwen.kqf");
}

TEST_F(ManualRequest, MissingValueTellsTheManualCouldNotBeOpened)
{
    useRealShell();
    requestUserManual(nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Could not open user manual");
    EXPECT_EQ(messages[0].caption, "");
}

TEST_F(ManualRequest, MissingFileTellsTheManualCouldNotBeOpened)
{
    useRealShell();
    value_.set(value_.folder() + kManualName);  // never created
    requestUserManual(nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Could not open user manual");
    EXPECT_EQ(messages[0].caption, "");
}

TEST_F(ManualRequest, NoAssociatedProgramAsksForAcrobatReader)
{
    int owner = 0;
    value_.set(value_.folder() + kManualName);
    useScriptedShell(kShellNoAssociation);
    requestUserManual(&owner);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Make sure Acrobat Reader is installed");
    EXPECT_EQ(messages[0].caption, "Could not open manual file");
    EXPECT_EQ(messages[0].owner, &owner);
}

TEST_F(ManualRequest, SuccessShowsNothingAndEveryPressAsksTheShellAgain)
{
    value_.set(value_.folder() + kManualName);
    useScriptedShell(33);
    requestUserManual(nullptr);
    requestUserManual(nullptr);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], value_.folder() + kManualName);
    EXPECT_EQ(opened[1], opened[0]);
    EXPECT_TRUE(messages.empty());
    // Every answer up to 32 is a failure; 32 itself too.
    useScriptedShell(32);
    requestUserManual(nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Could not open user manual");
}

#ifdef _WIN32
TEST_F(ManualRequest, WindowsShellReportsAFileTypeWithoutProgram)
{
    // A file of a type nothing is associated with, opened by the real shell.
    const std::wstring file = value_.folder() + L"ZEM Ordwen 3 User Manual (EN).zemx31";
    FILE *f = _wfopen(file.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fputs("not a document", f);
    std::fclose(f);
    value_.set(file);
    useRealShell();
    requestUserManual(nullptr);
    DeleteFileW(file.c_str());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Make sure Acrobat Reader is installed");
    EXPECT_EQ(messages[0].caption, "Could not open manual file");
}
#endif

}  // namespace

namespace {

// Run by tests/installer/run in a prefix where the installer has just run: the font path query
// names the installed typeface, and the file is there.
TEST(InstalledFont, FontPathQueryNamesTheInstalledTypeface)
{
    const char *expected = std::getenv("ZEM_INSTALLED_FONT");
    if (!expected)
        GTEST_SKIP() << "needs an installation (tests/installer/run)";
    const std::string path = installedFontPath();
    EXPECT_EQ(path, expected);
    FILE *font = std::fopen(path.c_str(), "rb");
    EXPECT_NE(font, nullptr) << path;
    if (font)
        std::fclose(font);
}

}  // namespace
