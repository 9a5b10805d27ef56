#include "controls/zem_text_edit.h"

#include <cstring>

#include "ui/bitmap.h"
#include "ui/draw_context.h"
#include "ui/frame.h"

using namespace VSTGUI;

InPlaceEdit *activeInPlaceEdit = nullptr;

std::string cutUtf8(const std::string &text, size_t maxBytes)
{
    return text.substr(0, utf8FittingLength(text, maxBytes));
}

// ---------------------------------------------------------------------------------------------

InPlaceEdit::~InPlaceEdit() { close(); }

bool InPlaceEdit::open(IPlatformFrame *platform, const PlatformTextEditStyle &style, const std::string &saved)
{
    close();
    // Another field's box is open (in this editor or another one in the process): it commits
    // first, as it would when it loses the focus to the new box, so that no box is orphaned.
    if (activeInPlaceEdit && activeInPlaceEdit != this)
        if (IPlatformTextEdit *other = activeInPlaceEdit->getBox())
            if (other->isActive())
                activeInPlaceEdit->platformTextEditCommitted(other->getText());
    savedText = saved;
    rect = style.rect;
    activeInPlaceEdit = this;
    if (platform)
        box = platform->createTextEdit(this, style);
    if (!box) {
        activeInPlaceEdit = nullptr;
        return false;
    }
    return true;
}

void InPlaceEdit::close()
{
    // Moved out first: destroying the box may deliver window-system messages back here.
    std::unique_ptr<IPlatformTextEdit> closing = std::move(box);
    if (activeInPlaceEdit == this)
        activeInPlaceEdit = nullptr;
    closing.reset();
}

void InPlaceEdit::platformTextEditChanged(const std::string &text) { owner->boxTextChanged(text); }

CBitmap *InPlaceEdit::platformTextEditBackground(const CRect &area)
{
    CFrame *frame = owner->getFrame();
    return COffscreenContext::renderView(owner, area, frame ? frame->getZoom() : 1.0);
}

void InPlaceEdit::platformTextEditCommitted(const std::string &text) { owner->commitEdit(text); }

void InPlaceEdit::platformTextEditCancelled() { owner->cancelEdit(); }

void InPlaceEdit::platformTextEditLostFocus(const std::string &text) { owner->commitEdit(text); }

// ---------------------------------------------------------------------------------------------

CZEMTextEdit::CZEMTextEdit(const CRect &size, CControlListener *listener, long tag, const char *text,
                           CBitmap *background, bool useFontForEdit)
    : CTextLabel(size, text, background), useFontForEdit(useFontForEdit)
{
    setListener(listener);
    setTag(tag);
    for (CColor &c : colours)
        c = CColor(255, 255, 255, 255);
}

CZEMTextEdit::~CZEMTextEdit() { inPlace.close(); }

void CZEMTextEdit::getText(char *buffer, size_t bufferSize) const
{
    if (!buffer || bufferSize == 0)
        return;
    std::string cut = cutUtf8(text, bufferSize - 1);
    std::memcpy(buffer, cut.c_str(), cut.size() + 1);
}

void CZEMTextEdit::setEditTextColour(const CColor &colour)
{
    colours[0] = colour;
    coloursSet[0] = true;
}

void CZEMTextEdit::setEditBackColour(const CColor &colour)
{
    colours[1] = colour;
    coloursSet[1] = true;
}

void CZEMTextEdit::setEditFrameColour(const CColor &colour)
{
    colours[2] = colour;
    coloursSet[2] = true;
}

void CZEMTextEdit::setEditSelectionColour(const CColor &colour)
{
    colours[3] = colour;
    coloursSet[3] = true;
}

void CZEMTextEdit::setStringToValueFunction(StringToValue function, void *userData)
{
    stringToValue = function;
    stringToValueData = userData;
}

