#pragma once
// A registry that passes every call to an in-memory one and writes down what
// was opened and read, for tests of what the code did not touch.

#include <string>
#include <vector>

#include "platform/registry.h"

namespace upd::testing {

// The hives by their short Windows names, for tables of registry contents.
inline constexpr platform::RootKey HKCU = platform::RootKey::CurrentUser;
inline constexpr platform::RootKey HKLM = platform::RootKey::LocalMachine;

class LoggingRegistry : public platform::Registry {
 public:
  struct Access {
    platform::RootKey root;
    std::string path;
    std::string what;  // "open", "has", "string" or "dword"
    std::string name;  // the value name, empty for "open"
  };

  platform::MemoryRegistry memory;
  std::vector<Access> log;

  // Whether any call under `root` touched the value `name` (any call at all
  // when `name` is empty).
  bool Touched(platform::RootKey root, const std::string& name = "") const {
    for (const Access& a : log)
      if (a.root == root && (name.empty() || a.name == name)) return true;
    return false;
  }

  std::unique_ptr<platform::RegistryKey> OpenKey(platform::RootKey root, const std::string& path) override {
    log.push_back({root, path, "open", ""});
    auto inner = memory.OpenKey(root, path);
    if (!inner) return nullptr;
    return std::make_unique<Key>(*this, root, path, std::move(inner));
  }

 private:
  class Key : public platform::RegistryKey {
   public:
    Key(LoggingRegistry& owner, platform::RootKey root, std::string path, std::unique_ptr<platform::RegistryKey> inner)
        : owner_(owner), root_(root), path_(std::move(path)), inner_(std::move(inner)) {}
    bool HasValue(const std::string& name) override {
      Note("has", name);
      return inner_->HasValue(name);
    }
    platform::RegRead ReadString(const std::string& name, std::string& out) override {
      Note("string", name);
      return inner_->ReadString(name, out);
    }
    platform::RegRead ReadDword(const std::string& name, uint32_t& out) override {
      Note("dword", name);
      return inner_->ReadDword(name, out);
    }

   private:
    void Note(const char* what, const std::string& name) { owner_.log.push_back({root_, path_, what, name}); }
    LoggingRegistry& owner_;
    platform::RootKey root_;
    std::string path_;
    std::unique_ptr<platform::RegistryKey> inner_;
  };
};

}  // namespace upd::testing
