#include "strips/strip_editor.h"

#include <new>

#include "core/templete.h"
#include "controls/zem_text_edit.h"
#include "ui/bitmap.h"

using namespace VSTGUI;

StripEditor::StripEditor(CControlListener *listener, Templete *effect) : effect(effect), listener(listener) {}

StripEditor::~StripEditor()
{
    // The derived strip's controls are gone with it; only the container is left to release.
    if (container) {
        detach();
        container->removeAll();
        container.destroy();
    }
}

void StripEditor::setHintTarget(CHelpHintLabel *target)
{
    CZEMHintControl::setHintTarget(target);
    for (CZEMHintControl *control : hintControls)
        control->setHintTarget(target);
}

bool StripEditor::createContainer(CFrame *toFrame, CBitmap *background, int stripHeight)
{
    if (container)
        return false;
    frame = toFrame;
    height = stripHeight;
    container.adopt(new (std::nothrow) CViewContainer(CRect(0, 0, kWidth, stripHeight)));
    if (!container)
        return false;
    container->setBackground(background);
    return true;
}

void StripEditor::close()
{
    if (!container)
        return;
    detach();
    hintControls.clear();
    dropControls();
    container->removeAll();
    container.destroy();
}

void StripEditor::attach(const CPoint &position)
{
    if (!container || !frame)
        return;
    detach();
    container->setViewSize(CRect(position.x, position.y, position.x + kWidth, position.y + height));
    if (!container.attach(frame))
        return;
    visible = true;
    container->invalid();
    container->setDirty(true);
}

void StripEditor::detach()
{
    visible = false;
    if (!container.isAttached())
        return;
    // A text field drops its open edit only when it leaves the tree itself; the container
    // leaving would keep the box open over a strip no longer shown.
    for (int i = 0; i < container->getNbViews(); ++i) {
        auto *field = dynamic_cast<CZEMTextEdit *>(container->getView(i));
        if (field && field->isBeingEdited()) {
            field->remember();
            container->removeView(field, false);  // drops the edit, restores the saved text
            container->addView(field);            // the container's reference again
            field->forget();
        }
    }
    container.detach();
}

float StripEditor::effectValue(VstInt32 index) const { return effect ? effect->getParameter(index) : 0.f; }

void StripEditor::automate(VstInt32 index, float value)
{
    if (effect)
        effect->setParameterAutomated(index, value);
}

CRect bitmapFrameRect(CBitmap *bitmap, int frames, CCoord x, CCoord y)
{
    CCoord w = bitmap ? bitmap->getWidth() : 0;
    CCoord h = bitmap && frames > 0 ? bitmap->getHeight() / frames : 0;
    return CRect(x, y, x + w, y + h);
}

CBitmap *StripEditor::picture(int number)
{
    if (!pictures)
        pictures.reset(new (std::nothrow) StripPictures);
    return pictures ? pictures->get(number) : nullptr;
}

StripPictures::~StripPictures()
{
    for (auto &entry : pictures)
        if (entry.second)
            entry.second->forget();
}

CBitmap *StripPictures::get(int number)
{
    for (auto &entry : pictures)
        if (entry.first == number)
            return entry.second;
    auto *bitmap = new (std::nothrow) CBitmap(number);
    if (bitmap && !bitmap->isLoaded()) {
        bitmap->forget();
        bitmap = nullptr;
    }
    pictures.emplace_back(number, bitmap);  // a missing picture is not looked for again
    return bitmap;
}
