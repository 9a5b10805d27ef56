// zem_clap_host: loads a CLAP plug-in library as a host does and runs one subcommand on it.
#include <cstdio>
#include <cstring>

#include "subcommands.h"

namespace {
int usage()
{
    std::fprintf(stderr, "usage: zem_clap_host <subcommand> ...\n");
    for (const Subcommand &subcommand : registeredSubcommands())
        std::fprintf(stderr, "  zem_clap_host %s\n", subcommand.usage);
    return 2;
}
}  // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage();
    std::vector<std::string> arguments(argv + 2, argv + argc);
    for (const Subcommand &subcommand : registeredSubcommands())
        if (std::strcmp(subcommand.name, argv[1]) == 0)
            return subcommand.run(arguments);
    return usage();
}
