#pragma once
// Whole-file reading and all-or-nothing writing for patchtool commands, over
// the file seam. Failures are thrown as std::runtime_error with a message that
// names the file. Reading and writing whole files goes through the shared
// helpers of util/whole_file.h.

#include <string>
#include <string_view>

namespace patchtool {

std::string ReadFileBytes(const std::string& path);

// Writes `bytes` to a file next to `path` and moves it over `path` in one step,
// so that `path` is never left half-written; the partial file is removed on failure.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Moves a finished partial file (upd::PartialFileName of `path`) over `path`; removes it and throws on failure.
void CommitPartialFile(const std::string& partial, const std::string& path);

}  // namespace patchtool
