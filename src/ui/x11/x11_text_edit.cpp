#include "x11_text_edit.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <vector>

#include "ui/cairo/cairo_draw_context.h"
#include "ui/font.h"
#include "x11_frame.h"

namespace VSTGUI {

X11TextEdit::X11TextEdit(X11PlatformFrame *frame, IPlatformTextEditCallback *owner, const PlatformTextEditStyle &style)
    : frame(frame), owner(owner), style(style), buffer(style.text, style.maxBytes)
{
    if (style.font && !style.useNativeFont)
        madeFont.reset(new CFontDesc(style.font->getName(), style.font->getSize()));
    boxFont = madeFont ? madeFont.get() : style.font;
    buffer.selectAll();
}

X11TextEdit::~X11TextEdit()
{
    if (frame)
        frame->textEditGone(this);
}

IPlatformTextEditCallback *X11TextEdit::finish()
{
    IPlatformTextEditCallback *reportTo = owner;
    owner = nullptr;
    redraw();
    return reportTo;
}

void X11TextEdit::redraw()
{
    if (frame)
        frame->invalidRect(zoomedRect(style.rect, frame->getZoom()));
}

void X11TextEdit::changed(const std::string &before)
{
    redraw();
    if (owner && buffer.text() != before)
        owner->platformTextEditChanged(buffer.text());
}

// The owner may release the edit while it is told, so nothing of this object is used after.
void X11TextEdit::commit()
{
    std::string committed = buffer.text();
    if (IPlatformTextEditCallback *reportTo = finish())
        reportTo->platformTextEditCommitted(committed);
}

void X11TextEdit::cancel()
{
    if (IPlatformTextEditCallback *reportTo = finish())
        reportTo->platformTextEditCancelled();
}

void X11TextEdit::loseFocus()
{
    std::string left = buffer.text();
    if (IPlatformTextEditCallback *reportTo = finish())
        reportTo->platformTextEditLostFocus(left);
}

void X11TextEdit::keyPress(XKeyEvent &event)
{
    if (!isActive() || !frame)
        return;
    char typed[64] = {};
    KeySym key = NoSymbol;
    int length = 0;
    if (XIC context = frame->getInputContext()) {
        Status status = 0;
        length = Xutf8LookupString(context, &event, typed, (int)sizeof typed - 1, &key, &status);
        if (status == XBufferOverflow || status == XLookupNone)
            length = 0;
        if (status == XLookupChars)
            key = NoSymbol;
    } else {
        // No input method: Latin-1 from the keyboard map, as UTF-8.
        char latin[16] = {};
        int n = XLookupString(&event, latin, (int)sizeof latin - 1, &key, nullptr);
        for (int i = 0; i < n; ++i) {
            const unsigned char c = static_cast<unsigned char>(latin[i]);
            if (c < 0x80) {
                typed[length++] = (char)c;
            } else {
                typed[length++] = (char)(0xC0 | (c >> 6));
                typed[length++] = (char)(0x80 | (c & 0x3F));
            }
        }
    }
    const std::string before = buffer.text();
    const bool shift = (event.state & ShiftMask) != 0;
    const bool control = (event.state & ControlMask) != 0;
    switch (key) {
    case XK_Return:
    case XK_KP_Enter:
    case XK_Tab:
    case XK_ISO_Left_Tab:
        commit();
        return;
    case XK_Escape:
        cancel();
        return;
    case XK_BackSpace:
        buffer.backspace();
        break;
    case XK_Delete:
    case XK_KP_Delete:
        buffer.deleteForward();
        break;
    case XK_Left:
    case XK_KP_Left:
        buffer.left(shift);
        break;
    case XK_Right:
    case XK_KP_Right:
        buffer.right(shift);
        break;
    case XK_Home:
    case XK_KP_Home:
    case XK_Up:
        buffer.home(shift);
        break;
    case XK_End:
    case XK_KP_End:
    case XK_Down:
        buffer.end(shift);
        break;
    default:
        if (control && (key == XK_a || key == XK_A))
            buffer.selectAll();
        else if (length > 0 && !control)
            buffer.insert(std::string(typed, (size_t)length));
        else
            return;
    }
    changed(before);
}

double X11TextEdit::textOrigin(CDrawContext &context)
{
    const double boxWidth = style.rect.getWidth();
    const double textWidth = context.getStringWidth(buffer.text().c_str());
    if (textWidth <= boxWidth) {
        scroll = 0;
        if (style.align == kCenterText)
            return style.rect.left + (boxWidth - textWidth) / 2.0;
        if (style.align == kRightText)
            return style.rect.right - textWidth;
        return style.rect.left;
    }
    // Longer than the box: scroll just enough to keep the caret inside it.
    const double caretX = context.getStringWidth(buffer.text().substr(0, buffer.caret()).c_str());
    if (caretX - scroll > boxWidth - 1)
        scroll = caretX - boxWidth + 1;
    if (caretX < scroll)
        scroll = caretX;
    if (scroll > textWidth - boxWidth + 1)
        scroll = textWidth - boxWidth + 1;
    return style.rect.left - scroll;
}

size_t X11TextEdit::offsetAt(CDrawContext &context, double x)
{
    const std::string &text = buffer.text();
    const double origin = textOrigin(context);
    size_t best = 0;
    double bestDistance = x - origin < 0 ? origin - x : x - origin;
    for (size_t i = 1; i <= text.size(); ++i) {
        if (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        const double edge = origin + context.getStringWidth(text.substr(0, i).c_str());
        const double distance = x - edge < 0 ? edge - x : x - edge;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

void X11TextEdit::press(const CPoint &where, bool extend)
{
    if (!isActive() || !frame)
        return;
    // Measuring needs a context with the box's font; a scratch one of one pixel does.
    auto *scratch = new CBitmap(1, 1);
    if (CDrawContext *context = createBitmapDrawContext(scratch)) {
        context->setFont(boxFont);
        buffer.placeCaret(offsetAt(*context, where.x), extend);
        context->forget();
        redraw();
    }
    scratch->forget();
}

void X11TextEdit::draw(CairoDrawContext &context, const CRect &area)
{
    if (!isActive())
        return;
    CRect box(style.rect);
    box.bound(area);
    if (box.isEmpty())
        return;
    context.setOffset(CPoint());
    context.setClipRect(box);
    if (CBitmap *background = owner->platformTextEditBackground(style.rect)) {
        const double zoom = context.getDeviceScale();
        if (zoom == 1.0) {
            context.drawBitmap(background, style.rect);
        } else {
            // The picture is in window pixels: it goes on pixel for pixel, then the zoom comes back.
            context.setDeviceScale(1.0);
            context.setClipRect(zoomedRect(box, zoom));
            context.drawBitmap(background, zoomedRect(style.rect, zoom));
            context.setDeviceScale(zoom);
            context.setClipRect(box);
        }
        background->forget();
    } else {
        context.setFillColor(style.backColor);
        context.drawRect(style.rect, kDrawFilled);
    }
    context.setFont(boxFont);
    const std::string &text = buffer.text();
    const double origin = textOrigin(context);
    IPlatformFont *font = boxFont ? boxFont->getPlatformFont() : nullptr;
    const double ascent = font ? font->getAscent() : 0;
    const double descent = font ? font->getDescent() : 0;
    const double baseline = style.rect.top + (style.rect.getHeight() + ascent - descent) / 2.0;
    const double selectionLeft = origin + context.getStringWidth(text.substr(0, buffer.selectionStart()).c_str());
    const double selectionRight = origin + context.getStringWidth(text.substr(0, buffer.selectionEnd()).c_str());
    const double lineTop = baseline - ascent - 1;
    const double lineBottom = baseline + descent + 1;
    if (buffer.hasSelection()) {
        // The selection in the text colour, its text in the background colour.
        context.setFillColor(style.fontColor);
        context.drawRect(CRect(selectionLeft, lineTop, selectionRight, lineBottom), kDrawFilled);
    }
    context.setFontColor(style.fontColor);
    context.drawString(text.c_str(), CPoint(origin, baseline));
    if (buffer.hasSelection()) {
        CRect selected(selectionLeft, lineTop, selectionRight, lineBottom);
        selected.bound(box);
        context.setClipRect(selected);
        context.setFontColor(style.backColor);
        context.drawString(text.c_str(), CPoint(origin, baseline));
        context.setClipRect(box);
    } else {
        const double caretX = (double)(long)(origin + context.getStringWidth(text.substr(0, buffer.caret()).c_str())) +
                              0.5;
        context.setFrameColor(style.fontColor);
        context.setLineWidth(1);
        context.drawLine(CPoint(caretX, lineTop), CPoint(caretX, lineBottom));
    }
}

}  // namespace VSTGUI
