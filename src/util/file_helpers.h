#pragma once
// File helpers over the file seam.

#include <cstdint>
#include <string>

namespace upd {

// A path Dir + name that names no existing file (directories do not count);
// see the implementation for the candidate order. Only chosen, not created.
std::string MakeUniqueFileName(const std::string& dir, const std::string& baseName, const std::string& ext,
                               bool bracketed);

// Size of the file in bytes, or -1 when it is missing, a directory, locked or
// unreadable, or too large for 32 bits. Never throws.
int32_t FileSizeOrMinus1(const std::string& path);

}  // namespace upd
