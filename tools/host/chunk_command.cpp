// zem_host chunk save <plugin> FILE [--param I=V]... [--chunk FILE]
//   writes the chunk of an instance (set up by the options) to FILE;
// zem_host chunk load <plugin> FILE
//   applies FILE's bytes to a fresh instance and prints the resulting parameter values and
//   texts, one per line, sorted.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "command_options.h"
#include "subcommands.h"

namespace {

void printState(PluginInstance &plugin)
{
    std::vector<std::string> lines;
    char line[160];
    for (VstInt32 index = 0; index <= 100; ++index) {
        std::snprintf(line, sizeof(line), "param.%03d.value %.9g", (int)index, (double)plugin.getParameter(index));
        lines.push_back(line);
        if (index < 17) {
            std::snprintf(line, sizeof(line), "param.%03d.display \"%s\"", (int)index,
                          plugin.text(effGetParamDisplay, index).c_str());
            lines.push_back(line);
        }
    }
    std::vector<unsigned char> chunk = plugin.getChunk();
    std::string label = chunk.size() >= 44 ? std::string((const char *)&chunk[4], strnlen((const char *)&chunk[4], 40))
                                           : "";
    lines.push_back("label \"" + label + "\"");
    std::sort(lines.begin(), lines.end());
    for (const std::string &text : lines)
        std::printf("%s\n", text.c_str());
}

int runChunk(const std::vector<std::string> &arguments)
{
    CommandOptions options;
    std::string error;
    bool parsed = parseCommandOptions(arguments, options, error);
    if (!parsed || options.positional.size() != 3 ||
        (options.positional[0] != "save" && options.positional[0] != "load")) {
        std::fprintf(stderr,
                     "%s\nusage: zem_host chunk save <plugin> FILE [--param I=V]... [--chunk FILE]\n"
                     "       zem_host chunk load <plugin> FILE\n",
                     error.c_str());
        return 2;
    }
    PluginHost host(options.positional[1]);
    PluginInstance plugin(host);
    if (!plugin.valid()) {
        std::fprintf(stderr, "cannot load %s: %s\n", options.positional[1].c_str(), host.error().c_str());
        return 1;
    }
    const std::string &file = options.positional[2];
    if (options.positional[0] == "save") {
        if (!applyCommandOptions(options, plugin, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        if (!writeBytes(file, plugin.getChunk())) {
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
            return 1;
        }
        return 0;
    }
    std::vector<unsigned char> bytes;
    if (!readBytes(file, bytes)) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return 1;
    }
    plugin.setChunk(bytes);
    printState(plugin);
    return 0;
}

SubcommandRegistration registration{"chunk", "chunk save|load <plugin> FILE [--param I=V]... [--chunk FILE]", runChunk};

}  // namespace
