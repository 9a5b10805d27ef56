#include "display/zem_meter_full_panel.h"

#include "platform/contract.h"

#include <cmath>
#include <new>
#include <vector>

#include "params/meter_standards.h"
#include "params/parameter_table.h"
#include "core/templete.h"
#include "display/anim_knob4.h"
#include "display/zem_meter2.h"
#include "controls/image_numbers.h"
#include "controls/kq_kick_button.h"
#include "controls/zem_calibration_control.h"
#include "controls/zem_horizontal_switch.h"
#include "controls/zem_meter_selector_control.h"
#include "controls/zem_on_off_button.h"
#include "controls/zem_slider.h"
#include "controls/zem_text_edit.h"
#include "meters/meter_engine.h"
#include "ui/bitmap.h"
#include "ui/font.h"
#include "ui/movie_bitmap.h"
#include "ui/view_container.h"

using namespace VSTGUI;

namespace {

const FrontPanelLook looks[kMeterTypeCount] = {
    {kImageVUFront, kImageVULRMS, kImageVULRMSLeft, kImageVULRMSRight, kImageVUHold, kTagVUReference, 0.25f, 500.f,
     1.f / 24.f},
    {kImageRMSFront, kImageRMSLRMS, kImageRMSLRMSLeft, kImageRMSLRMSRight, kImageRMSHold, kTagRMSReference, 0.667f,
     300.f, 1.f / 30.f},
    {kImagePPMFront, kImagePPMLRMS, kImagePPMLRMSLeft, kImagePPMLRMSRight, kImagePPMHold, kTagPPMReference, 0.5f, 500.f,
     1.f / 24.f},
};

constexpr int kTextSize = 64;  // room for any display text of the effect

// Frame sizes of the images the common build uses.
constexpr CCoord kLRMSButtonFrameHeight = 24, kLRMSIndicatorFrameHeight = 19, kHoldFrameHeight = 24;

// The views keep the pictures they show; the panel holds its own references only while building.
CBitmap *loadImage(int number, std::vector<OwningPointer<CBitmap>> &keep)
{
    keep.emplace_back(new (std::nothrow) CBitmap(number));
    return keep.back().get();
}

int backlightIndex(float setting) { return (int)(setting * 4.f + 0.5f); }

}  // namespace

const FrontPanelLook &frontPanelLook(MeterType type)
{
    ZEM_CHECK(isMeterType(type), looks[kMeterTypeVU]);
    return looks[type];
}

// ---- CZEMMeterFULLPANEL ----------------------------------------------------------------------

CZEMMeterFULLPANEL::CZEMMeterFULLPANEL(CControlListener *listener, Templete *effect, MeterType type)
    : listener(listener), effect(effect), type(type)
{
}

CZEMMeterFULLPANEL::~CZEMMeterFULLPANEL() { teardownPanel(); }

float CZEMMeterFULLPANEL::parameter(VstInt32 index) const { return effect ? effect->getParameter(index) : 0.f; }

MeterEngine *CZEMMeterFULLPANEL::engine() const { return effect ? effect->meterEngine(type) : nullptr; }

bool CZEMMeterFULLPANEL::isShown() const { return container.isAttachedTo(frame); }

bool CZEMMeterFULLPANEL::buildPanel(CFrame *newFrame, CBitmap *background)
{
    OwningPointer<CBitmap> own;
    if (!background && newFrame) {
        own.reset(new (std::nothrow) CBitmap(look().background));
        background = own.get();
    }
    if (!buildCommon(newFrame, background))
        return false;
    buildMeterControls();
    return true;
}

