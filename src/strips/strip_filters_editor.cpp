#include "strips/strip_filters_editor.h"

#include <new>

#include "params/parameter_table.h"
#include "core/templete.h"
#include "controls/image_numbers.h"
#include "controls/zem_on_off_button.h"
#include "controls/zem_slider.h"
#include "controls/zem_text_edit.h"
#include "params/typed_entry.h"
#include "ui/bitmap.h"
#include "ui/movie_bitmap.h"

using namespace VSTGUI;

namespace {

const CColor kFieldFontColour(170, 170, 170, 255);

}  // namespace

StripFiltersEditor::~StripFiltersEditor() { close(); }

void StripFiltersEditor::dropControls()
{
    procFlt = nullptr;
    showFlt = nullptr;
    hpStat = lpStat = hpSlope = lpSlope = nullptr;
    hpFreq = lpFreq = nullptr;
    hpText = lpText = nullptr;
    title = nullptr;
}

bool StripFiltersEditor::build(CFrame *toFrame, CBitmap *background, bool expanded)
{
    if (!createContainer(toFrame, background, expanded ? kExpandedHeight : kCollapsedHeight))
        return false;
    if (expanded)
        buildExpanded();
    else
        buildCollapsed();
    CBitmap *toggle = picture(kImageStripToggle);
    showFlt = add(new (std::nothrow) COnOffButtonH(bitmapFrameRect(toggle, 2, 574, 0), listener, kShowFlt, toggle));
    setActive(effectValue(kProcess));
    return true;
}

void StripFiltersEditor::buildExpanded()
{
    CBitmap *active = picture(kImageFiltersInExpanded);
    CBitmap *status = picture(kImageFilterInOut);
    CBitmap *slope = picture(kImageFilterSlope);
    CBitmap *handle = picture(kImageFrequencyHandle);

    procFlt = add(new (std::nothrow) StripActiveButton(bitmapFrameRect(active, 3, 541, 4), listener, kProcFlt, active));
    hpStat = add(new (std::nothrow) CZEMOnOffButtonAH(bitmapFrameRect(status, 2, 16, 20), listener, kHPStat, status));
    lpStat = add(new (std::nothrow) CZEMOnOffButtonAH(bitmapFrameRect(status, 2, 281, 20), listener, kLPStat, status));
    hpSlope = add(new (std::nothrow) CZEMOnOffButtonAH(bitmapFrameRect(slope, 2, 223, 8), listener, kHPSlope, slope));
    lpSlope = add(new (std::nothrow) CZEMOnOffButtonAH(bitmapFrameRect(slope, 2, 489, 8), listener, kLPSlope, slope));
    for (CZEMOnOffButtonAH *button : {hpSlope, lpSlope})
        if (button)
            button->directionalWheel = button->keepWheelSign = true;

    // The handle travels over the whole area less its own width.
    const CCoord handleWidth = handle ? handle->getWidth() : 0;
    const CRect sliderAreas[2] = {CRect(58, 10, 220, 42), CRect(323, 10, 485, 42)};
    CZEMSliderAH **sliders[2] = {&hpFreq, &lpFreq};
    for (int i = 0; i < 2; ++i) {
        auto *slider = new (std::nothrow) CZEMSliderAH(sliderAreas[i], listener, i == 0 ? kHPFreq : kLPFreq,
                                                       CPoint(0, 0), sliderAreas[i].getWidth() - handleWidth, handle,
                                                       nullptr, CPoint(), CSlider::kHorizontal | CSlider::kLeft);
        if (slider) {
            slider->setDefaultValue(0.5f);
            slider->setFineDragFactor(0.1f);
            slider->setWheelStep(0.025f);
            slider->setFineWheelFactor(0.1f);
        }
        *sliders[i] = add(slider);
    }

    // The fields come last: they lie over the sliders' areas.
    CMyTextEditAH **fields[2] = {&hpText, &lpText};
    for (int i = 0; i < 2; ++i) {
        const CCoord left = i == 0 ? kHighPassFieldLeft : kLowPassFieldLeft;
        auto *field = new (std::nothrow) CMyTextEditAH(CRect(left, 0, left + kFieldWidth, kFieldHeight), listener,
                                                       i == 0 ? kTagHPFreqEntry : kTagLPFreqEntry, "", nullptr);
        if (field) {
            field->setFont(kNormalFontVerySmall);
            field->setFontColor(kFieldFontColour);
        }
        *fields[i] = add(field);
    }
}

