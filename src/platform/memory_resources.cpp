#include "platform/resources.h"

namespace upd::platform {

std::optional<std::span<const uint8_t>> MemoryResources::Find(const std::string& name) {
  auto it = table_.find(name);
  if (it == table_.end()) return std::nullopt;
  return std::span<const uint8_t>(it->second.data(), it->second.size());
}

}  // namespace upd::platform
