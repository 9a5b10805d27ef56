// A host for one plug-in library: it loads the library, answers the host callback the way the
// tests and the harness need (version 2400, pins connected, a settable output latency) and
// records the notifications the plug-in sends (automate, begin and end edit, size window).
// PluginInstance drives one effect through its record exactly as a host does.
// Thread: the host's main thread; processing may run on another thread of the caller's choice.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "plugin_library.h"

struct HostEvent {
    AEffect *effect;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
};

class PluginHost {
public:
    explicit PluginHost(const std::string &path, LibraryUnload unload = LibraryUnload::KeepMappedUnderSanitizers);
    ~PluginHost();
    PluginHost(const PluginHost &) = delete;
    PluginHost &operator=(const PluginHost &) = delete;

    bool loaded() const { return library.loaded() && library.entry() != nullptr; }
    const std::string &error() const { return library.error(); }

    // Calls the entry point; the effect record, or null when the plug-in refused.
    AEffect *createEffect();

    // Answers of the host callback.
    VstIntPtr versionAnswer = 2400;
    VstIntPtr pinConnectedAnswer = 0;  // 0 means connected
    VstIntPtr outputLatency = 0;       // in samples

    // Every audioMasterAutomate, BeginEdit, EndEdit and SizeWindow since the last clear.
    std::vector<HostEvent> events() const;
    void clearEvents();
    // How often the plug-in asked for each opcode (all opcodes, including the recorded ones).
    int queries(VstInt32 opcode) const;

    // Parents this program created for an editor: the plug-in's question about them is
    // answered yes (offscreen_parent.h), any other parent no.
    void vouchForParent(void *parent);
    void withdrawParent(void *parent);
    // The cookie the editor sent with its last question about one of those parents.
    uint32_t parentCookie() const;

    static VstIntPtr VSTCALLBACK callback(AEffect *effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr,
                                          float opt);

private:
    VstIntPtr answer(AEffect *effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt);

    PluginLibrary library;
    mutable std::mutex eventsMutex;
    std::vector<HostEvent> recorded;
    std::vector<int> queryCounts;
    std::vector<void *> ownParents;
    uint32_t lastParentCookie = 0;
};

class PluginInstance {
public:
    // Creates an effect through the host; valid() tells whether the plug-in answered one.
    explicit PluginInstance(PluginHost &host);
    ~PluginInstance();  // effClose
    PluginInstance(const PluginInstance &) = delete;
    PluginInstance &operator=(const PluginInstance &) = delete;

    bool valid() const { return effect != nullptr; }
    AEffect *record() const { return effect; }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void *ptr = nullptr, float opt = 0.f);
    // A text query into a zeroed 256-byte buffer (names, labels, displays, strings).
    std::string text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0);
    float getParameter(VstInt32 index);
    void setParameter(VstInt32 index, float value);

    // effSetSampleRate, effSetBlockSize and effMainsChanged(1).
    void start(float sampleRate, VstInt32 blockSize);
    void stop();  // effMainsChanged(0)
    void processReplacing(float **inputs, float **outputs, VstInt32 frames);
    // The chunk as the plug-in hands it out (empty when it answers none).
    std::vector<unsigned char> getChunk();
    VstIntPtr setChunk(const std::vector<unsigned char> &bytes);

private:
    AEffect *effect;
};
