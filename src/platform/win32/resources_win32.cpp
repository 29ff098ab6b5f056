// RCDATA resources of the running executable itself (never another module).

#include <windows.h>

#include "platform/resources.h"

namespace upd::platform {
namespace {

class Win32Resources : public ResourceSource {
 public:
  std::optional<std::span<const uint8_t>> Find(const std::string& name) override {
    HRSRC info = FindResourceA(nullptr, name.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!info) return std::nullopt;
    HGLOBAL handle = LoadResource(nullptr, info);
    DWORD size = SizeofResource(nullptr, info);
    const void* data = handle ? LockResource(handle) : nullptr;
    if (!data) return std::nullopt;
    // Resources of the running module stay mapped for the life of the process;
    // there is nothing to release.
    return std::span<const uint8_t>(static_cast<const uint8_t*>(data), size);
  }
};

}  // namespace

ResourceSource& ResourceSource::System() {
  static Win32Resources instance;
  return instance;
}

}  // namespace upd::platform
