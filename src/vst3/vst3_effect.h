// The VST 3 effect: one object that is both the component (processor) and the edit controller,
// as hosts handle without a connection between two objects. It drives the effect the VST 2.4
// entry builds, through its effect record, and adds only translation: initialize builds and opens
// the effect, setupProcessing gives it the rate and the largest block, setActive resumes and
// suspends it, process runs it in pieces between the host's parameter points, the state is its
// 596-byte chunk image, and the effect's host calls are answered here (the editor's edits go to
// the host's component handler). The 17 host parameters have ids 0..16 and the effect's own
// normalised values; their plain values and texts come from params/plain_units and
// core/plain_text.
//
// Threads: every method on the host's UI thread, except setProcessing (UI or processing thread)
// and process (the processing thread). References are counted atomically.
#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "core/effect_host_calls.h"
#include "vst/aeffect.h"
#include "vst3/vst3_interface.h"
#include "vst3/vst3_readout.h"

class Templete;

class Vst3ViewSlot;

// What the effect's editor asks of the view that holds it (vst3/vst3_view.*). [ui-thread]
class Vst3EditorLink {
public:
    // The editor asks for a new size of its window; true when the host's frame resized it.
    virtual bool resizeEditor(int width, int height) = 0;

protected:
    ~Vst3EditorLink() = default;
};

// The three layouts of the effect's speaker arrangements, as the VST 2.4 configurations.
enum class Vst3Layout { kStereo, kMono, kMonoToStereo };

