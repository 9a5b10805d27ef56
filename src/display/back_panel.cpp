#include "display/back_panel.h"

#include <new>

#include "core/templete.h"
#include "display/anim_knob4.h"
#include "controls/image_numbers.h"
#include "controls/zem_calibration_control.h"
#include "controls/zem_horizontal_switch.h"
#include "controls/zem_name_plate.h"
#include "controls/zem_on_off_button.h"
#include "meters/meter_engine.h"
#include "params/meter_standards.h"
#include "ui/bitmap.h"
#include "ui/frame.h"
#include "ui/movie_bitmap.h"

using namespace VSTGUI;

// ---------------------------------------------------------------------------------------------
// The container

CZEMBackPanelContainer::CZEMBackPanelContainer(const CRect &size, CControlListener *listener)
    : CViewContainer(size), toggleButton(new CZEMOnOffButton(size, listener, kTagSettingsToggle, nullptr)),
      listener(listener)
{
    toggleButton->setValue(1.f);
}

CZEMBackPanelContainer::~CZEMBackPanelContainer() { toggleButton->forget(); }

CControl *CZEMBackPanelContainer::getToggleButton() const { return toggleButton; }

CMouseEventResult CZEMBackPanelContainer::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    CMouseEventResult result = CViewContainer::onMouseDown(where, buttons);
    if (result != kMouseEventNotHandled)
        return result;
    // The listener may close the panel and so detach this container: keep it for the return.
    ReferenceGuard keep(this);
    if (listener)
        listener->valueChanged(toggleButton);
    return kMouseEventHandled;
}

CMouseEventResult CZEMBackPanelContainer::onMouseMoved(CPoint &where, const CButtonState &buttons)
{
    CMouseEventResult result = CViewContainer::onMouseMoved(where, buttons);
    return result == kMouseEventNotHandled ? kMouseEventHandled : result;
}

bool CZEMBackPanelContainer::onWheel(const CPoint &where, const float &distance, const CButtonState &buttons)
{
    CViewContainer::onWheel(where, distance, buttons);
    return true;
}

// ---------------------------------------------------------------------------------------------
// The common part

BackPanel::BackPanel(Templete *effect, CControlListener *listener) : effect(effect), listener(listener) {}

BackPanel::~BackPanel() = default;

float BackPanel::parameter(VstInt32 index) const { return effect ? effect->getParameter(index) : 0.f; }

CRect BackPanel::selectorRect() const
{
    const CCoord width = switchOn(parameter(kStrips)) ? kSelectorWidthWithStrips : kSelectorWidthWithoutStrips;
    return CRect(0, 1, width, 12);
}

bool BackPanel::buildCommon(CFrame *newFrame, CBitmap *background)
{
    if (!newFrame) {
        frame = nullptr;
        return false;
    }
    if (!background || !background->isLoaded())
        return false;
    if (container)  // built before: the old views go first
        teardownPanel();
    frame = newFrame;

    container.adopt(new (std::nothrow)
                        CZEMBackPanelContainer(CRect(0, 0, background->getWidth(), background->getHeight()), listener));
    if (!container)
        return false;
    container->setBackground(background);
    shown = false;

    OwningPointer<CBitmap> scope(new (std::nothrow) CBitmap(kImageSettingsScope));
    if (scope) {
        calibrationSelector = new (std::nothrow) CZEMCalibrationControl(selectorRect(), listener, kGSIcal, scope.get());
        if (calibrationSelector) {
            calibrationSelector->setDefaultValue(0.f);
            calibrationSelector->setValue(parameter(kGSIcal));
            container->addView(calibrationSelector);
        }
    }

    OwningPointer<CBitmap> indicator(new (std::nothrow) CBitmap(kImageSettingsScopeIndicator));
    if (indicator) {
        calibrationIndicator = new (std::nothrow)
            CMovieBitmap(CRect(0, 180, 586, 191), listener, kGSIcal, 3, 11, indicator.get());
        if (calibrationIndicator) {
            calibrationIndicator->setValue(parameter(kGSIcal));
            container->addView(calibrationIndicator);
        }
    }
    return true;
}

