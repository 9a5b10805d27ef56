// The effect's own host-facing duties: it ends with its editor open, it lives on without an
// editor when memory runs out, and its block never holds the instance lock while it asks the
// host about the pins.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <new>
#include <thread>
#include <vector>

#include "params/parameter_table.h"
#include "core/templete.h"
#include "editor/editor_factory.h"
#include "editor/temeplete_editor.h"
#include "meters/meter_engine.h"
#include "support/editor_with_parts.h"
#include "support/open_editor.h"

namespace {

VstIntPtr VSTCALLBACK quietHost(AEffect *, VstInt32 opcode, VstInt32, VstIntPtr, void *, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

// A front panel that reads its meter engine when it refreshes and when it is torn down, as the
// real panels do.
class EngineReadingPanel : public EditorFrontPanel {
public:
    EngineReadingPanel(Templete *effect, int type) : effect(effect), type((MeterType)type) {}
    bool buildPanel(VSTGUI::CFrame *, VSTGUI::CBitmap *) override { return true; }
    void teardownPanel() override { readEngine(); }
    void showPanel() override {}
    void hidePanel() override {}
    void parameterChanged(VstInt32, float) override {}
    void controlChanged(VSTGUI::CControl *) override {}
    void refreshMeters(double position) override { readEngine(position); }

private:
    void readEngine(double position = 0)
    {
        if (MeterEngine *engine = effect->meterEngine(type))
            seen += engine->readoutValue(kMeterLevel1, position) + engine->readoutOverState(0);
    }
    Templete *effect;
    MeterType type;
    double seen = 0;
};

class EngineReadingParts : public EditorPartsFactory {
public:
    std::unique_ptr<EditorFrontPanel> createFrontPanel(MeterType type, VSTGUI::CControlListener *,
                                                       Templete *effect) override
    {
        return std::make_unique<EngineReadingPanel>(effect, type);
    }
    std::unique_ptr<EditorFiltersHolder> createFiltersEditor(VSTGUI::CControlListener *, Templete *) override
    {
        return nullptr;
    }
    std::unique_ptr<EditorLabelHolder> createLabelEditor(VSTGUI::CControlListener *, Templete *) override
    {
        return nullptr;
    }
};

TEST(HostEntry, ClosingTheEffectWithItsEditorOpenClosesTheEditorBeforeTheEnginesGo)
{
    static EngineReadingParts parts;
    auto *effect = new Templete(quietHost, editorFactoryWithParts(parts));
    auto *editor = static_cast<TemepleteEditor *>(effect->getEditor());
    ASSERT_NE(editor, nullptr);
    AEffect *record = effect->getAeffect();
    OpenEditor session(record);
    ASSERT_EQ(session.openAnswer(), 1);
    session.idle();
    ASSERT_NE(editor->getFrame(), nullptr);
    // Under AddressSanitizer a panel that reads a deleted engine ends the test here.
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.f), 1);
    session.editorGone();
}

// Fails the n-th non-throwing allocation of this thread (counting from 1); 0 disarms.
thread_local int failingNothrowAllocation = 0;
thread_local bool nothrowAllocationFailed = false;

}  // namespace

namespace {
// The normal allocation, unless a test asks this one to fail.
template <typename Allocate> void *nothrowAllocation(Allocate allocate) noexcept
{
    if (failingNothrowAllocation > 0 && --failingNothrowAllocation == 0) {
        nothrowAllocationFailed = true;
        return nullptr;
    }
    try {
        return allocate();
    } catch (...) {
        return nullptr;
    }
}
}  // namespace

// The test program's non-throwing allocations.
void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    return nothrowAllocation([size] { return ::operator new(size); });
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept
{
    return nothrowAllocation([size] { return ::operator new[](size); });
}

