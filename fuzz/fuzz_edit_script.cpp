// Edit-script application against a model in memory. The input is cut in two
// by its first byte: an old file (short enough to lie in one refill of the
// line channel) and the text of a script. The application must not crash, and
// when it succeeds its output must be the model's: the old lines, with the
// records applied, each followed by CR LF.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dictionary/edit_script.h"
#include "platform/files.h"

namespace {

// The old file's lines as one refill of the channel hands them out: a line
// ends at LF, or at CR and every LF right after it.
std::vector<std::string> OldLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(pos, end - pos));
    pos = end;
    if (pos < bytes.size() && bytes[pos++] == '\r')
      while (pos < bytes.size() && bytes[pos] == '\n') ++pos;
  }
  return lines;
}

// The records applied in memory; false where the application must fail.
bool Model(const std::vector<std::string>& old, const std::vector<std::string>& script, std::string& out) {
  size_t next = 0;
  int64_t outLine = 0;
  size_t i = 0;
  auto copy = [&] { out += old[next++] + "\r\n"; };
  while (i < script.size()) {
    if (i + 1 >= script.size()) return false;
    const std::string& command = script[i];
    auto n = upd::ParseScriptNumber(script[i + 1]);
    if (!n) return false;
    i += 2;
    while (outLine < *n) {
      if (next < old.size()) {
        copy();
        ++outLine;
      } else {
        outLine = *n;  // steps past the end copy nothing
      }
    }
    if (command == "DOD") {
      if (i >= script.size()) return false;
      out += script[i++] + "\r\n";
      ++outLine;
    } else if (command == "USUN" && next < old.size()) {
      ++next;
    }
  }
  while (next < old.size()) copy();
  return true;
}

const std::string& WorkDir() {
  static const std::string dir = [] {
    auto path = std::filesystem::temp_directory_path() / ("fuzz-edit-script-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path.string() + "/";
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 30000) return 0;
  const size_t cut = 1 + static_cast<size_t>(data[0]) * (size - 1) / 256;
  const std::string old(reinterpret_cast<const char*>(data) + 1, cut - 1);
  const std::vector<std::string> script =
      upd::SplitScriptText(std::string_view(reinterpret_cast<const char*>(data) + cut, size - cut));
  for (const auto& line : script)
    if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) std::abort();
  const std::string oldPath = WorkDir() + "old", outPath = WorkDir() + "out";
  {
    auto file = upd::platform::Files().CreateTruncate(oldPath);
    if (!file || !file->Write(old.data(), old.size()) || !file->Close()) std::abort();
  }
  int32_t percent = 0;
  upd::NoMessages pump;
  const bool ok = upd::ApplyEditScript(oldPath, outPath, script, percent, pump);
  std::string expected;
  if (ok != Model(OldLines(old), script, expected)) std::abort();
  if (ok) {
    std::string got;
    auto file = upd::platform::Files().OpenRead(outPath);
    char buffer[4096];
    while (auto n = file->Read(buffer, sizeof buffer)) {
      if (*n == 0) break;
      got.append(buffer, *n);
    }
    if (got != expected) std::abort();
  }
  return 0;
}