class Vst3Effect : public vst3::IComponent,
                   public vst3::IAudioProcessor,
                   public vst3::IEditController,
                   public vst3::IZemReadout,
                   public vst3::IProcessContextRequirements {
public:
    // No host call here: the effect comes in initialize. The object starts with one reference.
    explicit Vst3Effect(EffectMaker makeEffect);
    virtual ~Vst3Effect();
    Vst3Effect(const Vst3Effect &) = delete;
    Vst3Effect &operator=(const Vst3Effect &) = delete;

    // FUnknown [any-thread]
    vst3::tresult VST3_API queryInterface(const vst3::TUID interfaceId, void **obj) override;
    uint32_t VST3_API addRef() override;
    uint32_t VST3_API release() override;

    // IPluginBase (both the component's and the controller's)
    vst3::tresult VST3_API initialize(vst3::FUnknown *context) override;
    vst3::tresult VST3_API terminate() override;

    // IComponent
    vst3::tresult VST3_API getControllerClassId(vst3::TUID classId) override;
    vst3::tresult VST3_API setIoMode(vst3::IoMode mode) override;
    int32_t VST3_API getBusCount(vst3::MediaType type, vst3::BusDirection dir) override;
    vst3::tresult VST3_API getBusInfo(vst3::MediaType type, vst3::BusDirection dir, int32_t index,
                                      vst3::BusInfo &bus) override;
    vst3::tresult VST3_API getRoutingInfo(vst3::RoutingInfo &inInfo, vst3::RoutingInfo &outInfo) override;
    vst3::tresult VST3_API activateBus(vst3::MediaType type, vst3::BusDirection dir, int32_t index,
                                       vst3::TBool state) override;
    vst3::tresult VST3_API setActive(vst3::TBool state) override;
    // Also the controller's: one function fills both slots, and reads the same image each time.
    vst3::tresult VST3_API setState(vst3::IBStream *state) override;
    vst3::tresult VST3_API getState(vst3::IBStream *state) override;

    // IAudioProcessor
    vst3::tresult VST3_API setBusArrangements(vst3::SpeakerArrangement *inputs, int32_t numIns,
                                              vst3::SpeakerArrangement *outputs, int32_t numOuts) override;
    vst3::tresult VST3_API getBusArrangement(vst3::BusDirection dir, int32_t index,
                                             vst3::SpeakerArrangement &arr) override;
    vst3::tresult VST3_API canProcessSampleSize(int32_t symbolicSampleSize) override;
    uint32_t VST3_API getLatencySamples() override;
    vst3::tresult VST3_API setupProcessing(vst3::ProcessSetup &setup) override;
    vst3::tresult VST3_API setProcessing(vst3::TBool state) override;  // [ui-thread or processing thread]
    vst3::tresult VST3_API process(vst3::ProcessData &data) override;  // [processing thread]
    uint32_t VST3_API getTailSamples() override;

    // IProcessContextRequirements: no transport needed.
    uint32_t VST3_API getProcessContextRequirements() override { return 0; }

    // IZemReadout: the harness's read-out question (vst3/vst3_readout.h).
    vst3::tresult VST3_API query(ReadoutQuery *query) override;

    // IEditController
    vst3::tresult VST3_API setComponentState(vst3::IBStream *state) override;
    int32_t VST3_API getParameterCount() override;
    vst3::tresult VST3_API getParameterInfo(int32_t paramIndex, vst3::ParameterInfo &info) override;
    vst3::tresult VST3_API getParamStringByValue(vst3::ParamID id, vst3::ParamValue valueNormalized,
                                                 vst3::String128 string) override;
    vst3::tresult VST3_API getParamValueByString(vst3::ParamID id, vst3::TChar *string,
                                                 vst3::ParamValue &valueNormalized) override;
    vst3::ParamValue VST3_API normalizedParamToPlain(vst3::ParamID id, vst3::ParamValue valueNormalized) override;
    vst3::ParamValue VST3_API plainParamToNormalized(vst3::ParamID id, vst3::ParamValue plainValue) override;
    vst3::ParamValue VST3_API getParamNormalized(vst3::ParamID id) override;
    vst3::tresult VST3_API setParamNormalized(vst3::ParamID id, vst3::ParamValue value) override;
    vst3::tresult VST3_API setComponentHandler(vst3::IComponentHandler *handler) override;
    vst3::IPlugView *VST3_API createView(const char *name) override;

    // For the view (vst3/vst3_view.*). [ui-thread]
    AEffect *effectRecord() const { return effect; }
    Templete *templete() const { return templeteEffect; }
    void setEditorLink(Vst3EditorLink *link) { editorLink = link; }
    // Tells the handler what the processing thread could not (a host change that moved another
    // parameter); the view calls it from its timer, the controller's calls check it too.
    void deliverPendingRestart();

private:
    // The effect's host calls, on the thread the effect makes them.
    friend class EffectHostCalls<Vst3Effect>;
    VstIntPtr answerEffect(VstInt32 opcode, VstInt32 index, VstIntPtr value, void *ptr, float opt);
    bool onUiThread() const { return std::this_thread::get_id() == uiThread; }
    void restartComponent(int32_t flags);  // now on the UI thread, else at the next delivery

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void *ptr = nullptr, float opt = 0.f);
    float effectValue(vst3::ParamID id) const;
    // A host value of one of our parameters; true when it moved another one.
    bool applyHostValue(vst3::ParamID id, double normalised);
    void applyChanges(vst3::IParameterChanges *changes, float *const *inputs, float *const *outputs,
                      int32_t frames);  // [processing thread]
    void runEffect(float *const *inputs, float *const *outputs, int32_t from, int32_t to);
    vst3::IPlugView *createEditorView();
    void releaseHostObjects();

    std::atomic<uint32_t> references{1};
    EffectMaker makeEffect;
    AEffect *effect = nullptr;
    Templete *templeteEffect = nullptr;
    vst3::FUnknown *hostContext = nullptr;       // kept from initialize to terminate
    vst3::IComponentHandler *handler = nullptr;  // from setComponentHandler, one reference
    Vst3EditorLink *editorLink = nullptr;        // the open view's, or null
    std::unique_ptr<Vst3ViewSlot> viewSlot;      // the place of the view (vst3/vst3_view.h)
    std::thread::id uiThread;                    // the thread of initialize

    std::atomic<bool> active{false};
    std::atomic<bool> processing{false};
    std::atomic<double> sampleRate{44100.0};  // until setupProcessing
    std::atomic<int32_t> maxBlock{1024};
    std::atomic<int> layout{(int)Vst3Layout::kStereo};
    std::atomic<int32_t> pendingRestart{0};  // restartComponent flags for the UI thread
    float initialValues[17] = {};            // the values the effect started with: the defaults
};
