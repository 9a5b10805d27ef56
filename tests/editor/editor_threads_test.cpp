// The editor lives on its own thread while the host works on others: audio and automation of
// every host parameter from the audio thread and from a second thread, chunks saved by an
// autosave thread, the editor opened, idled and closed on the UI thread. Run under
// ThreadSanitizer, this shows that panels, strips and the frame are touched by the UI thread only.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "params/parameter_table.h"
#include "core/templete.h"
#include "editor/editor_factory.h"
#include "editor/temeplete_editor.h"
#include "support/editor_with_parts.h"
#include "support/open_editor.h"

using namespace VSTGUI;

namespace {

VstIntPtr VSTCALLBACK busyHost(AEffect *, VstInt32 opcode, VstInt32, VstIntPtr, void *, float)
{
    return opcode == audioMasterVersion ? 2400 : opcode == audioMasterSizeWindow ? 1 : 0;
}

// Parts with plain state, as the real panels and strips have, and that redraw what they change.
class PlainPanel : public EditorFrontPanel {
public:
    bool buildPanel(CFrame *f, CBitmap *) override
    {
        frame = f;
        return true;
    }
    void teardownPanel() override { frame = nullptr; }
    void showPanel() override { shown = true; }
    void hidePanel() override { shown = false; }
    void parameterChanged(VstInt32 index, float value) override
    {
        if (index >= 0 && index < kNumHostParameters)
            values[index] = value;
        text = std::to_string(index);
        if (frame)
            frame->invalid();
    }
    void controlChanged(CControl *) override {}
    void refreshMeters(double position) override { lastPosition = position; }

private:
    CFrame *frame = nullptr;
    bool shown = false;
    float values[kNumHostParameters] = {};
    std::string text;
    double lastPosition = 0;
};

template <class Base> class PlainHolder : public Base {
public:
    void open(CFrame *f, const PerMeterType<EditorFrontPanel *> &) override { frame = f; }
    void close() override { frame = nullptr; }
    void showExpanded(const CPoint &p, MeterType) override { where = p; }
    void showCollapsed(const CPoint &p, MeterType) override { where = p; }
    void parameterChanged(VstInt32 index, float) override { changes.push_back(index); }
    void valueChanged(CControl *) override {}

protected:
    CFrame *frame = nullptr;
    CPoint where;
    std::vector<VstInt32> changes;
};

class PlainFilters : public PlainHolder<EditorFiltersHolder> {
public:
    void processChanged(float value) override { active = value > 0.5f; }
    bool active = false;
};

class PlainLabel : public PlainHolder<EditorLabelHolder> {
public:
    void idleTick() override { ++ticks; }
    int ticks = 0;
};

class PlainParts : public EditorPartsFactory {
public:
    std::unique_ptr<EditorFrontPanel> createFrontPanel(MeterType, VSTGUI::CControlListener *, Templete *) override
    {
        return std::make_unique<PlainPanel>();
    }
    std::unique_ptr<EditorFiltersHolder> createFiltersEditor(VSTGUI::CControlListener *, Templete *) override
    {
        return std::make_unique<PlainFilters>();
    }
    std::unique_ptr<EditorLabelHolder> createLabelEditor(VSTGUI::CControlListener *, Templete *) override
    {
        return std::make_unique<PlainLabel>();
    }
};

// Every host parameter in turn, at values that switch panels, strips and window heights.
void automate(Templete &effect, int round)
{
    for (VstInt32 index = 0; index < kNumRealParameters; ++index) {
        if (index == kGSIcal)
            continue;  // the process-wide scope: set by the UI thread below
        effect.setParameter(index, (float)((round + index) % 3) * 0.5f);
    }
}

TEST(EditorThreads, ConcurrentAutomationAudioAutosaveAndEditorCyclesTouchTheEditorFromItsThreadOnly)
{
    PlainParts parts;
    Templete effect(busyHost, editorFactoryWithParts(parts));
    ASSERT_NE(effect.getEditor(), nullptr);  // owned by the effect
    AEffect *record = effect.getAeffect();
    record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.f);

    std::atomic<bool> done{false};
    std::thread audio([&] {
        std::vector<float> in(256, 0.25f), out0(256), out1(256);
        float *inputs[2] = {in.data(), in.data()};
        float *outputs[2] = {out0.data(), out1.data()};
        for (int round = 0; !done.load(); ++round) {
            record->processReplacing(record, inputs, outputs, 256);
            automate(effect, round);
        }
    });
    std::thread automation([&] {
        for (int round = 0; !done.load(); ++round) {
            automate(effect, round + 1);
            record->setParameter(record, kLabelChanged, 0.f);
        }
    });
    std::thread autosave([&] {
        while (!done.load()) {
            void *chunk = nullptr;
            record->dispatcher(record, effGetChunk, 0, 0, &chunk, 0.f);
        }
    });

    int opened = 0;
    for (int cycle = 0; cycle < 40; ++cycle) {
        OpenEditor editor(record);
        opened += editor.opened();
        for (int i = 0; i < 5; ++i) {
            editor.idle();
            automate(effect, cycle + i);
            effect.setParameter(kGSIcal, (float)(i % 3) * 0.5f);
        }
        editor.close();
    }
    done = true;
    audio.join();
    automation.join();
    autosave.join();
    EXPECT_EQ(opened, 40);
    // The process-wide scope and meter type go back to their load-time values.
    effect.setParameter(kGSIcal, 0.5f);
    effect.setParameter(kMeter, 0.f);
}

// A host that loads projects or presets on a worker thread while the editor shows the label
// strip: the label the chunk writes is read by the UI thread (on every echo of the label change
// and whenever the strip is shown).
TEST(EditorThreads, ConcurrentChunkLoadsWhileTheEditorShowsTheLabel)
{
    Templete effect(busyHost, createTemepleteEditor);  // with the product's own editor, panels and strips
    AEffect *record = effect.getAeffect();
    record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.f);
    effect.setParameter(kStrips, 1.f);
    effect.setParameter(kShowLbl, 1.f);
    // The effect's own chunk twice, with two labels: loading either changes nothing else.
    std::vector<std::vector<unsigned char>> images;
    for (const char *label : {"Drums", "Bass Guitar DI"}) {
        effect.setStripLabel(label);
        void *data = nullptr;
        const VstInt32 size = effect.getChunk(&data);
        images.emplace_back((unsigned char *)data, (unsigned char *)data + size);
    }

    std::atomic<bool> done{false};
    std::thread loader([&] {
        for (size_t round = 0; !done.load(); ++round) {
            std::vector<unsigned char> &image = images[round % 2];
            record->dispatcher(record, effSetChunk, 0, (VstIntPtr)image.size(), image.data(), 0.f);
        }
    });
    int opened = 0;
    for (int cycle = 0; cycle < 10; ++cycle) {
        OpenEditor editor(record);
        opened += editor.opened();
        editor.idle(10);
        editor.close();
    }
    done = true;
    loader.join();
    EXPECT_EQ(opened, 10);
    const std::string label = effect.stripLabelText();
    EXPECT_TRUE(label == "Drums" || label == "Bass Guitar DI") << label;
    effect.setParameter(kMeter, 0.f);  // the process-wide meter type as it was
}

}  // namespace
