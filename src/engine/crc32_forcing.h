#pragma once
// Gives a buffer a chosen CRC-32 by overwriting four of its bytes: how the
// sample product's files get the checksums of the catalogue, and how tests
// make files of a known version's exact size and checksum.

#include <cstddef>
#include <cstdint>
#include <span>

namespace upd {

// Overwrites bytes[position .. position + 3] so that the CRC-32 of all of
// `bytes` becomes `target`; the other bytes stay as they are. Throws
// std::out_of_range when the four bytes do not fit.
void ForceCrc32(std::span<uint8_t> bytes, size_t position, uint32_t target);

}  // namespace upd
