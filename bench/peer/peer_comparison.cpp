// Side-by-side comparison with the open-source x42 needle meters (LV2). Our Linux plug-in runs
// through its VST 2.4 entry point, the peers through lilv; both meter the same -20 dBFS (RMS)
// stereo noise, uniform and Gaussian, made from the same seed for every side. Each run measures
// every case once, all sides one after the other in an order that turns from run to run, so that
// the load of a shared machine falls on every side alike; a ratio is taken within one run, and the
// table gives the min, median and max of the runs' ratios. Only such ratios mean anything on a
// machine that changes speed for minutes at a time; the ns figures are medians, for orientation.
//
//     zem_peer_bench [--runs N] [--seconds S] [--rates R,R,...] [PLUGIN.so [BASE.so]]
//     zem_peer_bench --profile ROW BLOCK [--gauss] [--rates R] [--seconds S] [PLUGIN.so]
//
// A second plug-in (BASE.so, e.g. a build of an older commit) runs interleaved with the first,
// and every row also gives the ratio first / second. --rates measures the precise rows at each
// rate (default: the whole table at 48 kHz). Besides the table: the cost of a host's scan
// (dlopen, VSTPluginMain, effOpen, effClose, dlclose, with the system libraries loaded) against
// the peer's instantiate/free cycle, and the resident memory per live instance (50 of them,
// measured in a child process of their own).
//
// --profile runs only our side of one table row (0-based) at one block size, for a profiler
// such as valgrind --tool=callgrind.
//
// Exit status 0 when every case ran, 1 when a plug-in could not be loaded.
#include "plugin_library.h"
#include "vst/aeffect.h"

#include <dlfcn.h>
#include <lilv/lilv.h>
#include <sys/wait.h>
#include <unistd.h>

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

constexpr VstInt32 kProcessIndex = 0, kTrimIndex = 1, kMeterIndex = 3;
constexpr VstInt32 kRMSPreciseIndex = 80, kVUPreciseIndex = 91, kPPMPreciseIndex = 100;
constexpr const char *kPeerPrefix = "http://gareus.org/oss/lv2/meters#";

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

double wallSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

enum class Signal { Uniform, Gaussian };
const char *signalName(Signal s) { return s == Signal::Uniform ? "uniform" : "Gaussian"; }

// Two seconds of independent noise per channel at -20 dBFS RMS: uniform (peak 0.1732) or
// Gaussian (sigma 0.1, by Box-Muller), from one fixed seed.
struct NoiseMaterial {
    std::vector<float> left, right;

    NoiseMaterial(Signal signal, double rate)
    {
        const size_t frames = size_t(2 * rate);
        left.resize(frames);
        right.resize(frames);
        uint32_t seed = 0x2545F491u;
        auto uniform = [&seed] {  // -1 .. 1
            seed = seed * 1664525u + 1013904223u;
            return double(int32_t(seed)) / 2147483648.0;
        };
        auto gaussian = [&uniform] {
            const double u1 = 0.5 * (uniform() + 1.0) + 0x1p-33;  // never 0
            const double u2 = uniform();
            return std::sqrt(-2.0 * std::log(u1)) * std::cos(3.14159265358979 * u2);
        };
        const double peak = 0.1 * std::sqrt(3.0);
        for (size_t i = 0; i < frames; ++i) {
            left[i] = signal == Signal::Uniform ? float(peak * uniform()) : float(0.1 * gaussian());
            right[i] = signal == Signal::Uniform ? float(peak * uniform()) : float(0.1 * gaussian());
        }
    }
};

// Hands the material out block by block into fresh work buffers, as a host would; every side
// has its own cursor over the same material.
class NoiseSource {
public:
    NoiseSource(const NoiseMaterial &material, int block)
        : material(material), block(size_t(block)), workLeft(this->block), workRight(this->block)
    {
    }
    void next()
    {
        if (position + block > material.left.size())
            position = 0;
        std::memcpy(workLeft.data(), material.left.data() + position, block * sizeof(float));
        std::memcpy(workRight.data(), material.right.data() + position, block * sizeof(float));
        position += block;
    }
    float *leftBlock() { return workLeft.data(); }
    float *rightBlock() { return workRight.data(); }

private:
    const NoiseMaterial &material;
    size_t block, position = 0;
    std::vector<float> workLeft, workRight;
};

