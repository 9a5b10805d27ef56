// zem_clap_host: loads a CLAP plug-in library as a host does and runs one subcommand on it.
#include <cstdio>
#include <cstring>

#include "subcommands.h"

// The plug-in's editor draws text: fontconfig keeps its configuration cache for the life of the
// process, which is not ours to free.
#if defined(__SANITIZE_ADDRESS__)
extern "C" __attribute__((visibility("default"), used)) const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
#endif

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
