#include "clap/clap_plugin.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "clap/clap_gui.h"
#include "clap/clap_readout.h"
#include "clap/clap_stream.h"
#include "core/effect_chunk.h"
#include "core/templete.h"
#include "core/plain_text.h"
#include "params/parameter_table.h"
#include "params/typed_entry.h"
#include "platform/contract.h"

// A CLAP thread rule as a contract: checked where the host offers thread-check.
#define ZEM_CLAP_MAIN_THREAD(self, neutral) ZEM_CHECK((self)->onMainThread(), neutral)
#define ZEM_CLAP_AUDIO_THREAD(self, neutral) ZEM_CHECK((self)->onAudioThread(), neutral)

namespace {

template <typename Table> const Table *hostExtension(const clap_host_t *host, const char *id)
{
    if (!host || !host->get_extension)
        return nullptr;
    return static_cast<const Table *>(host->get_extension(host, id));
}

void copyText(char *destination, const char *source, size_t size)
{
    if (size == 0)
        return;
    std::strncpy(destination, source, size - 1);
    destination[size - 1] = 0;
}

struct ConfigLayout {
    const char *name;
    uint32_t inputs;
    uint32_t outputs;
};
const ConfigLayout kConfigs[kConfigCount] = {{"Stereo", 2, 2}, {"Mono", 1, 1}, {"Mono to Stereo", 1, 2}};

const char *portType(uint32_t channels) { return channels == 1 ? CLAP_PORT_MONO : CLAP_PORT_STEREO; }

// ---- the C tables: each function finds its instance and ends any exception here ---------------

template <typename Result, typename Call> Result guarded(const clap_plugin_t *p, Result neutral, Call call)
{
    ClapPlugin *self = ClapPlugin::from(p);
    if (!self)
        return neutral;
    try {
        return call(*self);
    } catch (...) {
        return neutral;
    }
}

}  // namespace

// The C tables' functions: each finds its instance, calls it and ends any exception there.
struct ClapPluginCalls {
    static bool CLAP_ABI init(const clap_plugin_t *p)
    {
        return guarded(p, false, [](ClapPlugin &s) { return s.init(); });
    }
    static void CLAP_ABI destroy(const clap_plugin_t *p)
    {
        ClapPlugin *self = ClapPlugin::from(p);
        if (!self)
            return;
        try {
            self->destroy();
        } catch (...) {
        }
        delete self;
    }
    static bool CLAP_ABI activate(const clap_plugin_t *p, double rate, uint32_t minFrames, uint32_t maxFrames)
    {
        return guarded(p, false, [&](ClapPlugin &s) { return s.activate(rate, minFrames, maxFrames); });
    }
    static void CLAP_ABI deactivate(const clap_plugin_t *p)
    {
        guarded(p, 0, [](ClapPlugin &s) { return s.deactivate(), 0; });
    }
    static bool CLAP_ABI startProcessing(const clap_plugin_t *p)
    {
        return guarded(p, false, [](ClapPlugin &s) { return s.startProcessing(); });
    }
    static void CLAP_ABI stopProcessing(const clap_plugin_t *p)
    {
        guarded(p, 0, [](ClapPlugin &s) { return s.stopProcessing(), 0; });
    }
    static void CLAP_ABI reset(const clap_plugin_t *p)
    {
        guarded(p, 0, [](ClapPlugin &s) { return s.reset(), 0; });
    }
    static clap_process_status CLAP_ABI process(const clap_plugin_t *p, const clap_process_t *block)
    {
        return guarded(p, (clap_process_status)CLAP_PROCESS_ERROR, [&](ClapPlugin &s) { return s.process(block); });
    }
    static const void *CLAP_ABI extension(const clap_plugin_t *p, const char *id)
    {
        return guarded(p, (const void *)nullptr, [&](ClapPlugin &s) { return s.extension(id); });
    }
    static void CLAP_ABI onMainThread(const clap_plugin_t *p)
    {
        guarded(p, 0, [](ClapPlugin &s) { return s.onMainThreadCallback(), 0; });
    }