void BackPanel::teardownPanel()
{
    shown = false;
    calibrationSelector = nullptr;
    calibrationIndicator = nullptr;
    container.destroy();
    frame = nullptr;
}

void BackPanel::showPanel()
{
    if (!frame || !container)
        return;
    if (!container.attach(frame))
        return;
    shown = true;
    const float scope = parameter(kGSIcal);
    if (calibrationSelector) {
        calibrationSelector->setViewSize(selectorRect());
        calibrationSelector->setValue(scope);
        calibrationSelector->setDirty(true);
    }
    if (calibrationIndicator) {
        calibrationIndicator->setValue(scope);
        calibrationIndicator->setDirty(true);
    }
    container->setDirty(true);
}

void BackPanel::hidePanel()
{
    if (container.isAttachedTo(frame))
        container.detach();
    shown = false;
}

void BackPanel::parameterChanged(VstInt32 index, float value)
{
    if (!shown || index != kGSIcal)
        return;
    if (calibrationIndicator)
        calibrationIndicator->setValue(value);
    if (calibrationSelector)
        calibrationSelector->setValue(value);
}

void BackPanel::controlChanged(CControl *control)
{
    if (!shown || !control || control->getTag() != kGSIcal)
        return;
    if (effect)
        effect->setParameter(kGSIcal, control->getValue());
    control->setDirty(true);
}

// ---------------------------------------------------------------------------------------------
// The panels of the meter types

namespace {

const CColor kLabelColor(200, 193, 193, 255);

}  // namespace

MeterBackPanel::MeterBackPanel(Templete *effect, CControlListener *listener, const Layout &layout)
    : BackPanel(effect, listener), layout(layout)
{
}

MeterEngine *MeterBackPanel::engine() const { return effect ? effect->meterEngine(layout.type) : nullptr; }

int MeterBackPanel::slotOf(VstInt32 index) const
{
    for (int slot = 0; slot < layout.count; ++slot)
        if (layout.settings[slot].index == index)
            return slot;
    return -1;
}

bool MeterBackPanel::ownsSetting(VstInt32 index) const { return slotOf(index) >= 0; }

CControl *MeterBackPanel::settingControl(VstInt32 index) const
{
    int slot = slotOf(index);
    return slot >= 0 ? controls[slot] : nullptr;
}

CTextLabel *MeterBackPanel::settingLabel(VstInt32 index) const
{
    int slot = slotOf(index);
    return slot >= 0 ? labels[slot] : nullptr;
}

CTextLabel *MeterBackPanel::makeLabel(const CRect &rect, const char *text)
{
    const int style = CTextLabel::kNoFrame | CTextLabel::kNoDrawBackground;
    auto *label = new (std::nothrow) CTextLabel(rect, text, nullptr, style);
    if (!label)
        return nullptr;
    label->setFont(kNormalFontVerySmall);
    label->setFontColor(kLabelColor);
    label->setBackColor(kTransparentCColor);
    label->setFrameColor(kTransparentCColor);
    label->setHoriAlign(kCenterText);
    return label;
}

