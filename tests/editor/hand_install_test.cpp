// A plug-in installed by hand: a copy of the built plug-in in a folder of its own, with the
// label typeface and the user manual beside it or in its "ZEM Ordwen" subfolder and no
// "ManualPath" in the per-user store. Loaded and driven as a host does: the label strip shows its
// text in the typeface, the manual button opens the manual beside the plug-in, a typeface of the
// same name in the host's working folder is never used, and a store written with CRLF line ends
// still leads to the installed files.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/loaded_plugin.h"
#include "support/file_contents.h"
#include "support/open_editor.h"
#include "ui/bitmap.h"
#include "ui/view.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

using namespace VSTGUI;

namespace {

namespace fs = std::filesystem;

const char kManualName[] = "ZEM Ordwen User Manual v3.0.2 EN.pdf";

fs::path sourceFontFile() { return fs::path(std::string(ZEM_SOURCE_DIR) + "/resources/font/ZEMOrdwen.kqf"); }

void writeFile(const fs::path &path, const std::string &data)
{
    FILE *file = nullptr;
#ifdef _WIN32
    file = _wfopen(path.wstring().c_str(), L"wb");
#else
    file = std::fopen(path.c_str(), "wb");
#endif
    ASSERT_NE(file, nullptr) << path.string();
    std::fwrite(data.data(), 1, data.size(), file);
    std::fclose(file);
}

// The per-user store's "ManualPath", removed for the test and afterwards (the suite's store
// is private: natively a temporary configuration folder, under Wine a temporary prefix).
class ManualPathStore {
public:
    ManualPathStore() { clear(); }
    ~ManualPathStore() { clear(); }
#ifndef _WIN32
    // The store's whole text, as an editor on another system may have written it.
    void write(const std::string &contents)
    {
        fs::create_directories(folder());
        writeFile(folder() / "ZEMMETERS300", contents);
    }
#endif

private:
    void clear()
    {
#ifdef _WIN32
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Velmora\\ZEMMETERS300", 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, L"ManualPath");
            RegCloseKey(key);
        }
#else
        std::error_code ignored;
        fs::remove(folder() / "ZEMMETERS300", ignored);
#endif
    }
#ifndef _WIN32
    static fs::path folder() { return fs::path(std::getenv("XDG_CONFIG_HOME")) / "Velmora"; }
#endif
};

// How many pixels differ between two pictures of the same size.
int differingPixels(const CBitmap &a, const CBitmap &b)
{
    if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight())
        return -1;
    int differing = 0;
    for (int y = 0; y < (int)a.getHeight(); ++y)
        for (int x = 0; x < (int)a.getWidth(); ++x) {
            CColor p, q;
            a.getPixel(x, y, p);
            b.getPixel(x, y, q);
            differing += !(p == q);
        }
    return differing;
}

// A folder of the test's own holding a copy of the built plug-in under its own file name.
class HandInstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int made = 0;
#ifdef _WIN32
        const std::string unique = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made);
#else
        const std::string unique = std::to_string(::getpid()) + "-" + std::to_string(++made);
