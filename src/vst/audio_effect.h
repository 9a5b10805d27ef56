// The VST 2.4 class layer: AudioEffect owns the effect record and turns dispatcher calls into
// virtual operations; AudioEffectX adds the 2.x opcodes. Threads, tagged at each group below:
// the dispatcher and its hooks [ui-thread] (the host's), except the parameter texts a host may ask
// for from any thread and effSetBypass, which may come on the audio thread; the process calls
// [audio-thread]; the parameter values [any-thread].
// No exception leaves a trampoline: each one ends it and answers neutrally (0).
#pragma once

#include "aeff_editor.h"
#include "aeffect.h"

#include <vector>

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);  // [ui-thread]
    virtual ~AudioEffect();                                                                  // [ui-thread]
    AudioEffect(const AudioEffect &) = delete;
    AudioEffect &operator=(const AudioEffect &) = delete;

    // [ui-thread]; effGetParamLabel, effGetParamDisplay and effGetParamName [any-thread];
    // effSetBypass also [audio-thread]
    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt);

    // The life cycle and the stream format. [ui-thread]
    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}

    virtual void setSampleRate(float sampleRate) { this->sampleRate = sampleRate; }
    virtual void setBlockSize(VstInt32 blockSize) { this->blockSize = blockSize; }

    // The audio. [audio-thread]
    virtual void process(float **inputs, float **outputs, VstInt32 sampleFrames);
    virtual void processReplacing(float **inputs, float **outputs, VstInt32 sampleFrames) = 0;
    virtual void processDoubleReplacing(double **inputs, double **outputs, VstInt32 sampleFrames);

    // The parameter values. [any-thread]
    virtual void setParameter(VstInt32 index, float value)
    {
        (void)index;
        (void)value;
    }
    virtual float getParameter(VstInt32 index)
    {
        (void)index;
        return 0;
    }
    virtual void setParameterAutomated(VstInt32 index, float value);

    // Programs [ui-thread]; the parameter texts [any-thread]; chunks [ui-thread] (an autosave
    // thread of the host may ask for one at the same time).
    virtual VstInt32 getProgram() { return curProgram; }
    virtual void setProgram(VstInt32 program) { curProgram = program; }
    virtual void setProgramName(char *name) { (void)name; }
    virtual void getProgramName(char *name) { name[0] = 0; }
    virtual void getParameterLabel(VstInt32 index, char *label);
    virtual void getParameterDisplay(VstInt32 index, char *text);
    virtual void getParameterName(VstInt32 index, char *text);
    virtual VstInt32 getChunk(void **data, bool isPreset = false);
    virtual VstInt32 setChunk(void *data, VstInt32 byteSize, bool isPreset = false);

    // Record setters: they change fields of the effect record only. [ui-thread]
    virtual void setUniqueID(VstInt32 iD) { cEffect.uniqueID = iD; }
    virtual void setNumInputs(VstInt32 inputs) { cEffect.numInputs = inputs; }
    virtual void setNumOutputs(VstInt32 outputs) { cEffect.numOutputs = outputs; }
    virtual void setInitialDelay(VstInt32 delay) { cEffect.initialDelay = delay; }
    virtual void canProcessReplacing(bool state = true) { setFlag(effFlagsCanReplacing, state); }
    virtual void canDoubleReplacing(bool state = true) { setFlag(effFlagsCanDoubleReplacing, state); }
    virtual void programsAreChunks(bool state = true) { setFlag(effFlagsProgramChunks, state); }
    // Announces the editor (has-editor flag) when it exists and can show in a host's window.
    virtual void setEditor(AEffEditor *newEditor);

    // [any-thread]: plain reads; getMasterVersion asks the host.
    virtual float getSampleRate() { return sampleRate; }
    virtual VstInt32 getBlockSize() { return blockSize; }
    virtual AEffect *getAeffect() { return &cEffect; }
    virtual AEffEditor *getEditor() { return editor; }
    virtual VstInt32 getMasterVersion();
    virtual VstInt32 dB2string(float value, char *text, VstInt32 maxLen);

    // Trampolines from the record's C function pointers to this object, on the thread of the
    // call they carry (above).
    static VstIntPtr VSTCALLBACK dispatchEffectClass(AEffect *e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                                     void *ptr, float opt);
    static float VSTCALLBACK getParameterClass(AEffect *e, VstInt32 index);
    static void VSTCALLBACK setParameterClass(AEffect *e, VstInt32 index, float value);
    static void VSTCALLBACK processClass(AEffect *e, float **inputs, float **outputs, VstInt32 sampleFrames);
    static void VSTCALLBACK processClassReplacing(AEffect *e, float **inputs, float **outputs, VstInt32 sampleFrames);
    static void VSTCALLBACK processClassDoubleReplacing(AEffect *e, double **inputs, double **outputs,
                                                        VstInt32 sampleFrames);

