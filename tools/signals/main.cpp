// zem_signals: writes the test signals as WAV files.
//   zem_signals KIND OUTPUT.wav [--float] [--rate HZ] [--seconds S] [--level DBFS] [--freq HZ]
//   zem_signals all DIRECTORY [--float] [...]
// KIND: sine, burst5, burst10, burst100, square, intersample.
#include "test_signals.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Kind {
    const char *name;
    double burstMs;  // 0: not a burst
    double defaultFrequency;
    double defaultLevel;  // dBFS
};

// The sine and the bursts sit at the VU meter's default reference level; bursts use 5 kHz as
// programme meter tests do; the square and the inter-sample signal reach full scale.
const Kind kinds[] = {
    {"sine", 0, 1000.0, -18.0},     {"burst5", 5, 5000.0, -18.0}, {"burst10", 10, 5000.0, -18.0},
    {"burst100", 100, 5000.0, -18.0}, {"square", 0, 1000.0, 0.0},  {"intersample", 0, 11025.0, 0.0},
};

struct Options {
    bool isFloat = false;
    int rate = 44100;
    double seconds = 5.0;
    bool haveLevel = false, haveFrequency = false;
    double level = 0.0, frequency = 0.0;
};

int usage()
{
    std::fprintf(stderr, "usage: zem_signals KIND OUTPUT.wav [--float] [--rate HZ] [--seconds S] [--level DBFS] "
                         "[--freq HZ]\n       zem_signals all DIRECTORY [options]\n"
                         "KIND: sine burst5 burst10 burst100 square intersample\n");
    return 2;
}

bool parseNumber(const char *text, double &value)
{
    char *end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == 0 && value == value;
}

bool writeKind(const Kind &kind, const std::string &path, const Options &options)
{
    SignalSpec spec;
    spec.sampleRate = options.rate;
    spec.seconds = options.seconds;
    spec.frequency = options.haveFrequency ? options.frequency : kind.defaultFrequency;
    spec.levelDb = options.haveLevel ? options.level : kind.defaultLevel;
    WavData audio;
    const std::string name = kind.name;
    if (name == "sine")
        audio = makeSine(spec);
    else if (kind.burstMs > 0)
        audio = makeToneBursts(spec, kind.burstMs);
    else if (name == "square")
        audio = makeSquare(spec);
    else
        audio = makeInterSamplePeaks(spec);
    if (!writeWavFile(path, audio, options.isFloat ? WavSampleFormat::Float32 : WavSampleFormat::Pcm16)) {
        std::fprintf(stderr, "zem_signals: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 3)
        return usage();
    Options options;
    for (int i = 3; i < argc; ++i) {
        double value = 0;
        const bool hasValue = i + 1 < argc && parseNumber(argv[i + 1], value);
        if (std::strcmp(argv[i], "--float") == 0) {
            options.isFloat = true;
        } else if (std::strcmp(argv[i], "--rate") == 0 && hasValue && value >= 8000 && value <= 384000) {
            options.rate = int(value);
            ++i;
        } else if (std::strcmp(argv[i], "--seconds") == 0 && hasValue && value > 0 && value <= 3600) {
            options.seconds = value;
            ++i;
        } else if (std::strcmp(argv[i], "--level") == 0 && hasValue && value <= 24) {
            options.level = value;
            options.haveLevel = true;
            ++i;
        } else if (std::strcmp(argv[i], "--freq") == 0 && hasValue && value > 0) {
            options.frequency = value;
            options.haveFrequency = true;
            ++i;
        } else {
            return usage();
        }
    }

    if (options.haveFrequency && !(options.frequency < options.rate / 2.0))
        return usage();

    const std::string kindName = argv[1];
    const std::string target = argv[2];
    if (kindName == "all") {
        bool ok = true;
        for (const Kind &kind : kinds)
            ok = writeKind(kind, target + "/" + kind.name + ".wav", options) && ok;
        return ok ? 0 : 1;
    }
    for (const Kind &kind : kinds) {
        if (kindName == kind.name)
            return writeKind(kind, target, options) ? 0 : 1;
    }
    return usage();
}
