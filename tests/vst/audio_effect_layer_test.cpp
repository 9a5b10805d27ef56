// The class layer as a host sees it: the record it publishes, the trampolines, the null-pointer
// guards and the deletion on effClose.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "vst/audio_effect.h"

namespace {

struct HostLog {
    std::vector<VstInt32> opcodes;
    std::vector<VstInt32> indices;
    std::vector<float> opts;
};
HostLog *currentLog = nullptr;

VstIntPtr VSTCALLBACK recordingHost(AEffect *, VstInt32 opcode, VstInt32 index, VstIntPtr, void *, float opt)
{
    if (currentLog) {
        currentLog->opcodes.push_back(opcode);
        currentLog->indices.push_back(index);
        currentLog->opts.push_back(opt);
    }
    return opcode == audioMasterVersion ? 2400 : 0;
}

class ProbeEffect : public AudioEffectX {
public:
    explicit ProbeEffect(bool *deleted) : AudioEffectX(recordingHost, 1, 4), deleted(deleted) {}
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
    HostLog log;
    currentLog = &log;
    {
        ProbeEffect effect(&deleted);
        effect.setParameterAutomated(3, 0.75f);
        EXPECT_EQ(effect.lastIndex, 3);
        effect.beginEdit(3);
        effect.endEdit(3);
    }
    currentLog = nullptr;
    ASSERT_EQ(log.opcodes.size(), 3u);
    EXPECT_EQ(log.opcodes[0], audioMasterAutomate);
    EXPECT_EQ(log.indices[0], 3);
    EXPECT_FLOAT_EQ(log.opts[0], 0.75f);
    EXPECT_EQ(log.opcodes[1], audioMasterBeginEdit);
    EXPECT_EQ(log.opcodes[2], audioMasterEndEdit);
}

TEST(AudioEffectLayer, NullRecordOrObjectIsAnsweredNeutrally)
{
    EXPECT_EQ(AudioEffect::dispatchEffectClass(nullptr, effGetVstVersion, 0, 0, nullptr, 0.f), 0);
    AEffect empty{};
    EXPECT_EQ(AudioEffect::dispatchEffectClass(&empty, effClose, 0, 0, nullptr, 0.f), 0);
    EXPECT_EQ(AudioEffect::getParameterClass(&empty, 0), 0.f);
    AudioEffect::setParameterClass(&empty, 0, 1.f);
}
