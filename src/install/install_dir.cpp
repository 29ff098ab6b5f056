#include "install/install_dir.h"

#include <exception>

#include "install/kod.h"
#include "platform/registry.h"
#include "util/pl_text.h"
#include "util/registry_readers.h"

namespace upd {
namespace {

using platform::RootKey;

// Registry values and names are scrambled in mode 5.
constexpr int32_t kRegistryMode = 5;

// One hive's attempt: the value's unscrambled contents, or empty. A missing
// key or value, a refused read or a value that is not a string all end the
// attempt without an error.
std::string ReadDirValue(RootKey root, const std::string& keyPath, const std::string& valueName, int32_t appId,
                         bool newFormat) {
  try {
    auto key = platform::Reg().OpenKey(root, keyPath);
    if (!key || !key->HasValue(valueName)) return {};
    std::string stored;
    if (key->ReadString(valueName, stored) != platform::RegRead::Ok) return {};
    return Kod().Decode(stored, appId, kRegistryMode, newFormat);
  } catch (const std::exception&) {
    return {};
  }
}

// Whether the flag value exists under one hive. The flag is read as a number
// but only its presence counts: a value of another type is present all the
// same, and must not end the update run.
bool HasFlag(RootKey root, const std::string& keyPath, const std::string& name) {
  bool ignored = false;
  try {
    return ReadRegBool(root, keyPath, name, ignored);
  } catch (const RegistryTypeError&) {
    return true;
  }
}

}  // namespace

std::string InstallDirValueNameFor(int32_t appId, bool newRegFormat) {
  const std::string plain(InstallDirValueName);
  if (appId == 1) return plain;
  return Kod().Encode(plain, appId, kRegistryMode, newRegFormat);
}

std::string NewRegFormatValueNameFor(int32_t appId) {
  return Kod().Encode(std::string(NewRegFormatValueName), appId, kRegistryMode, true);
}

ScrambledValue ScrambleInstallDir(int32_t appId, const std::string& dir, bool newRegFormat) {
  return {InstallDirValueNameFor(appId, newRegFormat), Kod().Encode(dir, appId, kRegistryMode, newRegFormat)};
}

bool IsNewRegFormat(int32_t appId) {
  if (!InRange64(appId, 1, 13)) return false;
  const std::string keyPath(ProductRegKeys[appId]);
  const std::string name = NewRegFormatValueNameFor(appId);
  return HasFlag(RootKey::CurrentUser, keyPath, name) || HasFlag(RootKey::LocalMachine, keyPath, name);
}

std::string GetInstallDir(int32_t appId) {
  if (appId == -1) return ReadLegacyInstallDir();
  if (!InRange64(appId, 1, 13)) return {};
  const bool newFormat = IsNewRegFormat(appId);
  const std::string keyPath(ProductRegKeys[appId]);
  const std::string valueName = InstallDirValueNameFor(appId, newFormat);
  // The machine's hive only while the user's gave nothing, also when the
  // user's value unscrambles to an empty text.
  std::string result = ReadDirValue(RootKey::CurrentUser, keyPath, valueName, appId, newFormat);
  if (result.empty()) result = ReadDirValue(RootKey::LocalMachine, keyPath, valueName, appId, newFormat);
  return result;
}

std::string ReadLegacyInstallDir() {
  try {
    auto key = platform::Reg().OpenKey(RootKey::LocalMachine, std::string(LegacyInstallKey));
    const std::string name(InstallDirValueName);
    std::string stored;
    if (key && key->HasValue(name) && key->ReadString(name, stored) == platform::RegRead::Ok) return stored;
  } catch (const std::exception&) {
  }
  return {};
}

}  // namespace upd
