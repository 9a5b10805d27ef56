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

namespace {

// Where the n-th character of UTF-8 text starts (the text's size when it has fewer).
size_t characterOffset(const std::string &text, int n)
{
    size_t i = 0;
    for (int count = 0; i < text.size(); ++i) {
        if (((unsigned char)text[i] & 0xC0) != 0x80 && count++ == n)
            return i;
    }
    return text.size();
}

}  // namespace

void OffscreenTextEdit::type(const std::string &typed)
{
    if (!isActive())
        return;
    text = allSelected ? typed : text + typed;
    allSelected = false;
    text.resize(characterOffset(text, style.maxLength));
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
