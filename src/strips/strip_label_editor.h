// The label strip: ShowLbl and, expanded, the lag display (LagTime) and the tape label that
// shows and edits the effect's strip label. Thread: the UI thread.
#pragma once

#include <cstddef>

#include "strips/strip_editor.h"

namespace VSTGUI {
class CMovieBitmap;
}
class COnOffButtonH;
class CZEMLatencyControl;
class CZEMTapeLabel;

class StripLabelEditor : public StripEditor {
public:
    static constexpr int kExpandedHeight = 39;
    static constexpr int kCollapsedHeight = 13;
    // The longest label the strip stores, in bytes (the effect keeps 39 and a terminator).
    static constexpr size_t kLabelMaxBytes = 38;
    // LagTime for a latency in seconds: 999 ms stand for 1, so the lag in ms equals the latency.
    static constexpr double kLagPerSecond = 1.001001;

    using StripEditor::StripEditor;
    ~StripLabelEditor() override;

    bool build(VSTGUI::CFrame *frame, VSTGUI::CBitmap *background, bool expanded) override;
    // Then the controls show the effect's values and label.
    void attach(const VSTGUI::CPoint &position) override;
    void parameterChanged(VstInt32 index, float value) override;
    void valueChanged(VSTGUI::CControl *control) override;
    // One step of the tape label's animation (it moves only while the label is being edited).
    virtual void idleTick();

    COnOffButtonH *getShowButton() const { return showLbl; }
    CZEMLatencyControl *getLagControl() const { return lag; }
    CZEMTapeLabel *getTapeLabel() const { return tape; }

protected:
    void dropControls() override;

private:
    void showLabelText();

    COnOffButtonH *showLbl = nullptr;
    CZEMLatencyControl *lag = nullptr;
    CZEMTapeLabel *tape = nullptr;
    VSTGUI::CMovieBitmap *title = nullptr;
};