protected:
    void setFlag(VstInt32 flag, bool state);
    VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void *ptr = nullptr, float opt = 0.f);

    float sampleRate = 44100.f;
    AEffEditor *editor = nullptr;
    audioMasterCallback audioMaster;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 curProgram = 0;
    VstInt32 blockSize = 1024;
    AEffect cEffect;
};

class AudioEffectX : public AudioEffect {
public:
    AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);

    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt) override;

    // The 2.x hooks of the dispatcher: [ui-thread], but canParameterBeAutomated and
    // getParameterProperties [any-thread] with the other parameter texts, and setBypass, which
    // may come on the audio thread.
    virtual bool canParameterBeAutomated(VstInt32 index)
    {
        (void)index;
        return true;
    }
    virtual bool getParameterProperties(VstInt32 index, VstParameterProperties *p);
    virtual bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char *text);
    virtual bool getInputProperties(VstInt32 index, VstPinProperties *properties);
    virtual bool getOutputProperties(VstInt32 index, VstPinProperties *properties);
    virtual bool setSpeakerArrangement(VstSpeakerArrangement *pluginInput, VstSpeakerArrangement *pluginOutput);
    virtual bool getSpeakerArrangement(VstSpeakerArrangement **pluginInput, VstSpeakerArrangement **pluginOutput);
    virtual bool setBypass(bool onOff);
    virtual bool getEffectName(char *name);
    virtual bool getVendorString(char *text);
    virtual bool getProductString(char *text);
    virtual VstInt32 getVendorVersion() { return 0; }
    virtual VstInt32 canDo(char *text);
    virtual VstPlugCategory getPlugCategory();
    virtual VstInt32 getVstVersion() { return kVstVersion; }
    virtual VstInt32 getGetTailSize() { return 0; }
    virtual VstInt32 getNumCategories() { return 1; }
    // effVendorSpecific: the plug-in's answer, 0 when it does not know the question.
    virtual VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void *ptr, float opt)
    {
        (void)index, (void)value, (void)ptr, (void)opt;
        return 0;
    }

    // Host helpers; each does nothing without a host callback. [ui-thread] unless tagged otherwise
    // Edits nest: the host hears beginEdit on the outermost begin of a parameter and endEdit on
    // the matching outermost end; an end without a begin is dropped. [ui-thread]
    virtual bool beginEdit(VstInt32 index);
    virtual bool endEdit(VstInt32 index);
    virtual bool isInputConnected(VstInt32 input);  // [any-thread]: the audio thread asks every block
    virtual bool isOutputConnected(VstInt32 output);
    virtual VstInt32 getOutputLatency();  // [ui-thread] (at resume)
    virtual bool sizeWindow(VstInt32 width, VstInt32 height);
    virtual bool updateDisplay();
    // audioMasterVendorSpecific: the host's answer, 0 when it does not know the question.
    virtual VstIntPtr hostVendorSpecific(VstInt32 index, VstIntPtr value, void *ptr, float opt);

private:
    std::vector<int> editDepths;  // open edits per host parameter, touched on the UI thread only
};

// Supplied by the plug-in: builds one effect instance for a host, or answers null.
AudioEffect *createEffectInstance(audioMasterCallback audioMaster);
