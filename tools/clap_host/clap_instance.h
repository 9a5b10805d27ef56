// One CLAP plug-in instance driven as a host drives it: create_plugin and init, the plug-in's
// extensions, activate / start_processing / process / stop_processing / deactivate, parameter
// events in and out, params flush, and state saved and loaded through streams that move at
// most a given number of bytes per call. What the plug-in pushes into the output event lists is
// recorded in order.
// Thread: the host's main thread, except startProcessing, process, stopProcessing and reset,
// which run on the caller's audio thread (they mark it as such for the host's thread-check).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clap_host.h"
#include "clap_library.h"

// A parameter value event for the plug-in, at a sample of the block.
struct ClapParamChange {
    uint32_t time = 0;
    clap_id id = 0;
    double value = 0;
    uint16_t spaceId = CLAP_CORE_EVENT_SPACE_ID;
    bool withCookie = false;  // the cookie get_info gave, else null
};

// What the plug-in sent back through an output event list.
struct ClapOutputEvent {
    uint16_t type = 0;  // CLAP_EVENT_PARAM_VALUE, _GESTURE_BEGIN, _GESTURE_END, ...
    uint32_t time = 0;
    uint32_t size = 0;
    clap_id id = CLAP_INVALID_ID;
    double value = 0;
    uint32_t flags = 0;
};
// "value 6 0.5" / "begin 6" / "end 6" / "event TYPE".
std::string describeOutputEvent(const ClapOutputEvent &event);

class ClapInstance {
public:
    // The first plug-in of the factory when id is null.
    ClapInstance(ClapLibrary &library, ClapHost &host, const char *id = nullptr);
    // Stops, deactivates and destroys what is still running, as a careful host does.
    ~ClapInstance();
    ClapInstance(const ClapInstance &) = delete;
    ClapInstance &operator=(const ClapInstance &) = delete;

    // Created and init answered true.
    bool valid() const { return initialised; }
    const clap_plugin_t *plugin() const { return instance; }
    ClapHost &host() const { return owner; }

    template <typename Table> const Table *extension(const char *id) const
    {
        return instance ? static_cast<const Table *>(instance->get_extension(instance, id)) : nullptr;
    }
    const clap_plugin_params_t *params() const { return extension<clap_plugin_params_t>(CLAP_EXT_PARAMS); }
    const clap_plugin_state_t *state() const { return extension<clap_plugin_state_t>(CLAP_EXT_STATE); }
    const clap_plugin_audio_ports_t *audioPorts() const
    {
        return extension<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
    }
    const clap_plugin_gui_t *gui() const { return extension<clap_plugin_gui_t>(CLAP_EXT_GUI); }

    bool activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames);
    void deactivate();
    bool startProcessing();
    void stopProcessing();
    void reset();
    bool active() const { return isActive; }
    bool processing() const { return isProcessing; }

    // One block of two channels; inputs and outputs may be the same buffers (in place). The
    // events must be in time order. Output events are appended to outputEvents().
    clap_process_status process(float *const *inputs, float *const *outputs, uint32_t frames,
                                const std::vector<ClapParamChange> &events = {}, int64_t steadyTime = -1);
    // params.flush with these events; the plug-in's output events are appended as by process.
    void flush(const std::vector<ClapParamChange> &events = {}, bool withOutputList = true);
    const std::vector<ClapOutputEvent> &outputEvents() const { return sent; }
    void clearOutputEvents() { sent.clear(); }

    // The parameter list (empty without the params extension).
    std::vector<clap_param_info_t> parameters() const;
    bool value(clap_id id, double &out) const;
    // value_to_text into a buffer of the given capacity; false when the plug-in refuses.
    bool text(clap_id id, double value, std::string &out, uint32_t capacity = CLAP_NAME_SIZE) const;
    bool fromText(clap_id id, const std::string &text, double &out) const;

    // save / load through streams that take or give at most piece bytes per call.
    bool save(std::vector<uint8_t> &bytes, size_t piece = SIZE_MAX) const;
    bool load(const std::vector<uint8_t> &bytes, size_t piece = SIZE_MAX) const;

private:
    ClapHost &owner;
    const clap_plugin_t *instance = nullptr;
    bool initialised = false;
    bool isActive = false;
    bool isProcessing = false;
    std::vector<ClapOutputEvent> sent;
    std::vector<clap_param_info_t> infoCache;  // for the cookies of events
};
