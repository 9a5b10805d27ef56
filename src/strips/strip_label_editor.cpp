#include "strips/strip_label_editor.h"

#include <new>

#include "params/parameter_table.h"
#include "core/templete.h"
#include "controls/image_numbers.h"
#include "controls/zem_latency_control.h"
#include "controls/zem_on_off_button.h"
#include "controls/zem_tape_label.h"
#include "ui/bitmap.h"
#include "ui/movie_bitmap.h"

using namespace VSTGUI;

StripLabelEditor::~StripLabelEditor() { close(); }

void StripLabelEditor::dropControls()
{
    showLbl = nullptr;
    lag = nullptr;
    tape = nullptr;
    title = nullptr;
}

bool StripLabelEditor::build(CFrame *toFrame, CBitmap *background, bool expanded)
{
    if (!createContainer(toFrame, background, expanded ? kExpandedHeight : kCollapsedHeight))
        return false;
    if (expanded) {
        if (CBitmap *display = picture(kImageLagDisplay)) {
            // From its place one pixel down to the strip's last row.
            lag = add(new (std::nothrow) CZEMLatencyControl(CRect(541, 1, 541 + display->getWidth(), kExpandedHeight),
                                                            listener, kLagTime, display));
        }
        // The strip's own picture lies under the label.
        tape = add(new (std::nothrow) CZEMTapeLabel(CRect(17, 1, 523, 35), listener, background));
        if (tape) {
            // The tape is the strip's picture with the text on it: no frame is drawn around it.
            // Its edit frame colour is the text fields' white.
            tape->setStyle(CTextLabel::kNoFrame);
            tape->setEditFrameColour(CColor(255, 255, 255, 255));
        }
    } else if (CBitmap *titleImage = picture(kImageLabelTitle)) {
        title = add(new (std::nothrow) CMovieBitmap(bitmapFrameRect(titleImage, 1, 506, 2), listener, kTagStaticImage,
                                                    1, titleImage->getHeight(), titleImage));
    }
    if (CBitmap *toggle = picture(kImageStripToggle)) {
        showLbl = add(new (std::nothrow) COnOffButtonH(bitmapFrameRect(toggle, 2, 574, 0), listener, kShowLbl, toggle));
    }
    if (showLbl)
        showLbl->setValue(effectValue(kShowLbl));
    if (lag)
        lag->setValue(effectValue(kLagTime));
    showLabelText();
    return true;
}

void StripLabelEditor::attach(const CPoint &position)
{
    StripEditor::attach(position);
    if (!isVisible())
        return;
    if (showLbl)
        showLbl->setValue(effectValue(kShowLbl));
    if (lag)
        lag->setValue(effectValue(kLagTime));
    showLabelText();
}

void StripLabelEditor::showLabelText()
{
    // An open edit shows no text under its box; the commit brings the stored label back.
    if (!tape || !effect || tape->isBeingEdited())
        return;
    tape->setText(effect->stripLabelText().c_str());
    tape->setDirty(true);
}

void StripLabelEditor::parameterChanged(VstInt32 index, float value)
{
    if (index == kShowLbl && showLbl)
        showLbl->setValue(value);
    else if (index == kLagTime && lag)
        lag->setValue(value);
    else if (index == kLabelChanged) {
        // The label was replaced from outside (a chunk or preset loaded) while its box is open:
        // the box goes, or its commit would overwrite the label just loaded.
        if (tape)
            tape->cancelOpenEdit();
        showLabelText();
    }
}

void StripLabelEditor::valueChanged(CControl *control)
{
    if (!control || !isVisible())
        return;
    if (control->getTag() == kLagTime) {
        float value = control->getValue();
        auto *display = dynamic_cast<CZEMLatencyControl *>(control);
        if (display && display->resetRequested) {
            display->resetRequested = false;
            const double lagValue = (effect ? effect->getOutputLatencySeconds() : 0.0) * kLagPerSecond;
            value = lagValue >= 1 ? 1.f : lagValue > 0 ? (float)lagValue : 0.f;
        }
        automate(kLagTime, value);
        control->setDirty(true);
    } else if (control->getTag() == kLabelChanged) {
        auto *label = dynamic_cast<CZEMTextEdit *>(control);
        if (!label || !effect)
            return;
        effect->setStripLabel(cutUtf8(label->getText(), kLabelMaxBytes).c_str());
        automate(kLabelChanged, 0.f);
    }
}

void StripLabelEditor::idleTick()
{
    if (tape && isVisible())
        tape->animationStep();
}
