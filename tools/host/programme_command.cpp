// zem_host programme DIR [RATE] [--seconds S] [--pcm16]
//   Writes the demo's programme of test signals into DIR as NAME.wav (32-bit float, or 16-bit
//   PCM with --pcm16; 5 s at 44100 Hz unless told otherwise) and prints one line per file:
//   NAME, a tab, its description.
// zem_host signal OUT.wav RATE CHANNELS FRAMES
//   Writes deterministic noise over a slow triangle wave (32-bit float) for the end-to-end checks.
// Both live in the harness so that every build makes the same files and no other tool is needed.
#include <cstdio>
#include <cstdlib>

#include "subcommands.h"
#include "test_signals.h"
#include "wav_file.h"

namespace {

bool parseNumber(const std::string &text, double &value)
{
    char *end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == 0 && value == value;
}

int programmeUsage()
{
    std::fprintf(stderr, "usage: zem_host programme DIR [RATE] [--seconds S] [--pcm16]\n"
                         "  RATE 8000..384000 (default 44100), S above 0 up to 3600 (default 5)\n");
    return 2;
}

int runProgramme(const std::vector<std::string> &arguments)
{
    std::vector<std::string> positional;
    double rate = 44100.0, seconds = 5.0;
    WavSampleFormat format = WavSampleFormat::Float32;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--pcm16") {
            format = WavSampleFormat::Pcm16;
        } else if (arguments[i] == "--seconds") {
            if (i + 1 >= arguments.size() || !parseNumber(arguments[++i], seconds) || seconds <= 0 || seconds > 3600)
                return programmeUsage();
        } else if (arguments[i].compare(0, 2, "--") == 0) {
            return programmeUsage();
        } else {
            positional.push_back(arguments[i]);
        }
    }
    if (positional.empty() || positional.size() > 2)
        return programmeUsage();
    if (positional.size() == 2 &&
        (!parseNumber(positional[1], rate) || rate < 8000 || rate > 384000 || rate != (double)(unsigned)rate))
        return programmeUsage();

    for (const ProgrammeSignal &signal : makeProgramme((unsigned)rate, seconds)) {
        std::string error;
        if (!writeWav(positional[0] + "/" + signal.name + ".wav", signal.audio, error, format)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        std::printf("%s\t%s\n", signal.name.c_str(), signal.description.c_str());
    }
    return 0;
}

int runSignal(const std::vector<std::string> &arguments)
{
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: zem_host signal OUT.wav RATE CHANNELS FRAMES\n");
        return 2;
    }
    long rate = std::atol(arguments[1].c_str());
    long channelCount = std::atol(arguments[2].c_str());
    long frames = std::atol(arguments[3].c_str());
    if (rate < 1000 || rate > 400000 || channelCount < 1 || channelCount > 8 || frames < 0 || frames > 100000000) {
        std::fprintf(stderr, "signal: rate 1000..400000, 1..8 channels, 0..100000000 frames\n");
        return 2;
    }
    std::string error;
    if (!writeWav(arguments[0], makeNoiseOverTriangle((unsigned)rate, (size_t)channelCount, (size_t)frames), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}

SubcommandRegistration programmeRegistration{"programme", "programme DIR [RATE] [--seconds S] [--pcm16]", runProgramme};
SubcommandRegistration signalRegistration{"signal", "signal OUT.wav RATE CHANNELS FRAMES", runSignal};

}  // namespace
