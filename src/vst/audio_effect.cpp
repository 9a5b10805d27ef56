#include "audio_effect.h"

#include "platform/contract.h"

#include <cstdio>
#include <cstring>

namespace {

// A host may hand back a null record or one without an object: that is answered neutrally. A
// record whose object is an effect holding another record is this layer's own fault.
AudioEffect *objectOf(AEffect *e)
{
    AudioEffect *ae = e ? static_cast<AudioEffect *>(e->object) : nullptr;
    if (!ae)
        return nullptr;
    ZEM_CHECK(ae->getAeffect() == e, nullptr);
    return ae;
}

// The host knows the indices 0..count - 1 that the record announces. Commands and settings above
// them are the plug-in's own: audioMasterAutomate, BeginEdit or EndEdit of one of them would name
// a parameter the host does not have.
bool knownToHost(VstInt32 index, VstInt32 count) { return index >= 0 && index < count; }

// Opcodes whose pointer argument the layer reads or writes; a null pointer answers 0 for them.
bool needsPointer(VstInt32 opcode)
{
    switch (opcode) {
    case effSetProgramName:
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effEditGetRect:
    case effGetChunk:
    case effSetChunk:
    case effGetProgramNameIndexed:
    case effGetInputProperties:
    case effGetOutputProperties:
    case effGetEffectName:
    case effGetVendorString:
    case effGetProductString:
    case effCanDo:
    case effGetParameterProperties:
    case effGetSpeakerArrangement:
        return true;
    default:
        return false;
    }
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams)
{
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffectClass;
    cEffect.process = processClass;
    cEffect.setParameter = setParameterClass;
    cEffect.getParameter = getParameterClass;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.ioRatio = 1.f;
    cEffect.object = this;
    cEffect.uniqueID = vstFourCC('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processClassReplacing;
    cEffect.processDoubleReplacing = processClassDoubleReplacing;
    canProcessReplacing(true);
}

AudioEffect::~AudioEffect() { delete editor; }

void AudioEffect::setFlag(VstInt32 flag, bool state)
{
    if (state)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

void AudioEffect::setEditor(AEffEditor *newEditor)
{
    editor = newEditor;
    setFlag(effFlagsHasEditor, editor != nullptr && editor->showsInHostWindows());
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt)
{
    return audioMaster ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

VstInt32 AudioEffect::getMasterVersion()
{
    VstInt32 version = (VstInt32)callHost(audioMasterVersion);
    return version == 0 ? 1 : version;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value)
{
    setParameter(index, value);
    if (knownToHost(index, numParams))
        callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::process(float **, float **, VstInt32) {}
void AudioEffect::processDoubleReplacing(double **, double **, VstInt32) {}
void AudioEffect::getParameterLabel(VstInt32, char *label) { label[0] = 0; }
void AudioEffect::getParameterDisplay(VstInt32, char *text) { text[0] = 0; }
void AudioEffect::getParameterName(VstInt32, char *text) { text[0] = 0; }
VstInt32 AudioEffect::getChunk(void **, bool) { return 0; }
VstInt32 AudioEffect::setChunk(void *, VstInt32, bool) { return 0; }

VstInt32 AudioEffect::dB2string(float value, char *text, VstInt32 maxLen)
{
    if (!text || maxLen <= 0)
        return 0;
    std::snprintf(text, (size_t)maxLen, "%.1f", value);
    return 1;
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt)
{
    if (needsPointer(opcode) && !ptr)
        return 0;
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 1;
    case effSetProgram:
        if (value >= 0 && value < numPrograms)
            setProgram((VstInt32)value);
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        setProgramName(static_cast<char *>(ptr));
        return 0;
    case effGetProgramName:
        getProgramName(static_cast<char *>(ptr));
        return 0;
    case effGetParamLabel:
        getParameterLabel(index, static_cast<char *>(ptr));
        return 0;
    case effGetParamDisplay:
        getParameterDisplay(index, static_cast<char *>(ptr));
        return 0;
    case effGetParamName:
        getParameterName(index, static_cast<char *>(ptr));
        return 0;
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize((VstInt32)value);
        return 0;
    case effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        return 0;
    case effEditGetRect:
        return editor && editor->getRect(static_cast<ERect **>(ptr)) ? 1 : 0;
    case effEditOpen:
        return editor && editor->open(ptr) ? 1 : 0;
    case effEditClose:
        if (editor)
            editor->close();
        return 0;
    case effEditIdle:
        if (editor)
            editor->idle();
        return 0;
    case effIdentify:
        return kEffectIdentifyAnswer;
    case effGetChunk:
        return getChunk(static_cast<void **>(ptr), index != 0);
    case effSetChunk:
        if (value < 0 || value > 0x7fffffff)
            return 0;
        return setChunk(ptr, (VstInt32)value, index != 0);
    default:
        return 0;
    }
}

VstIntPtr VSTCALLBACK AudioEffect::dispatchEffectClass(AEffect *e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                                       void *ptr, float opt)
{
    AudioEffect *ae = objectOf(e);
    if (!ae)
        return 0;
    if (opcode == effClose) {
        // The instance ends even when its close hook throws.
        try {
            ae->dispatcher(opcode, index, value, ptr, opt);
        } catch (...) {
        }
        delete ae;
        return 1;
    }
    try {
        return ae->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        return 0;  // no exception may cross into the host
    }
}

// No exception may cross into the host: every trampoline ends one here and answers neutrally.
float VSTCALLBACK AudioEffect::getParameterClass(AEffect *e, VstInt32 index)
{
    try {
        AudioEffect *ae = objectOf(e);
        return ae ? ae->getParameter(index) : 0.f;
    } catch (...) {
        return 0.f;
    }
}

void VSTCALLBACK AudioEffect::setParameterClass(AEffect *e, VstInt32 index, float value)
{
    try {
        if (AudioEffect *ae = objectOf(e))
            ae->setParameter(index, value);
    } catch (...) {
    }
}

void VSTCALLBACK AudioEffect::processClass(AEffect *e, float **inputs, float **outputs, VstInt32 sampleFrames)
{
    try {
        if (AudioEffect *ae = objectOf(e))
            ae->process(inputs, outputs, sampleFrames);
    } catch (...) {
    }
}

void VSTCALLBACK AudioEffect::processClassReplacing(AEffect *e, float **inputs, float **outputs, VstInt32 sampleFrames)
{
    try {
        AudioEffect *ae = objectOf(e);
        if (ae && inputs && outputs && sampleFrames > 0)
            ae->processReplacing(inputs, outputs, sampleFrames);
    } catch (...) {
    }
}

void VSTCALLBACK AudioEffect::processClassDoubleReplacing(AEffect *e, double **inputs, double **outputs,
                                                          VstInt32 sampleFrames)
{
    try {
        if (AudioEffect *ae = objectOf(e))
            ae->processDoubleReplacing(inputs, outputs, sampleFrames);
    } catch (...) {
    }
}

// ---------------------------------------------------------------------------------------------

AudioEffectX::AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : AudioEffect(audioMaster, numPrograms, numParams), editDepths(numParams > 0 ? (size_t)numParams : 0u, 0)
{
}

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt)
{
    if (needsPointer(opcode) && !ptr)
        return 0;
    switch (opcode) {
    case effCanBeAutomated:
        return canParameterBeAutomated(index) ? 1 : 0;
    case effGetProgramNameIndexed:
        return getProgramNameIndexed((VstInt32)value, index, static_cast<char *>(ptr)) ? 1 : 0;
    case effGetInputProperties:
        return getInputProperties(index, static_cast<VstPinProperties *>(ptr)) ? 1 : 0;
    case effGetOutputProperties:
        return getOutputProperties(index, static_cast<VstPinProperties *>(ptr)) ? 1 : 0;
    case effGetPlugCategory:
        return getPlugCategory();
    case effSetSpeakerArrangement:
        return setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement *>(value),
                                     static_cast<VstSpeakerArrangement *>(ptr))
                   ? 1
                   : 0;
    case effGetSpeakerArrangement:
        return getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement **>(value),
                                     static_cast<VstSpeakerArrangement **>(ptr))
                   ? 1
                   : 0;
    case effSetBypass:
        return setBypass(value != 0) ? 1 : 0;
    case effGetEffectName:
        return getEffectName(static_cast<char *>(ptr)) ? 1 : 0;
    case effGetVendorString:
        return getVendorString(static_cast<char *>(ptr)) ? 1 : 0;
    case effGetProductString:
        return getProductString(static_cast<char *>(ptr)) ? 1 : 0;
    case effGetVendorVersion:
        return getVendorVersion();
    case effCanDo:
        return canDo(static_cast<char *>(ptr));
    case effGetTailSize:
        return getGetTailSize();
    case effGetParameterProperties:
        return getParameterProperties(index, static_cast<VstParameterProperties *>(ptr)) ? 1 : 0;
    case effVendorSpecific:
        return vendorSpecific(index, value, ptr, opt);
    case effGetVstVersion:
        return getVstVersion();
    case effSetBlockSizeAndSampleRate:
        setBlockSize((VstInt32)value);
        setSampleRate(opt);
        return 0;
    case effGetNumProgramCategories:
        return getNumCategories();
    case effEditKeyDown:
    case effEditKeyUp:
        if (editor) {
            VstKeyCode key{};
            key.character = index;
            key.virt = (unsigned char)value;
            key.modifier = (opt >= 0.f && opt < 256.f) ? (unsigned char)opt : 0;
            bool used = opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key);
            return used ? 1 : 0;
        }
        return 0;
    case effSetEditKnobMode:
        return editor && editor->setKnobMode((VstInt32)value) ? 1 : 0;
    default:
        return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

bool AudioEffectX::getParameterProperties(VstInt32, VstParameterProperties *) { return false; }
bool AudioEffectX::getProgramNameIndexed(VstInt32, VstInt32, char *) { return false; }
bool AudioEffectX::getInputProperties(VstInt32, VstPinProperties *) { return false; }
bool AudioEffectX::getOutputProperties(VstInt32, VstPinProperties *) { return false; }
bool AudioEffectX::setSpeakerArrangement(VstSpeakerArrangement *, VstSpeakerArrangement *) { return false; }
bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement **, VstSpeakerArrangement **) { return false; }
bool AudioEffectX::setBypass(bool) { return false; }
bool AudioEffectX::getEffectName(char *) { return false; }
bool AudioEffectX::getVendorString(char *) { return false; }
bool AudioEffectX::getProductString(char *) { return false; }
VstInt32 AudioEffectX::canDo(char *) { return 0; }
VstPlugCategory AudioEffectX::getPlugCategory()
{
    return (cEffect.flags & effFlagsIsSynth) ? kPlugCategSynth : kPlugCategUnknown;
}

bool AudioEffectX::beginEdit(VstInt32 index)
{
    if (!knownToHost(index, numParams))
        return false;
    if (editDepths[(size_t)index]++ > 0)
        return true;  // the host already has this parameter's edit open
    return callHost(audioMasterBeginEdit, index) != 0;
}
bool AudioEffectX::endEdit(VstInt32 index)
{
    if (!knownToHost(index, numParams))
        return false;
    int &depth = editDepths[(size_t)index];
    ZEM_CHECK(depth > 0, false);  // no begin to end: the host never hears it
    if (--depth > 0)
        return true;  // an outer edit of this parameter is still open
    return callHost(audioMasterEndEdit, index) != 0;
}
bool AudioEffectX::isInputConnected(VstInt32 input) { return callHost(audioMasterPinConnected, input, 0) == 0; }
bool AudioEffectX::isOutputConnected(VstInt32 output) { return callHost(audioMasterPinConnected, output, 1) == 0; }
VstInt32 AudioEffectX::getOutputLatency() { return (VstInt32)callHost(audioMasterGetOutputLatency); }
bool AudioEffectX::sizeWindow(VstInt32 width, VstInt32 height)
{
    return callHost(audioMasterSizeWindow, width, height) != 0;
}
bool AudioEffectX::updateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }
VstIntPtr AudioEffectX::hostVendorSpecific(VstInt32 index, VstIntPtr value, void *ptr, float opt)
{
    return callHost(audioMasterVendorSpecific, index, value, ptr, opt);
}
