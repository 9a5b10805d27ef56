// Controls: views with a value, a tag and a listener. Every gesture that changes a value is
// bracketed by beginEdit and endEdit, which the listener passes on to the host.
// [ui-thread] every operation: a parameter that changes on another thread reaches a control
// only through the editor, which applies it at its next idle.
#pragma once

#include <optional>

#include "view.h"

namespace VSTGUI {

class CControl;

class CControlListener {
public:
    virtual ~CControlListener() = default;
    // [ui-thread] all three: a control calls them from its own event handlers.
    virtual void valueChanged(CControl *control) = 0;
    virtual void controlBeginEdit(CControl *control) { (void)control; }
    virtual void controlEndEdit(CControl *control) { (void)control; }
};

class CControl : public CView {
public:
    // [ui-thread]
    CControl(const CRect &size, CControlListener *listener = nullptr, long tag = 0, CBitmap *background = nullptr);

    // From the owner (a parameter echo): the control is redrawn at the next idle when the
    // value changed. It is not reported. [ui-thread] with getValue.
    virtual void setValue(float newValue);
    float getValue() const { return value; }
    // The value mapped from [min, max] to [0, 1]. [ui-thread] this and the accessors below.
    float getValueNormalized() const;
    void setValueNormalized(float normalized);
    void setMin(float newMin) { vmin = newMin; }
    float getMin() const { return vmin; }
    void setMax(float newMax) { vmax = newMax; }
    float getMax() const { return vmax; }
    void setDefaultValue(float newDefault) { defaultValue = newDefault; }
    float getDefaultValue() const { return defaultValue; }
    // Keeps the value inside [min, max]. [ui-thread]
    void bounceValue();

    // [ui-thread]
    void setTag(long newTag) { tag = newTag; }
    long getTag() const { return tag; }
    void setListener(CControlListener *newListener) { listener = newListener; }
    CControlListener *getListener() const { return listener; }

    // Reports the value to the listener; the edit pair brackets a gesture's reports (the
    // listener hears every level, isEditing counts them). [ui-thread] the four.
    virtual void valueChanged();
    virtual void beginEdit();
    virtual void endEdit();
    bool isEditing() const { return editDepth > 0; }

    // With Ctrl and the left button the value returns to the default; answers true then.
    // [ui-thread]
    bool checkDefaultValue(const CButtonState &buttons);

    // How commitValue reports.
    enum CommitFlags {
        kCommitAlwaysReport = 1 << 0,  // report even when the value stayed the same
        kCommitInsideEdit = 1 << 1,    // bracket the report with beginEdit and endEdit
    };
    // The one way a control changes its value from user input: set it, keep it inside
    // [min, max], and when it changed (or with kCommitAlwaysReport) redraw and report it.
    // Answers whether the value changed. [ui-thread]
    bool commitValue(float newValue, int flags = 0);

    // The drag state of a press; it exists only from the press to its release or cancel.
    struct Gesture {
        // Spelled out: clang cannot default-construct a nested class with member initialisers
        // inside std::optional of the enclosing class.
        Gesture() {}
        CPoint start;            // where the press was, or the last point a drag measured from
        float startValue = 0.f;  // the value that the drag's movement is added to
        CButtonState buttons;    // buttons and modifiers at the press (or the last rebase)
        float valuePerPixel = 0.f;
        bool started = false;  // the pointer has moved since the press
        bool editing = false;  // the gesture opened an edit that its end closes
    };
    // [ui-thread]
    const Gesture *getGesture() const { return gesture ? &*gesture : nullptr; }
    // The end of a press, once for every control: the release and the frame's cancel both let go
    // of the press (releasePress) and then drop the gesture, closing its edit, so that a report of
    // the release still lies inside the edit. A release that finds no gesture is not handled.
    // [ui-thread] both: the frame calls them from its event handlers.
    CMouseEventResult onMouseUp(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseCancel() override;

    VSTGUI_TYPE(CControl, CView)

protected:
    // Opens the gesture of a press, with beginEdit when withEdit. [ui-thread] this and the
    // gesture operations below, called from the control's own event handlers.
    Gesture &beginGesture(const CPoint &where, const CButtonState &buttons, bool withEdit = true);
    Gesture *currentGesture() { return gesture ? &*gesture : nullptr; }
    // Drops the gesture; closes its edit if it opened one.
    void endGesture();
    // What a control undoes when its press ends, released or cancelled, before the gesture's
    // edit closes: a momentary button pops up. Called only while a gesture is open.
    virtual void releasePress() {}
    // releasePress while a gesture is open, then endGesture.
    void finishGesture();

    CControlListener *listener;
    long tag;
    float value = 0.f;
    float vmin = 0.f;
    float vmax = 1.f;
    float defaultValue = 0.5f;
    int editDepth = 0;
    std::optional<Gesture> gesture;
};

}  // namespace VSTGUI
