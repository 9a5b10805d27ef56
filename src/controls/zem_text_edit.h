// Text fields: labels the user edits in place. A click opens the window system's edit box
// exactly over the field, with the field's own picture as its background; Return, Tab or a
// click elsewhere commits the text, Escape restores it. One box is open in the whole process.
// [ui-thread] every operation: values set on another thread reach a field through the editor's
// next idle.
#pragma once

#include <memory>
#include <string>

#include "controls/zem_hint_control.h"
#include "ui/platform_frame.h"
#include "ui/text_label.h"

class CZEMTextEdit;

// The longest text, in bytes, a field keeps from its edit box: the box holds no more.
constexpr size_t kTextEditMaxBytes = 29;

// The longest start of UTF-8 text that has at most maxBytes bytes and ends at a character
// boundary. [any-thread]
std::string cutUtf8(const std::string &text, size_t maxBytes);

// The edit box of one field, open or not. It lives as long as its field.
class InPlaceEdit : public VSTGUI::IPlatformTextEditCallback {
public:
    explicit InPlaceEdit(CZEMTextEdit *owner) : owner(owner) {}
    ~InPlaceEdit() override;
    InPlaceEdit(const InPlaceEdit &) = delete;
    InPlaceEdit &operator=(const InPlaceEdit &) = delete;

    // Opens the box with the given look; the saved text is what cancel restores. False when
    // the frame offers no box.
    bool open(VSTGUI::IPlatformFrame *platform, const VSTGUI::PlatformTextEditStyle &style, const std::string &saved);
    // Closes the box without reporting anything.
    void close();
    bool isOpen() const { return box != nullptr; }
    VSTGUI::IPlatformTextEdit *getBox() const { return box.get(); }
    const std::string &getSavedText() const { return savedText; }
    // The box's rectangle in frame coordinates.
    const VSTGUI::CRect &getRect() const { return rect; }

    void platformTextEditChanged(const std::string &text) override;
    VSTGUI::CBitmap *platformTextEditBackground(const VSTGUI::CRect &area) override;
    void platformTextEditCommitted(const std::string &text) override;
    void platformTextEditCancelled() override;
    void platformTextEditLostFocus(const std::string &text) override;

private:
    CZEMTextEdit *owner;
    std::string savedText;
    VSTGUI::CRect rect;
    std::unique_ptr<VSTGUI::IPlatformTextEdit> box;
};

// The one open box of the process, null when none is open. [ui-thread]
extern InPlaceEdit *activeInPlaceEdit;

class CZEMTextEdit : public VSTGUI::CTextLabel {
public:
    // Sets value from the committed text; value holds the field's value when called.
    typedef void (*StringToValue)(const char *text, float &value, void *userData);

    CZEMTextEdit(const VSTGUI::CRect &size, VSTGUI::CControlListener *listener, long tag, const char *text,
                 VSTGUI::CBitmap *background, bool useFontForEdit = false);
    ~CZEMTextEdit() override;

    // Copies the text, zero-terminated, into a buffer of bufferSize bytes (cut at a character).
    void getText(char *buffer, size_t bufferSize) const;
    using CTextLabel::getText;

    // The box's text colour; without it the box uses the font colour.
    void setEditTextColour(const VSTGUI::CColor &colour);
    // Kept with the field; no drawing uses them.
    void setEditBackColour(const VSTGUI::CColor &colour);
    void setEditFrameColour(const VSTGUI::CColor &colour);
    void setEditSelectionColour(const VSTGUI::CColor &colour);
    const VSTGUI::CColor &getEditTextColour() const { return colours[0]; }
    bool isEditTextColourSet() const { return coloursSet[0]; }

    void setStringToValueFunction(StringToValue function, void *userData = nullptr);
    bool isBeingEdited() const { return editing; }
    bool getUseFontForEdit() const { return useFontForEdit; }
    InPlaceEdit &getInPlaceEdit() { return inPlace; }

    // The left button opens the box (when not editing already) and is always handled; other
    // buttons are not handled.
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    void draw(VSTGUI::CDrawContext *context) override;
    // Closes an open box as Escape does: the text from before the click comes back and the
    // listener hears nothing.
    void cancelOpenEdit();
    // Leaving the view tree with the box open drops the edit: the saved text comes back and
    // nothing is reported.
    void removed(VSTGUI::CViewContainer *oldParent) override;
    // The box's rectangle for the field's frame rectangle r (one pixel higher) and font size f.
    static VSTGUI::CRect editBoxRect(const VSTGUI::CRect &fieldInFrame, double fontSize);

    VSTGUI_TYPE(CZEMTextEdit, CTextLabel)

protected:
    friend class InPlaceEdit;
    // What the box reports; each of the last two closes the box. A commit of the text the box
    // opened with is a cancel.
    void boxTextChanged(const std::string &text);
    void commitEdit(const std::string &text);
    void cancelEdit();

    bool editing = false;
    bool useFontForEdit;
    VSTGUI::CColor colours[4];
    bool coloursSet[4] = {false, false, false, false};
    StringToValue stringToValue = nullptr;
    void *stringToValueData = nullptr;
    InPlaceEdit inPlace{this};
};

// A field whose background picture is drawn from the field's own top-left position, so that a
// whole-panel picture shows the part under the field.
class CMyTextEdit : public CZEMTextEdit {
public:
    CMyTextEdit(const VSTGUI::CRect &size, VSTGUI::CControlListener *listener, long tag, const char *text,
                VSTGUI::CBitmap *background, bool useFontForEdit = false);
    void setViewSize(const VSTGUI::CRect &newSize, bool invalidate = true) override;
    VSTGUI_TYPE(CMyTextEdit, CZEMTextEdit)
};

// A field that is inert while inactive and explains itself on the hint line.
class CMyTextEditAH : public CMyTextEdit, public CZEMHintControl, public CZEMActiveControl {
public:
    using CMyTextEdit::CMyTextEdit;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override;
    VSTGUI_TYPE(CMyTextEditAH, CMyTextEdit)
};