CRect CZEMTextEdit::editBoxRect(const CRect &fieldInFrame, double f)
{
    CRect r(fieldInFrame);
    r.top -= 1;
    r.bottom -= 1;
    int centre = (int)((r.top + r.bottom) / 2);
    int y = (int)(centre - f / 2 - 1);
    int height = (int)(f + 3);
    return CRect(r.left, y, r.right, y + height);
}

CMouseEventResult CZEMTextEdit::onMouseDown(CPoint &, const CButtonState &buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    if (editing)
        return kMouseEventHandled;
    CFrame *frame = getFrame();
    if (!frame)
        return kMouseEventHandled;
    editing = true;
    setDirty(true);

    // The box holds what the field keeps; cancel brings back the whole text, which may be longer
    // (a label from a chunk).
    std::string saved = text;
    PlatformTextEditStyle style;
    style.rect = editBoxRect(localToFrame(size), font->getSize());
    style.text = cutUtf8(saved, kTextEditMaxBytes);
    style.maxBytes = kTextEditMaxBytes;
    style.font = font;
    style.fontColor = coloursSet[0] ? colours[0] : fontColor;
    style.backColor = backColor;
    style.align = horiAlign;
    style.useNativeFont = useFontForEdit;
    // The label shows no text under the box (also in the box's background picture).
    text.clear();
    if (!inPlace.open(frame->getPlatformFrame(), style, saved)) {
        text = saved;
        editing = false;
        setDirty(true);
    }
    return kMouseEventHandled;
}

void CZEMTextEdit::boxTextChanged(const std::string &boxText) { text = cutUtf8(boxText, kTextEditMaxBytes); }

void CZEMTextEdit::commitEdit(const std::string &boxText)
{
    const std::string committed = cutUtf8(boxText, kTextEditMaxBytes);
    // Unchanged text is no edit: the field keeps its whole text and nobody is told.
    if (committed == cutUtf8(inPlace.getSavedText(), kTextEditMaxBytes)) {
        cancelEdit();
        return;
    }
    remember();  // the listener may remove the field
    text = committed;
    editing = false;
    setDirty(true);
    beginEdit();
    if (stringToValue)
        stringToValue(text.c_str(), value, stringToValueData);
    valueChanged();
    endEdit();
    invalid();
    inPlace.close();
    forget();
}

void CZEMTextEdit::cancelEdit()
{
    text = inPlace.getSavedText();
    editing = false;
    setDirty(true);
    invalid();
    inPlace.close();
}

void CZEMTextEdit::cancelOpenEdit()
{
    if (editing)
        cancelEdit();
}

void CZEMTextEdit::removed(CViewContainer *oldParent)
{
    if (editing) {
        text = inPlace.getSavedText();
        editing = false;
    }
    inPlace.close();
    CTextLabel::removed(oldParent);
}

void CZEMTextEdit::draw(CDrawContext *context)
{
    drawBack(context);
    if (!editing)
        drawText(context, size);
    setDirty(false);
}

// ---------------------------------------------------------------------------------------------

CMyTextEdit::CMyTextEdit(const CRect &size, CControlListener *listener, long tag, const char *text, CBitmap *background,
                         bool useFontForEdit)
    : CZEMTextEdit(size, listener, tag, text, background, useFontForEdit)
{
    setBackOffset(size.getTopLeft());
}

void CMyTextEdit::setViewSize(const CRect &newSize, bool invalidate)
{
    CZEMTextEdit::setViewSize(newSize, invalidate);
    setBackOffset(newSize.getTopLeft());
}

// ---------------------------------------------------------------------------------------------

CMouseEventResult CMyTextEditAH::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    if (isInert())
        return kMouseEventHandled;  // swallowed
    return CMyTextEdit::onMouseDown(where, buttons);
}

CMouseEventResult CMyTextEditAH::onMouseEntered(CPoint &, const CButtonState &)
{
    return activeHintOnEnter(*this, tag);
}

CMouseEventResult CMyTextEditAH::onMouseExited(CPoint &, const CButtonState &) { return hintOnExit(); }
