#pragma once
// Word's startup folders, where the product's document templates can lie
// besides the installation directory.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace upd {

struct OfficeVersion {
  std::string_view registryKey;  // under "Software\Microsoft\Office\"
  std::string_view name;         // as it appears in the list
};

inline constexpr std::array<OfficeVersion, 4> OfficeVersions = {{
    {"8.0\\Word\\", "97"},
    {"9.0\\Word\\", "2000"},
    {"10.0\\Word\\", "XP"},
    {"11.0\\Word\\", "2003"},
}};

// Replaces `list` by one line "name=folder" per startup folder found: first a
// line "Microsoft Word <version>=<path>" for every version with its own
// startup path (in the table's order), then one line for the user startup
// folder (the application-data folder + "Microsoft\Word\Startup") naming the
// versions that use it, "Microsoft Word 97/2000=...", or "Microsoft Word (nie
// znaleziono)=..." when no version is found at all. Answers the number of
// lines. Never fails: an error while reading a version keeps what was gathered
// before it and looks at no later version.
int32_t ListWordStartupDirs(std::vector<std::string>& list);

}  // namespace upd
