// zem_clap_host editor <file.clap> [--idle N] [--png OUT.png] [--no-timers] [--no-fds]
// Activates the plug-in at 44.1 kHz, opens its editor through the gui extension in a real parent
// (Linux: an X11 window on $DISPLAY; Windows: a window of this program), feeds N blocks
// (default 10) of a 1 kHz tone at -6 dBFS, each followed by a turn of the host's event loop,
// writes a picture of the editor (Linux: read back from the X server; Windows: from the window
// through GDI), closes it and prints what the plug-in asked of the host and
// sent back, one per line ("gui.request_resize 586x221", "timer.register 33 ms", "begin 6").
// --no-timers / --no-fds: the host offers no timer-support / posix-fd-support.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "clap_editor.h"
#include "rgb_png.h"
#include "subcommands.h"
#include "test_signals.h"

namespace {

int runEditor(const std::vector<std::string> &arguments)
{
    const char *usage = "usage: zem_clap_host editor <file.clap> [--idle N] [--png OUT.png] [--no-timers] [--no-fds]\n";
    std::string path, png, error;
    long idles = 10;
    ClapHost host;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string &a = arguments[i];
        if ((a == "--idle" || a == "--png") && i + 1 >= arguments.size()) {
            std::fprintf(stderr, "%s", usage);
            return 2;
        }
        if (a == "--idle")
            idles = std::strtol(arguments[++i].c_str(), nullptr, 10);
        else if (a == "--png")
            png = arguments[++i];
        else if (a == "--no-timers")
            host.offersTimers = false;
        else if (a == "--no-fds")
            host.offersDescriptors = false;
        else if (path.empty() && a.compare(0, 2, "--") != 0)
            path = a;
        else {
            std::fprintf(stderr, "%s", usage);
            return 2;
        }
    }
    if (path.empty() || idles < 0 || idles > 100000) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }
    ClapLibrary library(path);
    ClapInstance instance(library, host);
    if (!instance.valid()) {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), library.error().c_str());
        return 1;
    }
    const uint32_t block = 512;
    if (!instance.activate(44100.0, 1, block) || !instance.startProcessing()) {
        std::fprintf(stderr, "the plug-in did not activate\n");
        return 1;
    }
#ifdef _WIN32
    std::unique_ptr<HarnessEditorWindow> window = createWin32EditorWindow();
#else
    std::unique_ptr<HarnessEditorWindow> window = createX11EditorWindow(error);
    if (!window) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
#endif
    ClapEditor editor(instance, *window);
    if (!editor.open(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::vector<float> in(block), out0(block), out1(block);
    EditorTone tone;
    for (long i = 0; i < idles; ++i) {
        tone.fill(in);
        float *inputs[2] = {in.data(), in.data()};
        float *outputs[2] = {out0.data(), out1.data()};
        instance.process(inputs, outputs, block);
#ifdef _WIN32
        // The frame window's own timer brings the idle work: give it its turn, as a host's
        // message loop would between two audio callbacks.
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(40);
        while (std::chrono::steady_clock::now() < until) {
            editor.idle(false);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
#else
        editor.idle();
#endif
    }
    const bool pictureWritten = writeWindowPicture(*window, png);
    editor.close();
    instance.stopProcessing();
    instance.deactivate();
    for (const ClapHostCall &call : host.calls())
        std::printf("%s%s\n", describeHostCall(call).c_str(), call.onMainThread ? "" : " (off the main thread)");
    for (const ClapOutputEvent &event : instance.outputEvents())
        std::printf("%s\n", describeOutputEvent(event).c_str());
    std::printf("thread-check asked %d times, answered no %d times\n", host.threadChecks(),
                host.threadChecksAnsweredNo());
    if (!pictureWritten)
        std::fprintf(stderr, "cannot write %s\n", png.c_str());
    return pictureWritten ? 0 : 1;
}

SubcommandRegistration registration{"editor", "editor <file.clap> [--idle N] [--png OUT.png] [--no-timers] [--no-fds]",
                                    runEditor};

}  // namespace
