#include "engine/identification.h"

#include <optional>

#include "engine/catalogue.h"
#include "engine/crc32.h"
#include "platform/files.h"

namespace upd {
namespace {

// Whether the file holds every probe's byte, in table order, stopping at the
// first that differs; nullopt when positioning or reading fails, including a
// read that finds no byte at the offset (the file shrank).
std::optional<bool> ProbesHold(platform::InputFile& file, const TPatchProbe* probes) {
  for (int i = 0; i < kProbesPerTable; ++i) {
    unsigned char byte = 0;
    if (!file.Seek(probes[i].Offset)) return std::nullopt;
    auto got = file.Read(&byte, 1);
    if (!got || *got != 1) return std::nullopt;
    if (byte != probes[i].Value) return false;
  }
  return true;
}

}  // namespace

TFileVersion IdentifyFileVersionSlot(int entry, const std::string& path) {
  constexpr TFileVersion kOpenError{kVerdictOpenError, 0};
  const TPatchPlikInfo& row = PatchCatalogue(entry);
  const bool checksumKind = entry >= kFirstChecksumEntry;

  auto crc = FileCrc32(path);
  if (!crc) return kOpenError;

  // The file stays open for the probe pass and is closed on every return.
  auto file = platform::Files().OpenRead(path);
  if (!file) return kOpenError;
  auto size = file->Size();
  if (!size) return kOpenError;

  for (int slot = 1; slot <= kVersionSlots; ++slot) {
    // The size is compared as 64 bits: a file of 4 GiB and more must not pass
    // for a slot whose size matches its low 32 bits.
    const int64_t slotSize = row.SlotSize[slot - 1];
    if (*size <= 0 || slotSize != *size) continue;

    bool matches = false;
    if (checksumKind) {
      matches = row.SlotCrc[slot - 1] == *crc;
    } else if (const TPatchProbe* probes = row.SlotProbes[slot - 1]) {
      auto hold = ProbesHold(*file, probes);
      if (!hold) return kOpenError;
      matches = *hold;
    }
    if (matches) return {slot == row.CurrentSlot ? kVerdictCurrent : kVerdictPatchable, slot};
  }
  return {kVerdictUnknown, 0};
}

IdentifyVerdict IdentifyFileVersion(int entry, const std::string& path) {
  return IdentifyFileVersionSlot(entry, path).Verdict;
}

}  // namespace upd
