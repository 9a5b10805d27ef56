// zem_host conformance <plugin>
// Prints the figures of measureConformance (conformance.h) as a table: meter, figure, the
// standard's figure, the measured one.
#include <cstdio>

#include "conformance.h"
#include "plugin_host.h"
#include "subcommands.h"

namespace {

int runConformance(const std::vector<std::string> &arguments)
{
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: zem_host conformance <plugin>\n");
        return 2;
    }
    PluginHost host(arguments[0]);
    if (!host.loaded()) {
        std::fprintf(stderr, "cannot load %s: %s\n", arguments[0].c_str(), host.error().c_str());
        return 1;
    }
    std::printf("| meter | figure | standard | measured |\n|---|---|---|---|\n");
    for (const ConformanceRow &row : measureConformance(host))
        std::printf("| %s | %s | %s | %s |\n", row.meter.c_str(), row.figure.c_str(), row.standard.c_str(),
                    row.measured.c_str());
    return 0;
}

SubcommandRegistration registration{"conformance", "conformance <plugin>", runConformance};

}  // namespace
