// The frame's window on Linux: an offscreen picture that receives the same drawing a window
// would. Input arrives through the frame's platform callbacks (tests, the harness).
// A real X11 window would implement IPlatformFrame beside it.
#pragma once

#include <functional>
#include <vector>

#include "ui/platform_frame.h"

namespace VSTGUI {

class CairoBitmap;

class OffscreenPlatformFrame : public IPlatformFrame {
public:
    OffscreenPlatformFrame(IPlatformFrameCallback *frame, const CRect &size, void *parent);
    ~OffscreenPlatformFrame() override;

    void invalidRect(const CRect &rect) override;
    void redrawNow() override;
    bool setSize(int width, int height) override;
    bool setParentSize(int width, int height) override;
    uint32_t getTicks() const override;
    void *getSystemWindow() const override { return nullptr; }
    bool takeFocus() override;
    void captureMouse(bool capture) override { mouseCaptured = capture; }

    // What the window shows now.
    const CairoBitmap *picture() const { return surface; }
    void *getParent() const { return parent; }
    int parentWidth() const { return parentSize[0]; }
    int parentHeight() const { return parentSize[1]; }
    bool hasFocus() const { return focused; }
    bool isMouseCaptured() const { return mouseCaptured; }
    // Replaces the monotonic clock (tests and scripted runs); an empty function restores it.
    void setTickSource(std::function<uint32_t()> source) { tickSource = std::move(source); }

private:
    IPlatformFrameCallback *frame;
    void *parent;
    CairoBitmap *surface = nullptr;
    std::vector<CRect> invalid;
    int parentSize[2] = {0, 0};
    bool focused = false;
    bool mouseCaptured = false;
    std::function<uint32_t()> tickSource;
};

}  // namespace VSTGUI