bool CZEMMeterFULLPANEL::buildCommon(CFrame *newFrame, CBitmap *background)
{
    if (built)
        teardownPanel();
    frame = newFrame;
    if (!frame)
        return false;
    container.adopt(new CViewContainer(CRect(0, 0, kWidth, kHeight)));
    if (background && background->isLoaded())
        container->setBackground(background);

    std::vector<OwningPointer<CBitmap>> images;
    meterSelector = new CZEMMeterSelectorControl(CRect(195, 144, 195 + 149, 144 + 23), listener, kMeter,
                                                 loadImage(kImageMeterSelector, images));
    meterSelector->setDefaultValue(0.f);
    meterSelector->setValue(parameter(kMeter));
    container->addView(meterSelector);

    // The handle travels the control's height less its own, so that it stays whole inside the
    // control: -20 dB puts it at the bottom, +20 dB at the top.
    const CRect trimArea(538, 17, 570, 143);
    CBitmap *trimHandle = loadImage(kImageTrimHandle, images);
    const CCoord trimHandleHeight = trimHandle ? trimHandle->getHeight() : 0;
    trimSlider = new CZEMSliderAH(trimArea, listener, kTrim, CPoint(0, 0), trimArea.getHeight() - trimHandleHeight,
                                  trimHandle, nullptr, CPoint(), CSlider::kVertical | CSlider::kBottom);
    trimSlider->setDefaultValue(0.5f);
    trimSlider->setWheelStep(0.025f);
    trimSlider->setFineWheelFactor(0.1f);
    trimSlider->setFineDragFactor(0.1f);
    trimSlider->setValue(parameter(kTrim));
    trimSlider->setActive(switchOn(parameter(kProcess)));
    container->addView(trimSlider);

    char text[kTextSize] = {};
    if (effect)
        effect->getParameterDisplay(kTrim, text);
    trimText = new CMyTextEditAH(CRect(530, 146, 578, 161), listener, kTagTrimEntry, text,
                                 background && background->isLoaded() ? background : nullptr);
    trimText->setFont(kNormalFontVerySmall);
    trimText->setFontColor(CColor(170, 170, 170, 255));
    trimText->setStyle(CTextLabel::kNoFrame);
    trimText->setEditBackColour(CColor(0, 0, 0, 255));
    trimText->setEditFrameColour(CColor(127, 127, 127, 255));
    trimText->setEditSelectionColour(CColor(255, 255, 255, 255));
    trimText->setActive(switchOn(parameter(kProcess)));
    container->addView(trimText);

    processButton = new CZEMOnOffButtonH(CRect(531, 1, 531 + 43, 1 + 14), listener, kProcess,
                                         loadImage(kImageProcess, images));
    processButton->setValue(parameter(kProcess));
    container->addView(processButton);

    calibrationSelector = new CZEMCalibrationControl(CRect(0, 1, 86, 12), listener, kGSIcal,
                                                     loadImage(kImageFrontScope, images));
    calibrationSelector->setDefaultValue(0.f);
    calibrationSelector->setValue(parameter(kGSIcal));
    container->addView(calibrationSelector);

    stripsButton = new CZEMOnOffButtonH(CRect(574, 1, 574 + 11, 1 + 11), listener, kStrips,
                                        loadImage(kImageStripToggle, images));
    stripsButton->setValue(parameter(kStrips));
    container->addView(stripsButton);

    manualButtonRect = CRect(505, 0, 505 + 10, 14);
    manualButton = new CKQKickButtonH(manualButtonRect, listener, kTagManual, loadImage(kImageManualButton, images));
    container->addView(manualButton);

    hintLabel = new CHelpHintLabel(CRect(304, 0, 496, 14));
    hintLabel->setText("");
    hintLabel->setFont(kNormalFontVerySmall);
    hintLabel->setFontColor(CColor(220, 213, 213, 255));
    hintLabel->setBackColor(kTransparentCColor);
    hintLabel->setFrameColor(kTransparentCColor);
    hintLabel->setStyle(CTextLabel::kNoFrame | CTextLabel::kNoDrawBackground);
    hintLabel->setHoriAlign(kCenterText);
    container->addView(hintLabel);

    for (CZEMHintControl *hinted :
         {static_cast<CZEMHintControl *>(processButton), static_cast<CZEMHintControl *>(manualButton),
          static_cast<CZEMHintControl *>(trimSlider), static_cast<CZEMHintControl *>(trimText),
          static_cast<CZEMHintControl *>(stripsButton), static_cast<CZEMHintControl *>(meterSelector)})
        hinted->setHintTarget(hintLabel);
    built = true;
    return true;
}

