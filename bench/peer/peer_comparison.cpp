// Side-by-side comparison with the open-source x42 needle meters (LV2). Our Linux plug-in runs
// through its VST 2.4 entry point, the peers through lilv; both meter the same -20 dBFS (RMS)
// stereo white noise at 48 kHz. Each run measures every case once, ours and the peer
// alternately, so that the load of a shared machine falls on both sides alike; the table gives
// the median of the runs in thread CPU time per stereo frame and the ratio ours / peer.
//
//     zem_peer_bench [--runs N] [--seconds S] [PLUGIN.so]
//     zem_peer_bench --profile ROW BLOCK [--seconds S] [PLUGIN.so]
//
// --profile runs only our side of one table row (0-based) at one block size, for a profiler
// such as valgrind --tool=callgrind.
//
// Exit status 0 when every case ran, 1 when a plug-in could not be loaded.
#include "plugin_library.h"
#include "vst/aeffect.h"

#include <lilv/lilv.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double kRate = 48000;
constexpr VstInt32 kProcessIndex = 0, kTrimIndex = 1, kMeterIndex = 3;
constexpr VstInt32 kRMSPreciseIndex = 80, kVUPreciseIndex = 91, kPPMPreciseIndex = 100;
constexpr const char *kPeerPrefix = "http://gareus.org/oss/lv2/meters#";

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// Two seconds of independent white noise per channel at -20 dBFS RMS (uniform, peak 0.1732),
// handed out block by block into fresh work buffers as a host would.
class NoiseSource {
public:
    explicit NoiseSource(int block) : block(size_t(block)), workLeft(this->block), workRight(this->block)
    {
        const size_t frames = size_t(2 * kRate);
        left.resize(frames);
        right.resize(frames);
        uint32_t seed = 0x2545F491u;
        const double peak = 0.1 * std::sqrt(3.0);
        for (size_t i = 0; i < frames; ++i) {
            seed = seed * 1664525u + 1013904223u;
            left[i] = float(peak * (double(int32_t(seed)) / 2147483648.0));
            seed = seed * 1664525u + 1013904223u;
            right[i] = float(peak * (double(int32_t(seed)) / 2147483648.0));
        }
    }
    void next()
    {
        if (position + block > left.size())
            position = 0;
        std::memcpy(workLeft.data(), left.data() + position, block * sizeof(float));
        std::memcpy(workRight.data(), right.data() + position, block * sizeof(float));
        position += block;
    }
    float *leftBlock() { return workLeft.data(); }
    float *rightBlock() { return workRight.data(); }

private:
    size_t block, position = 0;
    std::vector<float> left, right, workLeft, workRight;
};

// Anything that meters one block of the noise.
class Meter {
public:
    virtual ~Meter() = default;
    virtual void run(float *left, float *right, int frames) = 0;
};

VstIntPtr VSTCALLBACK quietHost(AEffect *, VstInt32 opcode, VstInt32, VstIntPtr, void *, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;  // 0 also answers "pin connected"
}

struct OurCase {
    int meter;  // 0 VU, 1 RMS, 2 PPM
    bool precise;
    bool process;  // Process on with the trim at 0 dB
};

// A fresh instance of our plug-in, resumed at 48 kHz with the case's settings.
class OurMeter : public Meter {
public:
    OurMeter(PluginLibrary &library, const OurCase &c, int block) : outLeft(size_t(block)), outRight(size_t(block))
    {
        effect = library.entry()(quietHost);
        if (!effect)
            return;
        dispatch(effOpen, 0, 0, 0.f);
        dispatch(effSetSampleRate, 0, 0, float(kRate));
        dispatch(effSetBlockSize, 0, block, 0.f);
        set(kMeterIndex, 0.5f * float(c.meter));
        set(kRMSPreciseIndex, c.precise ? 1.f : 0.f);
        set(kVUPreciseIndex, c.precise ? 1.f : 0.f);
        set(kPPMPreciseIndex, c.precise ? 1.f : 0.f);
        set(kTrimIndex, 0.5f);  // 0 dB
        set(kProcessIndex, c.process ? 1.f : 0.f);
        dispatch(effMainsChanged, 0, 1, 0.f);
    }
    ~OurMeter() override
    {
        if (!effect)
            return;
        dispatch(effMainsChanged, 0, 0, 0.f);
        dispatch(effClose, 0, 0, 0.f);
    }
    bool ok() const { return effect != nullptr; }
    void run(float *left, float *right, int frames) override
    {
        float *inputs[2] = {left, right};
        float *outputs[2] = {outLeft.data(), outRight.data()};
        effect->processReplacing(effect, inputs, outputs, frames);
    }

private:
    void dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt)
    {
        effect->dispatcher(effect, opcode, index, value, nullptr, opt);
    }
    void set(VstInt32 index, float value) { effect->setParameter(effect, index, value); }

    AEffect *effect = nullptr;
    std::vector<float> outLeft, outRight;
};