// Anything that meters one block of the noise.
class Meter {
public:
    virtual ~Meter() = default;
    virtual bool ok() const = 0;
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
    bool inPlace;  // the host passes the input buffers as the outputs
};

// A fresh instance of our plug-in, resumed at the rate with the case's settings.
class OurMeter : public Meter {
public:
    OurMeter(PluginEntryProc entry, const OurCase &c, int block, double rate)
        : outLeft(size_t(block)), outRight(size_t(block)), inPlace(c.inPlace)
    {
        effect = entry(quietHost);
        if (!effect)
            return;
        dispatch(effOpen, 0, 0, 0.f);
        dispatch(effSetSampleRate, 0, 0, float(rate));
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
    bool ok() const override { return effect != nullptr; }
    void run(float *left, float *right, int frames) override
    {
        float *inputs[2] = {left, right};
        float *outputs[2] = {outLeft.data(), outRight.data()};
        effect->processReplacing(effect, inputs, inPlace ? inputs : outputs, frames);
    }

private:
    void dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt)
    {
        effect->dispatcher(effect, opcode, index, value, nullptr, opt);
    }
    void set(VstInt32 index, float value) { effect->setParameter(effect, index, value); }

    AEffect *effect = nullptr;
    std::vector<float> outLeft, outRight;
    bool inPlace;
};

const LilvPlugin *peerPlugin(LilvWorld *world, const std::string &name)
{
    LilvNode *uri = lilv_new_uri(world, (kPeerPrefix + name).c_str());
    const LilvPlugin *plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
    lilv_node_free(uri);
    return plugin;
}

