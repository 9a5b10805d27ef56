// zem_vst3_host: loads a VST 3 bundle as a host does and runs one subcommand on it.
#include "subcommands.h"

// The plug-in's editor draws text: fontconfig keeps its configuration cache for the life of the
// process, which is not ours to free.
#if defined(__SANITIZE_ADDRESS__)
extern "C" __attribute__((visibility("default"), used)) const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
#endif

int main(int argc, char **argv) { return runSubcommand("zem_vst3_host", argc, argv); }