void CZEMMeterFULLPANEL::buildMeterControls()
{
    std::vector<OwningPointer<CBitmap>> images;
    const FrontPanelLook &l = look();

    lrmsButton = new CZEMOnOffButton(CRect(8, 144, 8 + 87, 144 + kLRMSButtonFrameHeight), listener, kLRMS,
                                     loadImage(l.lrmsButton, images));
    lrmsButton->directionalWheel = true;
    lrmsButton->keepWheelSign = true;
    lrmsButton->setValue(parameter(kLRMS));
    container->addView(lrmsButton);

    lrmsIndicatorLeft = new CMovieBitmap(CRect(104, 146, 170, 165), listener, kTagDisplayOnly, 2,
                                         kLRMSIndicatorFrameHeight, loadImage(l.lrmsIndicatorLeft, images));
    lrmsIndicatorRight = new CMovieBitmap(CRect(369, 146, 435, 165), listener, kTagDisplayOnly, 2,
                                          kLRMSIndicatorFrameHeight, loadImage(l.lrmsIndicatorRight, images));
    for (CMovieBitmap *indicator : {lrmsIndicatorLeft, lrmsIndicatorRight}) {
        indicator->setValue(parameter(kLRMS));
        container->addView(indicator);
    }

    holdSwitch = new CZEMHorizontalSwitch(CRect(442, 144, 442 + 86, 144 + kHoldFrameHeight), listener, kHold, 3,
                                          kHoldFrameHeight, 3, loadImage(l.holdSwitch, images));
    holdSwitch->setMin(0.f);
    holdSwitch->setMax(1.f);
    holdSwitch->setValue(parameter(kHold));
    container->addView(holdSwitch);

    leftView = createView(CPoint(12, 18));
    rightView = createView(CPoint(277, 18));
    const bool holdVisible = threeState(parameter(kHold)) != 0;
    leftView->setHoldVisible(holdVisible);
    rightView->setHoldVisible(holdVisible);
    viewsCreated();
    container->addView(leftView);
    container->addView(rightView);

    referenceControl = new CFrontReferenceControl(CRect(96, 1, 96 + 133, 1 + 11), listener, l.referenceSetting,
                                                  loadImage(kImageReferenceDisplay, images));
    referenceControl->setDefaultValue(l.referenceDefault);
    referenceControl->dragFactor = l.referenceDragPixels / 1000.f;
    referenceControl->fineFactor = 10.f;
    referenceControl->wheelStep = l.referenceWheelStep;
    referenceControl->wheelFineFactor = 0.1f;
    referenceControl->setHintTarget(hintLabel);
    updateReference();
    // Our own reference until the container takes it.
    if (switchOn(parameter(kStrips)))
        container->addView(referenceControl);

    settingsPanel = createSettingsPanel();
    if (settingsPanel)
        settingsPanel->buildPanel(frame);
    updateStandardHint();
}

void CZEMMeterFULLPANEL::updateReference()
{
    MeterEngine *meter = engine();
    if (!referenceControl || !meter)
        return;
    const VstInt32 setting = look().referenceSetting;
    char text[kTextSize] = {};
    meter->getSettingText(setting, text);
    referenceControl->setValue(meter->getSetting(setting));
    referenceControl->setReferenceText(text);
    referenceControl->setDirty(true);
}

void CZEMMeterFULLPANEL::placeReferenceControl(bool inContainer)
{
    if (!referenceControl || !container)
        return;
    const bool present = container->isChild(referenceControl);
    if (inContainer && !present)
        container->addView(referenceControl);  // gives the container our reference
    else if (!inContainer && present)
        container->removeView(referenceControl, false);  // and takes it back
}

