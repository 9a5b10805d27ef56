// The needle views: one channel of the selected meter as a moving-needle instrument. The front
// panel writes the engine's readings into them at every editor idle; a view asks for a redraw
// only when a needle or marker moved by a visible amount (1/540 of its arc) or the LED or the
// backlight changed, and then only for small areas along the old and the new needle. A left click
// reports tag 67 (reset the peaks) to the listener.
// Thread: the UI thread (construction, readings, drawing, mouse).
#pragma once

#include "display/needle_laws.h"
#include "ui/control.h"

namespace VSTGUI {
class CBitmap;
}

// The base of the three views: geometry, over LED, hold visibility, click and the rules that
// turn a new reading into an invalidated area.
class CZEMMeter2 : public VSTGUI::CControl {
public:
    ~CZEMMeter2() override;
    CZEMMeter2(const CZEMMeter2 &) = delete;
    CZEMMeter2 &operator=(const CZEMMeter2 &) = delete;

    // 1 over now, 0 over seen earlier, -1 never (other values count as -1).
    void setOverState(int state);
    int getOverState() const { return overState; }
    // Set by the front panel when Hold is not Off.
    void setHoldVisible(bool visible);
    bool isHoldVisible() const { return holdVisible; }

    const NeedleGeometry &geometry() const { return needleGeometry; }
    // The pivot in the coordinates of the view's parent.
    VSTGUI::CPoint pivot() const;
    // The LED's rectangle in the coordinates of the view's parent.
    VSTGUI::CRect ledRect() const;
    // The smallest angle change that is redrawn: 1/540 of the arc the needles sweep.
    float visibleStep() const { return arcDegrees / 540.0f; }

    // Left button: reports to the listener (the panel resets the peaks) and takes the press.
    // Any other button: not handled.
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CZEMMeter2, CControl)

    static constexpr float kLineWidth = 2.4f;
    static constexpr float kCentreLineWidth = 0.6f;

protected:
    // One needle or marker as the screen shows it: its angle and its two radii.
    struct Needle {
        float degrees;
        float from, to;
    };

    CZEMMeter2(const VSTGUI::CPoint &topLeft, VSTGUI::CControlListener *listener, const NeedleGeometry &geometry,
               float arcDegrees);

    // Moves a shown needle to newDegrees when the change is visible and
    // invalidates the area of the old and the new needle; a needle that is not shown always
    // follows, without a redraw. Answers whether it moved.
    bool moveNeedle(Needle &needle, float newDegrees, bool shown);
    // Invalidates the area a needle covers in pieces along it, each with room for its width and
    // antialiasing.
    void invalidNeedle(const Needle &needle);
    void strokeNeedle(VSTGUI::CDrawContext *context, const Needle &needle, const VSTGUI::CColor &color) const;
    // A line from radius r1 to radius r2 along the needle's angle.
    void strokeRadial(VSTGUI::CDrawContext *context, float degrees, float r1, float r2,
                      const VSTGUI::CColor &color) const;
    void drawLed(VSTGUI::CDrawContext *context) const;
    // A hook for views that cache the LED in a picture of their own.
    virtual void ledChanged() {}

    const NeedleGeometry &needleGeometry;
    const float arcDegrees;
    int overState = -1;
    bool holdVisible = false;
    VSTGUI::CBitmap *ledBitmap = nullptr;  // 20 x 60: never over, over earlier, over now
};

// VU: the face with five backlight levels, the needle, the hold marker and the cover strip.
class CZEMVUMeter2 : public CZEMMeter2 {
public:
    CZEMVUMeter2(const VSTGUI::CPoint &topLeft, VSTGUI::CControlListener *listener);
    ~CZEMVUMeter2() override;

    // Needle units (0 VU = 1), kept inside -0.05 .. 1.5; a value that is not a number is -0.05.
    void setNeedleValue(float v);
    float getNeedleValue() const { return needleValue; }
    void setHoldValue(float v);
    float getHoldValue() const { return holdValue; }
    // 0 .. 4; other values are limited to that range.
    void setBacklight(int index);
    int getBacklight() const { return backlight; }
    float needleDegrees() const { return needle.degrees; }
    float holdDegrees() const { return hold.degrees; }
    // The strip redrawn over the needles' roots, in the coordinates of the view's parent.
    VSTGUI::CRect coverRect() const;