CControl *MeterBackPanel::makeControl(const SettingControlRow &row, CBitmap *knobStrip)
{
    const long tag = row.index;
    const CRect knobRect(row.left, row.top, row.left + kSettingKnobWidth, row.top + kSettingKnobHeight);
    CAnimKnob4 *knob = nullptr;
    switch (row.kind) {
    case SettingControlKind::Knob:
        knob = new (std::nothrow)
            CAnimKnob4(knobRect, listener, tag, kSettingKnobFrames, kSettingKnobHeight, knobStrip);
        break;
    case SettingControlKind::VuBackLitKnob:
        knob = new (std::nothrow)
            CVuBackLitKnob(knobRect, listener, tag, kSettingKnobFrames, kSettingKnobHeight, knobStrip);
        break;
    case SettingControlKind::VuLedRefKnob:
        knob = new (std::nothrow)
            CVuLedRefKnob(knobRect, listener, tag, kSettingKnobFrames, kSettingKnobHeight, knobStrip);
        break;
    case SettingControlKind::VuOverLedKnob:
        knob = new (std::nothrow)
            CVuOverLedKnob(knobRect, listener, tag, kSettingKnobFrames, kSettingKnobHeight, knobStrip);
        break;
    case SettingControlKind::RmsLedRefKnob:
        knob = new (std::nothrow)
            CRmsLedRefKnob(knobRect, listener, tag, kSettingKnobFrames, kSettingKnobHeight, knobStrip);
        break;
    case SettingControlKind::RmsOverLedKnob:
        knob = new (std::nothrow)
            CRmsOverLedKnob(knobRect, listener, tag, kSettingKnobFrames, kSettingKnobHeight, knobStrip);
        break;
    case SettingControlKind::PpmLedRefKnob:
        knob = new (std::nothrow)
            CPpmLedRefKnob(knobRect, listener, tag, kSettingKnobFrames, kSettingKnobHeight, knobStrip);
        break;
    case SettingControlKind::PpmOverLedKnob:
        knob = new (std::nothrow)
            CPpmOverLedKnob(knobRect, listener, tag, kSettingKnobFrames, kSettingKnobHeight, knobStrip);
        break;
    case SettingControlKind::Switch:
    case SettingControlKind::Button: {
        OwningPointer<CBitmap> bitmap(new (std::nothrow) CBitmap(row.bitmap));
        if (!bitmap)
            return nullptr;
        const CCoord frameHeight = row.frames > 0 ? bitmap->getHeight() / row.frames : 0;
        const CRect rect(row.left, row.top, row.left + bitmap->getWidth(), row.top + frameHeight);
        if (row.kind == SettingControlKind::Switch) {
            auto *sw = new (std::nothrow)
                CZEMHorizontalSwitch(rect, listener, tag, row.frames, frameHeight, row.frames, bitmap.get());
            if (sw) {
                sw->setMin(0.f);
                sw->setMax(1.f);
            }
            return sw;
        }
        auto *button = new (std::nothrow) CZEMOnOffButton(rect, listener, tag, bitmap.get());
        if (button) {
            button->directionalWheel = true;
            button->keepWheelSign = true;
        }
        return button;
    }
    }
    if (knob) {
        // The variants snap to a few positions: a wheel notch moves exactly one, Shift or not.
        const bool plain = row.kind == SettingControlKind::Knob;
        knob->setDefaultValue(row.defaultValue);
        knob->dragFactor = row.dragRange / 1000.f;
        knob->fineFactor = row.fineFactor;
        knob->wheelStep = row.wheelStep;
        knob->wheelFineFactor = plain ? 0.1f : 1.f;
    }
    return knob;
}

bool MeterBackPanel::buildPanel(CFrame *newFrame)
{
    OwningPointer<CBitmap> background(new (std::nothrow) CBitmap(layout.background));
    if (!buildCommon(newFrame, background.get()))
        return false;
    OwningPointer<CBitmap> knobStrip(new (std::nothrow) CBitmap(kImageKnobStrip));
    MeterEngine *meter = engine();
    for (int slot = 0; slot < layout.count; ++slot) {
        const SettingControlRow &row = layout.settings[slot];
        CControl *control = makeControl(row, knobStrip.get());
        if (control) {
            control->setValue(meter ? meter->getSetting(row.index) : 0.f);
            container->addView(control);
            controls[slot] = control;
        }
        if (row.placeholder) {
            const CRect rect(row.label.left, row.label.top, row.label.right, row.label.bottom);
            if (CTextLabel *label = makeLabel(rect, row.placeholder)) {
                container->addView(label);
                labels[slot] = label;
                showText(slot);
            }
        }
    }
    const LayoutRect &place = layout.versionLabel;
    versionLabel = makeLabel(CRect(place.left, place.top, place.right, place.bottom), kVersionText);
    if (versionLabel)
        container->addView(versionLabel);
    titlePlate = new (std::nothrow) CZEMNamePlate(listener, kTagStandardsPlate, titleRect(layout));
    if (titlePlate)
        container->addView(titlePlate);
    return true;
}

CRect MeterBackPanel::titleRect(const Layout &layout)
{
    // The name is drawn 20 px high, centred over the version label, its baseline at row 50.
    const CCoord centre = layout.versionLabel.centreX();
    return CRect(centre - 32, 32, centre + 32, 54);
}

