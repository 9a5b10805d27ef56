// The host that effects built inside a test talk to: it answers the version (2400) and the
// output latency it is given, 0 to everything else, and records what the effect told it while
// it listens (one listening host at a time, set by the fixture). Thread: the test's main thread.
#pragma once

#include <string>
#include <vector>

#include "vst/aeffect.h"

class RecordingHost {
public:
    struct Call {
        VstInt32 opcode;
        VstInt32 index;
        float opt;
    };
    struct Automation {
        VstInt32 index;
        float value;
    };

    // The audioMasterCallback to build the effect with.
    static VstIntPtr VSTCALLBACK callback(AEffect *, VstInt32 opcode, VstInt32 index, VstIntPtr value, void *,
                                          float opt)
    {
        if (listening)
            listening->record(opcode, index, value, opt);
        if (opcode == audioMasterVersion)
            return 2400;
        if (opcode == audioMasterGetOutputLatency && listening)
            return listening->outputLatency;
        return 0;
    }

    void listen() { listening = this; }
    static void stopListening() { listening = nullptr; }

    // The indices of the automated writes, in order.
    std::vector<int> automatedIndices() const
    {
        std::vector<int> indices;
        for (const Automation &a : automated)
            indices.push_back(a.index);
        return indices;
    }

    std::vector<Call> calls;                // every call, in order
    std::vector<Automation> automated;      // audioMasterAutomate
    std::vector<std::string> sizeRequests;  // audioMasterSizeWindow, "586x221"
    std::vector<std::string> edits;         // "begin 16", "end 16"
    VstIntPtr outputLatency = 0;            // samples, the answer to audioMasterGetOutputLatency

private:
    void record(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt)
    {
        calls.push_back({opcode, index, opt});
        if (opcode == audioMasterAutomate)
            automated.push_back({index, opt});
        else if (opcode == audioMasterSizeWindow)
            sizeRequests.push_back(std::to_string(index) + "x" + std::to_string((long)value));
        else if (opcode == audioMasterBeginEdit)
            edits.push_back("begin " + std::to_string(index));
        else if (opcode == audioMasterEndEdit)
            edits.push_back("end " + std::to_string(index));
    }

    static inline RecordingHost *listening = nullptr;
};