void CZEMMeterFULLPANEL::teardownPanel()
{
    const bool wasBuilt = built;
    built = false;
    if (wasBuilt) {
        // A reference display that Strips took out goes with the container.
        placeReferenceControl(true);
        leftView = rightView = nullptr;
        trimSlider = nullptr;
        trimText = nullptr;
        processButton = nullptr;
        lrmsButton = nullptr;
        lrmsIndicatorLeft = lrmsIndicatorRight = nullptr;
        holdSwitch = nullptr;
        calibrationSelector = nullptr;
        meterSelector = nullptr;
        stripsButton = nullptr;
        manualButton = nullptr;
        referenceControl = nullptr;
        hintLabel = nullptr;
        container.destroy();
        frame = nullptr;
    }
    if (settingsPanel) {
        settingsPanel->teardownPanel();
        settingsPanel.reset();
    }
}

void CZEMMeterFULLPANEL::showPanel()
{
    if (!built || !frame || !container)
        return;
    container.attach(frame);
    meterSelector->setValue(parameter(kMeter));
    trimSlider->setValue(parameter(kTrim));
    char text[kTextSize] = {};
    if (effect)
        effect->getParameterDisplay(kTrim, text);
    trimText->setText(text);
    trimText->setActive(switchOn(parameter(kProcess)));
    processButton->setValue(parameter(kProcess));
    calibrationSelector->setValue(parameter(kGSIcal));
    stripsButton->setValue(parameter(kStrips));
    updateStandardHint();
    container->invalid();
}

void CZEMMeterFULLPANEL::hidePanel()
{
    // The trim box would stay open over the panel shown next.
    if (trimText)
        trimText->cancelOpenEdit();
    if (container.isAttachedTo(frame))
        container.detach();
}

void CZEMMeterFULLPANEL::parameterChanged(VstInt32 index, float value)
{
    if (!built)
        return;
    switch (index) {
    case kProcess: {
        const int active = switchOn(value);
        processButton->setValue(value);
        processButton->setDirty(true);
        trimSlider->setActive(active);
        trimSlider->setDirty(true);
        trimSlider->invalid();
        trimText->setActive(active);
        break;
    }
    case kTrim: {
        trimSlider->setValue(value);
        trimSlider->setDirty(true);
        char text[kTextSize] = {};
        if (effect)
            effect->getParameterDisplay(kTrim, text);
        trimText->setText(text);
        break;
    }
    case kGSIcal:
        calibrationSelector->setValue(value);
        calibrationSelector->setDirty(true);
        break;
    case kMeter:
        meterSelector->setValue(value);
        meterSelector->setDirty(true);
        break;
    case kLRMS:
        for (CControl *control : {static_cast<CControl *>(lrmsButton), static_cast<CControl *>(lrmsIndicatorLeft),
                                  static_cast<CControl *>(lrmsIndicatorRight)}) {
            control->setValue(value);
            control->setDirty(true);
        }
        break;
    case kHold: {
        const bool holdVisible = threeState(value) != 0;
        leftView->setHoldVisible(holdVisible);
        rightView->setHoldVisible(holdVisible);
        holdSwitch->setValue(value);
        holdSwitch->setDirty(true);
        break;
    }
    case kStrips:
        stripsButton->setValue(value);
        stripsButton->setDirty(true);
        placeReferenceControl(switchOn(value));
        break;
    default:
        break;
    }
    if (settingsPanel && settingsPanel->isShown())
        settingsPanel->parameterChanged(index, value);
    if (isMeterSetting(index))
        updateStandardHint();
    typeParameterChanged(index);
}

void CZEMMeterFULLPANEL::updateStandardHint()
{
    if (!hintLabel || !effect)
        return;
    const int match = matchingMeterStandard(type, [this](VstInt32 index) { return effect->getParameter(index); });
    const MeterStandard *standard = match >= 0 ? meterStandard(type, match) : nullptr;
    hintLabel->setRestingText(standard ? standard->name : "");
}

void CZEMMeterFULLPANEL::typeParameterChanged(VstInt32 index)
{
    if (index == look().referenceSetting)
        updateReference();
}

void CZEMMeterFULLPANEL::controlChanged(CControl *control)
{
    if (!built || !control)
        return;
    switch (control->getTag()) {
    case kTagSettingsToggle:
        toggleSettingsPanel();
        break;
    case kTagMeterClick:
        if (effect)
            effect->setParameter(kResetPeaks, 0.f);
        break;
    case kTagTrimEntry:
        trimEntered(control);
        break;
    default:
        break;
    }
    if (settingsPanel)
        settingsPanel->controlChanged(control);
    typeControlChanged(control);
}

