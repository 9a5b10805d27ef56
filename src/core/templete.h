// The effect: one instance of the plug-in as the host sees it. It owns the three meter engines,
// the strip filter bank, the editor, the instance lock and the parameter state, answers the
// host's dispatcher queries and runs the audio path.
// Threads, tagged at each group below: dispatcher queries, suspend/resume, chunks [ui-thread] (the
// host's); processReplacing [audio-thread]; setParameter/getParameter [any-thread] (host,
// automation or editor).
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "core/editor_factory.h"
#include "params/parameter_table.h"
#include "platform/contract.h"
#include "platform/effect_lock.h"
#include "presets/preset_system_effect.h"

class MeterEngine;
class StripFilterBank;

// The meter type that the Meter parameter selects, by its state.

class Templete : public CPresetSystemEffect {
public:
    static constexpr VstInt32 kUniqueID = 0x50506D33;  // 'PPm3'
    static constexpr VstInt32 kChunkSize = 596;
    static constexpr int kStripLabelSize = 40;
    // What the effect answers for its name, its vendor and its version (3020 is 3.0.2).
    static constexpr const char *kProductName = "ZEM Ordwen";
    static constexpr const char *kVendorString = "www.velmora.com";
    static constexpr VstInt32 kVendorVersion = 3020;

    // makeEditor creates the editor during construction, at the point where it always has been.
    // [ui-thread] (the host's: the entry point and effClose)
    Templete(audioMasterCallback audioMaster, EditorFactory makeEditor);
    ~Templete() override;

    // [ui-thread] (the host's), possibly while a block runs: both change the running state under
    // the lock.
    void suspend() override;
    void resume() override;
    void processReplacing(float **inputs, float **outputs, VstInt32 sampleFrames) override;  // [audio-thread]

    // Parameter model. [any-thread]
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void getParameterLabel(VstInt32 index, char *label) override;
    void getParameterDisplay(VstInt32 index, char *text) override;
    // The display text parameter index would show at value (a normalised value, as stored);
    // getParameterDisplay is this for the stored value.
    void getParameterDisplayOf(VstInt32 index, float value, char *text);
    void getParameterName(VstInt32 index, char *text) override;
    bool canParameterBeAutomated(VstInt32 index) override;
    bool getParameterProperties(VstInt32 index, VstParameterProperties *properties) override;

    // The host chunk: a 596-byte image of little-endian floats. [ui-thread] (the host's); an
    // autosave thread may ask at the same time: each call builds its image apart and publishes
    // it whole.
    VstInt32 getChunk(void **data, bool isPreset = false) override;
    VstInt32 setChunk(void *data, VstInt32 byteSize, bool isPreset = false) override;

    // Host queries. [ui-thread] (the host's)
    bool getInputProperties(VstInt32 index, VstPinProperties *properties) override;
    bool getOutputProperties(VstInt32 index, VstPinProperties *properties) override;
    bool setSpeakerArrangement(VstSpeakerArrangement *pluginInput, VstSpeakerArrangement *pluginOutput) override;
    bool getSpeakerArrangement(VstSpeakerArrangement **pluginInput, VstSpeakerArrangement **pluginOutput) override;
    bool getEffectName(char *name) override;
    bool getVendorString(char *text) override;
    bool getProductString(char *text) override;
    VstInt32 getVendorVersion() override { return kVendorVersion; }
    VstInt32 canDo(char *text) override;
    VstPlugCategory getPlugCategory() override { return kPlugCategMastering; }
    VstInt32 getVstVersion() override { return kVstVersion; }
    // Answers the harness's kReadoutQuery (core/readout_query.h) and keeps the factor of a host's
    // scale announcement ('PreS' 'AeCs', vst/aeff_editor.h; answer 1; a factor that is not a
    // positive number is refused, answer 0).
    VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void *ptr, float opt) override;

    // For the editor and the strips. [ui-thread] unless tagged otherwise
    // Inline on purpose: the host harness of the same build reads the engines through it.
    MeterEngine *meterEngine(MeterType type) const
    {
        // The effect's own meter type is always one of the three: any other is the caller's fault.
        ZEM_CHECK((int)type >= 0 && (int)type < kMeterTypeCount, nullptr);
        return type == kMeterTypeVU    ? vuMeter
               : type == kMeterTypeRMS ? rmsMeter
               : type == kMeterTypePPM ? ppmMeter
                                       : nullptr;
    }
    MeterType selectedMeter() const { return (MeterType)meterType.load(std::memory_order_relaxed); }
    // A copy taken under the chunk mutex: a chunk may be loading on another thread.
    std::string stripLabelText() const;
    // Copies at most 39 characters; announce the change with setParameter(kLabelChanged, 0).
    void setStripLabel(const char *text);
    double getOutputLatencySeconds() const { return outputLatencySeconds; }
    // Time stamp of the last audio block and its duration, in seconds. [any-thread]
    double getLastBlockTime() const { return lastBlockTime.load(std::memory_order_relaxed); }
    double getBlockDuration() const { return blockDuration.load(std::memory_order_relaxed); }
    // The factor the host last announced, 0 before any. [any-thread] (the host may announce it
    // before the editor exists, from any thread)
    float getHostScaleFactor() const { return hostScaleFactor.load(std::memory_order_relaxed); }

protected:
    // The block routine behind processReplacing.
    void processBlock(float **inputs, float **outputs, VstInt32 sampleFrames);

private:
    void setDefaults();
    void refreshFilterBank(bool on);  // caller holds the lock
    static void setFilterValue(StripFilterBank &bank, VstInt32 index, float value);
    float effectiveSampleRate() const;
    void buildChunkImage(unsigned char *image);

    EffectLock lock;
    MeterEngine *rmsMeter = nullptr;
    MeterEngine *vuMeter = nullptr;
    MeterEngine *ppmMeter = nullptr;
    StripFilterBank *filterBank = nullptr;
    unsigned char *chunkBuffer = nullptr;   // kChunkSize bytes, written under chunkMutex
    char stripLabel[kStripLabelSize] = {};  // NUL-terminated, written under chunkMutex
    // Serialises the chunk calls' writes to chunkBuffer and stripLabel; never held by the audio
    // thread, never held while a parameter is set.
    mutable std::mutex chunkMutex;

    // By index: 0..16 the values as last set, 17..63 the spares (never changed), 72..81,
    // 83..91 and 93..100 mirrors of the meter settings; the other slots stay 0.
    std::atomic<float> values[kLastPPMSetting + 1];

    // Decoded forms that the audio routine reads.
    std::atomic<bool> processOn{false};
    std::atomic<bool> filtersOn{false};
    std::atomic<int> meterType{0};

    // Trim smoother: the current gain moves toward the target by coefficient per sample.
    std::atomic<float> targetGain{1.f};
    float currentGain = 1.f;  // audio thread, and suspend/resume
    float smoothingCoefficient = 0.0005f;

    // Set by the speaker arrangement (UI thread), read by every block.
    std::atomic<bool> useSecondInput{true};
    std::atomic<bool> useSecondOutput{true};
    double outputLatencySeconds = 0.0;  // host output latency / sample rate, set at resume
    float processingRate = 44100.f;     // the rate the smoother and the engines run at
    std::atomic<double> lastBlockTime{0.0};
    std::atomic<double> blockDuration{256.0};
    std::atomic<float> hostScaleFactor{0.f};
};
