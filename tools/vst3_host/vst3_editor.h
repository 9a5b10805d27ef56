// Opens the effect's view on a real parent in the order the SDK's editor host and Carla use
// (createView("editor"), isPlatformTypeSupported, setContentScaleFactor, canResize, getSize,
// setFrame, attached), keeps it alive the way a host's event loop does (on Linux the timers and
// descriptors registered with the frame's run loop, on Windows the thread's window messages),
// and gives the parent window the sizes the view asks for through the frame's resizeView.
// Closes in the SDK editor host's order: setFrame(null), removed, release.
// Thread: the host's main thread.
#pragma once

#include <string>

#include "editor_window.h"
#include "vst3_instance.h"

class Vst3Editor {
public:
    Vst3Editor(Vst3Instance &instance, HarnessEditorWindow &window);
    ~Vst3Editor() { close(); }
    Vst3Editor(const Vst3Editor &) = delete;
    Vst3Editor &operator=(const Vst3Editor &) = delete;

    static const char *platformType();
    // False with a message when the effect has no view for this platform or refuses a step.
    // scale: the content scale given before attached (0: none given).
    bool open(std::string &error, float scale = 1.f);
    // One turn of the host's event loop: descriptors that are ready, timers that are due (all of
    // them when forceTimers), window messages.
    void idle(bool forceTimers = true);
    void close();
    bool isOpen() const { return view != nullptr; }
    vst3::IPlugView *plugView() const { return view; }
    Vst3PlugFrame &plugFrame() { return frame; }
    int width() const { return currentWidth; }
    int height() const { return currentHeight; }

private:
    static void resizeParent(void *context, int width, int height);

    Vst3Instance &instance;
    HarnessEditorWindow &window;
    Vst3PlugFrame frame;
    vst3::IPlugView *view = nullptr;
    bool attached = false;
    int currentWidth = 0, currentHeight = 0;
};
