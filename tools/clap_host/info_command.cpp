// zem_clap_host info <file.clap> [--scan-time]
// Scans the library and prints, one fact per line, the descriptor, the audio ports and every
// parameter (id, name, module, flags, range, default and the default's text), as a host reads
// them; --scan-time adds how long the scan took (it differs between runs, so it is left out
// otherwise).
#include <cstdio>

#include "clap_instance.h"
#include "subcommands.h"

namespace {

const char *orEmpty(const char *text) { return text ? text : "(null)"; }

int runInfo(const std::vector<std::string> &arguments)
{
    if (arguments.empty() || arguments.size() > 2 || (arguments.size() == 2 && arguments[1] != "--scan-time")) {
        std::fprintf(stderr, "usage: zem_clap_host info <file.clap> [--scan-time]\n");
        return 2;
    }
    ClapLibrary library(arguments[0]);
    if (!library.ready()) {
        std::fprintf(stderr, "cannot scan %s: %s\n", arguments[0].c_str(), library.error().c_str());
        return 1;
    }
    const clap_plugin_entry_t *entry = library.entry();
    std::printf("entry.clap_version %u.%u.%u\n", entry->clap_version.major, entry->clap_version.minor,
                entry->clap_version.revision);
    if (arguments.size() == 2)
        std::printf("scan.microseconds %.0f\n", library.scanMicroseconds());
    std::printf("factory.count %u\n", (unsigned)library.descriptors().size());
    for (const clap_plugin_descriptor_t *d : library.descriptors()) {
        if (!d) {
            std::printf("descriptor (null)\n");
            continue;
        }
        std::printf("descriptor.id %s\n", orEmpty(d->id));
        std::printf("descriptor.name %s\n", orEmpty(d->name));
        std::printf("descriptor.vendor %s\n", orEmpty(d->vendor));
        std::printf("descriptor.version %s\n", orEmpty(d->version));
        std::printf("descriptor.url %s\n", orEmpty(d->url));
        std::printf("descriptor.description %s\n", orEmpty(d->description));
        std::printf("descriptor.features");
        for (const char *const *f = d->features; f && *f; ++f)
            std::printf(" %s", *f);
        std::printf("\n");
    }
    ClapHost host;
    ClapInstance instance(library, host);
    if (!instance.valid()) {
        std::fprintf(stderr, "the plug-in refused an instance\n");
        return 1;
    }
    if (const clap_plugin_audio_ports_t *ports = instance.audioPorts())
        for (int input = 1; input >= 0; --input)
            for (uint32_t i = 0; i < ports->count(instance.plugin(), input != 0); ++i) {
                clap_audio_port_info_t info{};
                if (ports->get(instance.plugin(), i, input != 0, &info))
                    std::printf("port.%s %u \"%s\" flags %u channels %u %s in-place %d\n", input ? "in" : "out",
                                (unsigned)info.id, info.name, (unsigned)info.flags, (unsigned)info.channel_count,
                                orEmpty(info.port_type),
                                info.in_place_pair == CLAP_INVALID_ID ? -1 : (int)info.in_place_pair);
            }
    const std::vector<clap_param_info_t> parameters = instance.parameters();
    std::printf("params.count %u\n", (unsigned)parameters.size());
    for (const clap_param_info_t &p : parameters) {
        std::string text;
        if (!instance.text(p.id, p.default_value, text))
            text = "(no text)";
        std::printf("param %u \"%s\" module \"%s\" flags 0x%05x range %.9g..%.9g default %.9g \"%s\"\n", (unsigned)p.id,
                    p.name, p.module, (unsigned)p.flags, p.min_value, p.max_value, p.default_value, text.c_str());
    }
    return 0;
}

SubcommandRegistration registration{"info", "info <file.clap> [--scan-time]", runInfo};

}  // namespace
