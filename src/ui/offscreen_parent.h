// What a host program that drives the editor itself (the harness, the tests) shares with the
// plug-in: the offscreen parent record of the Linux backend and the question by which the
// editor learns that the host created a parent itself. Plain C types, so that a host program
// reaches a frame inside a loaded plug-in without sharing its classes.
//
// The plug-in never reads a parent a host passes in. On Linux a real host passes an X11 window
// id; the offscreen frame uses a parent as an OffscreenParent only when its address was
// registered in this module (in-process tests) or the host vouched for it (below), and refuses
// every other parent.
#pragma once

#include <cstdint>

// The editor's question, asked at every open through audioMasterVendorSpecific: index
// kHostParentQuery, value a fresh cookie, ptr the parent. A host program that created that very
// parent answers kHostParentAnswer and may then ask the frame for pictures with the cookie
// (Windows: the picture message's wParam). Real hosts answer 0.
constexpr int32_t kHostParentQuery = 0x5A4F4851;   // 'ZOHQ'
constexpr int32_t kHostParentAnswer = 0x5A4F4841;  // 'ZOHA'

// The picture request of the Windows frame, a registered window message: wParam the cookie,
// lParam the PNG file's path (UTF-8). The frame answers only a send from its own thread that
// carries the cookie of a vouched parent.
constexpr wchar_t kFramePictureMessage[] = L"ZemOrdwenFramePicture";

// A parent "window" for frames that have no window system behind them (the Linux backend): the
// frame fills in entry points for input and pictures while it lives on it.
struct OffscreenParent {
    int width = 0, height = 0;  // the size the frame last asked its parent to take
    void *frame = nullptr;      // the frame living on this parent, null when none
    // buttons: the view library's button and modifier flags. Answers: the mouse results.
    int (*mouseDown)(void *frame, double x, double y, int buttons) = nullptr;
    int (*mouseUp)(void *frame, double x, double y, int buttons) = nullptr;
    int (*mouseMoved)(void *frame, double x, double y, int buttons) = nullptr;
    int (*mouseExited)(void *frame) = nullptr;
    int (*wheel)(void *frame, double x, double y, float distance, int buttons) = nullptr;
    // Writes what the frame shows as a PNG file; 1 on success.
    int (*writePicture)(void *frame, const char *path) = nullptr;
    // Keyboard input to the frame's open edit box, through textInput (filled in with the
    // frame). key: one of the OffscreenKey values. Answers 0 when no box is open.
    void *textInput = nullptr;
    int (*typeText)(void *textInput, const char *utf8) = nullptr;
    int (*pressKey)(void *textInput, int key) = nullptr;
};

enum OffscreenKey { kOffscreenKeyEnter = 1, kOffscreenKeyTab = 2, kOffscreenKeyEscape = 3 };

// The offscreen parents known to this module, by address (Linux backend). A parent may be
// registered more than once; each registration is withdrawn by one unregister. [any-thread]
void registerOffscreenParent(const void *parent);
void unregisterOffscreenParent(const void *parent);
bool isRegisteredOffscreenParent(const void *parent);
