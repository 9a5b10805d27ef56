// zem_host meter <plugin> IN.wav [--every MS] [--block N] [--param I=V]... [--chunk FILE]
// Runs a file through one instance and prints, as CSV, the selected meter engine's read-outs
// every MS milliseconds of audio: the moment in ms, then levels, holds and mean squares of
// both channels and the two over states. The read-out is taken right after the block that
// ends at that moment, as an editor refresh at that moment would take it.
// The read-outs come through the dispatcher (the readout query of core/readout_query.h).
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "command_options.h"
#include "core/readout_query.h"
#include "subcommands.h"
#include "wav_file.h"

namespace {

int runMeter(const std::vector<std::string> &arguments)
{
    CommandOptions options;
    std::string error;
    if (!parseCommandOptions(arguments, options, error) || options.positional.size() != 2) {
        std::fprintf(stderr,
                     "%s\nusage: zem_host meter <plugin> IN.wav [--every MS] [--block N] [--param I=V]... "
                     "[--chunk FILE]\n",
                     error.c_str());
        return 2;
    }
    WavAudio input;
    if (!readWav(options.positional[1], input, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (input.channels.size() > 2) {
        std::fprintf(stderr, "only mono and stereo files are metered\n");
        return 1;
    }
    PluginHost host(options.positional[0]);
    PluginInstance plugin(host);
    if (!plugin.valid()) {
        std::fprintf(stderr, "cannot load %s: %s\n", options.positional[0].c_str(), host.error().c_str());
        return 1;
    }
    VstSpeakerArrangement in{}, out{};
    in.numChannels = (VstInt32)input.channels.size();
    out.numChannels = 2;
    plugin.dispatch(effSetSpeakerArrangement, 0, (VstIntPtr)&in, &out);
    if (!applyCommandOptions(options, plugin, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    plugin.start((float)input.sampleRate, (VstInt32)options.blockSize);

    const size_t frames = input.frames();
    std::vector<float> silent(frames, 0.f);
    std::vector<float> &left = input.channels[0];
    std::vector<float> &right = input.channels.size() == 2 ? input.channels[1] : silent;
    std::vector<float> outLeft(options.blockSize), outRight(options.blockSize);

    std::printf("ms,level1,level2,hold1,hold2,meansquare1,meansquare2,over1,over2\n");
    size_t done = 0;
    for (long reading = 1;; ++reading) {
        double moment = reading * options.everyMilliseconds;
        size_t until = (size_t)std::llround(moment * input.sampleRate / 1000.0);
        if (until > frames)
            break;
        while (done < until) {
            size_t n = std::min(options.blockSize, until - done);
            float *inputs[2] = {&left[done], &right[done]};
            float *outputs[2] = {outLeft.data(), outRight.data()};
            plugin.processReplacing(inputs, outputs, (VstInt32)n);
            done += n;
        }
        ReadoutQuery readout;
        readout.withOverStates = 1;
        if (!plugin.dispatch(effVendorSpecific, kReadoutQuery, sizeof readout, &readout))
            continue;
        std::printf("%.9g", moment);
        for (double value : readout.values)
            std::printf(",%.9g", value);
        std::printf(",%d,%d\n", (int)readout.overStates[0], (int)readout.overStates[1]);
    }
    plugin.stop();
    return 0;
}

SubcommandRegistration registration{
    "meter", "meter <plugin> IN.wav [--every MS] [--block N] [--param I=V]... [--chunk FILE]", runMeter};

}  // namespace
