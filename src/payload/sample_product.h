#pragma once
// The sample product: deterministic stand-ins for the five known versions of
// the program file "DerodUz.exe" (catalogue entry 33), generated because the
// real program is not available. Each has exactly the size and CRC-32 that
// the catalogue lists for its version slot, and content shaped like a 32-bit
// Windows program (headers, code, constant and initialised data, imports,
// resources, relocations), the older versions differing from the newest the
// way successive builds of one program do. Builds embed payloads made from
// the newest version; tests and the demo install the older ones.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace upd {

inline constexpr int kSampleProgramVersions = 5;

struct SampleProgramVersion {
  int slot;           // 1..5, oldest first; 5 is the new version
  uint32_t size;      // bytes
  uint32_t crc;       // CRC-32 of the whole file
  const char* fileName;  // the name `patchtool sample` writes it under
};

// Slot 1..5; throws std::out_of_range otherwise.
const SampleProgramVersion& SampleProgramVersionInfo(int slot);

// The bytes of the program at version slot 1..5; throws std::out_of_range
// for another slot. The same bytes on every platform and every call.
std::vector<uint8_t> MakeSampleProgram(int slot);

// Chooses the four bytes at data[offset .. offset + 3] so that the CRC-32 of
// the whole of `data` becomes `target`. CRC-32 is affine over GF(2) in the
// message bits, and any 32 consecutive bits reach every value, so a 32 x 32
// system solves it. Throws std::invalid_argument when the four bytes do not
// fit in `data`.
void ForceCrc32(std::span<uint8_t> data, size_t offset, uint32_t target);

}  // namespace upd