    // params
    static uint32_t CLAP_ABI paramCount(const clap_plugin_t *) { return kPlainParameterCount; }
    static bool CLAP_ABI paramInfo(const clap_plugin_t *p, uint32_t index, clap_param_info_t *info)
    {
        return guarded(p, false, [&](ClapPlugin &s) { return s.parameterInfo(index, info); });
    }
    static bool CLAP_ABI paramValue(const clap_plugin_t *p, clap_id id, double *value)
    {
        return guarded(p, false, [&](ClapPlugin &s) { return s.parameterValue(id, value); });
    }
    static bool CLAP_ABI valueToText(const clap_plugin_t *p, clap_id id, double value, char *text, uint32_t size)
    {
        return guarded(p, false, [&](ClapPlugin &s) { return s.valueToText(id, value, text, size); });
    }
    static bool CLAP_ABI textToValue(const clap_plugin_t *p, clap_id id, const char *text, double *value)
    {
        return guarded(p, false, [&](ClapPlugin &s) { return s.textToValue(id, text, value); });
    }
    static void CLAP_ABI flush(const clap_plugin_t *p, const clap_input_events_t *in, const clap_output_events_t *out)
    {
        guarded(p, 0, [&](ClapPlugin &s) { return s.flush(in, out), 0; });
    }
    // state
    static bool CLAP_ABI save(const clap_plugin_t *p, const clap_ostream_t *stream)
    {
        return guarded(p, false, [&](ClapPlugin &s) { return s.saveState(stream); });
    }
    static bool CLAP_ABI load(const clap_plugin_t *p, const clap_istream_t *stream)
    {
        return guarded(p, false, [&](ClapPlugin &s) { return s.loadState(stream); });
    }
    // audio-ports
    static uint32_t CLAP_ABI portCount(const clap_plugin_t *, bool) { return 1; }
    static bool CLAP_ABI portInfo(const clap_plugin_t *p, uint32_t index, bool isInput, clap_audio_port_info_t *info)
    {
        return guarded(p, false, [&](ClapPlugin &s) { return s.portInfo(index, isInput, info); });
    }
    // audio-ports-config
    static uint32_t CLAP_ABI configCount(const clap_plugin_t *) { return kConfigCount; }
    static bool CLAP_ABI configInfo(const clap_plugin_t *p, uint32_t index, clap_audio_ports_config_t *config)
    {
        return guarded(p, false, [&](ClapPlugin &s) { return s.configInfo(index, config); });
    }
    static bool CLAP_ABI selectConfig(const clap_plugin_t *p, clap_id id)
    {
        return guarded(p, false, [&](ClapPlugin &s) { return s.selectConfig(id); });
    }
    // latency and tail: the effect's initial delay and tail size, both 0.
    static uint32_t CLAP_ABI latency(const clap_plugin_t *p)
    {
        return guarded(p, 0u, [](ClapPlugin &s) {
            AEffect *e = s.effectRecord();
            return e && e->initialDelay > 0 ? (uint32_t)e->initialDelay : 0u;
        });
    }
    static uint32_t CLAP_ABI tail(const clap_plugin_t *p)
    {
        return guarded(p, 0u, [](ClapPlugin &s) {
            const VstIntPtr samples = s.dispatch(effGetTailSize);
            return samples > 1 ? (uint32_t)samples : 0u;  // 1 is "no tail" in VST 2.4, as 0 is
        });
    }
};

namespace {

const clap_plugin_params_t kParams = {ClapPluginCalls::paramCount,  ClapPluginCalls::paramInfo,
                                      ClapPluginCalls::paramValue,  ClapPluginCalls::valueToText,
                                      ClapPluginCalls::textToValue, ClapPluginCalls::flush};
const clap_plugin_state_t kState = {ClapPluginCalls::save, ClapPluginCalls::load};
const clap_plugin_audio_ports_t kAudioPorts = {ClapPluginCalls::portCount, ClapPluginCalls::portInfo};
const clap_plugin_audio_ports_config_t kAudioPortsConfig = {ClapPluginCalls::configCount, ClapPluginCalls::configInfo,
                                                            ClapPluginCalls::selectConfig};
const clap_plugin_latency_t kLatency = {ClapPluginCalls::latency};
const clap_plugin_tail_t kTail = {ClapPluginCalls::tail};

}  // namespace

// ---- construction ------------------------------------------------------------------------------

