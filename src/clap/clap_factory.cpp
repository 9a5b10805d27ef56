#include "clap/clap_factory.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "core/templete.h"

namespace {

const char *const kFeatures[] = {CLAP_PLUGIN_FEATURE_AUDIO_EFFECT, CLAP_PLUGIN_FEATURE_ANALYZER,
                                 CLAP_PLUGIN_FEATURE_UTILITY,      CLAP_PLUGIN_FEATURE_STEREO,
                                 CLAP_PLUGIN_FEATURE_MONO,         nullptr};

// The effect's vendor version 3020 as "3.0.2": thousands, hundreds and tens.
struct VersionText {
    char text[16];
    VersionText()
    {
        const int v = (int)Templete::kVendorVersion;
        std::snprintf(text, sizeof text, "%d.%d.%d", v / 1000, v / 100 % 10, v / 10 % 10);
    }
};

int initCount = 0;  // the host never calls init or deinit beside another call

uint32_t CLAP_ABI pluginCount(const clap_plugin_factory_t *) { return 1; }

const clap_plugin_descriptor_t *CLAP_ABI pluginDescriptor(const clap_plugin_factory_t *, uint32_t index)
{
    return index == 0 ? clapDescriptor() : nullptr;
}

const clap_plugin_t *CLAP_ABI createPlugin(const clap_plugin_factory_t *factory, const clap_host_t *host,
                                           const char *pluginId)
{
    if (!factory || !host || !pluginId || std::strcmp(pluginId, kClapPluginId) != 0)
        return nullptr;
    if (!clap_version_is_compatible(host->clap_version))
        return nullptr;
    const ClapFactory *self = reinterpret_cast<const ClapFactory *>(factory);
    ClapPlugin *plugin = new (std::nothrow) ClapPlugin(host, clapDescriptor(), self->makeEffect);
    return plugin ? plugin->clapPlugin() : nullptr;
}

}  // namespace

const clap_plugin_descriptor_t *clapDescriptor()
{
    static const VersionText version;
    static const clap_plugin_descriptor_t descriptor = {
        CLAP_VERSION_INIT,
        kClapPluginId,
        Templete::kProductName,
        Templete::kVendorString,
        "",
        "",
        "",
        version.text,
        "A stereo level meter: VU, RMS and PPM",
        kFeatures,
    };
    return &descriptor;
}

ClapFactory makeClapFactory(EffectMaker makeEffect)
{
    ClapFactory factory = {{pluginCount, pluginDescriptor, createPlugin}, makeEffect};
    return factory;
}

bool clapLibraryInit(const char *)
{
    ++initCount;
    return true;
}

void clapLibraryDeinit()
{
    if (initCount > 0)
        --initCount;
}