// One x42 stereo meter through lilv: audio ports inL/inR/outL/outR, control ports at their
// defaults (outputs into scratch values).
class PeerMeter : public Meter {
public:
    PeerMeter(LilvWorld *world, const std::string &name, int block, double rate)
        : outLeft(size_t(block)), outRight(size_t(block))
    {
        const LilvPlugin *plugin = peerPlugin(world, name);
        if (!plugin)
            return;
        instance = lilv_plugin_instantiate(plugin, rate, nullptr);
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
    bool ok() const override { return instance && inLeftPort != UINT32_MAX && inRightPort != UINT32_MAX; }
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
double measure(Meter &meter, NoiseSource &source, int block, double seconds, double rate)
{
    const long blocks = std::max(1L, long(seconds * rate / block));
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

// "median (min–max)" of a list of ratios.
std::string spread(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    char text[64];
    std::snprintf(text, sizeof text, "%.2f× (%.2f–%.2f)", median(values), values.front(), values.back());
    return text;
}

std::vector<double> ratios(const std::vector<double> &a, const std::vector<double> &b)
{
    std::vector<double> r;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        r.push_back(a[i] / b[i]);
    return r;
}

struct Row {
    const char *label;
    OurCase ours;
    const char *peer;
    bool precise;  // measured in --rates mode
};

const Row kRows[] = {
    {"VU, precise off vs x42 VU", {0, false, false, false}, "VUstereo", false},
    {"PPM, precise off vs x42 BBC PPM", {2, false, false, false}, "BBCstereo", false},
    {"PPM, precise on vs x42 4x true-peak", {2, true, false, false}, "dBTPstereo", true},
    {"RMS, precise on (its default) vs the same", {1, true, false, false}, "dBTPstereo", true},
    {"VU with Process on (trim at 0 dB)", {0, false, true, false}, "VUstereo", false},
};
constexpr int kBlocks[] = {64, 512};
constexpr Signal kSignals[] = {Signal::Uniform, Signal::Gaussian};
// The per-call cost comes from the VU case at two block sizes: t(B) = frame + call / B.
constexpr int kSweepSmall = 16, kSweepLarge = 512;
const OurCase kSweepCases[] = {{0, false, false, false}, {0, false, false, true}, {0, false, true, false}};
const char *const kSweepLabels[] = {"`Process` off", "`Process` off, in place", "`Process` on"};

// One measured case: our plug-ins (the first, then the optional base) and the peer, each with its
// own cursor over the same material.
struct Cell {
    std::vector<std::unique_ptr<Meter>> sides;  // ours..., peer last
    std::vector<NoiseSource> sources;
    int block;
    double rate;
    std::vector<std::vector<double>> ns;  // per side, per run
};

std::vector<std::string> splitList(const char *text)
{
    std::vector<std::string> items;
    std::string item;
    for (const char *p = text;; ++p) {
        if (*p == ',' || !*p) {
            if (!item.empty())
                items.push_back(item);
            item.clear();
            if (!*p)
                break;
        } else
            item += *p;
    }
    return items;
}

// ---- scan and memory ---------------------------------------------------------------------------

// A host's scan of our library: load, create, open, close, unload. Wall time in ms; negative when
// the library could not be loaded. The library is linked "nodelete", so that a second load in the
// same process would find it loaded: every scan loads a fresh copy of the file (a file of its own,
// which the loader maps and relocates anew), copied before the clock starts.
double ourScanMilliseconds(const std::string &path, int serial)
{
    char copyPath[64];
    std::snprintf(copyPath, sizeof copyPath, "/tmp/zem-scan-%d-%d.so", int(getpid()), serial);
    {
        FILE *from = std::fopen(path.c_str(), "rb");
        FILE *to = std::fopen(copyPath, "wb");
        if (!from || !to) {
            if (from)
                std::fclose(from);
            if (to)
                std::fclose(to);
            return -1;
        }
        char buffer[65536];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, from)) > 0)
            std::fwrite(buffer, 1, got, to);
        std::fclose(from);
        std::fclose(to);
    }
    const double start = wallSeconds();
    void *handle = dlopen(copyPath, RTLD_NOW | RTLD_LOCAL);
    auto entry = handle ? reinterpret_cast<PluginEntryProc>(dlsym(handle, "VSTPluginMain")) : nullptr;
    AEffect *effect = entry ? entry(quietHost) : nullptr;
    if (effect) {
        effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.f);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.f);
    }
    if (handle)
        dlclose(handle);
    const double elapsed = (wallSeconds() - start) * 1e3;
    std::remove(copyPath);
    return effect ? elapsed : -1;
}

// The peer's instantiate/free cycle (lilv loads and unloads its library each time when no other
// instance lives).
double peerScanMilliseconds(LilvWorld *world, const char *name)
{
    const LilvPlugin *plugin = peerPlugin(world, name);
    if (!plugin)
        return -1;
    const double start = wallSeconds();
    LilvInstance *instance = lilv_plugin_instantiate(plugin, 48000, nullptr);
    if (!instance)
        return -1;
    lilv_instance_free(instance);
    return (wallSeconds() - start) * 1e3;
}

long residentBytes()
{
    long pages = 0, resident = 0;
    FILE *statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return 0;
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
        resident = 0;
    std::fclose(statm);
    return resident * sysconf(_SC_PAGESIZE);
}

constexpr int kLiveInstances = 50;

