// The VST 2.4 editor on top of the view library: it owns the frame, reports its rectangle,
// forwards idle, keys and the wheel, and passes begin/end edit of controls to the host.
// [ui-thread] (the host's) every operation, except setParameter [any-thread] (the subclass
// brings it to the UI thread) and frameTicks [any-thread] (the audio thread time-stamps blocks).
#pragma once

#include <atomic>

#include "ui/control.h"
#include "ui/frame.h"
#include "vst/aeff_editor.h"

class AEffGUIEditor : public AEffEditor, public VSTGUI::VSTGUIEditorInterface, public VSTGUI::CControlListener {
public:
    explicit AEffGUIEditor(AudioEffect *effect);
    ~AEffGUIEditor() override;

    // The window's rectangle: the logical one with its size times the zoom factor (rounded).
    bool getRect(ERect **ppRect) override;
    // Remembers the parent window; the subclass creates the frame.
    bool open(void *ptr) override;
    void close() override;
    // Lets the frame redraw what is dirty, unless an idle is already running.
    void idle() override;
    bool onKeyDown(VstKeyCode &keyCode) override;
    bool onKeyUp(VstKeyCode &keyCode) override;
    // A wheel turn from the host goes to the view under the mouse.
    bool onWheel(float distance) override;
    bool setKnobMode(VstInt32 val) override;
    bool frameTicks(double &milliseconds) override;
    bool showsInHostWindows() const override;

    VSTGUI::CFrame *getFrame() const override { return frame; }

    // The zoom factor: finite, 1 to 3 (anything else is refused, false). Closed, it is the factor
    // of the next open; open, the frame takes it and the host resizes the window to the scaled
    // size, as it does for a change of height.
    bool setZoomFactor(double factor);
    double getZoomFactor() const { return zoomFactor; }
    static constexpr double kMinZoom = 1.0, kMaxZoom = 3.0;
    int getKnobMode() const override { return knobMode; }

    // Host notifications for a parameter gesture.
    void beginEdit(VstInt32 index);
    void endEdit(VstInt32 index);
    void controlBeginEdit(VSTGUI::CControl *control) override;
    void controlEndEdit(VSTGUI::CControl *control) override;

protected:
    // Installs the frame (or none); the audio thread's frameTicks never touches the frame object.
    void setFrame(VSTGUI::CFrame *newFrame);
    // Asks the host whether it created parent itself (offscreen_parent.h) and, if it did, lets
    // the window system backend use the parent as such until withdrawParent.
    void askHostAboutParent(void *parent);
    void withdrawParent();
    // After a change of the logical rect or the zoom: the parent window and the host's window
    // take the scaled size and the whole frame is drawn again.
    void resizeHostWindow();

    ERect rect{};  // logical: the views' coordinates
    VSTGUI::CFrame *frame = nullptr;
    int knobMode = 0;
    bool inIdleStuff = false;

private:
    std::atomic<bool> frameOpen{false};
    double zoomFactor = 1.0;
    ERect scaledRect{};             // what getRect answers
    void *vouchedParent = nullptr;  // the parent the host vouched for, while the window lives
};
