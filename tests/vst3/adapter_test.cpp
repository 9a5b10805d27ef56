// The VST 3 adapter through the built bundle's binary, loaded by path as a host loads it: the
// exports, the factory and its fixed class id, the parameters against the VST 2.4 build's texts,
// host changes at their samples, the editor's edits at the component handler, the state in pieces
// and from bad streams, the buses and the life cycle.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/effect_chunk.h"
#include "core/loaded_plugin.h"
#include "core/templete.h"
#include "params/parameter_table.h"
#include "params/plain_units.h"
#include "support/vst3_test_host.h"
#include "vst3/vst3_class.h"
#include "vst3/vst3_effect.h"
#include "vst3/vst3_text.h"

using namespace vst3;
using namespace vst3_test_host;

namespace {

std::string builtVst3Path() { return PluginLibrary::programFolder() + ZEM_VST3_BINARY; }

Vst3Module &vst3Module()
{
    static Vst3Module module(builtVst3Path());
    return module;
}

std::string text16(const char16_t *text) { return fromUtf16(text); }

// One instance of the built plug-in, initialised, with its three interfaces.
struct Vst3Instance {
    Vst3TestApplication application;
    IComponent *component = nullptr;
    IAudioProcessor *processor = nullptr;
    IEditController *controller = nullptr;

    Vst3Instance()
    {
        component = vst3Module().createComponent(kVst3ClassId);
        if (!component || component->initialize(&application) != kResultOk)
            return;
        processor = queryVst3<IAudioProcessor>(component);
        controller = queryVst3<IEditController>(component);
    }
    ~Vst3Instance()
    {
        if (processor)
            processor->release();
        if (controller)
            controller->release();
        if (component) {
            component->terminate();
            component->release();
        }
    }
    bool valid() const { return processor && controller; }

    std::string text(ParamID id, double normalised)
    {
        String128 string = {};
        EXPECT_EQ(controller->getParamStringByValue(id, normalised, string), kResultOk);
        return text16(string);
    }
    std::vector<unsigned char> save(size_t piece)
    {
        Vst3MemoryStream stream;
        stream.piece = piece;
        EXPECT_EQ(component->getState(&stream), kResultOk);
        return stream.bytes;
    }
    tresult load(std::vector<unsigned char> bytes, size_t piece, size_t failAt = (size_t)-1)
    {
        Vst3MemoryStream stream;
        stream.bytes = std::move(bytes);
        stream.piece = piece;
        stream.failAt = failAt;
        return component->setState(&stream);
    }
    // A parameter flush: no samples, no buses.
    void flush(Vst3TestChanges &changes)
    {
        ProcessData data = {};
        data.inputParameterChanges = &changes;
        EXPECT_EQ(processor->process(data), kResultOk);
    }
    void set(ParamID id, double normalised)
    {
        Vst3TestChanges changes;
        changes.add(id, 0, normalised);
        flush(changes);
    }
};

class Vst3AdapterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(vst3Module().factory) << builtVst3Path();
        instance = std::make_unique<Vst3Instance>();
        ASSERT_TRUE(instance->valid());
    }
    std::unique_ptr<Vst3Instance> instance;
};

// The dynamic symbols the module defines, read from the file itself.
std::set<std::string> exportedNames(const Vst3Module &module)
{
    std::set<std::string> names;
#if defined(_WIN32)
    const unsigned char *base = static_cast<const unsigned char *>(module.handle);
    const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto *exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(base + directory.VirtualAddress);
    const auto *nameOffsets = reinterpret_cast<const DWORD *>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.insert(reinterpret_cast<const char *>(base + nameOffsets[i]));
#else
    (void)module;
    const std::string command = "nm -D --defined-only '" + builtVst3Path() + "'";
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char line[1024];
        while (std::fgets(line, sizeof line, pipe)) {
            std::string s = line;
            s.erase(s.find_last_not_of("\r\n") + 1);
            names.insert(s.substr(s.rfind(' ') + 1));
        }
        pclose(pipe);
    }
#endif
    return names;
}

