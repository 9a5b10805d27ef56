// Controls: views with a value, a tag and a listener. Every gesture that changes a value is
// bracketed by beginEdit and endEdit, which the listener passes on to the host.
// Thread: the UI thread; values may also be set from the thread that delivers parameters.
#pragma once

#include "view.h"

namespace VSTGUI {

class CControl;

class CControlListener {
public:
    virtual ~CControlListener() = default;
    virtual void valueChanged(CControl *control) = 0;
    virtual void controlBeginEdit(CControl *control) { (void)control; }
    virtual void controlEndEdit(CControl *control) { (void)control; }
};

class CControl : public CView {
public:
    CControl(const CRect &size, CControlListener *listener = nullptr, long tag = 0,
             CBitmap *background = nullptr);

    virtual void setValue(float newValue) { value = newValue; }
    float getValue() const { return value; }
    // The value mapped from [min, max] to [0, 1].
    float getValueNormalized() const;
    void setValueNormalized(float normalized);
    void setMin(float newMin) { vmin = newMin; }
    float getMin() const { return vmin; }
    void setMax(float newMax) { vmax = newMax; }
    float getMax() const { return vmax; }
    void setDefaultValue(float newDefault) { defaultValue = newDefault; }
    float getDefaultValue() const { return defaultValue; }
    // Keeps the value inside [min, max].
    void bounceValue();

    void setTag(long newTag) { tag = newTag; }
    long getTag() const { return tag; }
    void setListener(CControlListener *newListener) { listener = newListener; }
    CControlListener *getListener() const { return listener; }

    // Reports the value to the listener.
    virtual void valueChanged();
    virtual void beginEdit();
    virtual void endEdit();
    bool isEditing() const { return editDepth > 0; }

    // With Ctrl and the left button the value returns to the default; answers true then.
    bool checkDefaultValue(const CButtonState &buttons);

    VSTGUI_TYPE(CControl, CView)

protected:
    CControlListener *listener;
    long tag;
    float value = 0.f;
    float vmin = 0.f;
    float vmax = 1.f;
    float defaultValue = 0.5f;
    int editDepth = 0;
};

}  // namespace VSTGUI
