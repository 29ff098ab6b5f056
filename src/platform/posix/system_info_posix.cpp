// Linux has no Windows locale and no ANSI code page: the system facts are those
// of a Polish NT system with code page 1250, the setting the product is made for.

#include "platform/system_info.h"

namespace upd::platform {

SystemInfo& SystemInfo::System() {
  static PortableSystemInfo instance;
  return instance;
}

}  // namespace upd::platform