// Resident kB per instance: one instance is made first (its first touches of code and shared
// tables count for the library, not the instance), then kLiveInstances more, each resumed at
// 48 kHz and fed a few blocks. Runs in a child process, so that neither side inherits the
// other's freed memory.
template <class Make> double residentPerInstance(Make make)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        std::vector<float> left(512, 0.01f), right(512, -0.01f);
        auto feed = [&](Meter &meter) {
            for (int i = 0; i < 8; ++i)
                meter.run(left.data(), right.data(), 512);
        };
        std::vector<std::unique_ptr<Meter>> meters;
        meters.push_back(make());
        feed(*meters.back());
        const long before = residentBytes();
        for (int i = 0; i < kLiveInstances; ++i) {
            meters.push_back(make());
            feed(*meters.back());
        }
        double perInstance = double(residentBytes() - before) / kLiveInstances / 1024.0;
        for (auto &meter : meters)
            if (!meter->ok())
                perInstance = -1;
        if (write(pipeEnds[1], &perInstance, sizeof perInstance) != ssize_t(sizeof perInstance))
            _exit(1);
        _exit(0);
    }
    close(pipeEnds[1]);
    double perInstance = -1;
    if (child < 0 || read(pipeEnds[0], &perInstance, sizeof perInstance) != ssize_t(sizeof perInstance))
        perInstance = -1;
    close(pipeEnds[0]);
    if (child > 0)
        waitpid(child, nullptr, 0);
    return perInstance;
}

}  // namespace

