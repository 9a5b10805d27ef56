// What a host learns when it scans ZEM Ordwen.vst3, and the official validator's general tests
// that do not process: the factory and the class (answering as the VST 2.4 build does), one
// object for component and controller, the buses and their consistency, bus activation, the
// state transitions (terminate / initialize, setActive in any order, suspend / resume cycles)
// and the process-context requirements.
#ifdef ZEM_VST3_BUNDLE  // the tests build the bundle beside them
#include <cstring>
#include <random>

#include "core/loaded_plugin.h"
#include "host_fixture.h"

namespace {

using Vst3HostScan = Vst3HostTest;

std::string cut(const char *text, size_t capacity) { return std::string(text, strnlen(text, capacity)); }

TEST_F(Vst3HostScan, TheFactoryAndItsOneClassAnswerAsTheVst24Build)
{
    ASSERT_TRUE(loadedPlugin().loaded());
    PluginInstance vst(loadedPlugin());
    EXPECT_EQ(cut(module.factoryInfo().vendor, 64), vst.text(effGetVendorString));
    EXPECT_NE(module.factoryInfo().url[0], 0);
    EXPECT_NE(module.factory2(), nullptr);
    EXPECT_NE(module.factory3(), nullptr);
    ASSERT_EQ(module.classes().size(), 1u);
    const vst3::PClassInfo2 &c = module.classes()[0];
    EXPECT_EQ(cut(c.category, 32), "Audio Module Class");
    EXPECT_EQ(cut(c.name, 64), vst.text(effGetEffectName));
    EXPECT_EQ(c.cardinality, 0x7FFFFFFF) << "Carla skips any other";
    EXPECT_EQ(c.classFlags, 0u) << "not distributable: one object";
    EXPECT_EQ(cut(c.subCategories, 128), "Fx|Analyzer");
    EXPECT_EQ(cut(c.version, 64).compare(0, 5, "3.0.2"), 0) << cut(c.version, 64);
    EXPECT_EQ(cut(c.sdkVersion, 64), "VST 3.7.14");
    ASSERT_EQ(module.unicodeClasses().size(), 1u);
    const vst3::PClassInfoW &w = module.unicodeClasses()[0];
    EXPECT_EQ(std::memcmp(w.cid, c.cid, 16), 0);
    EXPECT_EQ(utf8Of(w.name, 64), cut(c.name, 64));
    EXPECT_EQ(utf8Of(w.vendor, 64), cut(c.vendor, 64));
    EXPECT_EQ(utf8Of(w.sdkVersion, 64), "VST 3.7.14");
    // The class id as hosts cache it: the same text in every build.
    EXPECT_EQ(classIdText(c.cid).size(), 32u);
    void *object = nullptr;
    const char unknown[16] = {1, 2, 3};
    EXPECT_NE(module.factory()->createInstance(unknown, vst3::IComponent::iid.data(), &object), vst3::kResultOk);
    EXPECT_EQ(object, nullptr);
}

TEST_F(Vst3HostScan, OneObjectIsComponentAndControllerWithoutAConnection)
{
    auto instance = create();
    EXPECT_TRUE(instance->singleComponent());
    vst3::TUID controllerId{};
    EXPECT_NE(instance->component()->getControllerClassId(controllerId), vst3::kResultOk);
    void *object = nullptr;
    EXPECT_NE(instance->component()->queryInterface(vst3::IConnectionPoint::iid.data(), &object), vst3::kResultOk);
    EXPECT_EQ(object, nullptr);
    ASSERT_EQ(instance->component()->queryInterface(vst3::IProcessContextRequirements::iid.data(), &object),
              vst3::kResultOk);
    auto *requirements = static_cast<vst3::IProcessContextRequirements *>(object);
    EXPECT_EQ(requirements->getProcessContextRequirements(), 0u) << "a meter needs no transport";
    requirements->release();
    ASSERT_EQ(instance->component()->queryInterface(vst3::FUnknown::iid.data(), &object), vst3::kResultOk);
    static_cast<vst3::FUnknown *>(object)->release();
    EXPECT_EQ(instance->audioProcessor()->canProcessSampleSize(vst3::kSample32), vst3::kResultOk);
    EXPECT_EQ(instance->audioProcessor()->getLatencySamples(), 0u);
    EXPECT_EQ(instance->audioProcessor()->getTailSamples(), 0u);
}

TEST_F(Vst3HostScan, BusesAreNamedConsistentAndActivatable)
{
    auto instance = create();
    vst3::IComponent *component = instance->component();
    EXPECT_EQ(component->getBusCount(vst3::kEvent, vst3::kInput), 0);
    EXPECT_EQ(component->getBusCount(vst3::kEvent, vst3::kOutput), 0);
    std::mt19937 random(7);
    for (int direction = vst3::kInput; direction <= vst3::kOutput; ++direction) {
        ASSERT_EQ(component->getBusCount(vst3::kAudio, direction), 1);
        vst3::BusInfo first{};
        ASSERT_EQ(component->getBusInfo(vst3::kAudio, direction, 0, first), vst3::kResultOk);
        EXPECT_NE(first.name[0], 0) << "the validator fails an empty name";
        EXPECT_EQ(first.channelCount, 2);
        EXPECT_EQ(first.busType, vst3::kMain);
        EXPECT_EQ(first.flags & vst3::kDefaultActive, (uint32_t)vst3::kDefaultActive);
        vst3::SpeakerArrangement arrangement = 0;
        ASSERT_EQ(instance->audioProcessor()->getBusArrangement(direction, 0, arrangement), vst3::kResultOk);
        EXPECT_EQ(arrangement, vst3::kArrangementStereo);
        // The validator compares the whole struct across repeated calls.
        for (int i = 0; i < 20; ++i) {
            vst3::BusInfo again;
            std::memset(&again, (int)(random() & 0xFF), sizeof again);
            ASSERT_EQ(component->getBusInfo(vst3::kAudio, direction, 0, again), vst3::kResultOk);
            EXPECT_EQ(std::memcmp(&again, &first, sizeof again), 0) << "call " << i;
        }
        // A bad index leaves the struct as it was.
        for (int32_t bad : {-1, 1, 2, 1000}) {
            vst3::BusInfo untouched{};
            EXPECT_NE(component->getBusInfo(vst3::kAudio, direction, bad, untouched), vst3::kResultOk);
            const vst3::BusInfo zero{};
            EXPECT_EQ(std::memcmp(&untouched, &zero, sizeof zero), 0) << bad;
        }
        for (vst3::TBool state : {0, 1, 0, 1})
            EXPECT_EQ(component->activateBus(vst3::kAudio, direction, 0, state), vst3::kResultOk);
    }
}

TEST_F(Vst3HostScan, StateTransitionsInTheValidatorsOrders)
{
    auto instance = create();
    vst3::IComponent *component = instance->component();
    // Terminate/Initialize on the same object.
    ASSERT_EQ(component->terminate(), vst3::kResultOk);
    ASSERT_EQ(component->initialize(static_cast<vst3::IHostApplication *>(&context)), vst3::kResultOk);
    // Valid State Transition, four rounds; setActive(false) while inactive is answered kResultOk.
    EXPECT_EQ(component->setActive(0), vst3::kResultOk);
    for (int round = 0; round < 4; ++round) {
        vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample32, 8192, 44100.0};
        ASSERT_EQ(instance->audioProcessor()->setupProcessing(setup), vst3::kResultOk) << round;
        ASSERT_EQ(component->setActive(1), vst3::kResultOk) << round;
        ASSERT_EQ(component->setActive(0), vst3::kResultOk) << round;
        ASSERT_EQ(component->activateBus(vst3::kAudio, vst3::kInput, 0, 0), vst3::kResultOk);
        ASSERT_EQ(component->activateBus(vst3::kAudio, vst3::kOutput, 0, 0), vst3::kResultOk);
        ASSERT_EQ(component->terminate(), vst3::kResultOk) << round;
        ASSERT_EQ(component->initialize(static_cast<vst3::IHostApplication *>(&context)), vst3::kResultOk) << round;
    }
    // A second initialize (Ardour's) changes nothing and is no success.
    EXPECT_NE(component->initialize(static_cast<vst3::IHostApplication *>(&context)), vst3::kResultOk);
    // carla-discovery: setActive(true) before setupProcessing.
    EXPECT_EQ(component->setActive(1), vst3::kResultOk);
    vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample32, 1024, 48000.0};
    instance->audioProcessor()->setupProcessing(setup);
    EXPECT_EQ(component->setActive(0), vst3::kResultOk);
    // Suspend/Resume, three times.
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(instance->audioProcessor()->setupProcessing(setup), vst3::kResultOk);
        ASSERT_EQ(component->setActive(1), vst3::kResultOk);
        ASSERT_EQ(component->setActive(0), vst3::kResultOk);
    }
}

}  // namespace
#endif