void CZEMMeterFULLPANEL::typeControlChanged(CControl *control)
{
    if (control->getTag() == look().referenceSetting) {
        if (effect)
            effect->setParameter((VstInt32)control->getTag(), control->getValue());
        control->setDirty(true);
    }
}

void CZEMMeterFULLPANEL::trimEntered(CControl *control)
{
    auto *field = dynamic_cast<CZEMTextEdit *>(control);
    if (!field || !effect)
        return;
    char text[kTextEditMaxBytes + 1] = {};
    field->getText(text, sizeof text);
    effect->setParameterAutomated(kTrim, trimValueFromText(text));
}

void CZEMMeterFULLPANEL::toggleSettingsPanel()
{
    if (!settingsPanel)
        return;
    if (settingsPanel->isShown())
        closeSettingsPanel();
    else
        settingsPanel->showPanel();
}

void CZEMMeterFULLPANEL::closeSettingsPanel()
{
    if (!settingsPanel || !settingsPanel->isShown())
        return;
    settingsPanel->hidePanel();
    if (effect)
        effect->setParameter(kStoreDefaults, 0.f);
}

void CZEMMeterFULLPANEL::raiseSettingsPanel()
{
    if (!settingsPanel || !settingsPanel->isShown())
        return;
    // Attached again, it is the frame's topmost view; the panel stays open, nothing is stored.
    settingsPanel->hidePanel();
    settingsPanel->showPanel();
}

CZEMMeterFULLPANEL::ChannelReading CZEMMeterFULLPANEL::readChannel(MeterEngine &meter, int channel, double position,
                                                                   bool withMeanSquare) const
{
    ChannelReading reading;
    reading.level = (float)meter.readoutValue(channel == 0 ? kMeterLevel1 : kMeterLevel2, position);
    double hold = meter.readoutValue(channel == 0 ? kMeterHold1 : kMeterHold2, position);
    if (meter.holdMode() == 1)  // "oo": the stored maximum holds until ResetPeaks
        hold = meter.applyInfiniteHold(channel, hold);
    reading.hold = (float)hold;
    reading.meanSquare = withMeanSquare
                             ? meter.readoutValue(channel == 0 ? kMeterMeanSquare1 : kMeterMeanSquare2, position)
                             : 0.0;
    reading.over = meter.readoutOverState(channel);
    return reading;
}

void CZEMMeterFULLPANEL::refreshMeters(double position)
{
    MeterEngine *meter = engine();
    if (!built || !meter)
        return;
    // The left channel completely before the right: the engine's over state follows the
    // readings of the same channel.
    showReading(leftView, readChannel(*meter, 0, position, readsMeanSquare()));
    showReading(rightView, readChannel(*meter, 1, position, readsMeanSquare()));
    meter->syncSharedSettings();
}

// ---- VU --------------------------------------------------------------------------------------

CZEMVUMeterFULLPANEL::CZEMVUMeterFULLPANEL(CControlListener *listener, Templete *effect)
    : CZEMMeterFULLPANEL(listener, effect, kMeterTypeVU)
{
}

CZEMMeter2 *CZEMVUMeterFULLPANEL::createView(const CPoint &topLeft) { return new CZEMVUMeter2(topLeft, listener); }

std::unique_ptr<BackPanel> CZEMVUMeterFULLPANEL::createSettingsPanel()
{
    return std::unique_ptr<BackPanel>(new (std::nothrow) VUBackPanel(effect, listener));
}

void CZEMVUMeterFULLPANEL::showReading(CZEMMeter2 *view, const ChannelReading &reading)
{
    auto *vu = static_cast<CZEMVUMeter2 *>(view);
    vu->setNeedleValue(clampVUNeedle(reading.level));
    vu->setHoldValue(clampVUNeedle(reading.hold));
    vu->setOverState(reading.over);
}

