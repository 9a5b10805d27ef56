// Opens the plug-in's editor through its gui extension on a real parent, in the order Carla and
// Qtractor use (is_api_supported, create, set_scale, can_resize, get_size, set_parent, show),
// and keeps it alive the way a host's event loop does: on Linux the timers and the file
// descriptors the plug-in registered (timer-support, posix-fd-support), on Windows the
// thread's window messages. The size the plug-in asks for (request_resize) is given to the
// parent window.
// Thread: the host's main thread.
#pragma once

#include <string>

#include "clap_instance.h"
#include "editor_window.h"

class ClapEditor {
public:
    ClapEditor(ClapInstance &instance, HarnessEditorWindow &window) : instance(instance), window(window) {}
    ~ClapEditor() { close(); }
    ClapEditor(const ClapEditor &) = delete;
    ClapEditor &operator=(const ClapEditor &) = delete;

    static const char *nativeApi();
    // False with a message when the plug-in has no editor for this platform or refuses a step.
    bool open(std::string &error);
    // One turn of the host's event loop: descriptors that are ready, timers that are due (all
    // of them when forceTimers), window messages, then the sizes the plug-in asked for.
    void idle(bool forceTimers = true);
    void close();  // hide and destroy
    bool isOpen() const { return created; }
    uint32_t width() const { return currentWidth; }
    uint32_t height() const { return currentHeight; }

private:
    void answerResizeRequests();

    ClapInstance &instance;
    HarnessEditorWindow &window;
    bool created = false;
    size_t seenCalls = 0;
    uint32_t currentWidth = 0, currentHeight = 0;
};
