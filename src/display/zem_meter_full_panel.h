// The front panels: the 586 x 169 face of one meter type with its two needle views and the main
// controls (meter selector, trim slider and field, process, scope, strips and manual buttons,
// LR/MS button and indicators, hold switch, reference display, hint line). A panel is not a
// view: it builds its views into a container of its own, which the editor attaches to the frame
// while the panel's meter type is selected. Each panel owns the settings panel of its type,
// which opens over it.
// [ui-thread] (the editor's), every operation of the panels.
#pragma once

#include <memory>

#include "params/parameter_table.h"
#include "params/typed_entry.h"
#include "display/back_panel.h"
#include "controls/detachable_container.h"
#include "controls/editor_parts.h"

class CZEMMeter2;
class CZEMSliderAH;
class CMyTextEditAH;
class CZEMOnOffButton;
class CZEMOnOffButtonH;
class CZEMHorizontalSwitch;
class CZEMCalibrationControl;
class CZEMMeterSelectorControl;
class CKQKickButtonH;
class CFrontReferenceControl;
class CHelpHintLabel;
class MeterEngine;
namespace VSTGUI {
class CMovieBitmap;
class CViewContainer;
}  // namespace VSTGUI

// What differs between the three front panels besides their views.
struct FrontPanelLook {
    int background;          // 586 x 169
    int lrmsButton;          // 87 x 48, 2 frames
    int lrmsIndicatorLeft;   // 66 x 38, 2 frames
    int lrmsIndicatorRight;  // 66 x 38, 2 frames
    int holdSwitch;          // 86 x 72, 3 frames
    VstInt32 referenceSetting;
    float referenceDefault;
    float referenceDragPixels;  // for the full range; Shift: ten times as many
    float referenceWheelStep;   // Shift: one tenth of it
};

// The look of each meter type, indexed by MeterType. [any-thread] (constants)
const FrontPanelLook &frontPanelLook(MeterType type);

// The trim field's text as a Trim value: trimValueFromText (params/typed_entry.h).

class CZEMMeterFULLPANEL : public EditorFrontPanel {
public:
    ~CZEMMeterFULLPANEL() override;
    CZEMMeterFULLPANEL(const CZEMMeterFULLPANEL &) = delete;
    CZEMMeterFULLPANEL &operator=(const CZEMMeterFULLPANEL &) = delete;

    // Builds every view into the detached container and the hidden settings panel into the
    // frame. background null: the panel loads its type's own. False without a frame.
    bool buildPanel(VSTGUI::CFrame *frame, VSTGUI::CBitmap *background) override;
    // Releases the container with every view (a reference display that Strips took away
    // included), then tears down and deletes the settings panel. Safe to call twice.
    void teardownPanel() override;
    // Attaches the container and brings the common controls up to the effect's values.
    void showPanel() override;
    // Detaches the container; the settings panel is left as it is.
    void hidePanel() override;
    // Every index, shown or not; while the settings panel is shown it sees the change too.
    void parameterChanged(VstInt32 index, float value) override;
    // Tags 65 (settings panel), 67 (reset peaks), 68 (trim entry), the reference display and
    // for VU 88 (backlight); every change also reaches the settings panel.
    void controlChanged(VSTGUI::CControl *control) override;
    // Reads the engine into both views (left completely, then right), then lets the engine pull
    // its shared scope's changes.
    void refreshMeters(double position) override;
    // Leaving the settings panel stores the defaults, as closing it by a click does.
    void closeSettingsPanel() override;
    void raiseSettingsPanel() override;

    bool isBuilt() const { return built; }
    bool isShown() const;
    MeterType meterType() const { return type; }
    const FrontPanelLook &look() const { return frontPanelLook(type); }
    VSTGUI::CViewContainer *getContainer() const { return container.get(); }
    CZEMMeter2 *getLeftView() const { return leftView; }
    CZEMMeter2 *getRightView() const { return rightView; }
    CZEMSliderAH *getTrimSlider() const { return trimSlider; }
    CMyTextEditAH *getTrimText() const { return trimText; }
    CZEMOnOffButtonH *getProcessButton() const { return processButton; }
    CZEMOnOffButton *getLRMSButton() const { return lrmsButton; }
    VSTGUI::CMovieBitmap *getLRMSIndicatorLeft() const { return lrmsIndicatorLeft; }
    VSTGUI::CMovieBitmap *getLRMSIndicatorRight() const { return lrmsIndicatorRight; }
    CZEMHorizontalSwitch *getHoldSwitch() const { return holdSwitch; }
    CZEMCalibrationControl *getCalibrationSelector() const { return calibrationSelector; }
    CZEMMeterSelectorControl *getMeterSelector() const { return meterSelector; }
    CZEMOnOffButtonH *getStripsButton() const { return stripsButton; }
    CKQKickButtonH *getManualButton() const { return manualButton; }
    CFrontReferenceControl *getReferenceControl() const { return referenceControl; }
    CHelpHintLabel *getHintLabel() const override { return hintLabel; }
    BackPanel *getSettingsPanel() const { return settingsPanel.get(); }

