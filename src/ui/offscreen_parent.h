// A parent "window" for frames that have no window system behind them (the Linux backend): a
// host passes its address to the editor's open, and the frame fills in entry points for input
// and pictures while it lives on it. Plain C types, so that a host program reaches a frame
// inside a loaded plug-in without sharing its classes.
#pragma once

#include <cstdint>

struct OffscreenParent {
    static constexpr uint32_t kMagic = 0x5A4F4650;  // 'ZOFP'
    uint32_t magic = kMagic;
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
};
