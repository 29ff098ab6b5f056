#pragma once
// Rebuilds a catalogue file whole from its embedded payloads.

#include <string>

namespace upd {

// Writes the new version of catalogue entry `entry` to `path` (created when
// missing). True when the target now holds the new version; on false the
// target is as it was.
bool RebuildFile(int entry, const std::string& path);

}  // namespace upd
