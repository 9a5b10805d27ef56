// The open editor's drawing cost: the plug-in's CPU time and the X server's while the editor
// shows moving needles in a real X11 window, as % of one core, minus the same host with the
// editor closed. A private Xvfb serves the window, so the server's time is this program's alone.
//   zem_editor_cost_bench [--seconds S] [--zoom F]...
// The signal is a 1 kHz tone whose level sweeps ±6 dB around -12 dBFS, in blocks of 512 at real-time
// pace (the host sleeps between blocks); the editor idles at 30 or 60 per second.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "plugin_host.h"
#include "support/private_x_server.h"
#include "vst/aeff_editor.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr float kSampleRate = 48000.f;
constexpr int kBlock = 512;

// This process's user and system time, in seconds.
double processSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (double)(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           (double)(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// The user and system time of the process pid, from fields 14 and 15 of /proc/<pid>/stat.
double otherProcessSeconds(long pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');  // the command name may hold spaces
    if (close == std::string::npos)
        return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int index = 3; index <= 15 && fields >> field; ++index)
        if (index >= 14)
            ticks += std::strtod(field.c_str(), nullptr);
    return ticks / (double)sysconf(_SC_CLK_TCK);
}

struct Cost {
    double plugin = 0;  // % of a core
    double server = 0;
};

class ToneFeeder {
public:
    explicit ToneFeeder(PluginInstance &plugin) : plugin(plugin), in(kBlock), out0(kBlock), out1(kBlock) {}
    void feed()
    {
        for (float &s : in) {
            const double t = (double)sample / kSampleRate;
            const double db = -12.0 + 6.0 * std::sin(2.0 * M_PI * 0.5 * t);  // one sweep each 2 s
            s = (float)(std::pow(10.0, db / 20.0) * std::sin(2.0 * M_PI * 1000.0 * t));
            ++sample;
        }
        float *inputs[2] = {in.data(), in.data()};
        float *outputs[2] = {out0.data(), out1.data()};
        plugin.processReplacing(inputs, outputs, kBlock);
    }

private:
    PluginInstance &plugin;
    std::vector<float> in, out0, out1;
    long long sample = 0;
};

// Runs blocks at real-time pace and idles at idleRate (0: no editor) for the given seconds after a
// settling second, and returns the time both processes used over the measured part.
Cost measure(PluginInstance &plugin, ToneFeeder &tone, int idleRate, double seconds, long server)
{
    const auto blockPeriod = std::chrono::duration<double>(kBlock / kSampleRate);
    const auto idlePeriod = std::chrono::duration<double>(idleRate ? 1.0 / idleRate : 1e9);
    auto run = [&](double length) {
        const auto start = Clock::now();
        const auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(length));
        auto nextBlock = start, nextIdle = start;
        while (true) {
            const auto next = std::min(nextBlock, nextIdle);
            if (next >= end)
                break;
            std::this_thread::sleep_until(next);
            if (next == nextBlock) {
                tone.feed();
                nextBlock += std::chrono::duration_cast<Clock::duration>(blockPeriod);
            } else {
                plugin.dispatch(effEditIdle);
                nextIdle += std::chrono::duration_cast<Clock::duration>(idlePeriod);
            }
        }
    };
    run(1.0);
    const double plugin0 = processSeconds(), server0 = otherProcessSeconds(server);
    run(seconds);
    Cost cost;
    cost.plugin = 100.0 * (processSeconds() - plugin0) / seconds;
    cost.server = 100.0 * (otherProcessSeconds(server) - server0) / seconds;
    return cost;
}

}  // namespace

int main(int argc, char **argv)
{
    double seconds = 5;
    std::vector<double> zooms;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--seconds")
            seconds = std::strtod(argv[i + 1], nullptr);
        else if (option == "--zoom")
            zooms.push_back(std::strtod(argv[i + 1], nullptr));
    }
    if (zooms.empty())
        zooms = {1.0, 2.0};

    // The factor comes from the host alone: the user's stored choice stays out of the way.
    char store[] = "/tmp/zem-bench-store.XXXXXX";
    if (mkdtemp(store))
        setenv("XDG_CONFIG_HOME", store, 1);
    // A private Xvfb with a screen wide enough for the editor at 300 %, started by this program (so
    // its pid is known and its time is this program's alone); it ends with its last client.
    PrivateXServer x("2560x1600x24");
    if (!x.display) {
        std::fprintf(stderr, "cannot start Xvfb\n");
        return 1;
    }
    DisplayVariable displayVariable(x.name);
    const long server = x.pid();

    PluginHost host(PluginLibrary::programFolder() + ZEM_PLUGIN_FILE);
    std::printf("editor cost, %% of a core (plug-in + X server), %.0f s runs, blocks of %d at %.0f Hz\n", seconds,
                kBlock, (double)kSampleRate);
    std::printf("%-6s %-6s %10s %10s %10s\n", "zoom", "idles", "plug-in", "X server", "total");
    for (double zoom : zooms) {
        for (int rate : {30, 60}) {
            PluginInstance plugin(host);
            if (!plugin.valid()) {
                std::fprintf(stderr, "cannot load the plug-in: %s\n", host.error().c_str());
                return 1;
            }
            plugin.start(kSampleRate, kBlock);
            ToneFeeder tone(plugin);
            const Cost without = measure(plugin, tone, 0, seconds, server);

            X11HostWindow window(x.display, 0, 0, (int)std::lround(586 * zoom), (int)std::lround(261 * zoom), true);
            if (zoom != 1.0)
                plugin.dispatch(effVendorSpecific, kHostScaleIndex, kHostScaleValue, nullptr, (float)zoom);
            if (plugin.dispatch(effEditOpen, 0, 0, window.handle()) != 1) {
                std::fprintf(stderr, "the editor did not open\n");
                return 1;
            }
            const Cost with = measure(plugin, tone, rate, seconds, server);
            plugin.dispatch(effEditClose);
            XDestroyWindow(x.display, window.window);
            XSync(x.display, False);
            plugin.stop();
            const double pluginCost = with.plugin - without.plugin, serverCost = with.server - without.server;
            std::printf("%-6.0f %-6d %9.2f%% %9.2f%% %9.2f%%\n", zoom * 100, rate, pluginCost, serverCost,
                        pluginCost + serverCost);
            std::fflush(stdout);
        }
    }
    rmdir(store);
    return 0;
}
