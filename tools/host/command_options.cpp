#include "command_options.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

bool parseNumber(const std::string &text, double &value)
{
    char *end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == 0;
}

}  // namespace

bool parseCommandOptions(const std::vector<std::string> &arguments, CommandOptions &options, std::string &error)
{
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        bool takesValue = argument == "--param" || argument == "--chunk" || argument == "--block" ||
                          argument == "--every" || argument == "--zoom";
        if (!takesValue) {
            if (argument.size() > 1 && argument[0] == '-' && argument[1] == '-') {
                error = "unknown option " + argument;
                return false;
            }
            options.positional.push_back(argument);
            continue;
        }
        if (i + 1 >= arguments.size()) {
            error = argument + " needs a value";
            return false;
        }
        const std::string &value = arguments[++i];
        double number = 0.0;
        if (argument == "--param") {
            size_t equals = value.find('=');
            double index = 0.0;
            if (equals == std::string::npos || !parseNumber(value.substr(0, equals), index) ||
                !parseNumber(value.substr(equals + 1), number)) {
                error = "--param expects INDEX=VALUE, not " + value;
                return false;
            }
            options.parameters.emplace_back((int)index, (float)number);
        } else if (argument == "--chunk") {
            options.chunkFile = value;
        } else if (argument == "--block") {
            if (!parseNumber(value, number) || number < 1 || number > 1 << 20) {
                error = "--block expects a size from 1 to 1048576";
                return false;
            }
            options.blockSize = (size_t)number;
        } else if (argument == "--zoom") {
            if (!parseNumber(value, number) || !(number >= 1 && number <= 3)) {
                error = "--zoom expects a factor from 1 to 3";
                return false;
            }
            options.zoom = number;
        } else {
            if (!parseNumber(value, number) || number <= 0) {
                error = "--every expects milliseconds above 0";
                return false;
            }
            options.everyMilliseconds = number;
        }
    }
    return true;
}

bool applyCommandOptions(const CommandOptions &options, PluginInstance &plugin, std::string &error)
{
    if (!options.chunkFile.empty()) {
        std::vector<unsigned char> bytes;
        if (!readBytes(options.chunkFile, bytes)) {
            error = "cannot read " + options.chunkFile;
            return false;
        }
        plugin.setChunk(bytes);
    }
    for (const auto &parameter : options.parameters)
        plugin.setParameter(parameter.first, parameter.second);
    return true;
}

bool readBytes(const std::string &path, std::vector<unsigned char> &bytes)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

bool writeBytes(const std::string &path, const std::vector<unsigned char> &bytes)
{
    std::ofstream file(path, std::ios::binary);
    return (bool)file.write(reinterpret_cast<const char *>(bytes.data()), (std::streamsize)bytes.size());
}
