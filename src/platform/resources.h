#pragma once
// Embedded resources of the platform seam: the RCDATA resources of the running
// executable, found by name (payloads, edit scripts).

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/service.h"

namespace upd::platform {

class ResourceSource {
 public:
  virtual ~ResourceSource() = default;
  static ResourceSource& System();
  // The bytes of the RCDATA resource `name`, valid for the life of the process
  // (or of the source), or nullopt when there is none.
  virtual std::optional<std::span<const uint8_t>> Find(const std::string& name) = 0;
};

inline ResourceSource& Resources() { return Use<ResourceSource>(); }

// An in-memory table of resources: the portable system source (empty unless
// filled) and the fixture of the tests.
class MemoryResources : public ResourceSource {
 public:
  void Add(const std::string& name, std::vector<uint8_t> bytes) { table_[name] = std::move(bytes); }
  void Remove(const std::string& name) { table_.erase(name); }
  std::optional<std::span<const uint8_t>> Find(const std::string& name) override;

 private:
  std::map<std::string, std::vector<uint8_t>> table_;
};

}  // namespace upd::platform
