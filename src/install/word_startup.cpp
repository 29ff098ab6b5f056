#include "install/word_startup.h"

#include <stdexcept>

#include "install/shell_folders.h"
#include "platform/registry.h"
#include "util/pl_text.h"

namespace upd {
namespace {

constexpr std::string_view kOfficeKey = "Software\\Microsoft\\Office\\";

std::string WithoutTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// The version's own startup path without a trailing backslash, or empty when
// it has none. A value that is not a string, or that the system refuses to
// read, is an error for the caller's loop.
std::string StartupPath(const std::string& versionKey) {
  auto options = platform::Reg().OpenKey(platform::RootKey::CurrentUser, versionKey + "Options");
  const std::string name = "STARTUP-PATH";
  if (!options || !options->HasValue(name)) return {};
  std::string path;
  switch (options->ReadString(name, path)) {
    case platform::RegRead::Ok: return WithoutTrailingBackslash(path);
    case platform::RegRead::Missing: return {};
    default: throw std::runtime_error("STARTUP-PATH under " + versionKey + " cannot be read as a string");
  }
}

}  // namespace

int32_t ListWordStartupDirs(std::vector<std::string>& list) {
  list.clear();
  std::string userDir = GetSpecialFolder(kAppDataFolder);
  if (!userDir.empty()) userDir += "Microsoft\\Word\\Startup";
  const std::string userDirFolded = LowerCasePl(userDir);

  std::string merged;  // "Microsoft Word 97/2000": the versions that use userDir
  try {
    for (const OfficeVersion& version : OfficeVersions) {
      const std::string versionKey = std::string(kOfficeKey) + std::string(version.registryKey);
      if (!platform::Reg().OpenKey(platform::RootKey::CurrentUser, versionKey)) continue;  // not installed
      const std::string path = StartupPath(versionKey);
      if (!path.empty() && LowerCasePl(path) != userDirFolded) {
        list.push_back("Microsoft Word " + std::string(version.name) + "=" + path);
      } else {
        merged += merged.empty() ? "Microsoft Word " : "/";
        merged += version.name;
      }
    }
  } catch (const std::exception&) {
    // What was gathered stays; later versions are not looked at.
  }

  if (!userDir.empty()) {
    if (!merged.empty())
      list.push_back(merged + "=" + userDir);
    else if (list.empty())
      list.push_back("Microsoft Word (nie znaleziono)=" + userDir);
  }
  return static_cast<int32_t>(list.size());
}

}  // namespace upd