ClapPlugin::ClapPlugin(const clap_host_t *host, const clap_plugin_descriptor_t *descriptor, EffectMaker makeEffect)
    : host(host), makeEffect(makeEffect)
{
    plugin.desc = descriptor;
    plugin.plugin_data = this;
    plugin.init = ClapPluginCalls::init;
    plugin.destroy = ClapPluginCalls::destroy;
    plugin.activate = ClapPluginCalls::activate;
    plugin.deactivate = ClapPluginCalls::deactivate;
    plugin.start_processing = ClapPluginCalls::startProcessing;
    plugin.stop_processing = ClapPluginCalls::stopProcessing;
    plugin.reset = ClapPluginCalls::reset;
    plugin.process = ClapPluginCalls::process;
    plugin.get_extension = ClapPluginCalls::extension;
    plugin.on_main_thread = ClapPluginCalls::onMainThread;
}

ClapPlugin::~ClapPlugin() = default;

ClapPlugin *ClapPlugin::from(const clap_plugin_t *plugin)
{
    return plugin ? static_cast<ClapPlugin *>(plugin->plugin_data) : nullptr;
}

bool ClapPlugin::onMainThread() const { return !threadCheck || threadCheck->is_main_thread(host); }

bool ClapPlugin::onAudioThread() const { return !threadCheck || threadCheck->is_audio_thread(host); }

VstIntPtr ClapPlugin::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt)
{
    return effect ? effect->dispatcher(effect, opcode, index, value, ptr, opt) : 0;
}

float ClapPlugin::effectValue(clap_id id) const { return effect ? effect->getParameter(effect, (VstInt32)id) : 0.f; }

// ---- life cycle --------------------------------------------------------------------------------

// [main-thread] The host's tables are taken here (a partial one counts as absent), then the
// effect is built and opened as a VST 2.4 host does it.
bool ClapPlugin::init()
{
    if (effect || !makeEffect)
        return false;
    threadCheck = hostExtension<clap_host_thread_check_t>(host, CLAP_EXT_THREAD_CHECK);
    if (threadCheck && (!threadCheck->is_main_thread || !threadCheck->is_audio_thread))
        threadCheck = nullptr;
    ZEM_CLAP_MAIN_THREAD(this, false);
    hostParams = hostExtension<clap_host_params_t>(host, CLAP_EXT_PARAMS);
    if (hostParams && (!hostParams->rescan || !hostParams->clear || !hostParams->request_flush))
        hostParams = nullptr;
    hostGui = hostExtension<clap_host_gui_t>(host, CLAP_EXT_GUI);
    if (hostGui && !hostGui->request_resize)
        hostGui = nullptr;

    Templete *built = EffectHostCalls<ClapPlugin>::build(this, makeEffect);
    if (!built)
        return false;
    templeteEffect = built;
    effect = built->getAeffect();
    dispatch(effOpen);
    gui = std::make_unique<ClapGui>(effect, host);
    for (clap_id id = 0; id < kPlainParameterCount; ++id)
        initialValues[id] = effectValue(id);
    return true;
}

// [main-thread & !active] A host that destroys an active instance has it deactivated first.
void ClapPlugin::destroy()
{
    ZEM_CLAP_MAIN_THREAD(this, );
    if (active.load(std::memory_order_relaxed))
        deactivate();
    gui.reset();  // an editor still open closes first
    if (effect)
        dispatch(effClose);  // closes the editor and deletes the effect
    effect = nullptr;
    templeteEffect = nullptr;
}

// [main-thread & !active] The rate and the largest block, then resume.
bool ClapPlugin::activate(double rate, uint32_t minFrames, uint32_t maxFrameCount)
{
    ZEM_CLAP_MAIN_THREAD(this, false);
    (void)minFrames;
    if (!effect || active.load(std::memory_order_relaxed) || !(rate > 0.0) || !std::isfinite(rate) || maxFrameCount < 1)
        return false;
    sampleRate.store(rate, std::memory_order_relaxed);
    maxFrames.store(maxFrameCount, std::memory_order_relaxed);
    dispatch(effSetSampleRate, 0, 0, nullptr, (float)rate);
    dispatch(effSetBlockSize, 0, (VstIntPtr)(maxFrameCount > 0x7fffffffu ? 0x7fffffffu : maxFrameCount));
    dispatch(effMainsChanged, 0, 1);
    active.store(true, std::memory_order_relaxed);
    return true;
}

// [main-thread & active]
void ClapPlugin::deactivate()
{
    ZEM_CLAP_MAIN_THREAD(this, );
    if (!active.load(std::memory_order_relaxed))
        return;
    processing.store(false, std::memory_order_relaxed);
    dispatch(effMainsChanged, 0, 0);
    active.store(false, std::memory_order_relaxed);
}