namespace {

TEST(HostEntry, EveryAllocationTheEffectMakesMayFailAndTheInstanceStillWorks)
{
    bool sawInstanceWithoutEditor = false;
    for (int n = 1; n < 200; ++n) {
        failingNothrowAllocation = n;
        nothrowAllocationFailed = false;
        auto *effect = new Templete(quietHost, createTemepleteEditor);
        failingNothrowAllocation = 0;
        AEffect *record = effect->getAeffect();
        const bool hasEditor = effect->getEditor() != nullptr;
        if (!hasEditor) {
            sawInstanceWithoutEditor = true;
            EXPECT_FALSE(record->flags & effFlagsHasEditor) << "allocation " << n;
            EXPECT_EQ(OpenEditor(record).openAnswer(), 0);
            ERect *rect = nullptr;
            EXPECT_EQ(record->dispatcher(record, effEditGetRect, 0, 0, &rect, 0.f), 0);
        }
        record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.f);
        std::vector<float> in(64, 0.5f), out0(64), out1(64);
        float *inputs[2] = {in.data(), in.data()};
        float *outputs[2] = {out0.data(), out1.data()};
        for (VstInt32 index = 0; index < kNumRealParameters; ++index)
            record->setParameter(record, index, 1.f);
        record->processReplacing(record, inputs, outputs, 64);
        void *chunk = nullptr;
        record->dispatcher(record, effGetChunk, 0, 0, &chunk, 0.f);
        if (hasEditor) {
            OpenEditor editor(record);
            if (editor.openAnswer()) {
                editor.idle();
                editor.close();
            }
        }
        record->dispatcher(record, effClose, 0, 0, nullptr, 0.f);
        if (!nothrowAllocationFailed)
            break;  // every allocation of the construction has been failed once
    }
    EXPECT_TRUE(sawInstanceWithoutEditor) << "the editor's allocation never failed";
}

// The host's pin answer takes a lock of its own that another host thread holds while it sets a
// parameter. If the block asked while holding the instance lock, that thread would wait out the
// lock's bounded wait (1000 ms) before the callback could answer.
struct PinProbe {
    Templete *effect = nullptr;
    std::atomic<bool> armed{false};
    std::atomic<bool> otherThreadWasKeptWaiting{false};
};
PinProbe *pinProbe = nullptr;

VstIntPtr VSTCALLBACK lockingHost(AEffect *, VstInt32 opcode, VstInt32, VstIntPtr, void *, float)
{
    if (opcode == audioMasterVersion)
        return 2400;
    if (opcode == audioMasterPinConnected && pinProbe && pinProbe->armed.exchange(false)) {
        Templete *effect = pinProbe->effect;
        auto other = std::async(std::launch::async, [effect] { effect->setParameter(kProcFlt, 1.f); });
        // Less than the lock's bounded wait: a thread made to wait for the lock cannot be done.
        if (other.wait_for(std::chrono::milliseconds(900)) != std::future_status::ready)
            pinProbe->otherThreadWasKeptWaiting = true;
        other.wait();
    }
    return 0;
}

TEST(HostEntry, TheBlockAsksAboutThePinsBeforeItTakesTheInstanceLock)
{
    PinProbe probe;
    pinProbe = &probe;
    Templete effect(lockingHost, createTemepleteEditor);
    probe.effect = &effect;
    effect.dispatcher(effMainsChanged, 0, 1, nullptr, 0.f);
    std::vector<float> in(32, 0.25f), out0(32), out1(32);
    float *inputs[2] = {in.data(), in.data()};
    float *outputs[2] = {out0.data(), out1.data()};
    probe.armed = true;
    effect.getAeffect()->processReplacing(effect.getAeffect(), inputs, outputs, 32);
    EXPECT_FALSE(probe.armed) << "the block asked the host about no pin";
    EXPECT_FALSE(probe.otherThreadWasKeptWaiting);
    EXPECT_EQ(effect.getParameter(kProcFlt), 1.f);
    pinProbe = nullptr;
}

}  // namespace
