#include "util/file_helpers.h"

#include <algorithm>
#include <limits>

#include "platform/files.h"
#include "util/pl_text.h"

namespace upd {

// Candidates in order: Dir + Name + Suffix, then Dir + Name + Tag + Suffix with
// Tag = 1, 2, ... (or [1], [2], ... when bracketed). Dir is a prefix used as it
// stands, so a folder must end with its separator. The first candidate is used
// whatever its length; a numbered candidate longer than 255 characters shortens
// Name until it fits, and Name stays shortened for the later candidates.
std::string MakeUniqueFileName(const std::string& dir, const std::string& baseName, const std::string& ext,
                               bool bracketed) {
  constexpr size_t kMaxLength = 255;
  std::string name = baseName;
  const std::string suffix = ext.empty() ? std::string() : "." + ext;
  if (baseName.empty() && ext.empty()) name = "noname";

  std::string candidate = dir + name + suffix;
  platform::FileSystem& files = platform::Files();
  for (uint64_t counter = 1; files.FileExists(candidate); ++counter) {
    std::string tag;
    if (bracketed) tag += '[';
    tag += std::to_string(counter);
    if (bracketed) tag += ']';
    candidate = dir + name + tag + suffix;
    if (candidate.size() > kMaxLength) {
      const size_t excess = candidate.size() - kMaxLength;
      name = DropLastChars(name, static_cast<int32_t>(std::min<size_t>(excess, std::numeric_limits<int32_t>::max())));
      candidate = dir + name + tag + suffix;
    }
  }
  return candidate;
}

int32_t FileSizeOrMinus1(const std::string& path) {
  try {
    platform::FileSystem& files = platform::Files();
    if (!files.FileExists(path)) return -1;
    auto file = files.OpenRead(path);
    if (!file) return -1;
    std::optional<int64_t> size = file->Size();
    // A size that 32 bits cannot hold would wrap into a wrong, possibly
    // matching, number; it reads as "size unknown" instead.
    if (!size || *size < 0 || *size > std::numeric_limits<int32_t>::max()) return -1;
    return static_cast<int32_t>(*size);
  } catch (...) {
    return -1;
  }
}

}  // namespace upd