// [audio-thread & active & !processing] Cheap: some hosts call it around every block.
bool ClapPlugin::startProcessing()
{
    ZEM_CLAP_AUDIO_THREAD(this, false);
    if (!effect)
        return false;
    dispatch(effStartProcess);
    processing.store(true, std::memory_order_relaxed);
    return true;
}

// [audio-thread & active & processing]
void ClapPlugin::stopProcessing()
{
    ZEM_CLAP_AUDIO_THREAD(this, );
    processing.store(false, std::memory_order_relaxed);
    dispatch(effStopProcess);
}

// [audio-thread & active] The filter and meter state cleared, the parameters kept: a suspend and a
// resume, under the instance lock as the effect takes them.
void ClapPlugin::reset()
{
    ZEM_CLAP_AUDIO_THREAD(this, );
    dispatch(effMainsChanged, 0, 0);
    dispatch(effMainsChanged, 0, 1);
}

// [main-thread] The host's answer to request_callback: what the audio thread could not tell it.
void ClapPlugin::onMainThreadCallback()
{
    ZEM_CLAP_MAIN_THREAD(this, );
    const uint32_t flags = pendingRescan.exchange(0, std::memory_order_acq_rel);
    if (flags && hostParams)
        hostParams->rescan(host, flags);
}

void ClapPlugin::requestRescan(uint32_t flags)
{
    pendingRescan.fetch_or(flags, std::memory_order_acq_rel);
    if (host && host->request_callback)
        host->request_callback(host);
}

// [thread-safe]
const void *ClapPlugin::extension(const char *id)
{
    if (!id)
        return nullptr;
    if (std::strcmp(id, CLAP_EXT_PARAMS) == 0)
        return &kParams;
    if (std::strcmp(id, CLAP_EXT_STATE) == 0)
        return &kState;
    if (std::strcmp(id, CLAP_EXT_AUDIO_PORTS) == 0)
        return &kAudioPorts;
    if (std::strcmp(id, CLAP_EXT_AUDIO_PORTS_CONFIG) == 0)
        return &kAudioPortsConfig;
    if (std::strcmp(id, CLAP_EXT_LATENCY) == 0)
        return &kLatency;
    if (std::strcmp(id, CLAP_EXT_TAIL) == 0)
        return &kTail;
    // ---- the editor's extensions (gui, timer-support, posix-fd-support) answer here ----
    if (const void *table = ClapGui::extension(id))
        return table;
    if (const void *table = clapReadoutExtension(id))
        return table;
    return nullptr;
}

// ---- processing --------------------------------------------------------------------------------

// [audio-thread & active & processing] The editor's edits go out first; each host event takes
// effect at its sample: the block is run in pieces between them.
clap_process_status ClapPlugin::process(const clap_process_t *block)
{
    ZEM_CLAP_AUDIO_THREAD(this, CLAP_PROCESS_ERROR);
    if (!block || !effect || !processing.load(std::memory_order_relaxed))
        return CLAP_PROCESS_ERROR;
    sendEdits(block->out_events);
    const uint32_t frames = block->frames_count;

    float *inputs[2] = {nullptr, nullptr};
    float *outputs[2] = {nullptr, nullptr};
    if (frames > 0) {
        if (block->audio_inputs_count < 1 || block->audio_outputs_count < 1 || !block->audio_inputs ||
            !block->audio_outputs)
            return CLAP_PROCESS_ERROR;
        const clap_audio_buffer_t &in = block->audio_inputs[0];
        const clap_audio_buffer_t &out = block->audio_outputs[0];
        if (!in.data32 || !out.data32 || in.channel_count < 1 || out.channel_count < 1)
            return CLAP_PROCESS_ERROR;
        inputs[0] = in.data32[0];
        inputs[1] = in.channel_count > 1 ? in.data32[1] : in.data32[0];
        outputs[0] = out.data32[0];
        outputs[1] = out.channel_count > 1 ? out.data32[1] : out.data32[0];
        if (!inputs[0] || !inputs[1] || !outputs[0] || !outputs[1])
            return CLAP_PROCESS_ERROR;
        block->audio_outputs[0].constant_mask = 0;
    }

    const clap_input_events_t *in = block->in_events;
    const uint32_t count = in && in->size && in->get ? in->size(in) : 0;
    uint32_t done = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const clap_event_header_t *event = in->get(in, i);
        if (!event)
            continue;
        const uint32_t at = event->time < frames ? event->time : frames;
        if (at > done) {
            runEffect(inputs, outputs, done, at);
            done = at;
        }
        applyEvent(event);
    }
    if (done < frames)
        runEffect(inputs, outputs, done, frames);
    return CLAP_PROCESS_CONTINUE;
}

