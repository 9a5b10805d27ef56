// The plug-in's editor window: one frame holding the selected meter's front panel and the two
// channel strips below it. It is the single listener of every control, the single receiver of
// the effect's parameter echo, and owns the window height, which follows the strip layout.
// Threads: open, close, idle, valueChanged - host UI thread; setParameter - the thread that
// set the parameter (host automation may come from the audio thread).
#pragma once

#include "editor/editor_parts.h"
#include "editor/image_numbers.h"
#include "editor/preset_system_editor.h"

class MyFrame;

class TemepleteEditor : public CPresetSystemEditor {
public:
    static constexpr int kWidth = 586;
    static constexpr int kPanelHeight = 169;
    static constexpr int kBackgroundBitmap = kImageVUFront;

    // Registers itself with the effect and loads the background.
    explicit TemepleteEditor(AudioEffect *effect, EditorPartsFactory &parts = productEditorParts());
    // Detaches from the effect, then releases the background.
    ~TemepleteEditor() override;

    // Answers false, creating nothing, without a parent window or background picture.
    bool open(void *ptr) override;
    void close() override;
    void idle() override;
    void setParameter(VstInt32 index, float value) override;
    void valueChanged(VSTGUI::CControl *control) override;

    // value: the Meter parameter. Shows that meter's panel and re-places the strips.
    void selectMeterPanel(float value);
    // Places the strips after Strips, ShowFlt and ShowLbl, and with resize sets the height.
    void layoutStrips(bool resize);
    void setEditorHeight(int height);

    int getSelectedMeter() const { return selectedMeter; }
    void *getParentWindow() const { return parentWindow; }
    // The position that the last idle passed to the panel.
    double getLastIdlePosition() const { return lastIdlePosition; }

private:
    EditorFrontPanel *panel(int meterType) const;
    float effectParameter(VstInt32 index) const;

    Templete *templete;
    EditorPartsFactory &parts;
    VSTGUI::CBitmap *background = nullptr;
    void *parentWindow = nullptr;
    EditorFrontPanel *vuPanel = nullptr;
    EditorFrontPanel *rmsPanel = nullptr;
    EditorFrontPanel *ppmPanel = nullptr;
    EditorLabelHolder *labelEditor = nullptr;
    EditorFiltersHolder *filtersEditor = nullptr;
    int selectedMeter = -1;                    // 0 VU, 1 RMS, 2 PPM; -1 none shown
    int stripLayoutCache[3] = {-1, -1, -1};    // Strips, ShowFlt, ShowLbl as last applied
    double lastIdlePosition = 0;
};
