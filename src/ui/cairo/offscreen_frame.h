// The frame's window on Linux: an offscreen picture that receives the same drawing a window
// would. Input arrives through the frame's platform callbacks (tests, the harness).
// A real X11 window would implement IPlatformFrame beside it. [ui-thread]
#pragma once

#include <vector>

#include "ui/platform_frame.h"

namespace VSTGUI {

class CairoBitmap;
class OffscreenTextEdit;

class OffscreenPlatformFrame : public IPlatformFrame {
public:
    OffscreenPlatformFrame(IPlatformFrameCallback *frame, const CRect &size, void *parent);
    ~OffscreenPlatformFrame() override;

    void invalidRect(const CRect &rect) override;
    void redrawNow() override;
    bool setSize(int width, int height) override;
    bool setParentSize(int width, int height) override;
    void setZoom(double factor) override { zoom = factor; }
    uint32_t getTicks() const override;
    void *getSystemWindow() const override { return nullptr; }
    bool takeFocus() override;
    void captureMouse(bool capture) override { mouseCaptured = capture; }
    // Only one edit box has the focus: opening one takes it from the last.
    std::unique_ptr<IPlatformTextEdit> createTextEdit(IPlatformTextEditCallback *owner,
                                                      const PlatformTextEditStyle &style) override;
    // The edit box that has the focus, for scripts to type into; null when none.
    OffscreenTextEdit *activeTextEdit() const { return textEdit; }
    // Called by an edit box that is released.
    void textEditGone(OffscreenTextEdit *edit);

    // What the window shows now.
    const CairoBitmap *picture() const { return surface; }
    void *getParent() const { return parent; }
    int parentWidth() const { return parentSize[0]; }
    int parentHeight() const { return parentSize[1]; }
    bool hasFocus() const { return focused; }
    bool isMouseCaptured() const { return mouseCaptured; }
    // Replaces the monotonic clock of every frame (tests); null restores it.
    static void setTickSource(uint32_t (*source)());

private:
    double zoom = 1.0;
    IPlatformFrameCallback *frame;
    void *parent;
    CairoBitmap *surface = nullptr;
    std::vector<CRect> invalid;
    int parentSize[2] = {0, 0};
    bool focused = false;
    bool mouseCaptured = false;
    OffscreenTextEdit *textEdit = nullptr;
};

}  // namespace VSTGUI
