#include "platform/registry.h"

#include <algorithm>

namespace upd::platform {
namespace {

// Windows compares key and value names without regard to letter case.
std::string Fold(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  });
  return s;
}

class MemoryKey : public RegistryKey {
 public:
  explicit MemoryKey(const std::map<std::string, MemoryRegistry::Value>& values) : values_(values) {}

  bool HasValue(const std::string& name) override { return values_.count(Fold(name)) != 0; }

  RegRead ReadString(const std::string& name, std::string& out) override {
    auto it = values_.find(Fold(name));
    if (it == values_.end()) return RegRead::Missing;
    if (it->second.type != MemoryRegistry::Value::Type::String) return RegRead::WrongType;
    out = it->second.text;
    return RegRead::Ok;
  }

  RegRead ReadDword(const std::string& name, uint32_t& out) override {
    auto it = values_.find(Fold(name));
    if (it == values_.end()) return RegRead::Missing;
    if (it->second.type != MemoryRegistry::Value::Type::Dword) return RegRead::WrongType;
    out = it->second.number;
    return RegRead::Ok;
  }

 private:
  // A copy: the key sees the values as they were when it was opened.
  std::map<std::string, MemoryRegistry::Value> values_;
};

}  // namespace

void MemoryRegistry::AddKey(RootKey root, const std::string& path) { keys_[{root, Fold(path)}]; }

void MemoryRegistry::SetString(RootKey root, const std::string& path, const std::string& name,
                               const std::string& value) {
  Value v;
  v.type = Value::Type::String;
  v.text = value;
  keys_[{root, Fold(path)}][Fold(name)] = v;
}

void MemoryRegistry::SetDword(RootKey root, const std::string& path, const std::string& name, uint32_t value) {
  Value v;
  v.type = Value::Type::Dword;
  v.number = value;
  keys_[{root, Fold(path)}][Fold(name)] = v;
}

void MemoryRegistry::SetBinary(RootKey root, const std::string& path, const std::string& name,
                               const std::string& bytes) {
  Value v;
  v.type = Value::Type::Binary;
  v.text = bytes;
  keys_[{root, Fold(path)}][Fold(name)] = v;
}

std::unique_ptr<RegistryKey> MemoryRegistry::OpenKey(RootKey root, const std::string& path) {
  ++open_count_;
  auto it = keys_.find({root, Fold(path)});
  if (it == keys_.end()) return nullptr;
  return std::make_unique<MemoryKey>(it->second);
}

}  // namespace upd::platform
