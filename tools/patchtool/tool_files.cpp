#include "tool_files.h"

#include <span>
#include <stdexcept>
#include <vector>

#include "platform/files.h"
#include "util/whole_file.h"

namespace patchtool {

namespace files = upd::platform;

std::string ReadFileBytes(const std::string& path) {
  const std::vector<uint8_t> bytes = upd::ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

void CommitPartialFile(const std::string& partial, const std::string& path) {
  if (!files::Files().ReplaceFile(partial, path)) {
    std::string reason = files::Files().LastErrorText();
    files::Files().Delete(partial);
    throw std::runtime_error("cannot move the output into place as '" + path + "': " + reason);
  }
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  upd::WriteFileReplacing(path, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace patchtool
