// zem_host: loads a VST 2.4 plug-in library as a host does and runs one subcommand on it.
#include "subcommands.h"

int main(int argc, char **argv) { return runSubcommand("zem_host", argc, argv); }
