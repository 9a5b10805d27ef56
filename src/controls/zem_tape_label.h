// The strip's tape label: an editable text in the private label typeface. While it is being
// edited a marker drifts over the label, one pixel at a time, in a loop of 95 steps. The text is
// drawn whole inside the tape: in the label typeface at the size whose line, from the highest to
// the lowest point the typeface draws, fits the tape's height with a pixel to spare on each side,
// and smaller still when a long text would not fit the tape's width.
// [ui-thread]
#pragma once

#include <cstdint>
#include <string>

#include "controls/zem_text_edit.h"

class CZEMCustomFont;

class CZEMTapeLabel : public CMyTextEdit {
public:
    static constexpr int kSteps = 95;
    static constexpr uint32_t kStepMilliseconds = 30;
    // Pixels kept free above and below the text's line, and beside the text in all (the text
    // lies 3 pixels right of the middle).
    static constexpr double kTapeRoom = 1;
    static constexpr double kTapeSideRoom = 8;

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
    // The font the text is drawn in: the label's font fitted to the tape (the label's font itself
    // when the text fits already or it is no private typeface).
    VSTGUI::CFontDesc *getTapeFont();

    VSTGUI_TYPE(CZEMTapeLabel, CMyTextEdit)

private:
    VSTGUI::CBitmap *marker;
    VSTGUI::CRect markerHome;
    VSTGUI::CRect markerRect;
    int step = 0;
    uint32_t lastTick = 0;
    void fitTapeFont();
    CZEMCustomFont *tapeFont = nullptr;             // null: the label's font fits
    const VSTGUI::CFontDesc *fittedFont = nullptr;  // the font and text tapeFont was fitted for
    std::string fittedText;
    bool fitted = false;
};
