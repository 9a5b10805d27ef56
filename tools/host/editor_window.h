// The parent window the harness opens the editor into, and the way input reaches the frame on
// it. Each kind of window sends input the way its window system delivers it.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Where the scripted mouse and keyboard actions go (editor_command.h performs them).
class ActionInput {
public:
    virtual ~ActionInput() = default;
    // buttons: the view library's button and modifier flags.
    virtual void press(double x, double y, int buttons) = 0;
    virtual void release(double x, double y, int buttons) = 0;
    virtual void move(double x, double y, int buttons) = 0;
    virtual void wheel(double x, double y, float distance, int buttons) = 0;
    // Keyboard input to the open edit box, as the window system delivers keys; false when no
    // box is open. name: enter, tab or escape.
    virtual bool type(const std::string &text) = 0;
    virtual bool key(const std::string &name) = 0;
};

// Positions in the editor's own coordinates reach the window multiplied by the zoom, each on
// the window pixel at or after it, so that every build sees the same pixels.
class ZoomedInput : public ActionInput {
public:
    ZoomedInput(ActionInput &window, double zoom) : window(window), zoom(zoom) {}
    void press(double x, double y, int buttons) override { window.press(scaled(x), scaled(y), buttons); }
    void release(double x, double y, int buttons) override { window.release(scaled(x), scaled(y), buttons); }
    void move(double x, double y, int buttons) override { window.move(scaled(x), scaled(y), buttons); }
    void wheel(double x, double y, float distance, int buttons) override
    {
        window.wheel(scaled(x), scaled(y), distance, buttons);
    }
    bool type(const std::string &text) override { return window.type(text); }
    bool key(const std::string &name) override { return window.key(name); }

private:
    double scaled(double v) const { return zoom == 1.0 ? v : std::ceil(v * zoom - 1e-9); }
    ActionInput &window;
    double zoom;
};

class HarnessEditorWindow : public ActionInput {
public:
    virtual void *parentHandle() = 0;
    // Whether the harness vouches for the parent (offscreen_parent.h): only for windows it
    // created as this program's own records, never for an X11 window id.
    virtual bool vouched() const { return true; }
    virtual bool attach() = 0;  // after the editor opened
    // cookie: what the editor sent with its question about the parent.
    virtual bool writePicture(const std::string &path, uint32_t cookie) = 0;
    // The host answers the editor's size-window request.
    virtual void resize(int width, int height) { (void)width, (void)height; }
    virtual void pump() {}
};

// The window's picture as a PNG at path (nothing written for an empty path): on Windows read back
// from the screen as a host's screenshot would (the frame answers picture requests only for
// parents a VST 2.4 host vouched for, and the CLAP and VST 3 hosts vouch for none), elsewhere the
// window's own picture.
bool writeWindowPicture(HarnessEditorWindow &window, const std::string &path);

#ifdef _WIN32
// A top-level window of this program: input as window messages to the frame's window, pictures
// through the frame's picture message (for a parent the host vouched for).
std::unique_ptr<HarnessEditorWindow> createWin32EditorWindow();
// What the frame's window shows, read back from its device context as a host's screenshot
// would: 0x00RRGGBB per pixel, row by row. For any parent, vouched for or not.
bool captureFrameWindow(HarnessEditorWindow &window, std::vector<uint32_t> &pixels, int &width, int &height);
#else
// A top-level window on the X display of $DISPLAY: input (keys too) through the XTest extension, pictures
// read back from the editor's window with XGetImage. Null with a message when there is none.
std::unique_ptr<HarnessEditorWindow> createX11EditorWindow(std::string &error);
#endif
