// One CLAP plug-in instance: the effect the VST 2.4 entry builds, driven through its effect
// record, with only translation added. The instance answers the effect's host calls
// (audioMasterCallback) itself and passes on what a CLAP host has a place for; CLAP's life cycle
// maps onto the effect's: init builds and opens it, activate sets the rate and the block size and
// resumes, deactivate suspends, destroy closes it. Each function states its thread; where the
// host offers thread-check the tag is checked (a contract: a test build aborts on a breach).
#pragma once

#include <atomic>
#include <memory>

#include "clap/clap_interface.h"
#include "clap/edit_queue.h"
#include "core/effect_host_calls.h"
#include "params/plain_units.h"
#include "vst/aeffect.h"

class ClapGui;
class Templete;

// The three layouts of the effect's speaker arrangements, by CLAP configuration id.
enum ClapPortsConfig : clap_id { kConfigStereo = 0, kConfigMono = 1, kConfigMonoToStereo = 2, kConfigCount = 3 };

class ClapPlugin {
public:
    // [thread-safe] (the factory's create_plugin): no host call here, the effect comes in init.
    ClapPlugin(const clap_host_t *host, const clap_plugin_descriptor_t *descriptor, EffectMaker makeEffect);
    ~ClapPlugin();
    ClapPlugin(const ClapPlugin &) = delete;
    ClapPlugin &operator=(const ClapPlugin &) = delete;

    const clap_plugin_t *clapPlugin() const { return &plugin; }
    static ClapPlugin *from(const clap_plugin_t *plugin);

    // For the editor extensions (gui, timer-support, posix-fd-support). [main-thread]
    const clap_host_t *clapHost() const { return host; }
    AEffect *effectRecord() const { return effect; }
    Templete *templete() const { return templeteEffect; }
    ClapGui *editorGui() const { return gui.get(); }
    bool onMainThread() const;
    bool onAudioThread() const;

private:
    friend struct ClapPluginCalls;  // the C tables' functions (clap_plugin.cpp)

    // The CLAP plug-in functions, in the table's order; the tag is in clap_plugin.cpp.
    bool init();
    void destroy();
    bool activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames);
    void deactivate();
    bool startProcessing();
    void stopProcessing();
    void reset();
    clap_process_status process(const clap_process_t *process);
    const void *extension(const char *id);
    void onMainThreadCallback();

    // params
    bool parameterInfo(uint32_t index, clap_param_info_t *info);
    bool parameterValue(clap_id id, double *value);
    bool valueToText(clap_id id, double value, char *text, uint32_t capacity);
    bool textToValue(clap_id id, const char *text, double *value);
    void flush(const clap_input_events_t *in, const clap_output_events_t *out);
    // state
    bool saveState(const clap_ostream_t *stream);
    bool loadState(const clap_istream_t *stream);
    // audio-ports, audio-ports-config
    bool portInfo(uint32_t index, bool isInput, clap_audio_port_info_t *info);
    bool configInfo(uint32_t index, clap_audio_ports_config_t *config);
    bool selectConfig(clap_id id);

    // The effect's host calls, on the thread the effect makes them.
    friend class EffectHostCalls<ClapPlugin>;
    VstIntPtr answerEffect(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt);
    void queueEdit(ClapEdit::Kind kind, VstInt32 index, float value);  // [main-thread]

    // [audio-thread] in process, the flush's thread in flush.
    void applyEvents(const clap_input_events_t *in);
    void applyEvent(const clap_event_header_t *event);
    void sendEdits(const clap_output_events_t *out);
    void runEffect(float *const *inputs, float *const *outputs, uint32_t from, uint32_t to);
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void *ptr = nullptr, float opt = 0.f);
    float effectValue(clap_id id) const;
    void requestRescan(uint32_t flags);  // [thread-safe]: the host hears it on its main thread

    clap_plugin_t plugin;
    const clap_host_t *host;
    EffectMaker makeEffect;
    AEffect *effect = nullptr;
    Templete *templeteEffect = nullptr;

    // The host's extensions, fetched in init; null when it has none (or a partial table).
    const clap_host_thread_check_t *threadCheck = nullptr;
    const clap_host_params_t *hostParams = nullptr;
    const clap_host_gui_t *hostGui = nullptr;

    std::atomic<bool> active{false};      // written on the main thread, read by flush
    std::atomic<bool> processing{false};  // written on the audio thread, read by flush
    std::atomic<double> sampleRate{44100.0};
    std::atomic<uint32_t> maxFrames{1024};
    std::atomic<uint32_t> config{kConfigStereo};
    std::atomic<uint32_t> pendingRescan{0};          // CLAP_PARAM_RESCAN_* flags for on_main_thread
    float initialValues[kPlainParameterCount] = {};  // the values the effect started with

    EditQueue edits;
    std::unique_ptr<ClapGui> gui;  // from init to destroy (clap/clap_gui.h)
};
