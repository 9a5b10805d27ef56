// One channel strip in one form and one meter type's graphics: a 586-pixel-wide container below
// the meter panel, attached to the editor's frame while it is the strip shown. The strip only
// shows the effect's values and sends the user's changes back as automated parameter changes.
// [ui-thread] (the editor's), every operation, like every view it holds.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "controls/detachable_container.h"
#include "controls/zem_hint_control.h"
#include "ui/control.h"
#include "ui/frame.h"
#include "ui/view_container.h"
#include "vst/aeffect.h"

class Templete;

// The pictures of a set of strips, each decoded once: the six strips of a holder share most of
// their controls' pictures. The set keeps one reference of each; controls keep their own.
// [ui-thread], every operation.
class StripPictures {
public:
    StripPictures() = default;
    ~StripPictures();
    StripPictures(const StripPictures &) = delete;
    StripPictures &operator=(const StripPictures &) = delete;
    // The PNG resource of that number, loaded at the first request; null when it cannot be
    // loaded. Valid while the set lives.
    VSTGUI::CBitmap *get(int number);

private:
    std::vector<std::pair<int, VSTGUI::CBitmap *>> pictures;
};

class StripEditor : public CZEMHintControl {
public:
    static constexpr VSTGUI::CCoord kWidth = 586;

    // listener: the listener of every control (the editor); effect: where values come from and go to. Either
    // may be null (the strip then shows defaults and sends nothing).
    StripEditor(VSTGUI::CControlListener *listener, Templete *effect);
    ~StripEditor() override;
    StripEditor(const StripEditor &) = delete;
    StripEditor &operator=(const StripEditor &) = delete;

    // The picture set to load from; before build. Without one the strip has a set of its own.
    void setPictures(std::shared_ptr<StripPictures> set) { pictures = std::move(set); }

    // The hint line every hint control of the strip explains itself on.
    void setHintTarget(CHelpHintLabel *target) override;

    // Creates the detached container (kWidth x height, with the background picture). False
    // when it cannot be created.
    virtual bool createContainer(VSTGUI::CFrame *frame, VSTGUI::CBitmap *background, int height);
    // Detaches and releases the container with every control.
    virtual void close();
    // Moves the container to position (frame coordinates), adds it to the frame and marks the
    // strip visible.
    virtual void attach(const VSTGUI::CPoint &position);
    // Removes the container from the frame (keeping it); an edit open in one of its text
    // fields is dropped.
    virtual void detach();
    virtual void parameterChanged(VstInt32 index, float value) = 0;
    // A control of this strip reported a change (only while the strip is visible).
    virtual void valueChanged(VSTGUI::CControl *control) = 0;
    // Creates the container and the controls of the form (expanded or collapsed).
    virtual bool build(VSTGUI::CFrame *frame, VSTGUI::CBitmap *background, bool expanded) = 0;

    bool isVisible() const { return visible; }
    int getHeight() const { return height; }
    VSTGUI::CViewContainer *getContainer() const { return container.get(); }

protected:
    // Adds the control to the container (which takes the reference) and answers it; hint
    // controls are remembered for setHintTarget. Null stays null; without a container the control
    // is released.
    template <class Control> Control *add(Control *control)
    {
        if (!control)
            return nullptr;
        if (!container) {
            control->forget();
            return nullptr;
        }
        if (auto *hint = dynamic_cast<CZEMHintControl *>(control)) {
            hint->setHintTarget(hintTarget);
            hintControls.push_back(hint);
        }
        container->addView(control);
        return control;
    }
    // The effect's value of a parameter, 0 without an effect.
    float effectValue(VstInt32 index) const;
    // Sends a user's change to the effect as an automated change (the host is told).
    void automate(VstInt32 index, float value);
    // Forgets the controls it holds; close calls it before it releases the container.
    virtual void dropControls() = 0;
    // A picture of the strip's set (borrowed), null when it cannot be loaded.
    VSTGUI::CBitmap *picture(int number);

    VSTGUI::CFrame *frame = nullptr;
    Templete *effect;
    VSTGUI::CControlListener *listener;
    DetachableContainer<> container;
    int height = 0;  // pixels
    bool visible = false;

private:
    std::vector<CZEMHintControl *> hintControls;  // owned by the container
    std::shared_ptr<StripPictures> pictures;
};

// [any-thread] Picture sizes: a control is as wide as its bitmap and as high as one of its stacked frames.
VSTGUI::CRect bitmapFrameRect(VSTGUI::CBitmap *bitmap, int frames, VSTGUI::CCoord x, VSTGUI::CCoord y);
