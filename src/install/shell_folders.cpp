#include "install/shell_folders.h"

#include "platform/shell.h"
#include "util/registry_readers.h"

namespace upd {
namespace {

using platform::RootKey;

// The machine's value when asked for all users' folder and it is there and not
// empty, else the current user's.
std::string ShellFolder(bool common, const char* commonName, const char* userName) {
  const std::string key(ShellFoldersKey);
  std::string result;
  if (common) ReadRegString(RootKey::LocalMachine, key, commonName, result);
  if (result.empty()) ReadRegString(RootKey::CurrentUser, key, userName, result);
  return result;
}

}  // namespace

std::string GetDesktopDir(bool common) { return ShellFolder(common, "Common Desktop", "Desktop"); }

std::string GetProgramsDir(bool common) { return ShellFolder(common, "Common Programs", "Programs"); }

std::string GetSpecialFolder(int32_t kind) {
  std::string result;
  switch (kind) {
    case kDesktopFolder: result = GetDesktopDir(false); break;
    case kProgramsFolder: result = GetProgramsDir(false); break;
    case kCommonProgramsFolder: result = GetProgramsDir(true); break;
    case kCommonDesktopFolder: result = GetDesktopDir(true); break;
    case kAppDataFolder: result = platform::ShellApi().AppDataFolder(); break;
    default: return {};
  }
  if (!result.empty() && result.back() != '\\') result += '\\';
  return result;
}

std::string ShortcutWorkingDir(const std::string& target) {
  size_t cut = target.find_last_of("\\:");
  return cut == std::string::npos ? std::string() : target.substr(0, cut + 1);
}

bool CreateShortcut(const std::string& target, const std::string& linkFile, const std::string& description) {
  try {
    return platform::ShellApi().WriteShortcut(linkFile, {target, ShortcutWorkingDir(target), description});
  } catch (const std::exception&) {
    return false;  // the writer never raises to its callers
  }
}

}  // namespace upd
