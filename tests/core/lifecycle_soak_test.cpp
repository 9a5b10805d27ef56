// Life-cycle soak through the built plug-in, loaded as a host loads it: the editor opened and
// closed a thousand times, and the library loaded, used and unloaded two hundred times. What
// must come back: the windows of the thread (Windows), the host's file descriptors, the heap
// (natively) and the resident memory of the process; the editor's window class must be gone
// once its last frame is. The library stays resident after the host's first call, so a host
// that loads and unloads it does not pay for its drawing libraries each time. LeakSanitizer
// checks the rest when the test program ends.
#include <fstream>
#include <string>

#include "loaded_plugin.h"
#include "support/open_editor.h"
#include "support/resident_memory.h"
#ifdef _WIN32
#include <windows.h>
// After windows.h.
#include <psapi.h>
#else
#include <dirent.h>
#include <unistd.h>
#endif
#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of live heap bytes, and its release of freed blocks held in
// quarantine (its header is not shipped with g++).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
extern "C" void __sanitizer_purge_allocator();
#endif

namespace {

// Heap still allocated (AddressSanitizer builds), or 0.
size_t heapInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return 0;
#endif
}

// Gives the freed blocks that the sanitizer holds back to catch late uses to its allocator for
// reuse. Called once a cycle: held back for 200 cycles they would fragment its free lists into
// growth that is the sanitizer's own, not the plug-in's.
void releaseHeldBackBlocks()
{
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_purge_allocator();
#endif
}

// Memory of the process resident in RAM, in bytes, with the sanitizer's held-back blocks handed
// back first (0 where it is not read).
size_t residentBytes()
{
    releaseHeldBackBlocks();
    return processResidentBytes();
}

// Open file descriptors of the process (0 where there are none to count).
int openDescriptors()
{
#ifdef _WIN32
    return 0;
#else
    int count = 0;
    if (DIR *folder = opendir("/proc/self/fd")) {
        while (readdir(folder))
            ++count;
        closedir(folder);
    }
    return count;
#endif
}

// Whether the built plug-in is still part of the process.
bool pluginMapped()
{
#ifdef _WIN32
    return GetModuleHandleA(builtPluginPath().c_str()) != nullptr;
#else
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find(ZEM_PLUGIN_FILE) != std::string::npos)
            return true;
    return false;
#endif
}

// One editor session of the effect: open, a few idles, close.
void openIdleClose(PluginInstance &plugin, HostOwnParent &parent)
{
    OpenEditor editor(plugin.record(), parent.handle());
    ASSERT_EQ(editor.openAnswer(), 1);
    ASSERT_TRUE(parent.frameAttached());
    editor.idle(3);
    editor.close();
    ASSERT_FALSE(parent.frameAttached());
}

}  // namespace

using LifecycleSoak = LoadedPluginTest;

TEST_F(LifecycleSoak, ThousandEditorOpenCloseCycles)
{
    HostOwnParent parent(host());
    PluginInstance plugin(host());
    ASSERT_TRUE(plugin.valid());
    openIdleClose(plugin, parent);  // first-use caches (fonts, pictures) are not growth
    const int windows = countThreadWindows();
    const size_t heap = heapInUse();
    for (int cycle = 0; cycle < 1000 && !HasFatalFailure(); ++cycle) {
        plugin.setParameter(3, (float)(cycle % 3) * 0.5f);  // each meter's panel in turn
        openIdleClose(plugin, parent);
    }
    EXPECT_EQ(countThreadWindows(), windows);
    // A frame, its pictures and views come to far more than this; a few allocators keep free lists.
    EXPECT_LT(heapInUse(), heap + 256 * 1024);
}

TEST(LifecycleSoakLibrary, TwoHundredLoadUseUnloadCycles)
{
    HostOwnParent parent;  // vouched for to each library below
    parent.handle();       // the parent window is the host's, made before the first load
    const int descriptors = openDescriptors();
    const int windows = countThreadWindows();
    size_t heap = 0, resident = 0;
#ifdef _WIN32
    std::wstring frameClass;
    HMODULE module = nullptr;
#endif
    for (int cycle = 0; cycle < 200 && !HasFatalFailure(); ++cycle) {
        {
            PluginHost library(builtPluginPath(), LibraryUnload::Always);
            ASSERT_TRUE(library.loaded()) << library.error();
            library.vouchForParent(parent.handle());
            PluginInstance plugin(library);
            ASSERT_TRUE(plugin.valid());
            plugin.start(48000.f, 64);
            float in[64] = {}, out[2][64];
            float *inputs[2] = {in, in};
            float *outputs[2] = {out[0], out[1]};
            plugin.processReplacing(inputs, outputs, 64);
            if (cycle % 20 == 0) {
                OpenEditor editor(plugin.record(), parent.handle());
                ASSERT_EQ(editor.openAnswer(), 1);
#ifdef _WIN32
                if (frameClass.empty()) {
                    frameClass = parent.frameClass();
                    module = GetModuleHandleA(builtPluginPath().c_str());
                }
#endif
                editor.idle();
                editor.close();
            }
        }  // effClose, then the library is unloaded
        releaseHeldBackBlocks();
        if (cycle == 0) {
            heap = heapInUse();  // what the first load leaves for good (the sanitizer's own records)
            resident = residentBytes();
        }
    }
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_TRUE(pluginMapped()) << "the library did not stay resident";
    EXPECT_EQ(countThreadWindows(), windows);
    EXPECT_LT(heapInUse(), heap + 256 * 1024);
    // Unloading cairo and fontconfig (Linux) or GDI+ (Windows) with the plug-in leaves from 75 KB
    // to a megabyte behind per cycle; resident, the 199 cycles after the first add next to nothing.
    EXPECT_LT(residentBytes(), resident + 4 * 1024 * 1024) << "resident memory grows with each load";
#ifdef _WIN32
    ASSERT_FALSE(frameClass.empty());
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetClassInfoExW(module, frameClass.c_str(), &info))
        << "the frame's window class outlives its last frame";
#endif
}
