#pragma once
// Identification of an installed file's version: which known version of a
// catalogue entry's file is on disk. Reads the file, never changes it, holds no
// state between calls.

#include <cstdint>
#include <string>

namespace upd {

// The identification verdict, 0 to 3.
enum IdentifyVerdict : int {
  kVerdictCurrent = 0,    // the new version: the entry's CurrentSlot matches
  kVerdictPatchable = 1,  // a known older version: another slot matches
  kVerdictUnknown = 2,    // no slot matches; an empty file too
  kVerdictOpenError = 3,  // the file cannot be opened or read
};

struct TFileVersion {
  IdentifyVerdict Verdict;
  int32_t Slot;  // the matching slot 1..11 for verdicts 0 and 1, else 0
};

// The verdict for the file at `path` against catalogue entry `entry` (1..33;
// another number throws std::out_of_range). The file's CRC-32 is computed
// first for every entry, then the slots are tried in ascending order: by size
// and CRC-32 for the checksum kind, by size and the 50 probes for the probe
// kind, stopping at the first probe that differs.
IdentifyVerdict IdentifyFileVersion(int entry, const std::string& path);

// The same, with the slot that matched.
TFileVersion IdentifyFileVersionSlot(int entry, const std::string& path);

}  // namespace upd
