#include "tool_files.h"

#include <stdexcept>

#include "platform/files.h"

namespace patchtool {

namespace files = upd::platform;

std::string ReadFileBytes(const std::string& path) {
  auto in = files::Files().OpenRead(path);
  if (!in) throw std::runtime_error("cannot open '" + path + "': " + files::Files().LastErrorText());
  std::string bytes(static_cast<size_t>(in->Size().value_or(0)), '\0');
  size_t have = 0;
  for (;;) {
    if (have == bytes.size()) bytes.resize(bytes.size() + 65536);  // the file grew, or its size was unknown
    auto got = in->Read(bytes.data() + have, bytes.size() - have);
    if (!got) throw std::runtime_error("cannot read '" + path + "': " + files::Files().LastErrorText());
    if (*got == 0) break;
    have += *got;
  }
  bytes.resize(have);
  return bytes;
}

std::string PartialFileName(const std::string& path) { return path + ".partial"; }

void CommitPartialFile(const std::string& partial, const std::string& path) {
  if (!files::Files().ReplaceFile(partial, path)) {
    std::string reason = files::Files().LastErrorText();
    files::Files().Delete(partial);
    throw std::runtime_error("cannot move the output into place as '" + path + "': " + reason);
  }
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string partial = PartialFileName(path);
  auto out = files::Files().CreateTruncate(partial);
  if (!out) throw std::runtime_error("cannot create '" + partial + "': " + files::Files().LastErrorText());
  if (!out->Write(bytes.data(), bytes.size()) || !out->Flush() || !out->Close()) {
    std::string reason = files::Files().LastErrorText();
    out.reset();
    files::Files().Delete(partial);
    throw std::runtime_error("cannot write '" + partial + "': " + reason);
  }
  CommitPartialFile(partial, path);
}

}  // namespace patchtool