int MeterBackPanel::matchingStandard() const
{
    if (!effect)
        return -1;
    return matchingMeterStandard(layout.type, [this](VstInt32 index) { return effect->getParameter(index); });
}

void MeterBackPanel::openStandardsMenu(const CPoint &where)
{
    if (!frame || !shown)
        return;
    closeStandardsMenu();
    std::vector<std::string> items;
    for (int i = 0; i < meterStandardCount(layout.type); ++i)
        items.push_back(meterStandard(layout.type, i)->name);
    // As wide as the longest name needs in the menu's font, with the mark.
    constexpr CCoord kMenuWidth = 196;
    standardsMenu.reset(new (std::nothrow)
                            CPopupMenu(std::string(kMeterTypeNames[layout.type]) + " standards", items,
                                       matchingStandard(), kMenuWidth, [this](int item) { applyStandard(item); }));
    if (!standardsMenu)
        return;
    if (!standardsMenu->open(frame, where, CRect(0, 0, container->getWidth(), container->getHeight())))
        standardsMenu.reset();
}

void MeterBackPanel::closeStandardsMenu()
{
    if (standardsMenu)
        standardsMenu->close();
}

void MeterBackPanel::applyStandard(int position)
{
    const MeterStandard *standard = meterStandard(layout.type, position);
    if (!standard || !effect)
        return;
    // As a knob writes its setting: the effect's plain write, whose echo moves the knob and label.
    for (int i = 0; i < standard->count; ++i)
        effect->setParameter(standard->settings[i].index, standard->settings[i].value);
}

void MeterBackPanel::showText(int slot)
{
    MeterEngine *meter = engine();
    if (!labels[slot] || !meter)
        return;
    char text[64] = {};
    meter->getSettingText(layout.settings[slot].index, text);
    text[sizeof text - 1] = 0;
    labels[slot]->setText(text);
    labels[slot]->setDirty(true);
}

void MeterBackPanel::teardownPanel()
{
    closeStandardsMenu();
    standardsMenu.reset();
    titlePlate = nullptr;
    for (int slot = 0; slot < kMaxSettings; ++slot) {
        controls[slot] = nullptr;
        labels[slot] = nullptr;
    }
    versionLabel = nullptr;
    BackPanel::teardownPanel();
}

void MeterBackPanel::showPanel()
{
    BackPanel::showPanel();
    if (!shown)
        return;
    MeterEngine *meter = engine();
    for (int slot = 0; slot < layout.count; ++slot) {
        if (controls[slot] && meter) {
            controls[slot]->setValue(meter->getSetting(layout.settings[slot].index));
            controls[slot]->setDirty(true);
        }
        showText(slot);
    }
}

void MeterBackPanel::hidePanel()
{
    closeStandardsMenu();
    BackPanel::hidePanel();
}

void MeterBackPanel::parameterChanged(VstInt32 index, float value)
{
    BackPanel::parameterChanged(index, value);
    if (!shown)
        return;
    int slot = slotOf(index);
    if (slot < 0)
        return;
    if (controls[slot])
        controls[slot]->setValue(value);
    showText(slot);
}

void MeterBackPanel::controlChanged(CControl *control)
{
    BackPanel::controlChanged(control);
    if (shown && control && control == titlePlate) {
        CPoint where = titlePlate->getPressPoint();
        openStandardsMenu(titlePlate->localToFrame(where));
        return;
    }
    if (!shown || !control || slotOf((VstInt32)control->getTag()) < 0)
        return;
    if (effect)
        effect->setParameter((VstInt32)control->getTag(), control->getValue());
    control->setDirty(true);
}

VUBackPanel::VUBackPanel(Templete *effect, CControlListener *listener)
    : MeterBackPanel(effect, listener, kSettingsPanelLayouts[kMeterTypeVU])
{
}
RMSBackPanel::RMSBackPanel(Templete *effect, CControlListener *listener)
    : MeterBackPanel(effect, listener, kSettingsPanelLayouts[kMeterTypeRMS])
{
}
PPMBackPanel::PPMBackPanel(Templete *effect, CControlListener *listener)
    : MeterBackPanel(effect, listener, kSettingsPanelLayouts[kMeterTypePPM])
{
}
