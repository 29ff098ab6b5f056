#pragma once
// Shell service of the platform seam: the current user's application-data
// folder and the shortcut writer. Text is single-byte in the ANSI code page,
// as elsewhere in the seam.

#include <string>
#include <vector>

#include "platform/service.h"

namespace upd::platform {

struct ShortcutLink {
  std::string target;
  std::string workingDir;   // may be empty
  std::string description;  // may be empty
};

class Shell {
 public:
  virtual ~Shell() = default;
  static Shell& System();

  // The current user's application-data folder as the system reports it, or
  // empty when there is none (or it cannot be written in the ANSI code page).
  virtual std::string AppDataFolder() = 0;

  // Writes a shell shortcut `linkFile` to `link`, replacing an existing file of
  // that name. Creates no folder. False when the shell link object is missing
  // or the file was not written. On Windows the calling thread must have
  // initialised COM.
  virtual bool WriteShortcut(const std::string& linkFile, const ShortcutLink& link) = 0;
};

inline Shell& ShellApi() { return Use<Shell>(); }

// A shell that writes nothing and records the shortcuts it was asked to write:
// the portable system shell (no application-data folder unless set) and the
// fixture of the tests.
class RecordingShell : public Shell {
 public:
  struct Written {
    std::string linkFile;
    ShortcutLink link;
  };

  std::string appData;     // what AppDataFolder answers
  bool failWrites = false;  // WriteShortcut answers false and records nothing
  std::vector<Written> written;

  std::string AppDataFolder() override { return appData; }
  bool WriteShortcut(const std::string& linkFile, const ShortcutLink& link) override {
    if (failWrites) return false;
    written.push_back({linkFile, link});
    return true;
  }
};

}  // namespace upd::platform
