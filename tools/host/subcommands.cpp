#include "subcommands.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
std::vector<Subcommand> &registry()
{
    static std::vector<Subcommand> subcommands;
    return subcommands;
}
}  // namespace

SubcommandRegistration::SubcommandRegistration(const char *name, const char *usage,
                                               int (*run)(const std::vector<std::string> &))
{
    registry().push_back(Subcommand{name, usage, run});
}

std::vector<Subcommand> registeredSubcommands()
{
    std::vector<Subcommand> sorted = registry();
    std::sort(sorted.begin(), sorted.end(),
              [](const Subcommand &a, const Subcommand &b) { return std::strcmp(a.name, b.name) < 0; });
    return sorted;
}

int runSubcommand(const char *program, int argc, char **argv)
{
    const std::vector<Subcommand> subcommands = registeredSubcommands();
    if (argc >= 2) {
        std::vector<std::string> arguments(argv + 2, argv + argc);
        for (const Subcommand &subcommand : subcommands)
            if (std::strcmp(subcommand.name, argv[1]) == 0)
                return subcommand.run(arguments);
    }
    std::fprintf(stderr, "usage: %s <subcommand> ...\n", program);
    for (const Subcommand &subcommand : subcommands)
        std::fprintf(stderr, "  %s %s\n", program, subcommand.usage);
    return 2;
}
