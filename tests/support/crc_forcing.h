#pragma once
// Makes bytes with a chosen CRC-32 by overwriting four of them, so a test can
// build a file of a catalogue version's exact size and checksum.
//
// Why four bytes suffice: the CRC register is linear over GF(2), and feeding the
// four bytes b0..b3 from register r leaves the same register as feeding four
// zero bytes from r ^ (b0 | b1 << 8 | b2 << 16 | b3 << 24). So the register
// wanted after the four bytes is found by running the CRC backwards from the
// target over the bytes that follow them, then backwards over four zero bytes;
// exclusive-or with the register before them gives the four bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace upd::testing {

// Overwrites bytes[position .. position + 3] so that the CRC-32 of all of
// `bytes` becomes `target`. `position` + 4 must not exceed the size.
void ForceCrc32(std::span<unsigned char> bytes, size_t position, uint32_t target);
void ForceCrc32(std::string& bytes, size_t position, uint32_t target);

}  // namespace upd::testing
