// zem_host process <plugin> IN.wav OUT.wav [--block N] [--param I=V]... [--chunk FILE]
// Runs a mono or stereo file through one instance at the file's rate, in blocks of N frames,
// and writes the output as 32-bit float with the input's channel count.
#include <algorithm>
#include <cstdio>

#include "command_options.h"
#include "subcommands.h"
#include "wav_file.h"

namespace {

int runProcess(const std::vector<std::string> &arguments)
{
    CommandOptions options;
    std::string error;
    if (!parseCommandOptions(arguments, options, error) || options.positional.size() != 3) {
        std::fprintf(stderr,
                     "%s\nusage: zem_host process <plugin> IN.wav OUT.wav [--block N] [--param I=V]... "
                     "[--chunk FILE]\n",
                     error.c_str());
        return 2;
    }
    WavAudio input;
    if (!readWav(options.positional[1], input, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const size_t channelCount = input.channels.size();
    if (channelCount > 2) {
        std::fprintf(stderr, "only mono and stereo files are processed\n");
        return 1;
    }
    PluginHost host(options.positional[0]);
    PluginInstance plugin(host);
    if (!plugin.valid()) {
        std::fprintf(stderr, "cannot load %s: %s\n", options.positional[0].c_str(), host.error().c_str());
        return 1;
    }
    VstSpeakerArrangement in{}, out{};
    in.numChannels = out.numChannels = (VstInt32)channelCount;
    plugin.dispatch(effSetSpeakerArrangement, 0, (VstIntPtr)&in, &out);
    if (!applyCommandOptions(options, plugin, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    plugin.start((float)input.sampleRate, (VstInt32)options.blockSize);

    const size_t frames = input.frames();
    WavAudio output;
    output.sampleRate = input.sampleRate;
    output.channels.assign(2, std::vector<float>(frames));
    // A mono file leaves the second input silent; the plug-in reads only the first.
    std::vector<float> silentInput(frames, 0.f);
    std::vector<float> &left = input.channels[0];
    std::vector<float> &right = channelCount == 2 ? input.channels[1] : silentInput;
    for (size_t start = 0; start < frames; start += options.blockSize) {
        size_t n = std::min(options.blockSize, frames - start);
        float *inputs[2] = {&left[start], &right[start]};
        float *outputs[2] = {&output.channels[0][start], &output.channels[1][start]};
        plugin.processReplacing(inputs, outputs, (VstInt32)n);
    }
    plugin.stop();
    output.channels.resize(channelCount);
    if (!writeWav(options.positional[2], output, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}

SubcommandRegistration registration{
    "process", "process <plugin> IN.wav OUT.wav [--block N] [--param I=V]... [--chunk FILE]", runProcess};

}  // namespace
