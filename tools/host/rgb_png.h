// A picture read back from a window (0x00RRGGBB per pixel, row by row) written as a PNG file:
// 8-bit RGB, stored without compression, so every build writes the same bytes for the same
// pixels. For the pictures the harness takes itself (editor_window.h's captureFrameWindow).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::vector<unsigned char> encodeRgbPng(const std::vector<uint32_t> &pixels, int width, int height);
bool writeRgbPng(const std::string &path, const std::vector<uint32_t> &pixels, int width, int height);