// One x42 stereo meter through lilv: audio ports inL/inR/outL/outR, control ports at their
// defaults (outputs into scratch values).
class PeerMeter : public Meter {
public:
    PeerMeter(LilvWorld *world, const std::string &name, int block) : outLeft(size_t(block)), outRight(size_t(block))
    {
        LilvNode *uri = lilv_new_uri(world, (kPeerPrefix + name).c_str());
        const LilvPlugin *plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
        lilv_node_free(uri);
        if (!plugin)
            return;
        instance = lilv_plugin_instantiate(plugin, kRate, nullptr);
        if (!instance)
            return;
        const uint32_t ports = lilv_plugin_get_num_ports(plugin);
        controls.assign(ports, 0.f);
        std::vector<float> defaults(ports, 0.f);
        lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, defaults.data());
        for (uint32_t i = 0; i < ports; ++i) {
            const LilvPort *port = lilv_plugin_get_port_by_index(plugin, i);
            const std::string symbol = lilv_node_as_string(lilv_port_get_symbol(plugin, port));
            if (symbol == "inL")
                inLeftPort = i;
            else if (symbol == "inR")
                inRightPort = i;
            else if (symbol == "outL")
                lilv_instance_connect_port(instance, i, outLeft.data());
            else if (symbol == "outR")
                lilv_instance_connect_port(instance, i, outRight.data());
            else {
                controls[i] = std::isnan(defaults[i]) ? 0.f : defaults[i];
                lilv_instance_connect_port(instance, i, &controls[i]);
            }
        }
        lilv_instance_activate(instance);
    }
    ~PeerMeter() override
    {
        if (!instance)
            return;
        lilv_instance_deactivate(instance);
        lilv_instance_free(instance);
    }
    bool ok() const { return instance && inLeftPort != UINT32_MAX && inRightPort != UINT32_MAX; }
    void run(float *left, float *right, int frames) override
    {
        lilv_instance_connect_port(instance, inLeftPort, left);
        lilv_instance_connect_port(instance, inRightPort, right);
        lilv_instance_run(instance, uint32_t(frames));
    }

private:
    LilvInstance *instance = nullptr;
    uint32_t inLeftPort = UINT32_MAX, inRightPort = UINT32_MAX;
    std::vector<float> controls, outLeft, outRight;
};

// ns of thread CPU time per frame for `seconds` of audio in blocks of `block`.
double measure(Meter &meter, NoiseSource &source, int block, double seconds)
{
    const long blocks = std::max(1L, long(seconds * kRate / block));
    for (int i = 0; i < 16; ++i) {  // warm caches and branch predictors
        source.next();
        meter.run(source.leftBlock(), source.rightBlock(), block);
    }
    const double start = threadSeconds();
    for (long i = 0; i < blocks; ++i) {
        source.next();
        meter.run(source.leftBlock(), source.rightBlock(), block);
    }
    return (threadSeconds() - start) * 1e9 / (double(blocks) * block);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

struct Row {
    const char *label;
    OurCase ours;
    const char *peer;
};

const Row kRows[] = {
    {"VU, precise off vs x42 VU (stereo)", {0, false, false}, "VUstereo"},
    {"PPM, precise off vs x42 BBC PPM (stereo)", {2, false, false}, "BBCstereo"},
    {"PPM, precise on vs x42 4x true-peak (stereo)", {2, true, false}, "dBTPstereo"},
    {"RMS, precise on (its default) vs the same", {1, true, false}, "dBTPstereo"},
    {"VU with Process on (trim at 0 dB)", {0, false, true}, "VUstereo"},
};
constexpr int kBlocks[] = {64, 512};
// The per-call cost comes from the VU case at two block sizes: t(B) = frame + call / B.
constexpr int kSweepSmall = 16, kSweepLarge = 512;

struct Cell {
    std::unique_ptr<Meter> ours, peer;
    NoiseSource source;
    int block;
    std::vector<double> oursNs, peerNs;
};

}  // namespace