std::string fileText(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

// The exports, the factory's answers as the VST 2.4 build gives them, and the class id: its four
// words and its bytes on each platform are fixed for ever.
TEST_F(Vst3AdapterTest, FactoryAndTheFixedClassId)
{
#if defined(_WIN32)
    EXPECT_EQ(exportedNames(vst3Module()), (std::set<std::string>{"ExitDll", "GetPluginFactory", "InitDll"}));
    const unsigned char bytes[16] = {0x4F, 0x4D, 0x45, 0x5A, 0x64, 0x72, 0x6E, 0x77,
                                     0x56, 0x53, 0x54, 0x33, 0x03, 0x00, 0x02, 0x00};
#else
    EXPECT_EQ(exportedNames(vst3Module()), (std::set<std::string>{"GetPluginFactory", "ModuleEntry", "ModuleExit"}));
    const unsigned char bytes[16] = {0x5A, 0x45, 0x4D, 0x4F, 0x72, 0x64, 0x77, 0x6E,
                                     0x56, 0x53, 0x54, 0x33, 0x03, 0x00, 0x02, 0x00};
#endif
    EXPECT_EQ(vst3ClassIdText(), "5A454D4F7264776E5653543303000200");

    PluginInstance vst(loadedPlugin());
    ASSERT_TRUE(vst.valid());
    IPluginFactory *factory = vst3Module().factory;
    PFactoryInfo factoryInfo = {};
    ASSERT_EQ(factory->getFactoryInfo(&factoryInfo), kResultOk);
    EXPECT_EQ(std::string(factoryInfo.vendor), vst.text(effGetVendorString));
    EXPECT_STREQ(factoryInfo.url, "www.velmora.com");
    EXPECT_EQ(factoryInfo.flags, (int32_t)kUnicode);
    ASSERT_EQ(factory->countClasses(), 1);

    auto *factory3 = queryVst3<IPluginFactory3>(factory);
    ASSERT_NE(factory3, nullptr);
    PClassInfo2 info = {};
    ASSERT_EQ(factory3->getClassInfo2(0, &info), kResultOk);
    EXPECT_EQ(std::memcmp(info.cid, bytes, 16), 0);
    EXPECT_EQ(info.cardinality, 0x7FFFFFFF);
    EXPECT_STREQ(info.category, "Audio Module Class");
    EXPECT_STREQ(info.name, "ZEM Ordwen");
    EXPECT_EQ(info.classFlags, 0u);
    EXPECT_STREQ(info.subCategories, "Fx|Analyzer");
    EXPECT_EQ(vst.dispatch(effGetVendorVersion), 3020);
    EXPECT_STREQ(info.version, "3.0.2");
    EXPECT_STREQ(info.sdkVersion, "VST 3.7.14");
    PClassInfoW wide = {};
    ASSERT_EQ(factory3->getClassInfoUnicode(0, &wide), kResultOk);
    EXPECT_EQ(std::memcmp(wide.cid, bytes, 16), 0);
    EXPECT_EQ(text16(wide.name), "ZEM Ordwen");
    EXPECT_EQ(text16(wide.vendor), "www.velmora.com");
    EXPECT_EQ(text16(wide.version), "3.0.2");
    EXPECT_EQ(factory3->getClassInfo2(1, &info), kInvalidArgument);
    factory3->release();

    // moduleinfo.json tells the same without loading the binary.
    const std::string moduleInfo = fileText(PluginLibrary::programFolder() + ZEM_VST3_BUNDLE +
                                            "/Contents/Resources/moduleinfo.json");
    EXPECT_NE(moduleInfo.find("\"CID\": \"5A454D4F7264776E5653543303000200\""), std::string::npos) << moduleInfo;
    EXPECT_NE(moduleInfo.find("\"Version\": \"3.0.2\""), std::string::npos);
    EXPECT_NE(moduleInfo.find("\"Vendor\": \"www.velmora.com\""), std::string::npos);

    // Only our class; one object answers component, processor, controller and the context
    // requirements, never a connection point.
    void *object = nullptr;
    const Uid other = makeUid(0x5A454D4F, 0x7264776E, 0x56535433, 0x03000201);
    EXPECT_EQ(factory->createInstance(other.data(), IComponent::iid.data(), &object), kNoInterface);
    EXPECT_EQ(object, nullptr);
    auto *requirements = queryVst3<IProcessContextRequirements>(instance->component);
    ASSERT_NE(requirements, nullptr);
    EXPECT_EQ(requirements->getProcessContextRequirements(), 0u);
    requirements->release();
    EXPECT_EQ(queryVst3<IConnectionPoint>(instance->component), nullptr);
    EXPECT_EQ(queryVst3<IEditController2>(instance->component), nullptr);
    TUID controllerId = {};
    EXPECT_EQ(instance->component->getControllerClassId(controllerId), kResultFalse);
}

namespace {

// The state a VST 3 host reads from a normalised value of a parameter with n steps.
float stepped(uint32_t id, float v)
{
    const int n = id == kGSIcal || id == kMeter || id == kHold ? 2 : plainIsStepped(id) && id != kLagTime ? 1 : 0;
    return n == 0 ? v : (float)std::fmin(n, std::floor(v * (n + 1))) / (float)n;
}

}  // namespace

// Every parameter at values across its travel: the text by value is the VST 2.4 display of the
// value the step count gives it, the text reads back to a value with the same text, the plain
// values follow the parameter's law; titles, units, steps and defaults as the effect has them.
TEST_F(Vst3AdapterTest, ParametersAgreeWithTheVstBuild)
{
    IEditController *controller = instance->controller;
    ASSERT_EQ(controller->getParameterCount(), 17);
    PluginInstance vst(loadedPlugin());
    ASSERT_TRUE(vst.valid());
    const char *const units[17] = {"", "dB", "", "", "", "", "", "", "", "", "", "Hz", "", "", "Hz", "", "ms"};
    for (uint32_t i = 0; i < 17; ++i) {
        vst3::ParameterInfo info = {};
        ASSERT_EQ(controller->getParameterInfo((int32_t)i, info), kResultOk);
        EXPECT_EQ(info.id, i);
        EXPECT_EQ(text16(info.title), vst.text(effGetParamName, (VstInt32)i));
        EXPECT_EQ(text16(info.units), units[i]) << i;
        const bool threeState = i == kGSIcal || i == kMeter || i == kHold;
        const bool twoState = plainIsStepped(i) && !threeState && i != kLagTime;
        EXPECT_EQ(info.stepCount, threeState ? 2 : twoState ? 1 : 0) << i;
        EXPECT_EQ(info.flags, kCanAutomate | (threeState ? kIsList : 0)) << i;
        EXPECT_EQ(info.unitId, 0);
        EXPECT_DOUBLE_EQ(info.defaultNormalizedValue, controller->getParamNormalized(i)) << i;
        for (float v : {0.f, 0.1f, 0.25f, 0.3f, 0.5f, 0.6f, 0.75f, 0.9f, 1.f}) {
            vst.setParameter((VstInt32)i, stepped(i, v));
            const std::string vstText = vst.text(effGetParamDisplay, (VstInt32)i);
            const std::string text = instance->text(i, v);
            EXPECT_EQ(text, vstText) << i << " at " << v;
            EXPECT_DOUBLE_EQ(controller->normalizedParamToPlain(i, v), plainValue(i, stepped(i, v))) << i;
            ParamValue back = -1;
            std::u16string wide(text.begin(), text.end());
            ASSERT_EQ(controller->getParamValueByString(i, &wide[0], back), kResultOk) << text;
            EXPECT_EQ(instance->text(i, back), text) << i << " at " << v;
            const ParamValue again = controller->plainParamToNormalized(i, controller->normalizedParamToPlain(i, v));
            EXPECT_EQ(instance->text(i, again), text) << i << " at " << v;
        }
    }
    resetSharedPluginState(loadedPlugin());
    // What the editor's typed entries accept; nonsense is refused.
    ParamValue value = 0;
    std::u16string trim = u" +6 dB";
    ASSERT_EQ(controller->getParamValueByString(kTrim, &trim[0], value), kResultOk);
    EXPECT_NEAR(controller->normalizedParamToPlain(kTrim, value), 6.0, 1e-5);
    std::u16string maybe = u"maybe";
    EXPECT_EQ(controller->getParamValueByString(kProcess, &maybe[0], value), kResultFalse);
    // No spare index is offered.
    vst3::ParameterInfo info = {};
    EXPECT_NE(controller->getParameterInfo(17, info), kResultOk);
    String128 string = {};
    EXPECT_NE(controller->getParamStringByValue(17, 0.5, string), kResultOk);
    EXPECT_EQ(controller->normalizedParamToPlain(17, 0.25), 0.25);
}

namespace {

struct ActiveInstance {
    Vst3Instance &instance;
    std::vector<float> inLeft, inRight, outLeft, outRight;
    float *inputs[2];
    float *outputs[2];
    AudioBusBuffers input = {};
    AudioBusBuffers output = {};

    ActiveInstance(Vst3Instance &instance, int32_t maxBlock) : instance(instance)
    {
        ProcessSetup setup = {kRealtime, kSample32, maxBlock, 48000.0};
        EXPECT_EQ(instance.processor->setupProcessing(setup), kResultOk);
        EXPECT_EQ(instance.component->setActive(true), kResultOk);
        EXPECT_EQ(instance.processor->setProcessing(true), kResultOk);
    }
    ~ActiveInstance()
    {
        instance.processor->setProcessing(false);
        instance.component->setActive(false);
    }
    // One stereo block of a constant input through the plug-in.
    tresult process(int32_t frames, IParameterChanges *changes, uint64_t silence = 0, float level = 0.5f)
    {
        inLeft.assign((size_t)frames, level);
        inRight.assign((size_t)frames, level);
        outLeft.assign((size_t)frames, -1.f);
        outRight.assign((size_t)frames, -1.f);
        inputs[0] = inLeft.data();
        inputs[1] = inRight.data();
        outputs[0] = outLeft.data();
        outputs[1] = outRight.data();
        input = {2, silence, {inputs}};
        output = {2, 0xFF, {outputs}};
        ProcessData data = {};
        data.processMode = kRealtime;
        data.symbolicSampleSize = kSample32;
        data.numSamples = frames;
        data.numInputs = 1;
        data.numOutputs = 1;
        data.inputs = &input;
        data.outputs = &output;
        data.inputParameterChanges = changes;
        return instance.processor->process(data);
    }
};

}  // namespace

// A queue point takes effect at its sample: the block runs in pieces between the points of all
// queues; queues of other ids change nothing; a call without samples only applies the changes.
TEST_F(Vst3AdapterTest, QueuePointsTakeEffectAtTheirSample)
{
    ActiveInstance active(*instance, 256);
    Vst3TestChanges changes;
    changes.add(kProcess, 0, 1.0);
    changes.add(kTrim, 40, 0.0);  // -20 dB from sample 40
    changes.add(kLagTime, 50, 1.0);
    changes.add(999, 10, 1.0);
    changes.queue(kNoParamId);  // a queue without points, as a host sends for no parameter
    ASSERT_EQ(active.process(64, &changes), kResultOk);
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(active.outLeft[(size_t)i], 0.5f) << i;  // 0 dB, settled
    EXPECT_LT(active.outLeft[40], 0.5f);                  // the glide toward -20 dB starts at sample 40
    EXPECT_LT(active.outLeft[63], active.outLeft[40]);
    EXPECT_EQ(active.outRight[63], active.outLeft[63]);
    EXPECT_EQ(active.output.silenceFlags, 0u);  // the outputs' flags are written, from the input's
    EXPECT_EQ(instance->controller->getParamNormalized(kTrim), 0.0);
    EXPECT_EQ(instance->controller->getParamNormalized(kLagTime), 1.0);

    // Silent input: the flags pass through.
    Vst3TestChanges none;
    ASSERT_EQ(active.process(16, &none, 3, 0.f), kResultOk);
    EXPECT_EQ(active.output.silenceFlags, 3u);
    ASSERT_EQ(active.process(16, nullptr), kResultOk);  // no change list at all

    // Flushes: no samples, or no buses, or buses without channels.
    Vst3TestChanges flush;
    flush.add(kTrim, 0, 0.75);
    ASSERT_EQ(active.process(0, &flush), kResultOk);
    EXPECT_EQ(instance->controller->getParamNormalized(kTrim), 0.75);
    instance->set(kMeter, 0.9);  // three states: the last one
    EXPECT_EQ(instance->controller->getParamNormalized(kMeter), 1.0);
    ProcessData data = {};
    AudioBusBuffers empty[1] = {};
    data.numSamples = 64;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = empty;
    data.outputs = empty;
    EXPECT_EQ(instance->processor->process(data), kResultOk);
    instance->set(kMeter, 0.0);  // new instances of the library start with the VU meter again
}

namespace {

Templete *effectWithoutEditor(audioMasterCallback audioMaster) { return new Templete(audioMaster, nullptr); }

}  // namespace

// What the editor does (begin, automated value, end on the UI thread) reaches the component
// handler as beginEdit / performEdit / endEdit with the effect's normalised value; never from
// another thread, never for a host's own change. A loaded state, and a host change that moved
// another parameter, ask the host to read the values again. The object is built in the test
// program here: the editor's calls are made on its effect.
TEST(Vst3AdapterEdits, EditorEditsReachTheHandler)
{
    Vst3Effect *object = new Vst3Effect(effectWithoutEditor);
    Vst3TestApplication application;
    ASSERT_EQ(object->initialize(&application), kResultOk);
    EXPECT_EQ(object->initialize(&application), kResultFalse);  // a second call changes nothing
    Vst3RecordingHandler handler;
    ASSERT_EQ(object->setComponentHandler(&handler), kResultOk);
    Templete *effect = object->templete();
    ASSERT_NE(effect, nullptr);

    effect->beginEdit(kTrim);
    effect->setParameterAutomated(kTrim, 0.75f);
    effect->endEdit(kTrim);
    EXPECT_EQ(handler.calls, (std::vector<std::string>{"begin 1", "perform 1", "end 1"}));
    ASSERT_EQ(handler.values.size(), 1u);
    EXPECT_EQ(handler.values[0], 0.75);
    EXPECT_NEAR(object->normalizedParamToPlain(kTrim, handler.values[0]), 10.0, 1e-5);  // dB

    handler.calls.clear();
    std::thread other([&] { effect->setParameterAutomated(kTrim, 0.25f); });
    other.join();
    EXPECT_TRUE(handler.calls.empty());
    EXPECT_EQ(object->setParamNormalized(kLRMS, 1.0), kResultOk);
    EXPECT_TRUE(handler.calls.empty());  // the host's own change is not sent back
    EXPECT_EQ(object->getParamNormalized(kLRMS), 1.0);

    Vst3MemoryStream saved;
    ASSERT_EQ(object->getState(&saved), kResultOk);
    saved.position = 0;
    ASSERT_EQ(static_cast<IComponent *>(object)->setState(&saved), kResultOk);
    EXPECT_EQ(handler.calls, (std::vector<std::string>{"restart 4"}));

    EXPECT_EQ(object->setComponentHandler(nullptr), kResultOk);
    EXPECT_EQ(object->terminate(), kResultOk);
    EXPECT_EQ(object->terminate(), kResultOk);
    EXPECT_EQ(object->initialize(&application), kResultOk);  // again after terminate
    object->release();
}

// The state is the 596-byte chunk image, whatever pieces the streams move it in; a short, long or
// damaged stream loads what arrived, as setChunk does, and reports failure; an empty one changes
// nothing. The controller's component state takes its values from the same image.
TEST_F(Vst3AdapterTest, StateInPiecesAndFromBadStreams)
{
    instance->set(kTrim, 0.65);
    instance->set(kMeter, 1.0);
    instance->set(kLPFreq, 0.5);
    instance->set(kLagTime, 0.25);
    const std::vector<unsigned char> image = instance->save(1);
    ASSERT_EQ(image.size(), EffectChunk::kSize);
    EXPECT_EQ(instance->save(7), image);
    EXPECT_EQ(EffectChunk::readFloat(image.data(), EffectChunk::kMarkerOffset), 300.f);
    PluginInstance vst(loadedPlugin());
    ASSERT_TRUE(vst.valid());
    vst.setChunk(image);
    EXPECT_EQ(vst.getChunk(), image);  // the VST 2.4 chunk, byte for byte
    resetSharedPluginState(loadedPlugin());

    for (size_t piece : {1u, 7u}) {
        Vst3Instance restored;
        ASSERT_EQ(restored.load(image, piece), kResultOk);
        EXPECT_EQ(restored.save(7), image) << piece;
        EXPECT_FLOAT_EQ((float)restored.controller->getParamNormalized(kTrim), 0.65f);
        EXPECT_FLOAT_EQ((float)restored.controller->getParamNormalized(kLagTime), 0.25f);
    }
    {
        Vst3Instance empty;
        const std::vector<unsigned char> before = empty.save(596);
        EXPECT_EQ(empty.load({}, 7), kResultFalse);
        EXPECT_EQ(empty.save(596), before);  // nothing arrived, nothing changed
    }
    {
        // 100 bytes: the label and the parameters up to Strips; LPFreq (offset 100) reads 0.
        Vst3Instance shortLoad;
        EXPECT_EQ(shortLoad.load(std::vector<unsigned char>(image.begin(), image.begin() + 100), 7), kResultFalse);
        EXPECT_FLOAT_EQ((float)shortLoad.controller->getParamNormalized(kTrim), 0.65f);
        EXPECT_EQ(shortLoad.controller->getParamNormalized(kLPFreq), 0.0);
    }
    {
        std::vector<unsigned char> longer = image;
        longer.push_back(0);
        Vst3Instance longLoad;
        EXPECT_EQ(longLoad.load(longer, 7), kResultFalse);
        EXPECT_EQ(longLoad.save(596), image);  // the first 596 bytes
    }
    {
        Vst3Instance broken;
        EXPECT_EQ(broken.load(image, 7, 301), kResultFalse);  // the stream fails after 301 bytes
        EXPECT_FLOAT_EQ((float)broken.controller->getParamNormalized(kTrim), 0.65f);
        std::vector<unsigned char> unmarked = image;
        EffectChunk::writeFloat(unmarked.data(), EffectChunk::kMarkerOffset, 1.f);
        EXPECT_EQ(broken.load(unmarked, 596), kResultFalse);
        EXPECT_FLOAT_EQ((float)broken.controller->getParamNormalized(kLagTime), 0.25f);  // applied all the same
    }
    {
        // The controller side: values from the component's image; an exhausted stream changes nothing.
        Vst3Instance controllerSide;
        Vst3MemoryStream stream;
        stream.bytes = image;
        stream.piece = 7;
        ASSERT_EQ(controllerSide.controller->setComponentState(&stream), kResultOk);
        EXPECT_FLOAT_EQ((float)controllerSide.controller->getParamNormalized(kTrim), 0.65f);
        EXPECT_EQ(controllerSide.controller->getParamNormalized(kMeter), 1.0);
        EXPECT_EQ(controllerSide.controller->setState(&stream), kResultFalse);
        EXPECT_EQ(controllerSide.save(596), image);
        controllerSide.set(kMeter, 0.0);  // new instances of the library start with the VU meter again
    }
}

// The buses and the arrangements of the VST 2.4 configurations, the life cycle in the orders hosts
// use, no latency and no tail.
TEST_F(Vst3AdapterTest, BusesArrangementsAndLifeCycle)
{
    IComponent *component = instance->component;
    IAudioProcessor *processor = instance->processor;
    EXPECT_EQ(component->getBusCount(kAudio, kInput), 1);
    EXPECT_EQ(component->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(component->getBusCount(kEvent, kInput), 0);
    BusInfo bus = {};
    ASSERT_EQ(component->getBusInfo(kAudio, kInput, 0, bus), kResultOk);
    EXPECT_EQ(bus.channelCount, 2);
    EXPECT_EQ(text16(bus.name), "ZEM Ordwen 1 In");
    EXPECT_EQ(bus.busType, kMain);
    EXPECT_EQ(bus.flags, (uint32_t)kDefaultActive);
    BusInfo again;
    std::memset(&again, 0x5A, sizeof again);
    ASSERT_EQ(component->getBusInfo(kAudio, kInput, 0, again), kResultOk);
    EXPECT_EQ(std::memcmp(&bus, &again, sizeof bus), 0);  // every byte the same each time
    BusInfo untouched = {};
    EXPECT_EQ(component->getBusInfo(kAudio, kOutput, 1, untouched), kInvalidArgument);
    EXPECT_EQ(untouched.channelCount, 0);
    EXPECT_EQ(component->activateBus(kAudio, kInput, 0, true), kResultOk);
    EXPECT_EQ(component->activateBus(kAudio, kOutput, 1, true), kInvalidArgument);

    struct Case {
        SpeakerArrangement in, out;
        tresult answer;
        SpeakerArrangement nowIn, nowOut;
    };
    const Case cases[] = {
        {kArrangementMono, kArrangementMono, kResultTrue, kArrangementMono, kArrangementMono},
        {kArrangementMono, kArrangementStereo, kResultTrue, kArrangementMono, kArrangementStereo},
        {kArrangementStereo, kArrangementMono, kResultFalse, kArrangementMono, kArrangementStereo},
        {kSpeakerC, kSpeakerC, kResultFalse, kArrangementMono, kArrangementStereo},
        {kArrangementStereo, kArrangementStereo, kResultTrue, kArrangementStereo, kArrangementStereo},
    };
    for (const Case &c : cases) {
        SpeakerArrangement in = c.in, out = c.out;
        EXPECT_EQ(processor->setBusArrangements(&in, 1, &out, 1), c.answer);
        SpeakerArrangement now = 0;
        ASSERT_EQ(processor->getBusArrangement(kInput, 0, now), kResultOk);
        EXPECT_EQ(now, c.nowIn);
        ASSERT_EQ(processor->getBusArrangement(kOutput, 0, now), kResultOk);
        EXPECT_EQ(now, c.nowOut);
        ASSERT_EQ(component->getBusInfo(kAudio, kOutput, 0, bus), kResultOk);
        EXPECT_EQ(bus.channelCount, c.nowOut == kArrangementMono ? 1 : 2);
    }

    EXPECT_EQ(processor->canProcessSampleSize(kSample32), kResultTrue);
    EXPECT_EQ(processor->canProcessSampleSize(kSample64), kResultFalse);
    ProcessSetup doubles = {kRealtime, kSample64, 512, 44100.0};
    EXPECT_EQ(processor->setupProcessing(doubles), kResultFalse);
    EXPECT_EQ(processor->getLatencySamples(), 0u);
    EXPECT_EQ(processor->getTailSamples(), 0u);
    // Active before the setup (a scanner's order), redundant calls, teardown when inactive.
    EXPECT_EQ(component->setActive(true), kResultOk);
    ProcessSetup setup = {kRealtime, kSample32, 512, 96000.0};
    EXPECT_EQ(processor->setupProcessing(setup), kResultOk);
    EXPECT_EQ(component->setActive(true), kResultOk);
    SpeakerArrangement stereo = kArrangementStereo;
    EXPECT_EQ(processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultFalse);  // not while active
    EXPECT_EQ(component->setActive(false), kResultOk);
    EXPECT_EQ(component->setActive(false), kResultOk);
    EXPECT_EQ(component->terminate(), kResultOk);
    EXPECT_EQ(component->initialize(&instance->application), kResultOk);
    EXPECT_EQ(instance->controller->getParameterCount(), 17);
}
