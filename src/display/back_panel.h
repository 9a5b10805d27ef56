// The settings panels: one per meter type, opened over its front panel. A settings panel is not
// a view: it owns a container that is attached to the editor frame, on top of everything, while
// the panel is shown, and shows every setting of its meter engine as a knob, switch or button.
// A click that no control takes (any empty place, a label, any button but the left one) asks
// the editor to close the panel. Changes of the controls are written to the effect as plain
// (not automated) parameter writes; the effect's echo brings the new value and text back.
// [ui-thread] (the editor's), every operation of every class here.
#pragma once

#include "controls/detachable_container.h"
#include "controls/settings_panel_layout.h"
#include "params/parameter_table.h"
#include "ui/base_object.h"
#include "ui/popup_menu.h"
#include "ui/text_label.h"
#include "ui/view_container.h"

namespace VSTGUI {
class CFrame;
class CBitmap;
class CControl;
class CMovieBitmap;
}  // namespace VSTGUI
class Templete;
class MeterEngine;
class CZEMOnOffButton;
class CZEMCalibrationControl;
class CZEMNamePlate;

// The panel's own view: the background picture, the controls, and a hidden tag-65 button that
// it reports to the listener for every press that none of its children takes.
class CZEMBackPanelContainer : public VSTGUI::CViewContainer {
public:
    CZEMBackPanelContainer(const VSTGUI::CRect &size, VSTGUI::CControlListener *listener);
    ~CZEMBackPanelContainer() override;

    // Children first; a press none of them takes reports the hidden button and is handled.
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    // The panel covers the front panel and the strips: the wheel and mouse moves that its own
    // controls do not take stop here, so that no control hidden below changes or hints.
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    bool onWheel(const VSTGUI::CPoint &where, const float &distance, const VSTGUI::CButtonState &buttons) override;
    // The hidden button (tag 65, value 1); it is never part of any view.
    VSTGUI::CControl *getToggleButton() const;
    VSTGUI_TYPE(CZEMBackPanelContainer, CViewContainer)

private:
    CZEMOnOffButton *toggleButton;  // one reference, ours
    VSTGUI::CControlListener *listener;
};

class BackPanel {
public:
    // The effect and the editor outlive the panel; the editor is the listener of every control.
    BackPanel(Templete *effect, VSTGUI::CControlListener *listener);
    // Releases a container that teardownPanel left (never touches a frame that is gone).
    virtual ~BackPanel();
    BackPanel(const BackPanel &) = delete;
    BackPanel &operator=(const BackPanel &) = delete;

    // Builds the panel into frame, hidden (the container stays detached); a panel built before
    // lets its old views go first. False when the frame or a picture is missing.
    virtual bool buildPanel(VSTGUI::CFrame *frame) = 0;
    // The container with background as its picture, the scope selector and the scope indicator.
    virtual bool buildCommon(VSTGUI::CFrame *frame, VSTGUI::CBitmap *background);
    // Removes the container from the frame and releases it with every control.
    virtual void teardownPanel();
    // Attaches the container and brings every control and label up to date.
    virtual void showPanel();
    // Detaches the container, keeping it for the next show.
    virtual void hidePanel();
    // The effect's echo; acts only while shown.
    virtual void parameterChanged(VstInt32 index, float value);
    // A control reported to the listener; acts only while shown, on the panel's own tags.
    virtual void controlChanged(VSTGUI::CControl *control);

    bool isShown() const { return shown; }
    CZEMBackPanelContainer *getContainer() const { return container.get(); }
    CZEMCalibrationControl *getCalibrationSelector() const { return calibrationSelector; }
    VSTGUI::CMovieBitmap *getCalibrationIndicator() const { return calibrationIndicator; }

    // The scope selector spans the whole top edge without the strips, only its zones with them.
    static constexpr VSTGUI::CCoord kSelectorWidthWithStrips = 86;
    static constexpr VSTGUI::CCoord kSelectorWidthWithoutStrips = 581;

protected:
    // The effect's current value of a parameter (0 without an effect).
    float parameter(VstInt32 index) const;
    VSTGUI::CRect selectorRect() const;

    bool shown = false;
    Templete *effect;
    VSTGUI::CControlListener *listener;
    VSTGUI::CFrame *frame = nullptr;
    DetachableContainer<CZEMBackPanelContainer> container;
    CZEMCalibrationControl *calibrationSelector = nullptr;
    VSTGUI::CMovieBitmap *calibrationIndicator = nullptr;
};

// A settings panel built from its type's table. The three product panels below only name it.
class MeterBackPanel : public BackPanel {
public:
    using Layout = SettingsPanelLayout;
    static constexpr int kMaxSettings = kMaxSettingsPerPanel;
    static constexpr const char *kVersionText = kSettingsVersionText;

    bool buildPanel(VSTGUI::CFrame *frame) override;
    void teardownPanel() override;
    void showPanel() override;
    void hidePanel() override;
    void parameterChanged(VstInt32 index, float value) override;
    void controlChanged(VSTGUI::CControl *control) override;

    // The control and label of a setting index (null when it has none or is not built).
    VSTGUI::CControl *settingControl(VstInt32 index) const;
    VSTGUI::CTextLabel *settingLabel(VstInt32 index) const;
    VSTGUI::CTextLabel *getVersionLabel() const { return versionLabel; }
    bool ownsSetting(VstInt32 index) const;

    // The title (the meter's name in the picture): a right press opens the standards menu of
    // the type (params/meter_standards.h), the standard the settings match marked; a choice
    // writes its settings as the knobs write theirs, one plain parameter write each.
    static VSTGUI::CRect titleRect(const Layout &layout);
    CZEMNamePlate *getTitlePlate() const { return titlePlate; }
    // The standards menu while it is open, else null.
    VSTGUI::CPopupMenu *getStandardsMenu() const
    {
        return standardsMenu && standardsMenu->isOpen() ? standardsMenu.get() : nullptr;
    }
    void openStandardsMenu(const VSTGUI::CPoint &where);
    void closeStandardsMenu();
    // The position of the standard the current settings match, or -1.
    int matchingStandard() const;
    void applyStandard(int position);

protected:
    MeterBackPanel(Templete *effect, VSTGUI::CControlListener *listener, const Layout &layout);

private:
    MeterEngine *engine() const;
    int slotOf(VstInt32 index) const;  // the row of the table, or -1
    VSTGUI::CControl *makeControl(const SettingControlRow &row, VSTGUI::CBitmap *knobStrip);
    VSTGUI::CTextLabel *makeLabel(const VSTGUI::CRect &rect, const char *text);
    void showText(int slot);

    const Layout &layout;
    CZEMNamePlate *titlePlate = nullptr;  // the container's
    VSTGUI::OwningPointer<VSTGUI::CPopupMenu> standardsMenu;
    VSTGUI::CControl *controls[kMaxSettings] = {};
    VSTGUI::CTextLabel *labels[kMaxSettings] = {};
    VSTGUI::CTextLabel *versionLabel = nullptr;
};

// Settings 83 to 91.
class VUBackPanel : public MeterBackPanel {
public:
    VUBackPanel(Templete *effect, VSTGUI::CControlListener *listener);
};

// Settings 72 to 81.
class RMSBackPanel : public MeterBackPanel {
public:
    RMSBackPanel(Templete *effect, VSTGUI::CControlListener *listener);
};

// Settings 93 to 100.
class PPMBackPanel : public MeterBackPanel {
public:
    PPMBackPanel(Templete *effect, VSTGUI::CControlListener *listener);
};
