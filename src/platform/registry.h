#pragma once
// Registry service of the platform seam: read-only. Keys are opened for
// reading and never created. Names are single-byte strings in the ANSI code
// page; scrambled value names use every byte value but 0.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/service.h"

namespace upd::platform {

enum class RootKey { CurrentUser, LocalMachine };

// Outcome of reading one value.
enum class RegRead {
  Ok,         // the value exists and has the requested type
  Missing,    // no value of that name
  WrongType,  // the value exists with another type (an error for the callers)
  Failed,     // the system refused (access denied, I/O)
};

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  virtual bool HasValue(const std::string& name) = 0;
  // REG_SZ / REG_EXPAND_SZ, without the terminating zero.
  virtual RegRead ReadString(const std::string& name, std::string& out) = 0;
  // REG_DWORD.
  virtual RegRead ReadDword(const std::string& name, uint32_t& out) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  static Registry& System();
  // Opens `path` under `root` with read access (KEY_READ; machine keys in the
  // 32-bit view on Windows); nullptr when it does not exist or cannot be opened.
  virtual std::unique_ptr<RegistryKey> OpenKey(RootKey root, const std::string& path) = 0;
};

inline Registry& Reg() { return Use<Registry>(); }

// An in-memory registry: the portable system registry (empty unless filled)
// and the fixture of the registry tests. Key paths and value names compare
// without regard to ASCII letter case, as on Windows.
class MemoryRegistry : public Registry {
 public:
  struct Value {
    enum class Type { String, Dword, Binary } type = Type::String;
    std::string text;  // String and Binary
    uint32_t number = 0;
  };

  void SetString(RootKey root, const std::string& path, const std::string& name, const std::string& value);
  void SetDword(RootKey root, const std::string& path, const std::string& name, uint32_t value);
  void SetBinary(RootKey root, const std::string& path, const std::string& name, const std::string& bytes);
  // Creates the key without values.
  void AddKey(RootKey root, const std::string& path);
  void Clear() { keys_.clear(); }
  // Number of OpenKey calls so far, for tests of what was (not) read.
  int OpenCount() const { return open_count_; }

  std::unique_ptr<RegistryKey> OpenKey(RootKey root, const std::string& path) override;

 private:
  using Values = std::map<std::string, Value>;
  std::map<std::pair<RootKey, std::string>, Values> keys_;
  int open_count_ = 0;
};

}  // namespace upd::platform
