// Linux builds have no registry and no executable resources: the system
// implementations are empty in-memory ones that tests and tools may fill.

#include "platform/registry.h"
#include "platform/resources.h"

namespace upd::platform {

Registry& Registry::System() {
  static MemoryRegistry instance;
  return instance;
}

ResourceSource& ResourceSource::System() {
  static MemoryResources instance;
  return instance;
}

}  // namespace upd::platform
