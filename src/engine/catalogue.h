#pragma once
// The patch catalogue: for every product file the updater knows, its known
// versions (slots), how each is recognised, which one is new, and the payloads
// that rebuild the new version. Constant, compiled in, indexed from 1.

#include <array>
#include <cstdint>
#include <string_view>

namespace upd {

inline constexpr int kCatalogueEntries = 33;
inline constexpr int kVersionSlots = 11;
inline constexpr int kProbesPerTable = 50;
// Entries below this number are recognised by probes, from it on by CRC-32.
inline constexpr int kFirstChecksumEntry = 24;

struct TPatchProbe {
  int32_t Offset;
  uint8_t Value;
};

// One catalogue row. Per-slot arrays are indexed by slot - 1 (slot 1 is [0]);
// the two-element arrays hold text 1 at [0] and text 2 at [1].
struct TPatchPlikInfo {
  std::array<std::string_view, 2> DisplayName;   // code page 1250; [0] Polish, [1] every other language
  std::string_view VersionText;
  std::string_view FileName;
  std::array<std::string_view, 2> ResourceName;  // writing order; [1] may be empty
  int32_t CurrentSlot;                           // 1..11
  std::array<int32_t, kVersionSlots> SlotSize;   // 0 = empty slot
  std::array<uint32_t, kVersionSlots> SlotCrc{};  // checksum entries only
  std::array<const TPatchProbe*, kVersionSlots> SlotProbes{};  // probe entries only: 50 probes or nullptr
};

// Row `entry`, 1..33.
const TPatchPlikInfo& PatchCatalogue(int entry);

}  // namespace upd
