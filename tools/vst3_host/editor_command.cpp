// zem_vst3_host editor <bundle.vst3> [--idle N] [--png OUT.png] [--scale F] [--no-run-loop]
// Activates the effect at 44.1 kHz, opens its view in a real parent (Linux: an X11 window on
// $DISPLAY, the idle work from our run loop; Windows: a window of this program, the idle work
// from the editor's own window timer), feeds N blocks (default 10) of a 1 kHz tone at -6 dBFS,
// each followed by a turn of the host's event loop, writes a picture of the editor (Linux: read
// back from the X server; Windows: from the window through GDI), closes it and prints what the
// view asked of the host and the component handler heard, one per line ("resizeView 586x221",
// "timer.register 33 ms", "begin 6"). --scale gives the content scale before attached;
// --no-run-loop: the frame answers no IRunLoop.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "rgb_png.h"
#include "subcommands.h"
#include "test_signals.h"
#include "vst3_editor.h"

namespace {

int runEditor(const std::vector<std::string> &arguments)
{
    const char *usage =
        "usage: zem_vst3_host editor <bundle.vst3> [--idle N] [--png OUT.png] [--scale F] [--no-run-loop]\n";
    std::string path, png, error;
    long idles = 10;
    float scale = 1.f;
    bool runLoop = true;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string &a = arguments[i];
        if ((a == "--idle" || a == "--png" || a == "--scale") && i + 1 >= arguments.size()) {
            std::fprintf(stderr, "%s", usage);
            return 2;
        }
        if (a == "--idle")
            idles = std::strtol(arguments[++i].c_str(), nullptr, 10);
        else if (a == "--png")
            png = arguments[++i];
        else if (a == "--scale")
            scale = std::strtof(arguments[++i].c_str(), nullptr);
        else if (a == "--no-run-loop")
            runLoop = false;
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
    Vst3Module module(path);
    Vst3HostContext context;
    Vst3ComponentHandler handler;
    Vst3Instance instance(module, context, &handler);
    if (!instance.valid()) {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(),
                     module.ready() ? instance.error().c_str() : module.error().c_str());
        return 1;
    }
    const int32_t block = 512;
    if (!instance.activate(44100.0, block) || !instance.startProcessing()) {
        std::fprintf(stderr, "the effect did not activate\n");
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
    Vst3Editor editor(instance, *window);
#ifndef _WIN32
    editor.plugFrame().offersRunLoop = runLoop;
#else
    (void)runLoop;
#endif
    if (!editor.open(error, scale)) {
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
        // The editor window's own timer brings the idle work: give it its turn, as a host's
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
    std::printf("view.size %dx%d\n", editor.width(), editor.height());
    editor.close();
    instance.stopProcessing();
    instance.deactivate();
    for (const auto &size : editor.plugFrame().resizes)
        std::printf("resizeView %dx%d\n", size.first, size.second);
#ifndef _WIN32
    for (const std::string &line : editor.plugFrame().runLoop.log)
        std::printf("%s\n", line.c_str());
#endif
    for (const Vst3HandlerCall &call : handler.calls())
        std::printf("%s%s\n", describeHandlerCall(call).c_str(), call.onMainThread ? "" : " (off the main thread)");
    std::printf("frame references held after close %d\n", editor.plugFrame().heldReferences());
    if (!pictureWritten)
        std::fprintf(stderr, "cannot write %s\n", png.c_str());
    return pictureWritten ? 0 : 1;
}

SubcommandRegistration registration{
    "editor", "editor <bundle.vst3> [--idle N] [--png OUT.png] [--scale F] [--no-run-loop]", runEditor};

}  // namespace
