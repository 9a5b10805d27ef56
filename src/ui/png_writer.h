// Writes pictures as PNG files (screenshots of the frame). [ui-thread]
#pragma once

#include <string>
#include <vector>

namespace VSTGUI {

class CBitmap;

// Straight RGBA, 8 bits per channel, stored without compression: the same bytes on every build.
std::vector<unsigned char> encodePng(const CBitmap &bitmap);
// The file for rows of 8-bit RGBA (withAlpha) or RGB pixels, each row after its filter byte 0
// (none), stored without compression.
std::vector<unsigned char> encodeStoredPng(int width, int height, bool withAlpha,
                                           const std::vector<unsigned char> &raw);
bool writePng(const CBitmap &bitmap, const std::string &path);

}  // namespace VSTGUI
