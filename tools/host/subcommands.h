// The subcommands of the harness program. A subcommand lives in its own file named
// *_command.cpp; such files are compiled into the harness program itself (not the support
// library), and each registers its entry with a static SubcommandRegistration:
//
//     static SubcommandRegistration registration{"editor", "editor <plugin> ...", runEditor};
//
// run receives the arguments after the subcommand's name and answers the exit status.
#pragma once

#include <string>
#include <vector>

struct Subcommand {
    const char *name;
    const char *usage;
    int (*run)(const std::vector<std::string> &arguments);
};

// Every registered subcommand, sorted by name.
std::vector<Subcommand> registeredSubcommands();

struct SubcommandRegistration {
    SubcommandRegistration(const char *name, const char *usage, int (*run)(const std::vector<std::string> &));
};
