// Drives a real frame with synthetic input: window messages to the frame's window on Windows,
// the frame's platform entry points elsewhere. Also provides a parent window for frames.
#pragma once

#include <string>

#include "ui/frame.h"

class TestParentWindow {
public:
    TestParentWindow(int width = 600, int height = 300);
    ~TestParentWindow();
    TestParentWindow(const TestParentWindow &) = delete;
    TestParentWindow &operator=(const TestParentWindow &) = delete;
    void *handle() const { return window; }
    // The parent's client size as the window system reports it.
    int clientWidth() const;
    int clientHeight() const;

private:
    void *window = nullptr;
};

// One parent window for the whole test program: top-level windows are slow to come and go
// under Wine.
TestParentWindow &sharedParentWindow();

// Windows of this thread, children included (0 where windows are not native).
int countThreadWindows();

class FrameDriver {
public:
    explicit FrameDriver(VSTGUI::CFrame *frame) : frame(frame) {}

    // buttons: VSTGUI::CButton flags; the left button is assumed when none is given.
    void press(double x, double y, int buttons = 0);
    void release(double x, double y, int buttons = 0);
    void move(double x, double y, int buttons = 0);
    void wheel(double x, double y, float distance, int modifiers = 0);
    void leave();
    void click(double x, double y, int buttons = 0)
    {
        press(x, y, buttons);
        release(x, y, buttons);
    }
    void drag(double x1, double y1, double x2, double y2, int buttons = 0);
    // Keyboard input to the open edit box (Windows: characters and key messages to the window
    // with the keyboard focus). key: "enter", "tab" or "escape". False when no box is open.
    bool type(const std::string &utf8);
    bool key(const std::string &name);

private:
    VSTGUI::CFrame *frame;
};