void ClapPlugin::runEffect(float *const *inputs, float *const *outputs, uint32_t from, uint32_t to)
{
    float *in[2] = {inputs[0] + from, inputs[1] + from};
    float *out[2] = {outputs[0] + from, outputs[1] + from};
    effect->processReplacing(effect, in, out, (VstInt32)(to - from));
}

// [active ? audio-thread : main-thread] Never beside process; either list may be null.
void ClapPlugin::flush(const clap_input_events_t *in, const clap_output_events_t *out)
{
    if (active.load(std::memory_order_relaxed)) {
        ZEM_CLAP_AUDIO_THREAD(this, );
    } else {
        ZEM_CLAP_MAIN_THREAD(this, );
    }
    if (!effect)
        return;
    applyEvents(in);
    sendEdits(out);
}

void ClapPlugin::applyEvents(const clap_input_events_t *in)
{
    const uint32_t count = in && in->size && in->get ? in->size(in) : 0;
    for (uint32_t i = 0; i < count; ++i)
        if (const clap_event_header_t *event = in->get(in, i))
            applyEvent(event);
}

// A host's value of one of our parameters, in its unit, set through the effect's record as a
// VST 2.4 host's automation is. Should it move another parameter, the host is told to read the
// values again.
void ClapPlugin::applyEvent(const clap_event_header_t *event)
{
    if (event->space_id != CLAP_CORE_EVENT_SPACE_ID || event->type != CLAP_EVENT_PARAM_VALUE ||
        event->size < sizeof(clap_event_param_value_t))
        return;
    const clap_event_param_value_t *change = reinterpret_cast<const clap_event_param_value_t *>(event);
    const clap_id id = change->param_id;
    if (id >= kPlainParameterCount)
        return;
    float before[kPlainParameterCount];
    for (clap_id other = 0; other < kPlainParameterCount; ++other)
        before[other] = effectValue(other);
    effect->setParameter(effect, (VstInt32)id, normalisedValue(id, change->value));
    for (clap_id other = 0; other < kPlainParameterCount; ++other) {
        const float after = effectValue(other);
        if (other != id && std::memcmp(&before[other], &after, sizeof after) != 0) {
            requestRescan(CLAP_PARAM_RESCAN_VALUES);
            break;
        }
    }
}

// The queued edits of the editor as gesture begin / value / gesture end, at the block's start, as
// long as the host takes them.
void ClapPlugin::sendEdits(const clap_output_events_t *out)
{
    if (!out || !out->try_push)
        return;
    while (const ClapEdit *edit = edits.front()) {
        bool taken = false;
        if (edit->kind == ClapEdit::kValue) {
            clap_event_param_value_t event = {};
            event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, CLAP_EVENT_IS_LIVE};
            event.param_id = edit->index;
            event.cookie = nullptr;
            event.note_id = -1;
            event.port_index = -1;
            event.channel = -1;
            event.key = -1;
            event.value = plainValue(edit->index, edit->value);
            taken = out->try_push(out, &event.header);
        } else {
            clap_event_param_gesture_t event = {};
            const uint16_t type = edit->kind == ClapEdit::kBegin ? CLAP_EVENT_PARAM_GESTURE_BEGIN
                                                                 : CLAP_EVENT_PARAM_GESTURE_END;
            event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, type, CLAP_EVENT_IS_LIVE};
            event.param_id = edit->index;
            taken = out->try_push(out, &event.header);
        }
        if (!taken)
            return;  // the rest go out next time
        edits.pop();
    }
}

// ---- the effect's host ---------------------------------------------------------------------------

