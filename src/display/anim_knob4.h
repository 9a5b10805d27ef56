// The settings knobs: a filmstrip knob with a linear drag that adds horizontal and vertical
// movement, a Shift fine mode that rebases without a jump, Ctrl-click or double-click reset and
// fractional wheel steps; drawing variants that snap the strip to a few frames; and the front
// panel's reference display, which drags like a knob. All arithmetic is single precision.
// [ui-thread] every operation: a parameter changed on another thread reaches a knob through the
// editor's next idle.
#pragma once

#include "controls/zem_hint_control.h"
#include "ui/anim_knob.h"

class CAnimKnob4 : public VSTGUI::CAnimKnob {
public:
    CAnimKnob4(const VSTGUI::CRect &size, VSTGUI::CControlListener *listener, long tag, int subPixmaps,
               VSTGUI::CCoord heightOfOneImage, VSTGUI::CBitmap *background,
               const VSTGUI::CPoint &offset = VSTGUI::CPoint());

    // The full range spans 1000 x dragFactor pixels, fineFactor times as many with Shift.
    float dragFactor = 1.0f;
    float fineFactor = 5.0f;
    float wheelStep = 0.01f;
    float wheelFineFactor = 0.1f;

    // integer((frames - 1) x value + 0.5) for a positive value, else 0.
    virtual int drawnFrame() const;

    void draw(VSTGUI::CDrawContext *context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint &, const VSTGUI::CButtonState &) override
    {
        return VSTGUI::kMouseEventHandled;
    }
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint &, const VSTGUI::CButtonState &) override
    {
        return VSTGUI::kMouseEventHandled;
    }
    bool onWheel(const VSTGUI::CPoint &where, const float &distance, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CAnimKnob4, CAnimKnob)

protected:
    float valuePerPixel(const VSTGUI::CButtonState &buttons) const;
    // The frame of a position q in [0, 1] on this strip.
    int frameOfPosition(float q) const;
};

// Seven positions: frames 0, 8, 17, 25, 33, 42, 50 of a 51-frame strip.
class CRmsLedRefKnob : public CAnimKnob4 {
public:
    using CAnimKnob4::CAnimKnob4;
    int drawnFrame() const override;
    VSTGUI_TYPE(CRmsLedRefKnob, CAnimKnob4)
};

// Ten positions, never the first or last frame: 2 ... 47.
class CRmsOverLedKnob : public CAnimKnob4 {
public:
    using CAnimKnob4::CAnimKnob4;
    int drawnFrame() const override;
    VSTGUI_TYPE(CRmsOverLedKnob, CAnimKnob4)
};

// Four positions: frames 5, 19, 31, 45.
class CVuLedRefKnob : public CAnimKnob4 {
public:
    using CAnimKnob4::CAnimKnob4;
    int drawnFrame() const override;
    VSTGUI_TYPE(CVuLedRefKnob, CAnimKnob4)
};
class CPpmLedRefKnob : public CVuLedRefKnob {
public:
    using CVuLedRefKnob::CVuLedRefKnob;
    VSTGUI_TYPE(CPpmLedRefKnob, CVuLedRefKnob)
};

// Ten positions: frames 2 ... 43, 48.
class CVuOverLedKnob : public CAnimKnob4 {
public:
    using CAnimKnob4::CAnimKnob4;
    int drawnFrame() const override;
    VSTGUI_TYPE(CVuOverLedKnob, CAnimKnob4)
};
class CPpmOverLedKnob : public CVuOverLedKnob {
public:
    using CVuOverLedKnob::CVuOverLedKnob;
    VSTGUI_TYPE(CPpmOverLedKnob, CVuOverLedKnob)
};

// Five positions: frames 15, 20, 25, 30, 35.
class CVuBackLitKnob : public CAnimKnob4 {
public:
    using CAnimKnob4::CAnimKnob4;
    int drawnFrame() const override;
    VSTGUI_TYPE(CVuBackLitKnob, CAnimKnob4)
};

// The front panel's reference display: a one-frame background with the reference text right of
// the printed caption, and the knob's drag.
class CFrontReferenceControl : public CAnimKnob4, public CZEMHintControl {
public:
    static constexpr int kTextCapacity = 30;  // 29 characters and the terminator

    CFrontReferenceControl(const VSTGUI::CRect &size, VSTGUI::CControlListener *listener, long tag,
                           VSTGUI::CBitmap *background, const VSTGUI::CPoint &offset = VSTGUI::CPoint());
    // Copies at most 29 characters and marks the control dirty.
    void setReferenceText(const char *text);
    const char *getReferenceText() const { return referenceText; }

    void draw(VSTGUI::CDrawContext *context) override;
    VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CFrontReferenceControl, CAnimKnob4)

private:
    char referenceText[kTextCapacity] = {};
};
