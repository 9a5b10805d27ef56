// The class layer as a host sees it: the record it publishes, the trampolines, the null-pointer
// guards and the deletion on effClose.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

#include "support/recording_host.h"
#include "vst/audio_effect.h"

namespace {

class ProbeEffect : public AudioEffectX {
public:
    explicit ProbeEffect(bool *deleted) : AudioEffectX(RecordingHost::callback, 1, 4), deleted(deleted) {}
    ~ProbeEffect() override { *deleted = true; }
    void processReplacing(float **, float **, VstInt32 frames) override { processed += frames; }
    void setParameter(VstInt32 index, float value) override
    {
        lastIndex = index;
        lastValue = value;
    }
    float getParameter(VstInt32 index) override { return index == lastIndex ? lastValue : 0.f; }
    void suspend() override { ++suspends; }
    void resume() override { ++resumes; }
    bool getEffectName(char *name) override
    {
        std::strcpy(name, "Probe");
        return true;
    }

    bool *deleted;
    VstInt32 processed = 0;
    VstInt32 lastIndex = -1;
    float lastValue = 0.f;
    int suspends = 0;
    int resumes = 0;
};

}  // namespace

TEST(AudioEffectLayer, PublishesRecordAndRoutesTrampolines)
{
    bool deleted = false;
    auto *effect = new ProbeEffect(&deleted);
    AEffect *e = effect->getAeffect();
    EXPECT_EQ(e->magic, kEffectMagic);
    EXPECT_EQ(e->numParams, 4);
    EXPECT_EQ(e->ioRatio, 1.f);
    EXPECT_TRUE(e->flags & effFlagsCanReplacing);
    EXPECT_EQ(e->object, effect);

    e->setParameter(e, 2, 0.25f);
    EXPECT_FLOAT_EQ(e->getParameter(e, 2), 0.25f);
    float left[8] = {}, right[8] = {};
    float *buffers[2] = {left, right};
    e->processReplacing(e, buffers, buffers, 8);
    EXPECT_EQ(effect->processed, 8);

    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.f);
    e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0.f);
    EXPECT_EQ(effect->resumes, 1);
    EXPECT_EQ(effect->suspends, 1);
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 48000.f);
    EXPECT_EQ(effect->getSampleRate(), 48000.f);
    EXPECT_EQ(e->dispatcher(e, effGetVstVersion, 0, 0, nullptr, 0.f), 2400);
    EXPECT_EQ(e->dispatcher(e, effIdentify, 0, 0, nullptr, 0.f), kEffectIdentifyAnswer);
    EXPECT_EQ(e->dispatcher(e, 12345, 0, 0, nullptr, 0.f), 0);

    char name[kVstMaxEffectNameLen] = {};
    EXPECT_EQ(e->dispatcher(e, effGetEffectName, 0, 0, name, 0.f), 1);
    EXPECT_STREQ(name, "Probe");
    EXPECT_EQ(e->dispatcher(e, effGetEffectName, 0, 0, nullptr, 0.f), 0);

    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.f), 1);
    EXPECT_TRUE(deleted);
}

