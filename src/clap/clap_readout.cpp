#include "clap_readout.h"

#include "clap/clap_plugin.h"

#include <cstring>

namespace {

bool CLAP_ABI query(const clap_plugin_t *plugin, ReadoutQuery *readout)
{
    AEffect *effect = plugin ? clapEffectOf(plugin) : nullptr;
    return effect && readout &&
           effect->dispatcher(effect, effVendorSpecific, kReadoutQuery, sizeof(ReadoutQuery), readout, 0.f) == 1;
}

constexpr zem_clap_readout_t kReadout{query};

}  // namespace

const void *clapReadoutExtension(const char *id)
{
    return id && std::strcmp(id, ZEM_CLAP_EXT_READOUT) == 0 ? &kReadout : nullptr;
}

AEffect *clapEffectOf(const clap_plugin_t *plugin)
{
    ClapPlugin *instance = ClapPlugin::from(plugin);
    return instance ? instance->effectRecord() : nullptr;
}