    static constexpr int kWidth = 586;
    static constexpr int kHeight = 169;

protected:
    CZEMMeterFULLPANEL(VSTGUI::CControlListener *listener, Templete *effect, MeterType type);

    // The readings of one channel in one refresh, in the order they are read.
    struct ChannelReading {
        float level;
        float hold;         // the infinite hold already applied
        double meanSquare;  // RMS only, else 0
        int over;
    };
    // channel 0 left or mid, 1 right or side.
    ChannelReading readChannel(MeterEngine &engine, int channel, double position, bool withMeanSquare) const;
    MeterEngine *engine() const;

    // The type's needle view at the top-left corner.
    virtual CZEMMeter2 *createView(const VSTGUI::CPoint &topLeft) = 0;
    virtual std::unique_ptr<BackPanel> createSettingsPanel() = 0;
    // Writes a channel's readings into its view.
    virtual void showReading(CZEMMeter2 *view, const ChannelReading &reading) = 0;
    // Whether refreshMeters reads the mean square (RMS).
    virtual bool readsMeanSquare() const { return false; }
    // The type's own parameter and control handling, after the common one.
    virtual void typeParameterChanged(VstInt32 index);
    virtual void typeControlChanged(VSTGUI::CControl *control);
    // After the views are made, before they are added (VU: the backlight).
    virtual void viewsCreated() {}

    void updateReference();
    // The hint line's resting text: the standard the type's settings match, if any.
    void updateStandardHint();
    float parameter(VstInt32 index) const;

    bool built = false;
    DetachableContainer<> container;
    VSTGUI::CControlListener *listener;
    Templete *effect;
    VSTGUI::CFrame *frame = nullptr;
    CZEMMeter2 *leftView = nullptr;
    CZEMMeter2 *rightView = nullptr;
    std::unique_ptr<BackPanel> settingsPanel;
    CZEMSliderAH *trimSlider = nullptr;
    CMyTextEditAH *trimText = nullptr;
    CZEMOnOffButtonH *processButton = nullptr;
    CZEMOnOffButton *lrmsButton = nullptr;
    VSTGUI::CMovieBitmap *lrmsIndicatorLeft = nullptr;
    VSTGUI::CMovieBitmap *lrmsIndicatorRight = nullptr;
    CZEMHorizontalSwitch *holdSwitch = nullptr;
    CZEMCalibrationControl *calibrationSelector = nullptr;
    CZEMMeterSelectorControl *meterSelector = nullptr;
    CZEMOnOffButtonH *stripsButton = nullptr;
    VSTGUI::CRect manualButtonRect;
    CKQKickButtonH *manualButton = nullptr;
    CFrontReferenceControl *referenceControl = nullptr;  // in the container only while Strips is on
    CHelpHintLabel *hintLabel = nullptr;

private:
    bool buildCommon(VSTGUI::CFrame *frame, VSTGUI::CBitmap *background);
    void buildMeterControls();
    void placeReferenceControl(bool inContainer);
    void trimEntered(VSTGUI::CControl *control);
    void toggleSettingsPanel();

    const MeterType type;
};

class CZEMVUMeterFULLPANEL : public CZEMMeterFULLPANEL {
public:
    CZEMVUMeterFULLPANEL(VSTGUI::CControlListener *listener, Templete *effect);

protected:
    CZEMMeter2 *createView(const VSTGUI::CPoint &topLeft) override;
    std::unique_ptr<BackPanel> createSettingsPanel() override;
    void showReading(CZEMMeter2 *view, const ChannelReading &reading) override;
    void typeParameterChanged(VstInt32 index) override;
    void typeControlChanged(VSTGUI::CControl *control) override;
    void viewsCreated() override { updateBacklight(); }

private:
    // Both views take integer(backlight setting x 4 + 0.5).
    void updateBacklight();
};

class CZEMRMSMeterFULLPANEL : public CZEMMeterFULLPANEL {
public:
    CZEMRMSMeterFULLPANEL(VSTGUI::CControlListener *listener, Templete *effect);

    // [any-thread] The RMS needle's amplitude for a mean square: its square root times 1.4142, so that a
    // sine reads its peak.
    static float rmsFromMeanSquare(double meanSquare);

protected:
    CZEMMeter2 *createView(const VSTGUI::CPoint &topLeft) override;
    std::unique_ptr<BackPanel> createSettingsPanel() override;
    void showReading(CZEMMeter2 *view, const ChannelReading &reading) override;
    bool readsMeanSquare() const override { return true; }
};

class CZEMPPMMeterFULLPANEL : public CZEMMeterFULLPANEL {
public:
    CZEMPPMMeterFULLPANEL(VSTGUI::CControlListener *listener, Templete *effect);

protected:
    CZEMMeter2 *createView(const VSTGUI::CPoint &topLeft) override;
    std::unique_ptr<BackPanel> createSettingsPanel() override;
    void showReading(CZEMMeter2 *view, const ChannelReading &reading) override;
};

// [ui-thread] The front panel of a meter type; null without memory (or for a number that is no meter type).
std::unique_ptr<CZEMMeterFULLPANEL> createFrontPanel(MeterType meterType, VSTGUI::CControlListener *listener,
                                                     Templete *effect);
