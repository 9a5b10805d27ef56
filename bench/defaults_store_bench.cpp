// StoreDefaults (internal parameter 65) as the settings panel sends it when it closes: the Global
// settings of the three meter types are written to the per-user store. Driven through the
// built plug-in's entry point, with a store of the benchmark's own (a temporary configuration
// folder on the build's disk, so that forcing the file to disk costs what it costs there).
#include "plugin_library.h"
#include "vst/aeffect.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#ifndef _WIN32
#include <ftw.h>
#include <unistd.h>
#endif

namespace {

constexpr VstInt32 storeDefaultsIndex = 65;

VstIntPtr VSTCALLBACK quietHost(AEffect *, VstInt32 opcode, VstInt32, VstIntPtr, void *, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

#ifndef _WIN32
int removeEntry(const char *path, const struct stat *, int, struct FTW *) { return ::remove(path); }
#endif

void BM_StoreDefaults(benchmark::State &state)
{
#ifndef _WIN32
    std::string folder = PluginLibrary::programFolder() + "zem-bench-store.XXXXXX";
    if (!::mkdtemp(&folder[0])) {
        state.SkipWithError("no temporary store folder");
        return;
    }
    const char *old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
#endif
    PluginLibrary plugin(PluginLibrary::programFolder() + ZEM_PLUGIN_FILE);
    AEffect *effect = plugin.entry() ? plugin.entry()(quietHost) : nullptr;
    if (!effect) {
        state.SkipWithError("the plug-in did not load");
    } else {
        effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
        effect->setParameter(effect, storeDefaultsIndex, 0.f);  // the store exists from here on
        for (auto _ : state)
            effect->setParameter(effect, storeDefaultsIndex, 0.f);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    }
#ifndef _WIN32
    if (old)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
    ::nftw(folder.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
#endif
}
BENCHMARK(BM_StoreDefaults)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