void CZEMVUMeterFULLPANEL::updateBacklight()
{
    MeterEngine *meter = engine();
    if (!meter || !leftView || !rightView)
        return;
    const int index = backlightIndex(meter->getSetting(kVUBacklight));
    static_cast<CZEMVUMeter2 *>(leftView)->setBacklight(index);
    static_cast<CZEMVUMeter2 *>(rightView)->setBacklight(index);
}

void CZEMVUMeterFULLPANEL::typeParameterChanged(VstInt32 index)
{
    CZEMMeterFULLPANEL::typeParameterChanged(index);
    if (index == kVUBacklight) {
        updateBacklight();
        updateReference();
    }
}

void CZEMVUMeterFULLPANEL::typeControlChanged(CControl *control)
{
    CZEMMeterFULLPANEL::typeControlChanged(control);
    if (control->getTag() == kVUBacklight)
        updateBacklight();
}

// ---- RMS -------------------------------------------------------------------------------------

CZEMRMSMeterFULLPANEL::CZEMRMSMeterFULLPANEL(CControlListener *listener, Templete *effect)
    : CZEMMeterFULLPANEL(listener, effect, kMeterTypeRMS)
{
}

float CZEMRMSMeterFULLPANEL::rmsFromMeanSquare(double meanSquare) { return (float)(std::sqrt(meanSquare) * 1.4142); }

CZEMMeter2 *CZEMRMSMeterFULLPANEL::createView(const CPoint &topLeft) { return new CZEMRMSMeter2(topLeft, listener); }

std::unique_ptr<BackPanel> CZEMRMSMeterFULLPANEL::createSettingsPanel()
{
    return std::unique_ptr<BackPanel>(new (std::nothrow) RMSBackPanel(effect, listener));
}

void CZEMRMSMeterFULLPANEL::showReading(CZEMMeter2 *view, const ChannelReading &reading)
{
    auto *rms = static_cast<CZEMRMSMeter2 *>(view);
    rms->setPeakValue(clampMeterAmplitude(reading.level));
    rms->setHoldValue(clampMeterAmplitude(reading.hold));
    rms->setRMSValue(clampMeterAmplitude(rmsFromMeanSquare(reading.meanSquare)));
    rms->setOverState(reading.over);
}

// ---- PPM -------------------------------------------------------------------------------------

CZEMPPMMeterFULLPANEL::CZEMPPMMeterFULLPANEL(CControlListener *listener, Templete *effect)
    : CZEMMeterFULLPANEL(listener, effect, kMeterTypePPM)
{
}

CZEMMeter2 *CZEMPPMMeterFULLPANEL::createView(const CPoint &topLeft) { return new CZEMPPMMeter2(topLeft, listener); }

std::unique_ptr<BackPanel> CZEMPPMMeterFULLPANEL::createSettingsPanel()
{
    return std::unique_ptr<BackPanel>(new (std::nothrow) PPMBackPanel(effect, listener));
}

void CZEMPPMMeterFULLPANEL::showReading(CZEMMeter2 *view, const ChannelReading &reading)
{
    auto *ppm = static_cast<CZEMPPMMeter2 *>(view);
    ppm->setPeakValue(clampMeterAmplitude(reading.level));
    ppm->setHoldValue(clampMeterAmplitude(reading.hold));
    ppm->setOverState(reading.over);
}

std::unique_ptr<CZEMMeterFULLPANEL> createFrontPanel(MeterType meterType, CControlListener *listener, Templete *effect)
{
    ZEM_CHECK(isMeterType(meterType), nullptr);
    switch (meterType) {
    case kMeterTypeVU:
        return std::unique_ptr<CZEMMeterFULLPANEL>(new (std::nothrow) CZEMVUMeterFULLPANEL(listener, effect));
    case kMeterTypeRMS:
        return std::unique_ptr<CZEMMeterFULLPANEL>(new (std::nothrow) CZEMRMSMeterFULLPANEL(listener, effect));
    case kMeterTypePPM:
        return std::unique_ptr<CZEMMeterFULLPANEL>(new (std::nothrow) CZEMPPMMeterFULLPANEL(listener, effect));
    case kMeterTypeCount:
        break;
    }
    return nullptr;
}
