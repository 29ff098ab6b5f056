#include "util/registry_readers.h"

namespace upd {

bool OpenRegKey(platform::RootKey root, const std::string& keyPath, std::unique_ptr<RegAccessor>& accessor) {
  accessor.reset();
  try {
    auto opened = std::make_unique<RegAccessor>();
    opened->root = root;
    // Read access only; the registry seam has no way to create a key.
    opened->key = platform::Reg().OpenKey(root, keyPath);
    if (!opened->key) return false;
    accessor = std::move(opened);
    return true;
  } catch (const std::exception&) {
    // A missing key, no access or a failing registry layer all read as "not there".
    return false;
  }
}

bool CloseRegKey(std::unique_ptr<RegAccessor>& accessor) {
  if (!accessor) return false;
  accessor.reset();
  return true;
}

namespace {

// Opens the key for one read and closes it on every path, also when the read throws.
class ReaderKey {
 public:
  ReaderKey(platform::RootKey root, const std::string& keyPath) { OpenRegKey(root, keyPath, accessor_); }
  ~ReaderKey() { CloseRegKey(accessor_); }
  ReaderKey(const ReaderKey&) = delete;
  ReaderKey& operator=(const ReaderKey&) = delete;

  // The open key when it holds a value of that name, else nullptr.
  platform::RegistryKey* WithValue(const std::string& valueName) const {
    if (!accessor_ || !accessor_->key->HasValue(valueName)) return nullptr;
    return accessor_->key.get();
  }

 private:
  std::unique_ptr<RegAccessor> accessor_;
};

// Ok answers true; a value of another type is the caller's error; a value that
// vanished or that the system refused to read counts as not found.
bool Found(platform::RegRead result, const std::string& keyPath, const std::string& valueName, const char* wanted) {
  if (result == platform::RegRead::WrongType)
    throw RegistryTypeError("registry value \"" + valueName + "\" under \"" + keyPath + "\" is not " + wanted);
  return result == platform::RegRead::Ok;
}

}  // namespace

bool ReadRegBool(platform::RootKey root, const std::string& keyPath, const std::string& valueName, bool& value) {
  ReaderKey reader(root, keyPath);
  platform::RegistryKey* key = reader.WithValue(valueName);
  if (!key) return false;
  uint32_t number = 0;
  if (!Found(key->ReadDword(valueName, number), keyPath, valueName, "a 32-bit number")) return false;
  value = number != 0;
  return true;
}

bool ReadRegString(platform::RootKey root, const std::string& keyPath, const std::string& valueName,
                   std::string& value) {
  ReaderKey reader(root, keyPath);
  platform::RegistryKey* key = reader.WithValue(valueName);
  if (!key) return false;
  std::string text;
  if (!Found(key->ReadString(valueName, text), keyPath, valueName, "a string")) return false;
  value = std::move(text);
  return true;
}

}  // namespace upd
