#pragma once
// The user's and all users' desktop and Start-menu programs folders from the
// shell's record of its folders in the registry, the application-data folder
// from the system, and the shortcut writer.

#include <cstdint>
#include <string>
#include <string_view>

namespace upd {

// The shell's folder record, the same path under both hives.
inline constexpr std::string_view ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Special-folder numbers of the system that GetSpecialFolder knows.
enum SpecialFolderKind : int32_t {
  kDesktopFolder = 0,        // the current user's desktop
  kProgramsFolder = 2,       // the current user's Start-menu programs
  kCommonProgramsFolder = 23,  // all users' programs, else the user's
  kCommonDesktopFolder = 25,   // all users' desktop, else the user's
  kAppDataFolder = 26,       // the current user's application data
};

// The folder as the shell records it (no trailing backslash), or empty. With
// `common`, all users' folder when the machine records a non-empty one, else
// the current user's; without, the machine's hive is never read. A value of
// the wrong type throws RegistryTypeError.
std::string GetDesktopDir(bool common);
std::string GetProgramsDir(bool common);

// The folder of that kind ending in exactly one backslash, or empty (also for
// every kind not listed above).
std::string GetSpecialFolder(int32_t kind);

// The directory part of a target: everything up to and including its last
// backslash or colon, or empty when it has neither.
std::string ShortcutWorkingDir(const std::string& target);

// Writes the shortcut `linkFile` to `target`, working in the target's folder,
// with `description` (may be empty); replaces an existing file, creates no
// folder. True when the file was written. The thread must have initialised COM.
bool CreateShortcut(const std::string& target, const std::string& linkFile, const std::string& description);

}  // namespace upd
