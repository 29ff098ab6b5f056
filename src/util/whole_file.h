#pragma once
// Whole-file reads and replacing writes over the file seam, for the tools
// that prepare a build: every failure throws std::runtime_error with a
// message that names the file and what went wrong.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace upd {

// The bytes of `path` from `offset` on: `length` of them, or all the rest when
// no length is given. A range that does not lie inside the file is an error.
std::vector<uint8_t> ReadFileBytes(const std::string& path, uint64_t offset = 0,
                                   std::optional<uint64_t> length = std::nullopt);

// The name of the temporary file next to `path` that output goes to until it
// is complete (path + ".partial"); only a finished file is moved over `path`.
std::string PartialFileName(const std::string& path);

// Makes `bytes` the whole content of `path`: written to its PartialFileName,
// flushed and closed, then moved over `path` in one step. On any failure the
// temporary file is removed and `path` is as it was.
void WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace upd
