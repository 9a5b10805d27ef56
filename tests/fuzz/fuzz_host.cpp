#include "fuzz_host.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <ftw.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include "session_checks.h"
#include "ui/offscreen_parent.h"

namespace {

std::string removableStore;  // the temporary store folder, removed when the process ends

int removeEntry(const char *path, const struct stat *, int, struct FTW *) { return ::remove(path); }

void removeStore()
{
    if (!removableStore.empty())
        ::nftw(removableStore.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

// A session that ends on a failure ends without its exit handlers: its store is removed by the
// next session, which finds the process named in the folder gone.
const char kStorePrefix[] = "zem-fuzz-store.";

void removeStoresOfEndedSessions()
{
    DIR *folder = ::opendir("/tmp");
    if (!folder)
        return;
    while (const dirent *entry = ::readdir(folder)) {
        if (std::strncmp(entry->d_name, kStorePrefix, sizeof kStorePrefix - 1) != 0)
            continue;
        const long pid = std::strtol(entry->d_name + sizeof kStorePrefix - 1, nullptr, 10);
        if (pid > 0 && ::kill((pid_t)pid, 0) != 0 && errno == ESRCH)
            ::nftw((std::string("/tmp/") + entry->d_name).c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
    ::closedir(folder);
}

}  // namespace

FuzzHost &FuzzHost::instance()
{
    static FuzzHost *host = new FuzzHost;  // lives until the process ends, as the plug-in does
    return *host;
}

FuzzHost::FuzzHost()
{
    // The store is read when the plug-in loads: point it away from the user's own first.
    removeStoresOfEndedSessions();
    std::string pattern = std::string("/tmp/") + kStorePrefix + std::to_string((long)::getpid()) + ".XXXXXX";
    if (!::mkdtemp(&pattern[0]))
        fuzzFailure("cannot make a temporary folder for the per-user store");
    storeFolder = pattern;
    removableStore = storeFolder;
    std::atexit(removeStore);
    ::setenv("XDG_CONFIG_HOME", storeFolder.c_str(), 1);

    library = new PluginLibrary(PluginLibrary::programFolder() + ZEM_PLUGIN_FILE);
    if (!library->loaded() || !library->entry())
        fuzzFailure("cannot load the plug-in: %s", library->error().c_str());
}

AEffect *FuzzHost::createEffect()
{
    return guardedCall("VSTPluginMain", [&] { return library->entry()(callback); });
}

VstIntPtr VSTCALLBACK FuzzHost::callback(AEffect *, VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr,
                                         float opt)
{
    return instance().answer(opcode, index, value, ptr, opt);
}

VstIntPtr FuzzHost::answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt)
{
    switch (opcode) {
    case audioMasterVersion:
        return kVstVersion;
    case audioMasterAutomate:
        if (!(opt >= 0.f && opt <= 1.f))
            fuzzFailure("parameter %d automated with %g, outside 0..1", (int)index, (double)opt);
        return 0;
    case audioMasterPinConnected: {
        // value 1 asks about an output, 0 about an input; the answer 0 means connected.
        const bool connected = index == 0 || (value ? answers.secondOutputConnected : answers.secondInputConnected);
        return connected ? 0 : 1;
    }
    case audioMasterGetOutputLatency:
        return answers.outputLatency;
    case audioMasterSizeWindow:
        return 1;
    case audioMasterVendorSpecific:
        return index == kHostParentQuery && ptr && ptr == ownParent ? kHostParentAnswer : 0;
    default:
        return 0;
    }
}