TEST(AudioEffectLayer, AutomatedChangeIsAppliedBeforeTheHostHearsOfIt)
{
    bool deleted = false;
    RecordingHost log;
    log.listen();
    {
        ProbeEffect effect(&deleted);
        effect.setParameterAutomated(3, 0.75f);
        EXPECT_EQ(effect.lastIndex, 3);
        effect.beginEdit(3);
        effect.endEdit(3);
    }
    RecordingHost::stopListening();
    ASSERT_EQ(log.calls.size(), 3u);
    EXPECT_EQ(log.calls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(log.calls[0].index, 3);
    EXPECT_FLOAT_EQ(log.calls[0].opt, 0.75f);
    EXPECT_EQ(log.calls[1].opcode, audioMasterBeginEdit);
    EXPECT_EQ(log.calls[2].opcode, audioMasterEndEdit);
}

// Our own callers' faults: an end-edit without its begin, a record that is not the one its
// object holds. Test builds stop there; a release build answers neutrally and tells the host nothing.
TEST(AudioEffectLayer, AnUnmatchedEndEditOrAForeignRecordBreaksAContract)
{
    bool deleted = false;
    RecordingHost log;
    log.listen();
    {
        ProbeEffect effect(&deleted);
        AEffect copy = *effect.getAeffect();
        effect.beginEdit(2);
        effect.endEdit(2);
#ifdef ZEM_CONTRACTS_ABORT
        EXPECT_DEATH(effect.endEdit(2), "contract failed: depth > 0");
        EXPECT_DEATH(AudioEffect::dispatchEffectClass(&copy, effGetVstVersion, 0, 0, nullptr, 0.f),
                     "contract failed: ae->getAeffect");
#else
        EXPECT_FALSE(effect.endEdit(2));
        EXPECT_EQ(AudioEffect::dispatchEffectClass(&copy, effGetVstVersion, 0, 0, nullptr, 0.f), 0);
#endif
    }
    RecordingHost::stopListening();
    ASSERT_EQ(log.calls.size(), 2u);
    EXPECT_EQ(log.calls[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(log.calls[1].opcode, audioMasterEndEdit);
}

TEST(AudioEffectLayer, NullRecordOrObjectIsAnsweredNeutrally)
{
    EXPECT_EQ(AudioEffect::dispatchEffectClass(nullptr, effGetVstVersion, 0, 0, nullptr, 0.f), 0);
    AEffect empty{};
    EXPECT_EQ(AudioEffect::dispatchEffectClass(&empty, effClose, 0, 0, nullptr, 0.f), 0);
    EXPECT_EQ(AudioEffect::getParameterClass(&empty, 0), 0.f);
    AudioEffect::setParameterClass(&empty, 0, 1.f);
}

namespace {

// Every operation a host reaches throws.
class ThrowingEffect : public AudioEffectX {
public:
    ThrowingEffect() : AudioEffectX(RecordingHost::callback, 1, 4) {}
    void processReplacing(float **, float **, VstInt32) override { throw 1; }
    void process(float **, float **, VstInt32) override { throw 2; }
    void processDoubleReplacing(double **, double **, VstInt32) override { throw 3; }
    void setParameter(VstInt32, float) override { throw std::runtime_error("set"); }
    float getParameter(VstInt32) override { throw std::bad_alloc(); }
    void suspend() override { throw 4; }
    void close() override { throw 5; }
};

}  // namespace

TEST(AudioEffectLayer, NoExceptionLeavesAnyEntryPointAHostCalls)
{
    auto *effect = new ThrowingEffect;
    AEffect *e = effect->getAeffect();
    float left[8] = {}, right[8] = {};
    float *buffers[2] = {left, right};
    double dl[8] = {}, dr[8] = {};
    double *doubles[2] = {dl, dr};
    EXPECT_NO_THROW(e->setParameter(e, 1, 0.5f));
    float answer = 1.f;
    EXPECT_NO_THROW(answer = e->getParameter(e, 1));
    EXPECT_EQ(answer, 0.f);
    EXPECT_NO_THROW(e->processReplacing(e, buffers, buffers, 8));
    EXPECT_NO_THROW(e->process(e, buffers, buffers, 8));
    EXPECT_NO_THROW(e->processDoubleReplacing(e, doubles, doubles, 8));
    EXPECT_NO_THROW(e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0.f));
    // A close that throws still ends the instance.
    EXPECT_NO_THROW(e->dispatcher(e, effClose, 0, 0, nullptr, 0.f));
}

TEST(AudioEffectLayer, AnswersTheBlockSizeAndRateTogetherAndOneProgramCategory)
{
    bool deleted = false;
    ProbeEffect effect(&deleted);
    AEffect *e = effect.getAeffect();
    EXPECT_EQ(e->dispatcher(e, effSetBlockSizeAndSampleRate, 0, 512, nullptr, 96000.f), 0);
    EXPECT_EQ(effect.getBlockSize(), 512);
    EXPECT_EQ(effect.getSampleRate(), 96000.f);
    EXPECT_EQ(e->dispatcher(e, effGetNumProgramCategories, 0, 0, nullptr, 0.f), 1);
}