int main(int argc, char **argv)
{
    int runs = 7;
    double seconds = 5.0;
    int profileRow = -1, profileBlock = 64;
    std::string pluginPath = PluginLibrary::programFolder() + ZEM_PLUGIN_FILE;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--profile") && i + 2 < argc) {
            profileRow = std::atoi(argv[++i]);
            profileBlock = std::max(1, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc)
            seconds = std::max(0.01, std::atof(argv[++i]));
        else
            pluginPath = argv[i];
    }

    PluginLibrary library(pluginPath);
    if (!library.loaded() || !library.entry()) {
        std::fprintf(stderr, "cannot load %s: %s\n", pluginPath.c_str(), library.error().c_str());
        return 1;
    }
    if (profileRow >= 0) {
        const int rows = int(sizeof kRows / sizeof kRows[0]);
        OurMeter ours(library, kRows[profileRow < rows ? profileRow : rows - 1].ours, profileBlock);
        NoiseSource source(profileBlock);
        if (!ours.ok())
            return 1;
        std::printf("%.1f ns per frame\n", measure(ours, source, profileBlock, seconds));
        return 0;
    }
    LilvWorld *world = lilv_world_new();
    lilv_world_load_all(world);

    // Cells: the table's rows at each block size, then the VU sweep pair.
    std::vector<std::unique_ptr<Cell>> cells;
    auto addCell = [&](const Row &row, int block) {
        auto ours = std::make_unique<OurMeter>(library, row.ours, block);
        auto peer = std::make_unique<PeerMeter>(world, row.peer, block);
        if (!ours->ok() || !peer->ok()) {
            std::fprintf(stderr, "cannot instantiate %s (x42 meters: Debian package x42-plugins)\n",
                         ours->ok() ? row.peer : "our plug-in");
            return false;
        }
        cells.push_back(
            std::unique_ptr<Cell>(new Cell{std::move(ours), std::move(peer), NoiseSource(block), block, {}, {}}));
        return true;
    };
    for (const Row &row : kRows)
        for (int block : kBlocks)
            if (!addCell(row, block))
                return 1;
    if (!addCell(kRows[0], kSweepSmall) || !addCell(kRows[0], kSweepLarge))
        return 1;

    for (int run = 0; run < runs; ++run) {
        for (auto &cell : cells) {
            // Alternate which side goes first, so neither always meets a warmer machine.
            if (run % 2) {
                cell->peerNs.push_back(measure(*cell->peer, cell->source, cell->block, seconds));
                cell->oursNs.push_back(measure(*cell->ours, cell->source, cell->block, seconds));
            } else {
                cell->oursNs.push_back(measure(*cell->ours, cell->source, cell->block, seconds));
                cell->peerNs.push_back(measure(*cell->peer, cell->source, cell->block, seconds));
            }
        }
    }

    std::printf("ns per stereo frame, 48 kHz, -20 dBFS stereo noise, median of %d interleaved runs\n\n", runs);
    std::printf("| case (ours, fresh instance, `Process` off) | block 64: ours / peer | block 512 |\n");
    std::printf("|---|---|---|\n");
    size_t index = 0;
    for (const Row &row : kRows) {
        std::printf("| %s |", row.label);
        for (size_t b = 0; b < sizeof kBlocks / sizeof kBlocks[0]; ++b, ++index) {
            const double ours = median(cells[index]->oursNs), peer = median(cells[index]->peerNs);
            std::printf(" %.1f / %.1f = %.2f× |", ours, peer, ours / peer);
        }
        std::printf("\n");
    }
    const double small = median(cells[index]->oursNs), large = median(cells[index + 1]->oursNs);
    const double peerSmall = median(cells[index]->peerNs), peerLarge = median(cells[index + 1]->peerNs);
    const double span = 1.0 / kSweepSmall - 1.0 / kSweepLarge;
    std::printf("\nper process call (VU, from blocks %d and %d): ours %.0f ns, peer %.0f ns\n", kSweepSmall,
                kSweepLarge, (small - large) / span, (peerSmall - peerLarge) / span);

    cells.clear();
    lilv_world_free(world);
    return 0;
}
