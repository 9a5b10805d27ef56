// The strip's tape label: an editable text in the private label typeface. While it is being
// edited a marker drifts over the label, one pixel at a time, in a loop of 95 steps.
// Thread: the UI thread.
#pragma once

#include <cstdint>

#include "editor/zem_text_edit.h"

class CZEMTapeLabel : public CMyTextEdit {
public:
    static constexpr int kSteps = 95;
    static constexpr uint32_t kStepMilliseconds = 30;

    CZEMTapeLabel(const VSTGUI::CRect &size, VSTGUI::CControlListener *listener, VSTGUI::CBitmap *background);
    ~CZEMTapeLabel() override;

    void draw(VSTGUI::CDrawContext *context) override;
    // The label editor's idle step: while editing, at most one step per 30 ms of the frame's
    // tick count.
    void animationStep();
    // The same with a given tick count.
    void animationStep(uint32_t ticks);

    // How the marker moves when the animation reaches step (x right, y down).
    static VSTGUI::CPoint markerMove(int step);
    const VSTGUI::CRect &getMarkerHome() const { return markerHome; }
    const VSTGUI::CRect &getMarkerRect() const { return markerRect; }
    int getStep() const { return step; }

    VSTGUI_TYPE(CZEMTapeLabel, CMyTextEdit)

private:
    VSTGUI::CBitmap *marker;
    VSTGUI::CRect markerHome;
    VSTGUI::CRect markerRect;
    int step = 0;
    uint32_t lastTick = 0;
};
