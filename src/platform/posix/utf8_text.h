// UTF-32 paths and texts of the platform interface to the UTF-8 the POSIX calls take.
#pragma once

#include <string>

// [any-thread]
std::string toUtf8(const std::wstring &wide);
