#pragma once
// Read-only registry value readers over the registry seam. Keys are opened
// for reading and never created.

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/registry.h"

namespace upd {

// A value exists but has another type than the reader wants (a string where a
// number is read, or the reverse). The readers let it reach their callers.
struct RegistryTypeError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The registry accessor of the readers: a root key and the key opened under it.
struct RegAccessor {
  platform::RootKey root = platform::RootKey::CurrentUser;
  std::unique_ptr<platform::RegistryKey> key;
};

// Opens `keyPath` under `root` for reading; false (and no accessor) on any error.
bool OpenRegKey(platform::RootKey root, const std::string& keyPath, std::unique_ptr<RegAccessor>& accessor);
bool CloseRegKey(std::unique_ptr<RegAccessor>& accessor);

// True when the key opened and the value exists; `value` is set only then.
// A value of the wrong type throws RegistryTypeError; a value the system
// refuses to read answers false. ReadRegBool reads a 32-bit number, nonzero
// meaning true.
bool ReadRegBool(platform::RootKey root, const std::string& keyPath, const std::string& valueName, bool& value);
bool ReadRegString(platform::RootKey root, const std::string& keyPath, const std::string& valueName,
                   std::string& value);

}  // namespace upd
