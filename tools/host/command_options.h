// Options shared by the harness subcommands that set an instance up before they work with it:
//   --param INDEX=VALUE   setParameter(INDEX, VALUE), in the order given (repeatable)
//   --chunk FILE          setChunk with the bytes of FILE, before the --param options
//   --block N             block size for processing (default 512)
//   --every MS            interval of the meter trace (default 10)
//   --zoom F              the editor's zoom factor, 1 to 3 (default 1), announced to the plug-in as
//                         a host announces its scale
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "plugin_host.h"

struct CommandOptions {
    std::vector<std::string> positional;
    std::vector<std::pair<int, float>> parameters;
    std::string chunkFile;
    size_t blockSize = 512;
    double everyMilliseconds = 10.0;
    double zoom = 1.0;
};

// False with a message in error for an unknown option or a malformed value.
bool parseCommandOptions(const std::vector<std::string> &arguments, CommandOptions &options, std::string &error);
// Applies --chunk and then --param to an instance.
bool applyCommandOptions(const CommandOptions &options, PluginInstance &plugin, std::string &error);

bool readBytes(const std::string &path, std::vector<unsigned char> &bytes);
bool writeBytes(const std::string &path, const std::vector<unsigned char> &bytes);