#endif
        root = fs::temp_directory_path() / ("zem-hand-install-" + unique);
        folder = root / "vst";
        fs::create_directories(folder);
        const fs::path built(builtPluginPath());
        fs::copy_file(built, folder / built.filename(), fs::copy_options::overwrite_existing);
        plugin = folder / built.filename();
    }
    void TearDown() override
    {
#ifdef _WIN32
        if (!workingBefore.empty())
            SetCurrentDirectoryW(workingBefore.c_str());
#else
        if (!workingBefore.empty() && ::chdir(workingBefore.c_str()) != 0)
            ADD_FAILURE() << "working folder not restored";
#endif
        std::error_code ignored;  // a plug-in still mapped may keep its copy
        fs::remove_all(root, ignored);
    }
    void installFiles(const fs::path &where)
    {
        fs::create_directories(where);
        fs::copy_file(sourceFontFile(), where / "ZEMOrdwen.kqf", fs::copy_options::overwrite_existing);
        writeFile(where / kManualName, "%PDF-1.4\n%%EOF\n");
    }
    // The host's working folder for the rest of the test.
    void workIn(const fs::path &where)
    {
        fs::create_directories(where);
#ifdef _WIN32
        wchar_t current[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, current);
        workingBefore = current;
        ASSERT_TRUE(SetCurrentDirectoryW(where.wstring().c_str()));
#else
        char current[4096] = {};
        ASSERT_NE(::getcwd(current, sizeof current), nullptr);
        workingBefore = current;
        ASSERT_EQ(::chdir(where.c_str()), 0);
#endif
    }
    // Loads the copy, opens its editor with the label strip showing `label` and answers how
    // many pixels the label's text adds to the picture of an empty label.
    int pixelsOfTheLabelText(PluginHost &host, const std::string &label)
    {
        EXPECT_TRUE(host.loaded()) << host.error();
        if (!host.loaded())
            return -1;
        PluginInstance instance(host);
        instance.setParameter(6, 1.f);   // Strips
        instance.setParameter(15, 1.f);  // ShowLbl
        HostOwnParent parent(host);
        std::unique_ptr<CBitmap> shots[2];
        for (int k = 0; k < 2; ++k) {
            std::vector<unsigned char> chunk = instance.getChunk();
            EXPECT_GE(chunk.size(), 44u);
            if (chunk.size() < 44)
                return -1;
            std::memset(&chunk[4], 0, 40);
            if (k == 1)
                std::memcpy(&chunk[4], label.data(), label.size());
            instance.setChunk(chunk);
            OpenEditor editor(instance.record(), parent.handle());
            EXPECT_EQ(editor.openAnswer(), 1);
            editor.idle();
            shots[k] = parent.picture((root / ("picture" + std::to_string(k) + ".png")).string());
            editor.close();
            EXPECT_NE(shots[k], nullptr);
            if (!shots[k])
                return -1;
        }
        return differingPixels(*shots[0], *shots[1]);
    }

    fs::path root, folder, plugin;
#ifdef _WIN32
    std::wstring workingBefore;
#else
    std::string workingBefore;
#endif
    ManualPathStore store;
};

TEST_F(HandInstall, TheTypefaceBesideThePluginOrInItsSubfolderDrawsTheLabel)
{
    for (const fs::path &where : {folder, folder / "ZEM Ordwen"}) {
        SCOPED_TRACE(where.string());
        // A copy of its own for each place: the typeface is loaded once per loaded module.
        const fs::path copy = where == folder ? plugin : folder / ("sub-" + plugin.filename().string());
        if (copy != plugin)
            fs::copy_file(plugin, copy, fs::copy_options::overwrite_existing);
        installFiles(where);
        PluginHost host(copy.string());
        EXPECT_GT(pixelsOfTheLabelText(host, "Tape 1"), 50);
        std::error_code ignored;
        fs::remove(where / "ZEMOrdwen.kqf", ignored);
    }
}

TEST_F(HandInstall, APluginLoadedByARelativePathFindsTheTypefaceBesideIt)
{
    installFiles(folder);
    workIn(root);
    PluginHost host((fs::path("vst") / plugin.filename()).string());
    EXPECT_GT(pixelsOfTheLabelText(host, "Tape 1"), 50);
}

TEST_F(HandInstall, ATypefaceOfTheSameNameInTheWorkingFolderIsNeverOpened)
{
    // Nothing installed and no "ManualPath": the label has no typeface to draw with.
    const fs::path working = root / "working";
    workIn(working);
    fs::copy_file(sourceFontFile(), working / "ZEMOrdwen.kqf");
    writeFile(working / kManualName, "%PDF-1.4\n%%EOF\n");
    PluginHost host(plugin.string());
    EXPECT_EQ(pixelsOfTheLabelText(host, "Tape 1"), 0);
}

