#pragma once
// Rebuilds a catalogue file whole from its embedded payloads.

#include <string>

#include "engine/catalogue.h"
#include "platform/files.h"

namespace upd {

// Writes the new version of catalogue entry `entry` to `path` (created when
// missing). True when the target now holds the new version; on false the
// target is as it was.
bool RebuildFile(int entry, const std::string& path);

// RebuildFile for the row `info` of entry number `entry` (the number decides
// whether the new version is checked by CRC-32 or by probes), so that tests
// can rebuild from rows of their own.
bool RebuildFileFromInfo(int entry, const TPatchPlikInfo& info, const std::string& path);

// Appends the decoded bytes of the payload resource `name` to `target` in one
// write. False when the resource is missing, does not decode, or the write fails.
bool WritePayloadToFile(const std::string& name, platform::OutputFile& target);

// The name of the file that receives the new version of `path` before it
// replaces it: beside the target, in the same folder.
std::string RebuildTemporaryPath(const std::string& path);

}  // namespace upd
