#include "lv2/lv2_plugin.h"

#include <cmath>
#include <cstring>
#include <new>

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/options/options.h>

#include "core/effect_chunk.h"
#include "core/templete.h"
#include "lv2/lv2_uris.h"
#include "meters/meter_engine.h"
#include "params/plain_units.h"

namespace {

const void *feature(const LV2_Feature *const *features, const char *uri)
{
    for (const LV2_Feature *const *f = features; f && *f; ++f)
        if ((*f)->URI && std::strcmp((*f)->URI, uri) == 0)
            return (*f)->data;
    return nullptr;
}

// The largest block from the options feature, if the host gives it as an integer.
uint32_t optionMaxBlock(const LV2_Options_Option *options, LV2_URID_Map *map, uint32_t fallback)
{
    if (!options)
        return fallback;
    const LV2_URID maxKey = map->map(map->handle, LV2_BUF_SIZE__maxBlockLength);
    const LV2_URID intType = map->map(map->handle, LV2_ATOM__Int);
    for (const LV2_Options_Option *o = options; o->key || o->value; ++o)
        if (o->key == maxKey && o->type == intType && o->size == sizeof(int32_t) && o->value) {
            const int32_t frames = *static_cast<const int32_t *>(o->value);
            if (frames > 0)
                return (uint32_t)frames;
        }
    return fallback;
}

EffectMaker descriptorMaker = nullptr;

// ---- the C tables: each function finds its instance and ends any exception here ---------------

Lv2Plugin *self(LV2_Handle handle) { return static_cast<Lv2Plugin *>(handle); }

LV2_Handle instantiate(const LV2_Descriptor *, double rate, const char *, const LV2_Feature *const *features)
{
    try {
        return Lv2Plugin::create(rate, features, descriptorMaker);
    } catch (...) {
        return nullptr;
    }
}

void connectPort(LV2_Handle h, uint32_t port, void *data) { self(h)->connectPort(port, data); }

void activate(LV2_Handle h)
{
    try {
        self(h)->activate();
    } catch (...) {
    }
}

void run(LV2_Handle h, uint32_t frames)
{
    try {
        self(h)->run(frames);
    } catch (...) {
    }
}

void deactivate(LV2_Handle h)
{
    try {
        self(h)->deactivate();
    } catch (...) {
    }
}

void cleanup(LV2_Handle h)
{
    try {
        delete self(h);
    } catch (...) {
    }
}

LV2_State_Status save(LV2_Handle h, LV2_State_Store_Function store, LV2_State_Handle handle, uint32_t,
                      const LV2_Feature *const *)
{
    try {
        return self(h)->saveState(store, handle);
    } catch (...) {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

LV2_State_Status restore(LV2_Handle h, LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle, uint32_t,
                         const LV2_Feature *const *)
{
    try {
        return self(h)->restoreState(retrieve, handle);
    } catch (...) {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

const LV2_State_Interface kStateInterface = {save, restore};

const void *extensionData(const char *uri) { return Lv2Plugin::extensionData(uri); }

}  // namespace

const LV2_Descriptor *lv2PluginDescriptor(EffectMaker makeEffect)
{
    static const LV2_Descriptor descriptor = {ZEM_LV2_URI, instantiate, connectPort, activate,
                                              run,         deactivate,  cleanup,     extensionData};
    if (!descriptorMaker)
        descriptorMaker = makeEffect;
    return &descriptor;
}

const void *Lv2Plugin::extensionData(const char *uri)
{
    if (uri && std::strcmp(uri, LV2_STATE__interface) == 0)
        return &kStateInterface;
    return nullptr;
}

// ---- construction ------------------------------------------------------------------------------

Lv2Plugin *Lv2Plugin::create(double rate, const LV2_Feature *const *features, EffectMaker makeEffect)
{
    LV2_URID_Map *map = static_cast<LV2_URID_Map *>(const_cast<void *>(feature(features, LV2_URID__map)));
    if (!map || !map->map || !makeEffect || !(rate > 0.0) || !std::isfinite(rate))
        return nullptr;
    Lv2Plugin *plugin = new (std::nothrow) Lv2Plugin(rate, map);
    if (!plugin)
        return nullptr;
    plugin->maxBlockLength = optionMaxBlock(
        static_cast<const LV2_Options_Option *>(feature(features, LV2_OPTIONS__options)), map, plugin->maxBlockLength);
    if (!plugin->build(makeEffect)) {
        delete plugin;
        return nullptr;
    }
    return plugin;
}

Lv2Plugin::Lv2Plugin(double sampleRate, LV2_URID_Map *map) : sampleRate(sampleRate)
{
    chunkKey = map->map(map->handle, ZEM_LV2_CHUNK_KEY);
    chunkType = map->map(map->handle, LV2_ATOM__Chunk);
}

// The effect built and opened as a VST 2.4 host does it, at the host's rate and largest block.
bool Lv2Plugin::build(EffectMaker makeEffect)
{
    Templete *built = EffectHostCalls<Lv2Plugin>::build(this, makeEffect);
    if (!built)
        return false;
    templeteEffect = built;
    effect = built->getAeffect();
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, (float)sampleRate);
    dispatch(effSetBlockSize, 0, (VstIntPtr)(maxBlockLength > 0x7fffffffu ? 0x7fffffffu : maxBlockLength));
    for (uint32_t id = 0; id < kPlainParameterCount; ++id)
        lastSeen[id] = (float)plainValue(id, effect->getParameter(effect, (VstInt32)id));
    return true;
}

Lv2Plugin::~Lv2Plugin()
{
    if (effect)
        dispatch(effClose);  // closes the editor and deletes the effect
}

VstIntPtr Lv2Plugin::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt)
{
    return effect ? effect->dispatcher(effect, opcode, index, value, ptr, opt) : 0;
}

// ---- life cycle --------------------------------------------------------------------------------

void Lv2Plugin::activate() { dispatch(effMainsChanged, 0, 1); }

void Lv2Plugin::deactivate() { dispatch(effMainsChanged, 0, 0); }

void Lv2Plugin::connectPort(uint32_t port, void *data)
{
    if (port < Lv2Port::kCount)
        ports[port] = static_cast<float *>(data);
}

// ---- processing --------------------------------------------------------------------------------

void Lv2Plugin::run(uint32_t frames)
{
    if (!effect)
        return;
    applyControlInputs();
    float *inLeft = ports[Lv2Port::kInputLeft];
    float *outLeft = ports[Lv2Port::kOutputLeft];
    if (frames > 0 && inLeft && outLeft) {
        // A pin the host left unconnected is never read: the effect asks for each second pin
        // (audioMasterPinConnected) and uses the first in its place, as in the mono layouts.
        secondInput = ports[Lv2Port::kInputRight] != nullptr;
        secondOutput = ports[Lv2Port::kOutputRight] != nullptr;
        float *inputs[2] = {inLeft, secondInput ? ports[Lv2Port::kInputRight] : inLeft};
        float *outputs[2] = {outLeft, secondOutput ? ports[Lv2Port::kOutputRight] : outLeft};
        effect->processReplacing(effect, inputs, outputs, (VstInt32)(frames > 0x7fffffffu ? 0x7fffffffu : frames));
    }
    writeControlOutputs();
}

// Each control input that moved since it was last read goes to the effect through its record, as
// a VST 2.4 host's automation does, and only when the effect does not hold that value already.
// An input that did not move is left alone: the editor's own change, or a restored state,
// stands until the host really moves the port.
void Lv2Plugin::applyControlInputs()
{
    for (uint32_t id = 0; id < kPlainParameterCount; ++id) {
        const float *port = ports[Lv2Port::kFirstParameter + id];
        if (!port)
            continue;
        const float value = *port;
        if (std::memcmp(&value, &lastSeen[id], sizeof value) == 0)
            continue;
        lastSeen[id] = value;
        const float normalised = normalisedValue(id, value);
        if (normalised != effect->getParameter(effect, (VstInt32)id))
            effect->setParameter(effect, (VstInt32)id, normalised);
    }
}

// The selected meter's two needles at the block's end, as its panel reads them, and the over
// states without taking an over from the panel. [audio]
void Lv2Plugin::writeControlOutputs()
{
    MeterEngine *engine = templeteEffect->meterEngine(templeteEffect->selectedMeter());
    const float needle1 = engine ? (float)engine->readoutValue(kMeterLevel1, 1.0) : 0.f;
    const float needle2 = engine ? (float)engine->readoutValue(kMeterLevel2, 1.0) : 0.f;
    const float over1 = engine ? (float)engine->peekOverState(0) : -1.f;
    const float over2 = engine ? (float)engine->peekOverState(1) : -1.f;
    const uint32_t outs[4] = {Lv2Port::kNeedle1, Lv2Port::kNeedle2, Lv2Port::kOver1, Lv2Port::kOver2};
    const float values[4] = {needle1, needle2, over1, over2};
    for (int i = 0; i < 4; ++i)
        if (ports[outs[i]])
            *ports[outs[i]] = values[i];
}

// The connected inputs' present values count as read, so that only a later move reaches the
// effect.
void Lv2Plugin::adoptControlInputs()
{
    for (uint32_t id = 0; id < kPlainParameterCount; ++id)
        if (const float *port = ports[Lv2Port::kFirstParameter + id])
            lastSeen[id] = *port;
}

// ---- state ---------------------------------------------------------------------------------------

// The 596-byte chunk image, as getChunk gives it, under our own key as an atom:Chunk: it holds
// what the ports do not (the label, the meter settings, the scope) and the parameters too.
LV2_State_Status Lv2Plugin::saveState(LV2_State_Store_Function store, LV2_State_Handle handle)
{
    if (!store || !effect)
        return LV2_STATE_ERR_UNKNOWN;
    void *chunk = nullptr;
    const VstIntPtr size = dispatch(effGetChunk, 0, 0, &chunk);
    if (size <= 0 || !chunk)
        return LV2_STATE_ERR_UNKNOWN;
    return store(handle, chunkKey, chunk, (size_t)size, chunkType, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

// Applies the image as setChunk does; a missing property, one of another type or one without the
// image's marker changes nothing: the effect keeps its values (the defaults, on a new instance). Whatever the host did to the ports
// before this call counts as read: a host restores its port values either before or after the
// state, and the values it set before must not undo the state at the next block, while a port it
// moves afterwards still reaches the effect.
LV2_State_Status Lv2Plugin::restoreState(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle)
{
    if (!retrieve || !effect)
        return LV2_STATE_ERR_UNKNOWN;
    size_t size = 0;
    uint32_t type = 0;
    uint32_t flags = 0;
    const void *data = retrieve(handle, chunkKey, &size, &type, &flags);
    if (!data)
        return LV2_STATE_ERR_NO_PROPERTY;
    if (type != chunkType)
        return LV2_STATE_ERR_BAD_TYPE;
    // A short image counts as padded with zeros and a long one by its first 596 bytes, as
    // setChunk reads them; one without the marker is not an image of ours and changes nothing.
    unsigned char chunk[EffectChunk::kSize] = {};
    const size_t used = size < sizeof chunk ? size : sizeof chunk;
    std::memcpy(chunk, data, used);
    if (used < EffectChunk::kMarkerOffset + 4 ||
        EffectChunk::readFloat(chunk, EffectChunk::kMarkerOffset) != EffectChunk::kMarker)
        return LV2_STATE_ERR_UNKNOWN;
    dispatch(effSetChunk, 0, (VstIntPtr)used, chunk);
    adoptControlInputs();
    return LV2_STATE_SUCCESS;
}

// ---- the effect's host ---------------------------------------------------------------------------

// What the effect asks of its host, on the thread it asks on: the editor's edits go to the LV2
// editor when one is open, the rest is answered from what the LV2 host told the instance.
VstIntPtr Lv2Plugin::answerEffect(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *, float opt)
{
    Lv2EditorLink *link = editorLink.load(std::memory_order_acquire);
    const bool hostParameter = index >= 0 && (uint32_t)index < kPlainParameterCount;
    switch (opcode) {
    case audioMasterAutomate:
        if (link && hostParameter)
            link->valueEdit((uint32_t)index, opt);
        return 0;
    case audioMasterBeginEdit:
        if (link && hostParameter)
            link->beginEdit((uint32_t)index);
        return 1;
    case audioMasterEndEdit:
        if (link && hostParameter)
            link->endEdit((uint32_t)index);
        return 1;
    case audioMasterPinConnected:  // [audio]: 0 is "connected"
        if (index == 0)
            return 0;
        return index == 1 && (value == 0 ? secondInput : secondOutput) ? 0 : 1;
    case audioMasterGetSampleRate:
        return (VstIntPtr)sampleRate;
    case audioMasterGetBlockSize:
        return (VstIntPtr)maxBlockLength;
    case audioMasterSizeWindow:
        return link && index > 0 && value > 0 && link->resizeEditor(index, (int)value) ? 1 : 0;
    case audioMasterCanDo:
        return 0;
    default:
        // No transport (audioMasterGetTime), no latency figures, no vendor questions.
        return 0;
    }
}
