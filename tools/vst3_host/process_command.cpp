// zem_vst3_host process <bundle.vst3> IN.wav OUT.wav [--block N] [--param ID=V[@FRAME]]...
// Runs a mono or stereo file through one instance at the file's rate, in blocks of N frames
// (default 512), with the bus arrangement of the file (stereo, or mono to mono), and writes the
// output as 32-bit float with the input's channel count. --param gives a parameter its
// normalised value V at frame FRAME of the file: a point of the input parameter queue at that
// sample of its block, as a host's automation sends it. Without @FRAME the value is the
// instance's before it starts (setParamNormalized while inactive, as a host sets up a project
// with its generic editor), as the VST 2.4 harness sets its --param values before resuming.
// Prints the handler's calls and the parameters' texts afterwards.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "subcommands.h"
#include "vst3_instance.h"
#include "wav_file.h"

namespace {

struct TimedChange {
    size_t frame;
    uint32_t id;
    double value;
};

bool parseChange(const std::string &text, TimedChange &change)
{
    const size_t equals = text.find('=');
    if (equals == std::string::npos)
        return false;
    char *end = nullptr;
    change.id = (uint32_t)std::strtoul(text.c_str(), &end, 10);
    if (end != text.c_str() + equals)
        return false;
    change.value = std::strtod(text.c_str() + equals + 1, &end);
    change.frame = SIZE_MAX;  // before the start
    if (*end == '@')
        change.frame = (size_t)std::strtoull(end + 1, &end, 10);
    return *end == 0;
}

int runProcess(const std::vector<std::string> &arguments)
{
    const char *usage =
        "usage: zem_vst3_host process <bundle.vst3> IN.wav OUT.wav [--block N] [--param ID=V[@FRAME]]...\n";
    std::vector<std::string> positional;
    std::vector<TimedChange> changes;
    long block = 512;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string &a = arguments[i];
        if ((a == "--block" || a == "--param") && i + 1 >= arguments.size()) {
            std::fprintf(stderr, "%s", usage);
            return 2;
        }
        TimedChange change{};
        if (a == "--block")
            block = std::strtol(arguments[++i].c_str(), nullptr, 10);
        else if (a == "--param") {
            if (!parseChange(arguments[++i], change)) {
                std::fprintf(stderr, "%s", usage);
                return 2;
            }
            changes.push_back(change);
        } else
            positional.push_back(a);
    }
    if (positional.size() != 3 || block < 1 || block > 8192) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }
    std::stable_sort(changes.begin(), changes.end(),
                     [](const TimedChange &a, const TimedChange &b) { return a.frame < b.frame; });
    WavAudio input;
    std::string error;
    if (!readWav(positional[1], input, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const size_t channels = input.channels.size();
    if (channels < 1 || channels > 2) {
        std::fprintf(stderr, "only mono and stereo files are processed\n");
        return 1;
    }
    Vst3Module module(positional[0]);
    Vst3HostContext context;
    Vst3ComponentHandler handler;
    Vst3Instance instance(module, context, &handler);
    if (!instance.valid()) {
        std::fprintf(stderr, "cannot load %s: %s\n", positional[0].c_str(),
                     module.ready() ? instance.error().c_str() : module.error().c_str());
        return 1;
    }
    const vst3::SpeakerArrangement arrangement = channels == 2 ? vst3::kArrangementStereo : vst3::kArrangementMono;
    if (instance.setArrangement(arrangement, arrangement) != vst3::kResultTrue) {
        std::fprintf(stderr, "the effect refused the arrangement\n");
        return 1;
    }
    size_t next = 0;
    for (const TimedChange &change : changes)
        if (change.frame == SIZE_MAX)
            instance.editController()->setParamNormalized(change.id, change.value);
    changes.erase(
        std::remove_if(changes.begin(), changes.end(), [](const TimedChange &c) { return c.frame == SIZE_MAX; }),
        changes.end());
    if (!instance.activate(input.sampleRate, (int32_t)block) || !instance.startProcessing()) {
        std::fprintf(stderr, "the effect did not activate\n");
        return 1;
    }
    WavAudio output;
    output.sampleRate = input.sampleRate;
    output.channels.assign(channels, std::vector<float>(input.frames()));
    for (size_t start = 0; start < input.frames(); start += (size_t)block) {
        const size_t frames = std::min((size_t)block, input.frames() - start);
        std::vector<Vst3ParamPoint> points;
        for (; next < changes.size() && changes[next].frame < start + frames; ++next)
            points.push_back({changes[next].id,
                              (int32_t)(changes[next].frame > start ? changes[next].frame - start : 0),
                              changes[next].value});
        float *in[2] = {nullptr, nullptr}, *out[2] = {nullptr, nullptr};
        for (size_t c = 0; c < channels; ++c) {
            in[c] = input.channels[c].data() + start;
            out[c] = output.channels[c].data() + start;
        }
        if (instance.process(in, out, (int32_t)frames, points) != vst3::kResultOk) {
            std::fprintf(stderr, "process failed at frame %zu\n", start);
            return 1;
        }
    }
    instance.stopProcessing();
    instance.deactivate();
    if (!writeWav(positional[2], output, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    for (const Vst3HandlerCall &call : handler.calls())
        std::printf("%s\n", describeHandlerCall(call).c_str());
    for (const vst3::ParameterInfo &p : instance.parameters()) {
        std::string text;
        instance.text(p.id, instance.value(p.id), text);
        std::printf("param %u %.9g \"%s\"\n", (unsigned)p.id, instance.value(p.id), text.c_str());
    }
    return 0;
}

SubcommandRegistration registration{
    "process", "process <bundle.vst3> IN.wav OUT.wav [--block N] [--param ID=V[@FRAME]]...", runProcess};

}  // namespace
