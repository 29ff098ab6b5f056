// Win32 registry reader: RegOpenKeyExA with KEY_READ, never a create call.
// The product's installer is a 32-bit program, so machine-wide keys are read in
// the 32-bit view; under HKEY_CURRENT_USER the views are shared.

#include <windows.h>

#include <vector>

#include "platform/registry.h"

namespace upd::platform {
namespace {

class Win32Key : public RegistryKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}
  ~Win32Key() override { RegCloseKey(key_); }

  bool HasValue(const std::string& name) override {
    return RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }

  RegRead ReadString(const std::string& name, std::string& out) override {
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_FILE_NOT_FOUND) return RegRead::Missing;
    if (rc != ERROR_SUCCESS) return RegRead::Failed;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return RegRead::WrongType;
    std::vector<char> buffer(size + 1, '\0');
    rc = RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (rc != ERROR_SUCCESS) return RegRead::Failed;
    // The stored size may or may not count the terminating zero.
    size_t length = size;
    while (length > 0 && buffer[length - 1] == '\0') --length;
    out.assign(buffer.data(), length);
    return RegRead::Ok;
  }

  RegRead ReadDword(const std::string& name, uint32_t& out) override {
    DWORD type = 0, value = 0, size = sizeof(value);
    LONG rc = RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, nullptr);
    if (rc == ERROR_FILE_NOT_FOUND) return RegRead::Missing;
    if (rc != ERROR_SUCCESS) return RegRead::Failed;
    if (type != REG_DWORD) return RegRead::WrongType;
    rc = RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (rc != ERROR_SUCCESS) return RegRead::Failed;
    out = value;
    return RegRead::Ok;
  }

 private:
  HKEY key_;
};

class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RootKey root, const std::string& path) override {
    HKEY base = root == RootKey::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    REGSAM access = KEY_READ | (root == RootKey::LocalMachine ? KEY_WOW64_32KEY : 0);
    HKEY key = nullptr;
    if (RegOpenKeyExA(base, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32Key>(key);
  }
};

}  // namespace

Registry& Registry::System() {
  static Win32Registry instance;
  return instance;
}

}  // namespace upd::platform
