#include "offscreen_text_edit.h"

#include "offscreen_frame.h"

namespace VSTGUI {

OffscreenTextEdit::OffscreenTextEdit(OffscreenPlatformFrame *frame, IPlatformTextEditCallback *owner,
                                     const PlatformTextEditStyle &style)
    : frame(frame), owner(owner), style(style), text(style.text)
{
}

OffscreenTextEdit::~OffscreenTextEdit()
{
    if (frame)
        frame->textEditGone(this);
}

void OffscreenTextEdit::type(const std::string &typed)
{
    if (!isActive())
        return;
    text = allSelected ? typed : text + typed;
    allSelected = false;
    text.resize(utf8FittingLength(text, style.maxBytes));
    owner->platformTextEditChanged(text);
}

IPlatformTextEditCallback *OffscreenTextEdit::finish()
{
    IPlatformTextEditCallback *reportTo = owner;
    owner = nullptr;
    return reportTo;
}

// The owner may release the edit while it is told, so nothing of this object is used after.
void OffscreenTextEdit::pressReturn()
{
    std::string committed = text;
    if (IPlatformTextEditCallback *reportTo = finish())
        reportTo->platformTextEditCommitted(committed);
}

void OffscreenTextEdit::pressEscape()
{
    if (IPlatformTextEditCallback *reportTo = finish())
        reportTo->platformTextEditCancelled();
}

void OffscreenTextEdit::loseFocus()
{
    std::string left = text;
    if (IPlatformTextEditCallback *reportTo = finish())
        reportTo->platformTextEditLostFocus(left);
}

}  // namespace VSTGUI