void StripFiltersEditor::buildCollapsed()
{
    CBitmap *titleImage = picture(kImageFiltersTitle);
    CBitmap *active = picture(kImageFiltersInCollapsed);
    title = add(new (std::nothrow) CMovieBitmap(bitmapFrameRect(titleImage, 1, 503, 2), listener, kTagStaticImage, 1,
                                                titleImage ? titleImage->getHeight() : 0, titleImage));
    procFlt = add(new (std::nothrow) StripActiveButton(bitmapFrameRect(active, 3, 547, 1), listener, kProcFlt, active));
}

void StripFiltersEditor::attach(const CPoint &position)
{
    StripEditor::attach(position);
    if (!isVisible())
        return;
    struct {
        CControl *control;
        VstInt32 index;
    } buttons[] = {{procFlt, kProcFlt}, {showFlt, kShowFlt}, {hpStat, kHPStat},
                   {lpStat, kLPStat},   {hpSlope, kHPSlope}, {lpSlope, kLPSlope}};
    for (const auto &b : buttons)
        if (b.control)
            b.control->setValue(effectValue(b.index));
    showFrequency(false, effectValue(kHPFreq));
    showFrequency(true, effectValue(kLPFreq));
    setActive(effectValue(kProcess));
    container->invalid();
}

void StripFiltersEditor::showFrequency(bool lowPass, float value)
{
    CZEMSliderAH *slider = getSlider(lowPass);
    if (slider) {
        slider->setValue(value);
        slider->invalid();
    }
    CMyTextEditAH *field = getField(lowPass);
    if (!field)
        return;
    const CCoord left = (lowPass ? kLowPassFieldLeft : kHighPassFieldLeft) + kFieldTravel * value;
    field->setViewSize(CRect(left, 0, left + kFieldWidth, kFieldHeight));
    char text[64] = {};
    if (effect)
        effect->getParameterDisplay(lowPass ? kLPFreq : kHPFreq, text);
    field->setText(text);
    field->invalid();
}

void StripFiltersEditor::parameterChanged(VstInt32 index, float value)
{
    CControl *target = nullptr;
    switch (index) {
    case kShowFlt:
        target = showFlt;
        break;
    case kProcFlt:
        target = procFlt;
        break;
    case kHPStat:
        target = hpStat;
        break;
    case kHPSlope:
        target = hpSlope;
        break;
    case kLPStat:
        target = lpStat;
        break;
    case kLPSlope:
        target = lpSlope;
        break;
    case kHPFreq:
        showFrequency(false, value);
        return;
    case kLPFreq:
        showFrequency(true, value);
        return;
    default:
        return;
    }
    if (target)
        target->setValue(value);
}

void StripFiltersEditor::valueChanged(CControl *control)
{
    if (!control || !isVisible())
        return;
    const long tag = control->getTag();
    if (tag >= kShowFlt && tag <= kLPFreq) {
        automate((VstInt32)tag, control->getValue());
        control->setDirty(true);
    } else if (tag == kTagHPFreqEntry || tag == kTagLPFreqEntry) {
        auto *field = dynamic_cast<CZEMTextEdit *>(control);
        if (!field)
            return;
        if (tag == kTagHPFreqEntry)
            automate(kHPFreq, typedHighPassValue(field->getText()));
        else
            automate(kLPFreq, typedLowPassValue(field->getText()));
    }
}

void StripFiltersEditor::setActive(float processValue)
{
    const int state = switchOn(processValue);
    CZEMActiveControl *controls[] = {procFlt, hpStat, lpStat, hpSlope, lpSlope, hpFreq, lpFreq, hpText, lpText};
    CView *views[] = {procFlt, hpStat, lpStat, hpSlope, lpSlope, hpFreq, lpFreq, hpText, lpText};
    for (size_t i = 0; i < sizeof controls / sizeof controls[0]; ++i) {
        if (controls[i]) {
            controls[i]->setActive(state);
            views[i]->setDirty(true);
        }
    }
}