// What the effect asks of its host, on the thread it asks on: the editor's edits become events,
// the rest is answered from what the CLAP host told the instance.
VstIntPtr ClapPlugin::answerEffect(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt)
{
    switch (opcode) {
    case audioMasterAutomate:  // [main-thread] (the editor's)
        queueEdit(ClapEdit::kValue, index, opt);
        return 0;
    case audioMasterBeginEdit:
        queueEdit(ClapEdit::kBegin, index, 0.f);
        return 1;
    case audioMasterEndEdit:
        queueEdit(ClapEdit::kEnd, index, 0.f);
        return 1;
    case audioMasterPinConnected: {  // [audio-thread]: the second pin exists in the stereo layouts
        const ConfigLayout &layout = kConfigs[config.load(std::memory_order_relaxed)];
        const uint32_t channels = value == 0 ? layout.inputs : layout.outputs;
        return index >= 0 && (uint32_t)index < channels ? 0 : 1;  // 0 is "connected"
    }
    case audioMasterGetSampleRate:
        return (VstIntPtr)sampleRate.load(std::memory_order_relaxed);
    case audioMasterGetBlockSize:
        return (VstIntPtr)maxFrames.load(std::memory_order_relaxed);
    case audioMasterGetVendorString:
        if (ptr)
            copyText(static_cast<char *>(ptr), host && host->vendor ? host->vendor : "", kVstMaxVendorStrLen);
        return ptr ? 1 : 0;
    case audioMasterGetProductString:
        if (ptr)
            copyText(static_cast<char *>(ptr), host && host->name ? host->name : "", kVstMaxProductStrLen);
        return ptr ? 1 : 0;
    case audioMasterSizeWindow:  // [main-thread] (the editor's)
        if (!hostGui || index <= 0 || value <= 0)
            return 0;
        return hostGui->request_resize(host, (uint32_t)index, (uint32_t)value) ? 1 : 0;
    case audioMasterUpdateDisplay:
        requestRescan(CLAP_PARAM_RESCAN_VALUES | CLAP_PARAM_RESCAN_TEXT);
        return 1;
    case audioMasterCanDo: {
        const char *text = static_cast<const char *>(ptr);
        if (!text)
            return 0;
        if (std::strcmp(text, "sizeWindow") == 0)
            return hostGui ? 1 : 0;
        return 0;
    }
    default:
        // No transport (audioMasterGetTime), no latency figures, no vendor questions.
        return 0;
    }
}

void ClapPlugin::queueEdit(ClapEdit::Kind kind, VstInt32 index, float value)
{
    if (index < 0 || (uint32_t)index >= kPlainParameterCount)
        return;
    ZEM_CLAP_MAIN_THREAD(this, );
    edits.push({kind, (uint32_t)index, value});
    // Always, even while the host processes: asking only when it does not races with
    // stop_processing.
    if (hostParams)
        hostParams->request_flush(host);
    else if (host && host->request_process)
        host->request_process(host);
}

// ---- params --------------------------------------------------------------------------------------

// [main-thread]
bool ClapPlugin::parameterInfo(uint32_t index, clap_param_info_t *info)
{
    ZEM_CLAP_MAIN_THREAD(this, false);
    const PlainLaw *law = plainLaw(index);
    if (!law || !info || !effect)
        return false;
    std::memset(info, 0, sizeof *info);
    info->id = index;
    info->flags = CLAP_PARAM_IS_AUTOMATABLE;
    if (plainIsStepped(index))
        info->flags |= CLAP_PARAM_IS_STEPPED;
    if (plainIsEnumeration(index))
        info->flags |= CLAP_PARAM_IS_ENUM;
    info->cookie = nullptr;
    char name[kVstMaxLabelLen] = {};
    dispatch(effGetParamName, (VstInt32)index, 0, name);
    copyText(info->name, name, sizeof info->name);
    info->min_value = law->minimum;
    info->max_value = law->maximum;
    info->default_value = plainValue(index, initialValues[index]);
    return true;
}

// [main-thread]
bool ClapPlugin::parameterValue(clap_id id, double *value)
{
    ZEM_CLAP_MAIN_THREAD(this, false);
    if (id >= kPlainParameterCount || !value || !effect)
        return false;
    *value = plainValue(id, effectValue(id));
    return true;
}

// [main-thread] The VST 2.4 display text of the value, and its label when it is not blank.
bool ClapPlugin::valueToText(clap_id id, double value, char *text, uint32_t capacity)
{
    ZEM_CLAP_MAIN_THREAD(this, false);
    if (id >= kPlainParameterCount || !text || capacity == 0 || !templeteEffect)
        return false;
    copyText(text, plainValueText(*templeteEffect, id, value).c_str(), capacity);
    return true;
}

