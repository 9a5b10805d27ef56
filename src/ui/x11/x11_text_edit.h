// The in-place edit box of the X11 frame, drawn by us over the field: the field's own picture
// (asked of the owner at every drawing, so that a field that moves while edited shows it) as its
// background, else the style's back colour; the field's own font with useNativeFont, else a
// font of its name and size; its colour and alignment, a caret and a selection. Keys arrive
// through the frame's input method (Xutf8LookupString); every change of the text is reported to
// the owner. Enter and Tab commit, Escape cancels, a press beside the box or the window losing
// the focus commits. The whole text is selected when the box opens; it holds at most the
// style's maxBytes bytes, whole characters only.
// [ui-thread]
#pragma once

#include <X11/Xlib.h>

#include "text_edit_buffer.h"
#include "ui/base_object.h"
#include "ui/font.h"
#include "ui/platform_frame.h"

namespace VSTGUI {

class CairoDrawContext;
class X11PlatformFrame;

class X11TextEdit : public IPlatformTextEdit {
public:
    X11TextEdit(X11PlatformFrame *frame, IPlatformTextEditCallback *owner, const PlatformTextEditStyle &style);
    ~X11TextEdit() override;

    std::string getText() const override { return buffer.text(); }
    const PlatformTextEditStyle &getStyle() const override { return style; }
    bool isActive() const override { return owner != nullptr; }

    // Draws the box's text, selection and caret over what the frame drew in area.
    void draw(CairoDrawContext &context, const CRect &area);
    void keyPress(XKeyEvent &event);
    // A press (or a drag with extend) inside the box places the caret.
    void press(const CPoint &where, bool extend);
    // Each ends the edit and reports to the owner, which may release the edit while told.
    void commit();
    void cancel();
    void loseFocus();
    void detachFromFrame() { frame = nullptr; }

    const TextEditBuffer &content() const { return buffer; }

private:
    IPlatformTextEditCallback *finish();
    // Redraws the box; reports the text to the owner when it differs from before.
    void changed(const std::string &before);
    void redraw();
    // The x of the text's start in frame coordinates, so that the caret stays in the box.
    double textOrigin(CDrawContext &context);
    size_t offsetAt(CDrawContext &context, double x);

    X11PlatformFrame *frame;
    IPlatformTextEditCallback *owner;
    PlatformTextEditStyle style;
    OwningPointer<CFontDesc> madeFont;  // of the field font's name and size, unless useNativeFont
    CFontDesc *boxFont;                 // what the box writes with
    TextEditBuffer buffer;
    double scroll = 0;  // pixels of the text scrolled out at the left
};

}  // namespace VSTGUI
