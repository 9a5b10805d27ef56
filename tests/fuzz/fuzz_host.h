// The host of the fuzz session: it points the per-user store at a temporary folder of its own,
// loads the built plug-in once per process from the program's folder (as a host loads it by
// path), and answers the host callback with what the session chose (pins, output latency).
// Values the plug-in reports back through the callback are checked on arrival.
// Thread: the fuzzing thread only.
#pragma once

#include <string>

#include "plugin_library.h"

struct FuzzHostAnswers {
    // Whether the host reports pin 1 (the second input, the second output) as connected.
    bool secondInputConnected = true;
    bool secondOutputConnected = true;
    VstIntPtr outputLatency = 0;  // samples
};

class FuzzHost {
public:
    // The one host of the process; the first call sets up the store and loads the plug-in.
    static FuzzHost &instance();

    AEffect *createEffect();  // null when the plug-in refused
    FuzzHostAnswers answers;
    // The offscreen parent the session made for the editor: the host vouches for it, and for
    // no other parent, when the editor asks (ui/offscreen_parent.h).
    void *ownParent = nullptr;

private:
    FuzzHost();
    static VstIntPtr VSTCALLBACK callback(AEffect *effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr,
                                          float opt);
    VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt);

    std::string storeFolder;
    PluginLibrary *library = nullptr;  // never unloaded: the plug-in lives as long as the process
};