// [main-thread] What the editor's typed entries accept (the trim, the filter frequencies), and
// every display text.
bool ClapPlugin::textToValue(clap_id id, const char *text, double *value)
{
    ZEM_CLAP_MAIN_THREAD(this, false);
    return value && templeteEffect && plainValueFromText(*templeteEffect, id, text, *value);
}

// ---- state ---------------------------------------------------------------------------------------

// [main-thread] The 596-byte chunk image, as getChunk gives it.
bool ClapPlugin::saveState(const clap_ostream_t *stream)
{
    ZEM_CLAP_MAIN_THREAD(this, false);
    void *chunk = nullptr;
    const VstIntPtr size = dispatch(effGetChunk, 0, 0, &chunk);
    if (size <= 0 || !chunk)
        return false;
    return writeWhole(stream, chunk, (size_t)size);
}

// [main-thread] Applies what arrived as setChunk does (a short image as if padded with zeros, a
// long one by its first 596 bytes) and reports failure for anything but one whole image with its
// marker; an empty stream changes nothing. The host then reads the values again.
bool ClapPlugin::loadState(const clap_istream_t *stream)
{
    ZEM_CLAP_MAIN_THREAD(this, false);
    if (!effect)
        return false;
    unsigned char chunk[EffectChunk::kSize] = {};
    const StreamRead read = readUpTo(stream, chunk, sizeof chunk);
    if (read.bytes == 0)
        return false;
    dispatch(effSetChunk, 0, (VstIntPtr)read.bytes, chunk);
    if (hostParams)
        hostParams->rescan(host, CLAP_PARAM_RESCAN_VALUES);
    const bool marked = EffectChunk::readFloat(chunk, EffectChunk::kMarkerOffset) == EffectChunk::kMarker;
    return read.bytes == EffectChunk::kSize && !read.longer && !read.failed && marked;
}

// ---- audio ports -------------------------------------------------------------------------------

// [main-thread] One main port each way, named as the effect names its first pins, with the
// channels of the selected layout; the effect processes in place.
bool ClapPlugin::portInfo(uint32_t index, bool isInput, clap_audio_port_info_t *info)
{
    ZEM_CLAP_MAIN_THREAD(this, false);
    if (index != 0 || !info || !effect)
        return false;
    std::memset(info, 0, sizeof *info);
    VstPinProperties pin = {};
    dispatch(isInput ? effGetInputProperties : effGetOutputProperties, 0, 0, &pin);
    const ConfigLayout &layout = kConfigs[config.load(std::memory_order_relaxed)];
    info->id = 0;
    copyText(info->name, pin.label, sizeof info->name);
    info->flags = CLAP_AUDIO_PORT_IS_MAIN;
    info->channel_count = isInput ? layout.inputs : layout.outputs;
    info->port_type = portType(info->channel_count);
    info->in_place_pair = 0;
    return true;
}

// [main-thread]
bool ClapPlugin::configInfo(uint32_t index, clap_audio_ports_config_t *info)
{
    ZEM_CLAP_MAIN_THREAD(this, false);
    if (index >= kConfigCount || !info)
        return false;
    std::memset(info, 0, sizeof *info);
    const ConfigLayout &layout = kConfigs[index];
    info->id = index;
    copyText(info->name, layout.name, sizeof info->name);
    info->input_port_count = 1;
    info->output_port_count = 1;
    info->has_main_input = true;
    info->main_input_channel_count = layout.inputs;
    info->main_input_port_type = portType(layout.inputs);
    info->has_main_output = true;
    info->main_output_channel_count = layout.outputs;
    info->main_output_port_type = portType(layout.outputs);
    return true;
}

// [main-thread & !active] The layout as the effect's speaker arrangements.
bool ClapPlugin::selectConfig(clap_id id)
{
    ZEM_CLAP_MAIN_THREAD(this, false);
    if (id >= kConfigCount || active.load(std::memory_order_relaxed) || !effect)
        return false;
    VstSpeakerArrangement input = {};
    VstSpeakerArrangement output = {};
    input.numChannels = (VstInt32)kConfigs[id].inputs;
    input.type = input.numChannels == 1 ? kSpeakerArrMono : kSpeakerArrStereo;
    output.numChannels = (VstInt32)kConfigs[id].outputs;
    output.type = output.numChannels == 1 ? kSpeakerArrMono : kSpeakerArrStereo;
    if (dispatch(effSetSpeakerArrangement, 0, (VstIntPtr)&input, &output) == 0)
        return false;
    config.store(id, std::memory_order_relaxed);
    return true;
}