#ifndef _WIN32
// The manual opener as a stand-in for xdg-open, first on the PATH: it writes down the file it
// was asked to open.
class RecordingOpener {
public:
    explicit RecordingOpener(const fs::path &folder) : record(folder / "opened")
    {
        fs::create_directories(folder);
        const fs::path script = folder / "xdg-open";
        writeFile(script, "#!/bin/sh\nprintf '%s' \"$1\" > '" + record.string() + ".part' && mv '" + record.string() +
                              ".part' '" + record.string() + "'\n");
        fs::permissions(script, fs::perms::owner_all);
        const char *path = std::getenv("PATH");
        oldPath = path ? path : "";
        ::setenv("PATH", (folder.string() + ":" + oldPath).c_str(), 1);
    }
    ~RecordingOpener() { ::setenv("PATH", oldPath.c_str(), 1); }
    // The file the opener was asked for; empty when it was not started within five seconds.
    std::string opened() const
    {
        for (int waited = 0; waited < 500 && !fs::exists(record); ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return fileContents(record.string());
    }

private:
    fs::path record;
    std::string oldPath;
};

// Opens the copy's editor and presses its manual button.
void pressTheManualButton(PluginHost &host)
{
    ASSERT_TRUE(host.loaded()) << host.error();
    PluginInstance instance(host);
    HostOwnParent parent(host);
    OpenEditor editor(instance.record(), parent.handle());
    ASSERT_TRUE(editor.opened());
    parent.press(510, 7);
    parent.release(510, 7, 0);
    editor.close();
}

TEST_F(HandInstall, TheManualButtonOpensTheManualInThePluginsSubfolder)
{
    installFiles(folder / "ZEM Ordwen");
    RecordingOpener opener(root / "bin");
    PluginHost host(plugin.string());
    pressTheManualButton(host);
    EXPECT_EQ(opener.opened(), (folder / "ZEM Ordwen" / kManualName).string());
}

// The package's tree in a folder of the test's own: the plug-in in <prefix>/lib/vst (or a bundle
// in <prefix>/lib/lv2), the manual and the typeface in <prefix>/share/zem-ordwen, no "ManualPath".
TEST_F(HandInstall, APluginInAPackageTreeFindsTheFilesInItsShareFolder)
{
    const fs::path prefix = root / "usr";
    installFiles(prefix / "share" / "zem-ordwen");
    RecordingOpener opener(root / "bin");
    for (const fs::path &where : {prefix / "lib" / "vst", prefix / "lib" / "lv2" / "zem-ordwen.lv2"}) {
        SCOPED_TRACE(where.string());
        // A copy of its own for each place: the typeface is loaded once per loaded module.
        fs::create_directories(where);
        const fs::path copy = where / plugin.filename();
        fs::copy_file(plugin, copy, fs::copy_options::overwrite_existing);
        PluginHost host(copy.string());
        EXPECT_GT(pixelsOfTheLabelText(host, "Tape 1"), 50);
        pressTheManualButton(host);
        EXPECT_EQ(opener.opened(), (prefix / "share" / "zem-ordwen" / kManualName).string());
        std::error_code ignored;
        fs::remove(root / "bin" / "opened", ignored);
    }
}

TEST_F(HandInstall, AManualPathWithACrlfLineEndLeadsToTheInstalledFiles)
{
    // Installed elsewhere, so that only the recorded path leads there.
    const fs::path elsewhere = root / "share";
    installFiles(elsewhere);
    const std::string recorded = (elsewhere / kManualName).string();
    store.write("Avureference=0000803e\r\nManualPath=" + recorded + " \r\n");
    RecordingOpener opener(root / "bin");
    PluginHost host(plugin.string());
    EXPECT_GT(pixelsOfTheLabelText(host, "Tape 1"), 50);
    pressTheManualButton(host);
    EXPECT_EQ(opener.opened(), recorded);
}
#endif

}  // namespace
