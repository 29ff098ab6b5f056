// Linux builds have no shell: the system shell is a recording one without an
// application-data folder.

#include "platform/shell.h"

namespace upd::platform {

Shell& Shell::System() {
  static RecordingShell instance;
  return instance;
}

}  // namespace upd::platform
