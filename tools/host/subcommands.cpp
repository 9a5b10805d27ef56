#include "subcommands.h"

#include <algorithm>
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
