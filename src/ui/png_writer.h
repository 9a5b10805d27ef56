// Writes pictures as PNG files (screenshots of the frame). [ui-thread]
#pragma once

#include <string>
#include <vector>

namespace VSTGUI {

class CBitmap;

// Straight RGBA, 8 bits per channel, stored without compression: the same bytes on every build.
std::vector<unsigned char> encodePng(const CBitmap &bitmap);
bool writePng(const CBitmap &bitmap, const std::string &path);

}  // namespace VSTGUI
