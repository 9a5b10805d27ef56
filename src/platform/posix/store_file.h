// The per-user store file on POSIX systems: where it lives and how it is read. Both the meter
// defaults and the installer's "ManualPath" live in it, one "name=value" line each.
// [any-thread]: nothing here keeps state.
#pragma once

#include <cstddef>
#include <string>

namespace store_file {

// The largest store file that is read; anything larger is not ours and counts as absent.
constexpr size_t kMaxBytes = 64 * 1024;

// The folder of the store: $XDG_CONFIG_HOME when it is an absolute path, else the home folder
// ($HOME when absolute, else the password database's entry of the user) followed by
// "/.config"; then "/Velmora". Empty when no absolute home can be found.
std::string directory();

// directory() followed by "/ZEMMETERS300"; empty when the directory is.
std::string path();

// Reads a store file in one pass without ever waiting: it is opened non-blocking and only a
// regular file of at most kMaxBytes is read. False (contents empty) for anything else: a
// missing file, a FIFO, a device, a folder, a file that is too large or that grows past the
// limit while being read.
bool read(const std::string &filePath, std::string &contents);

// The value of the line "name=value" in the contents, up to the end of its line without the
// carriage return of a CRLF line end and trailing blanks; the first such line counts. False
// when there is none.
bool findValue(const std::string &contents, const char *name, std::string &value);

}  // namespace store_file
