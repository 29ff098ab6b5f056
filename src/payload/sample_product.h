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
#include <string>
#include <vector>

namespace upd {

// The catalogue entry whose file the sample program stands in for, and its
// known versions: slots 1..5, oldest first, slot 5 the new version.
inline constexpr int kSampleProgramEntry = 33;
inline constexpr int kSampleProgramVersions = 5;

// The bytes of the program at version slot 1..5, with the size and CRC-32
// that the catalogue gives that slot; throws std::out_of_range for another
// slot. The same bytes on every platform and every call.
std::vector<uint8_t> MakeSampleProgram(int slot);

// The name `patchtool sample` writes version `slot` under: the catalogue's
// file name with the slot, "DerodUz-slot1.exe" and so on.
std::string SampleProgramFileName(int slot);

}  // namespace upd
