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

// A harness program's main: runs the subcommand named by argv[1] with the arguments after it,
// or prints the usage of every subcommand and answers 2.
int runSubcommand(const char *program, int argc, char **argv);

struct SubcommandRegistration {
    SubcommandRegistration(const char *name, const char *usage, int (*run)(const std::vector<std::string> &));
};
