#include "dictionary/dictionary_patch.h"

#include <array>
#include <optional>
#include <vector>

#include "dictionary/edit_script.h"
#include "engine/crc32.h"
#include "platform/files.h"
#include "platform/resources.h"
#include "util/file_helpers.h"

namespace upd {
namespace {

// The temporary file: "slupdate.tmp", or "slupdate1.tmp", ... when that is taken.
constexpr const char* kTempBaseName = "slupdate";
constexpr const char* kTempExtension = "tmp";

// True when `path` is a file of the size and checksum of `version`. The
// checksum is only computed when the size matched; a file that cannot be read
// is not the version.
bool IsVersion(const std::string& path, const TPlikInfo& version) {
  if (!platform::Files().FileExists(path) || FileSizeOrMinus1(path) != version.Size) return false;
  std::optional<uint32_t> crc = FileCrc32(path);
  return crc && *crc == version.Crc;
}

// Windows file names ignore letter case: two names that differ only in case
// name one file, which must then be replaced, never deleted.
bool SameFileName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The temporary output, deleted on every path unless it has been moved into
// place (then there is no file of its name any more).
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    try {
      if (platform::Files().FileExists(path_)) platform::Files().Delete(path_);
    } catch (...) {
      // Leaving a stray temporary file is better than ending the program.
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Puts the verified new file in place. Under the old name it replaces the old
// file in one step. Under another name the new file is put in place first (in
// one step, over whatever holds that name, which is not the new version) and
// only then is the old file removed, so that a failure at any point leaves a
// dictionary behind.
bool PutInPlace(const std::string& temp, const std::string& oldPath, const std::string& newPath, bool sameName) {
  if (!platform::Files().ReplaceFile(temp, newPath)) return false;
  if (!sameName) platform::Files().Delete(oldPath);  // a leftover old file harms nothing
  return true;
}

}  // namespace

std::bitset<256> AppIdSet(std::initializer_list<int> appIds) {
  std::bitset<256> set;
  for (int id : appIds)
    if (id >= 0 && id < 256) set.set(static_cast<size_t>(id));
  return set;
}

std::span<const TPatchSlownikInfo> DictionaryPatches() {
  static const std::array<TPatchSlownikInfo, 1> patches = {{
      {AppIdSet({6}), {"engpol2.sg", 20856322, 0x134A6078}, {"engpol2.sg", 20908583, 0x301F4AC5}, "PSLENGPOL2"},
  }};
  return patches;
}

int32_t PatchDictionary(const std::string& dir, const TPatchSlownikInfo& patch, int32_t& percent, MessagePump& host) {
  bool oldFound = false;
  try {
    const std::string oldPath = dir + patch.OldFile.Name;
    const std::string newPath = dir + patch.NewFile.Name;
    if (IsVersion(newPath, patch.NewFile)) return kDictionaryAlreadyNew;
    if (!IsVersion(oldPath, patch.OldFile)) return kDictionaryNotPatched;

    // From here on the old file was found; any failure leaves it in place and
    // reports that its update failed.
    oldFound = true;
    std::optional<std::span<const uint8_t>> resource = platform::Resources().Find(patch.ScriptResource);
    if (!resource) return kDictionaryUpdateFailed;
    const std::vector<std::string> script = SplitScriptText(*resource);

    TemporaryFile temp(MakeUniqueFileName(dir, kTempBaseName, kTempExtension, false));
    if (!ApplyEditScript(oldPath, temp.Path(), script, percent, host)) return kDictionaryUpdateFailed;
    if (!IsVersion(temp.Path(), patch.NewFile)) return kDictionaryUpdateFailed;
    host.ProcessPendingMessages();
    const bool sameName = SameFileName(patch.OldFile.Name, patch.NewFile.Name);
    return PutInPlace(temp.Path(), oldPath, newPath, sameName) ? kDictionaryPatched : kDictionaryUpdateFailed;
  } catch (...) {
    return oldFound ? kDictionaryUpdateFailed : kDictionaryNotPatched;
  }
}

}  // namespace upd
