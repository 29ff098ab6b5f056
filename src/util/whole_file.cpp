#include "util/whole_file.h"

#include <stdexcept>

#include "platform/files.h"

namespace upd {
namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& what) {
  throw std::runtime_error(path + ": " + what);
}

std::string SystemReason() { return platform::Files().LastErrorText(); }

}  // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& path, uint64_t offset, std::optional<uint64_t> length) {
  platform::FileSystem& files = platform::Files();
  std::unique_ptr<platform::InputFile> in = files.OpenRead(path);
  if (!in) Fail(path, "cannot open: " + SystemReason());
  const std::optional<int64_t> size = in->Size();
  if (!size) Fail(path, "cannot tell its size: " + SystemReason());
  const auto fileSize = static_cast<uint64_t>(*size);
  if (offset > fileSize)
    Fail(path, "offset " + std::to_string(offset) + " lies past the end of the file (" + std::to_string(fileSize) +
                   " bytes)");
  const uint64_t count = length.value_or(fileSize - offset);
  if (count > fileSize - offset)
    Fail(path, "the range of " + std::to_string(count) + " bytes from offset " + std::to_string(offset) +
                   " runs past the end of the file (" + std::to_string(fileSize) + " bytes)");
  if (!in->Seek(static_cast<int64_t>(offset))) Fail(path, "cannot seek: " + SystemReason());
  std::vector<uint8_t> bytes(static_cast<size_t>(count));
  for (size_t done = 0; done < bytes.size();) {
    const std::optional<size_t> got = in->Read(bytes.data() + done, bytes.size() - done);
    if (!got) Fail(path, "cannot read: " + SystemReason());
    if (*got == 0) Fail(path, "the file ended early");
    done += *got;
  }
  return bytes;
}

std::string PartialFileName(const std::string& path) { return path + ".partial"; }

void WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes) {
  platform::FileSystem& files = platform::Files();
  const std::string temporary = PartialFileName(path);
  std::string failure;
  if (std::unique_ptr<platform::OutputFile> out = files.CreateTruncate(temporary); !out) {
    failure = "cannot create " + temporary + ": " + SystemReason();
  } else if (!out->Write(bytes.data(), bytes.size()) || !out->Flush()) {
    failure = "cannot write " + temporary + ": " + SystemReason();
  } else if (!out->Close()) {
    failure = "cannot close " + temporary + ": " + SystemReason();
  }
  if (failure.empty() && !files.ReplaceFile(temporary, path)) failure = "cannot replace it: " + SystemReason();
  if (!failure.empty()) {
    files.Delete(temporary);
    Fail(path, failure);
  }
}

}  // namespace upd