    void draw(VSTGUI::CDrawContext *context) override;
    VSTGUI_TYPE(CZEMVUMeter2, CZEMMeter2)

    static constexpr float kLowest = -0.05f, kHighest = 1.5f;
    static constexpr int kCoverHeight = 6;
    static constexpr VSTGUI::CColor kNeedleColour{50, 45, 30, 255};
    static constexpr VSTGUI::CColor kHoldColour{220, 0, 0, 255};

private:
    void ledChanged() override;
    // The face of the current backlight with the LED, drawn once per change into a picture of
    // the view's size at the device scale, so that a redraw copies one picture instead of
    // composing two.
    bool prepareFace(double deviceScale);
    void dropFace();

    float needleValue = kLowest;
    float holdValue = kLowest;
    int backlight = 0;
    Needle needle, hold;
    VSTGUI::CBitmap *faceBitmap = nullptr;   // 250 x 610: five faces of 250 x 122
    VSTGUI::CBitmap *facePicture = nullptr;  // the cached face with LED, or null until drawn
};

// RMS: the value needle with its centre line, the peak needle with its red tip, the hold marker.
class CZEMRMSMeter2 : public CZEMMeter2 {
public:
    CZEMRMSMeter2(const VSTGUI::CPoint &topLeft, VSTGUI::CControlListener *listener);

    // Linear amplitudes relative to the reference level, kept inside 0.0001 .. 32; a value that
    // is not a number is 0.0001.
    void setPeakValue(float v);
    float getPeakValue() const { return peakValue; }
    void setHoldValue(float v);
    float getHoldValue() const { return holdValue; }
    void setRMSValue(float v);
    float getRMSValue() const { return rmsValue; }
    float peakDegrees() const { return peak.degrees; }
    float holdDegrees() const { return hold.degrees; }
    float rmsDegrees() const { return rms.degrees; }

    void draw(VSTGUI::CDrawContext *context) override;
    VSTGUI_TYPE(CZEMRMSMeter2, CZEMMeter2)

    static constexpr VSTGUI::CColor kValueColour{140, 118, 108, 255};
    static constexpr VSTGUI::CColor kCentreLineColour{0, 0, 0, 255};
    static constexpr VSTGUI::CColor kPeakColour{237, 230, 201, 255};
    static constexpr VSTGUI::CColor kPeakTipColour{160, 0, 0, 220};
    static constexpr VSTGUI::CColor kHoldColour{255, 0, 0, 130};

private:
    float peakValue = 1e-6f, holdValue = 1e-6f, rmsValue = 1e-6f;
    Needle peak, hold, rms;
};

// PPM: the needle and the hold marker.
class CZEMPPMMeter2 : public CZEMMeter2 {
public:
    CZEMPPMMeter2(const VSTGUI::CPoint &topLeft, VSTGUI::CControlListener *listener);

    // As for the RMS view: 0.0001 .. 32, not a number is 0.0001.
    void setPeakValue(float v);
    float getPeakValue() const { return peakValue; }
    void setHoldValue(float v);
    float getHoldValue() const { return holdValue; }
    float peakDegrees() const { return peak.degrees; }
    float holdDegrees() const { return hold.degrees; }

    void draw(VSTGUI::CDrawContext *context) override;
    VSTGUI_TYPE(CZEMPPMMeter2, CZEMMeter2)

    static constexpr VSTGUI::CColor kNeedleColour{229, 218, 202, 255};
    static constexpr VSTGUI::CColor kHoldColour{220, 0, 0, 255};

private:
    float peakValue = 1e-6f, holdValue = 1e-6f;
    Needle peak, hold;
};

// The amplitude limits of the RMS and PPM read-outs: a value that is not a number is the lowest.
float clampMeterAmplitude(float v);
// The VU needle limits: a value that is not a number is the lowest.
float clampVUNeedle(float v);
