#include "plugin_host.h"

#include <algorithm>
#include <cstring>

#include "ui/offscreen_parent.h"

namespace {
// The host being asked while an effect is built: the record's user field is not set yet.
thread_local PluginHost *constructingHost = nullptr;
constexpr int kOpcodeCount = 64;
}  // namespace

PluginHost::PluginHost(const std::string &path, LibraryUnload unload)
    : library(path, unload), queryCounts(kOpcodeCount, 0)
{
}

PluginHost::~PluginHost() = default;

AEffect *PluginHost::createEffect()
{
    if (!loaded())
        return nullptr;
    constructingHost = this;
    AEffect *effect = library.entry()(callback);
    constructingHost = nullptr;
    if (effect)
        effect->user = this;
    return effect;
}

VstIntPtr VSTCALLBACK PluginHost::callback(AEffect *effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr,
                                           float opt)
{
    PluginHost *host = effect && effect->user ? static_cast<PluginHost *>(effect->user) : constructingHost;
    return host ? host->answer(effect, opcode, index, value, ptr, opt) : 0;
}

void PluginHost::vouchForParent(void *parent)
{
    std::lock_guard<std::mutex> hold(eventsMutex);
    ownParents.push_back(parent);
}

void PluginHost::withdrawParent(void *parent)
{
    std::lock_guard<std::mutex> hold(eventsMutex);
    ownParents.erase(std::remove(ownParents.begin(), ownParents.end(), parent), ownParents.end());
}

uint32_t PluginHost::parentCookie() const
{
    std::lock_guard<std::mutex> hold(eventsMutex);
    return lastParentCookie;
}

VstIntPtr PluginHost::answer(AEffect *effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt)
{
    {
        std::lock_guard<std::mutex> hold(eventsMutex);
        if (opcode >= 0 && opcode < kOpcodeCount)
            ++queryCounts[(size_t)opcode];
        if (opcode == audioMasterAutomate || opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit ||
            opcode == audioMasterSizeWindow)
            recorded.push_back(HostEvent{effect, opcode, index, value, opt});
    }
    switch (opcode) {
    case audioMasterVersion:
        return versionAnswer;
    case audioMasterPinConnected:
        return pinConnectedAnswer;
    case audioMasterGetOutputLatency:
        return outputLatency;
    case audioMasterSizeWindow:
        return 1;
    case audioMasterVendorSpecific: {
        // The editor asks whether this program created the parent it was given.
        std::lock_guard<std::mutex> hold(eventsMutex);
        if (index != kHostParentQuery || std::find(ownParents.begin(), ownParents.end(), ptr) == ownParents.end())
            return 0;
        lastParentCookie = (uint32_t)value;
        return kHostParentAnswer;
    }
    default:
        return 0;
    }
}

std::vector<HostEvent> PluginHost::events() const
{
    std::lock_guard<std::mutex> hold(eventsMutex);
    return recorded;
}

void PluginHost::clearEvents()
{
    std::lock_guard<std::mutex> hold(eventsMutex);
    recorded.clear();
    std::fill(queryCounts.begin(), queryCounts.end(), 0);
}

int PluginHost::queries(VstInt32 opcode) const
{
    std::lock_guard<std::mutex> hold(eventsMutex);
    return opcode >= 0 && opcode < kOpcodeCount ? queryCounts[(size_t)opcode] : 0;
}

// ---------------------------------------------------------------------------------------------

PluginInstance::PluginInstance(PluginHost &host) : effect(host.createEffect())
{
    if (effect)
        dispatch(effOpen);
}

PluginInstance::~PluginInstance()
{
    if (effect)
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.f);
}

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt)
{
    return effect ? effect->dispatcher(effect, opcode, index, value, ptr, opt) : 0;
}

std::string PluginInstance::text(VstInt32 opcode, VstInt32 index, VstIntPtr value)
{
    char buffer[256];
    std::memset(buffer, 0, sizeof(buffer));
    dispatch(opcode, index, value, buffer);
    buffer[sizeof(buffer) - 1] = 0;
    return buffer;
}

float PluginInstance::getParameter(VstInt32 index) { return effect ? effect->getParameter(effect, index) : 0.f; }

void PluginInstance::setParameter(VstInt32 index, float value)
{
    if (effect)
        effect->setParameter(effect, index, value);
}

void PluginInstance::start(float sampleRate, VstInt32 blockSize)
{
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
    dispatch(effMainsChanged, 0, 1);
}

void PluginInstance::stop() { dispatch(effMainsChanged, 0, 0); }

void PluginInstance::processReplacing(float **inputs, float **outputs, VstInt32 frames)
{
    if (effect)
        effect->processReplacing(effect, inputs, outputs, frames);
}

std::vector<unsigned char> PluginInstance::getChunk()
{
    void *data = nullptr;
    VstIntPtr size = dispatch(effGetChunk, 0, 0, &data);
    if (!data || size <= 0)
        return {};
    const unsigned char *bytes = static_cast<const unsigned char *>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

VstIntPtr PluginInstance::setChunk(const std::vector<unsigned char> &bytes)
{
    std::vector<unsigned char> copy(bytes);
    return dispatch(effSetChunk, 0, (VstIntPtr)copy.size(), copy.empty() ? nullptr : copy.data());
}
