// zem_vst3_host meter <bundle.vst3> IN.wav [--every MS] [--block N] [--param ID=V]...
// Runs a file through one instance (a mono file mono to stereo, a stereo one stereo) and prints,
// as CSV, the selected meter engine's read-outs every MS milliseconds of audio (default 50), in
// zem_host meter's lines: the moment in ms, then levels, holds and mean squares of both channels
// and the two over states, taken right after the block that ends at that moment. The read-outs
// come through our read-out interface (vst3/vst3_readout.h); the --param values are the
// instance's before it starts (setParamNormalized), as zem_host sets them.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "subcommands.h"
#include "vst3/vst3_readout.h"
#include "vst3_instance.h"
#include "wav_file.h"

namespace {

int runMeter(const std::vector<std::string> &arguments)
{
    const char *usage = "usage: zem_vst3_host meter <bundle.vst3> IN.wav [--every MS] [--block N] [--param ID=V]...\n";
    std::vector<std::string> positional;
    std::vector<std::pair<uint32_t, double>> values;
    double every = 50;
    long block = 512;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string &a = arguments[i];
        if ((a == "--every" || a == "--block" || a == "--param") && i + 1 >= arguments.size()) {
            std::fprintf(stderr, "%s", usage);
            return 2;
        }
        if (a == "--every")
            every = std::strtod(arguments[++i].c_str(), nullptr);
        else if (a == "--block")
            block = std::strtol(arguments[++i].c_str(), nullptr, 10);
        else if (a == "--param") {
            const std::string &text = arguments[++i];
            const size_t equals = text.find('=');
            if (equals == std::string::npos) {
                std::fprintf(stderr, "%s", usage);
                return 2;
            }
            values.push_back(
                {(uint32_t)std::strtoul(text.c_str(), nullptr, 10), std::strtod(text.c_str() + equals + 1, nullptr)});
        } else
            positional.push_back(a);
    }
    if (positional.size() != 2 || block < 1 || block > 8192 || !(every > 0)) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }
    WavAudio input;
    std::string error;
    if (!readWav(positional[1], input, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (input.channels.empty() || input.channels.size() > 2) {
        std::fprintf(stderr, "only mono and stereo files are metered\n");
        return 1;
    }
    Vst3Module module(positional[0]);
    Vst3HostContext context;
    Vst3Instance instance(module, context, nullptr);
    if (!instance.valid()) {
        std::fprintf(stderr, "cannot load %s: %s\n", positional[0].c_str(),
                     module.ready() ? instance.error().c_str() : module.error().c_str());
        return 1;
    }
    void *object = nullptr;
    if (instance.component()->queryInterface(vst3::IZemReadout::iid.data(), &object) != vst3::kResultOk) {
        std::fprintf(stderr, "the effect answers no read-outs\n");
        return 1;
    }
    auto *readouts = static_cast<vst3::IZemReadout *>(object);
    const bool mono = input.channels.size() == 1;
    if (instance.setArrangement(mono ? vst3::kArrangementMono : vst3::kArrangementStereo, vst3::kArrangementStereo) !=
        vst3::kResultTrue) {
        std::fprintf(stderr, "the effect refused the arrangement\n");
        readouts->release();
        return 1;
    }
    for (const auto &value : values)
        instance.editController()->setParamNormalized(value.first, value.second);
    if (!instance.activate(input.sampleRate, (int32_t)block) || !instance.startProcessing()) {
        std::fprintf(stderr, "the effect did not activate\n");
        readouts->release();
        return 1;
    }
    const size_t frames = input.frames();
    std::vector<float> outLeft((size_t)block), outRight((size_t)block);
    std::printf("ms,level1,level2,hold1,hold2,meansquare1,meansquare2,over1,over2\n");
    size_t done = 0;
    for (long reading = 1;; ++reading) {
        const double moment = reading * every;
        const size_t until = (size_t)std::llround(moment * input.sampleRate / 1000.0);
        if (until > frames)
            break;
        while (done < until) {
            const size_t n = std::min((size_t)block, until - done);
            float *inputs[2] = {&input.channels[0][done], mono ? nullptr : &input.channels[1][done]};
            float *outputs[2] = {outLeft.data(), outRight.data()};
            instance.process(inputs, outputs, (int32_t)n);
            done += n;
        }
        ReadoutQuery readout;
        readout.withOverStates = 1;
        if (readouts->query(&readout) != vst3::kResultOk)
            continue;
        std::printf("%.9g", moment);
        for (double value : readout.values)
            std::printf(",%.9g", value);
        std::printf(",%d,%d\n", (int)readout.overStates[0], (int)readout.overStates[1]);
    }
    instance.stopProcessing();
    instance.deactivate();
    readouts->release();
    return 0;
}

SubcommandRegistration registration{"meter", "meter <bundle.vst3> IN.wav [--every MS] [--block N] [--param ID=V]...",
                                    runMeter};

}  // namespace