int main(int argc, char **argv)
{
    int runs = 7;
    double seconds = 5.0;
    int profileRow = -1, profileBlock = 64;
    bool gauss = false;
    std::vector<double> rates;
    std::vector<std::string> pluginPaths;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--profile") && i + 2 < argc) {
            profileRow = std::atoi(argv[++i]);
            profileBlock = std::max(1, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc)
            seconds = std::max(0.01, std::atof(argv[++i]));
        else if (!std::strcmp(argv[i], "--rates") && i + 1 < argc) {
            for (const std::string &rate : splitList(argv[++i]))
                if (std::atof(rate.c_str()) > 0)
                    rates.push_back(std::atof(rate.c_str()));
        } else if (!std::strcmp(argv[i], "--gauss"))
            gauss = true;
        else
            pluginPaths.push_back(argv[i]);
    }
    if (pluginPaths.empty())
        pluginPaths.push_back(PluginLibrary::programFolder() + ZEM_PLUGIN_FILE);
    const bool preciseOnly = !rates.empty();
    if (rates.empty())
        rates.push_back(48000);

    if (profileRow >= 0) {
        PluginLibrary library(pluginPaths[0]);
        if (!library.loaded() || !library.entry()) {
            std::fprintf(stderr, "cannot load %s: %s\n", pluginPaths[0].c_str(), library.error().c_str());
            return 1;
        }
        const int rows = int(sizeof kRows / sizeof kRows[0]);
        OurMeter ours(library.entry(), kRows[profileRow < rows ? profileRow : rows - 1].ours, profileBlock, rates[0]);
        const NoiseMaterial material(gauss ? Signal::Gaussian : Signal::Uniform, rates[0]);
        NoiseSource source(material, profileBlock);
        if (!ours.ok())
            return 1;
        std::printf("%.1f ns per frame\n", measure(ours, source, profileBlock, seconds, rates[0]));
        return 0;
    }
    const size_t ourSides = pluginPaths.size();
    const bool withBase = ourSides > 1;
    LilvWorld *world = lilv_world_new();
    lilv_world_load_all(world);

    // The scan and the memory come first, while no library of either side is loaded.
    std::vector<std::vector<double>> scanMs(ourSides + 1);
    if (!preciseOnly) {
        // One scan of each side untimed: it loads the system libraries that a host has loaded already.
        for (size_t side = 0; side < ourSides; ++side)
            ourScanMilliseconds(pluginPaths[side], -1 - int(side));
        peerScanMilliseconds(world, "VUstereo");
        for (int run = 0; run < 4 * runs; ++run) {
            for (size_t k = 0; k <= ourSides; ++k) {
                const size_t side = (k + size_t(run)) % (ourSides + 1);
                const double ms = side < ourSides ? ourScanMilliseconds(pluginPaths[side], run * 16 + int(side))
                                                  : peerScanMilliseconds(world, "VUstereo");
                if (ms < 0) {
                    std::fprintf(stderr, "scan of %s: %s\n",
                                 side < ourSides ? pluginPaths[side].c_str() : "x42 VUstereo", "cannot load");
                    return 1;
                }
                scanMs[side].push_back(ms);
            }
        }
    }

    std::vector<std::unique_ptr<PluginLibrary>> libraries;
    for (const std::string &path : pluginPaths) {
        libraries.push_back(std::make_unique<PluginLibrary>(path));
        if (!libraries.back()->loaded() || !libraries.back()->entry()) {
            std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), libraries.back()->error().c_str());
            return 1;
        }
    }

    std::vector<double> oursKB, peerKB;
    const char *const kPeerNames[] = {"VUstereo", "BBCstereo", "dBTPstereo"};
    if (!preciseOnly) {
        for (auto &library : libraries)
            oursKB.push_back(residentPerInstance([&] {
                return std::unique_ptr<Meter>(new OurMeter(library->entry(), {0, false, false, false}, 512, 48000));
            }));
        for (const char *name : kPeerNames)
            peerKB.push_back(
                residentPerInstance([&] { return std::unique_ptr<Meter>(new PeerMeter(world, name, 512, 48000)); }));
    }

    std::vector<std::unique_ptr<NoiseMaterial>> materials;
    auto materialFor = [&](Signal signal, double rate) -> const NoiseMaterial & {
        static std::vector<std::pair<std::pair<int, double>, const NoiseMaterial *>> made;
        for (auto &m : made)
            if (m.first.first == int(signal) && m.first.second == rate)
                return *m.second;
        materials.push_back(std::make_unique<NoiseMaterial>(signal, rate));
        made.push_back({{int(signal), rate}, materials.back().get()});
        return *materials.back();
    };

    std::vector<std::unique_ptr<Cell>> cells;
    auto addCell = [&](const OurCase &ours, const char *peer, Signal signal, int block, double rate) {
        auto cell = std::make_unique<Cell>();
        cell->block = block;
        cell->rate = rate;
        for (auto &library : libraries)
            cell->sides.push_back(std::make_unique<OurMeter>(library->entry(), ours, block, rate));
        cell->sides.push_back(std::make_unique<PeerMeter>(world, peer, block, rate));
        for (auto &side : cell->sides)
            if (!side->ok()) {
                std::fprintf(stderr, "cannot instantiate %s (x42 meters: Debian package x42-plugins)\n", peer);
                return false;
            }
        for (size_t k = 0; k < cell->sides.size(); ++k)
            cell->sources.emplace_back(materialFor(signal, rate), block);
        cell->ns.resize(cell->sides.size());
        cells.push_back(std::move(cell));
        return true;
    };
    // Cells: rate by rate, the rows by signal and block, then the per-call sweep pairs.
    for (double rate : rates)
        for (const Row &row : kRows)
            if (!preciseOnly || row.precise)
                for (Signal signal : kSignals)
                    for (int block : kBlocks)
                        if (!addCell(row.ours, row.peer, signal, block, rate))
                            return 1;
    const size_t sweepStart = cells.size();
    if (!preciseOnly)
        for (const OurCase &c : kSweepCases)
            for (int block : {kSweepSmall, kSweepLarge})
                if (!addCell(c, "VUstereo", Signal::Uniform, block, 48000))
                    return 1;

    for (int run = 0; run < runs; ++run)
        for (auto &cell : cells)
            for (size_t k = 0; k < cell->sides.size(); ++k) {
                // Turn the order, so that no side always meets a warmer machine.
                const size_t side = (k + size_t(run)) % cell->sides.size();
                cell->ns[side].push_back(
                    measure(*cell->sides[side], cell->sources[side], cell->block, seconds, cell->rate));
            }

    std::printf("ns per stereo frame, -20 dBFS stereo noise; ratios of %d interleaved runs: median (min–max)\n", runs);
    if (withBase)
        std::printf("ours: %s\nbase: %s\n", pluginPaths[0].c_str(), pluginPaths[1].c_str());
    size_t index = 0;
    const size_t peerSide = ourSides;
    for (double rate : rates) {
        std::printf("\n%.0f Hz\n\n| case (ours: fresh instance, `Process` off) | signal |", rate);
        for (int block : kBlocks)
            std::printf(" block %d: ours / peer | ns ours / peer |%s", block, withBase ? " ours / base |" : "");
        std::printf("\n|---|---|");
        for (size_t b = 0; b < sizeof kBlocks / sizeof kBlocks[0]; ++b)
            std::printf("---|---|%s", withBase ? "---|" : "");
        std::printf("\n");
        for (const Row &row : kRows) {
            if (preciseOnly && !row.precise)
                continue;
            for (Signal signal : kSignals) {
                std::printf("| %s | %s |", row.label, signalName(signal));
                for (size_t b = 0; b < sizeof kBlocks / sizeof kBlocks[0]; ++b, ++index) {
                    const Cell &cell = *cells[index];
                    std::printf(" %s | %.1f / %.1f |", spread(ratios(cell.ns[0], cell.ns[peerSide])).c_str(),
                                median(cell.ns[0]), median(cell.ns[peerSide]));
                    if (withBase)
                        std::printf(" %s |", spread(ratios(cell.ns[0], cell.ns[1])).c_str());
                }
                std::printf("\n");
            }
        }
    }
    if (preciseOnly) {
        cells.clear();
        lilv_world_free(world);
        return 0;
    }

    // Per call, from the two block sizes of one run: (t(small) - t(large)) / (1/small - 1/large).
    const double span = 1.0 / kSweepSmall - 1.0 / kSweepLarge;
    auto perCall = [&](const Cell &small, const Cell &large, size_t side) {
        std::vector<double> values;
        for (size_t run = 0; run < small.ns[side].size(); ++run)
            values.push_back((small.ns[side][run] - large.ns[side][run]) / span);
        return values;
    };
    auto nsSpread = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        char text[64];
        std::snprintf(text, sizeof text, "%.0f (%.0f–%.0f)", median(values), values.front(), values.back());
        return std::string(text);
    };
    std::printf("\nns per process call (VU, from blocks %d and %d; median (min–max) of the runs)\n\n", kSweepSmall,
                kSweepLarge);
    std::printf("| call | ours | peer |%s\n|---|---|---|%s\n", withBase ? " base |" : "", withBase ? "---|" : "");
    for (size_t c = 0; c < sizeof kSweepCases / sizeof kSweepCases[0]; ++c) {
        const Cell &small = *cells[sweepStart + 2 * c], &large = *cells[sweepStart + 2 * c + 1];
        std::printf("| %s | %s | %s |", kSweepLabels[c], nsSpread(perCall(small, large, 0)).c_str(),
                    nsSpread(perCall(small, large, peerSide)).c_str());
        if (withBase)
            std::printf(" %s |", nsSpread(perCall(small, large, 1)).c_str());
        std::printf("\n");
    }

    std::printf("\nscan: dlopen, VSTPluginMain, effOpen, effClose, dlclose (peer: x42 VU instantiate/free), ms wall "
                "time, median (min–max) of %d\n",
                4 * runs);
    for (size_t side = 0; side <= ourSides; ++side) {
        std::vector<double> ms = scanMs[side];
        std::sort(ms.begin(), ms.end());
        std::printf("  %s: %.3f ms (%.3f–%.3f)%s\n",
                    side == peerSide ? "peer"
                    : side == 0      ? "ours"
                                     : "base",
                    median(ms), ms.front(), ms.back(),
                    side == 0 && withBase ? (" = " + spread(ratios(scanMs[0], scanMs[1])) + " of base").c_str() : "");
    }
    std::printf("\nresident memory per live instance (%d instances, kB):", kLiveInstances);
    std::printf(" ours %.1f", oursKB[0]);
    if (withBase)
        std::printf(", base %.1f", oursKB[1]);
    for (size_t p = 0; p < peerKB.size(); ++p)
        std::printf(", peer %s %.1f", kPeerNames[p], peerKB[p]);
    std::printf("\n");

    cells.clear();
    libraries.clear();
    lilv_world_free(world);
    return 0;
}
