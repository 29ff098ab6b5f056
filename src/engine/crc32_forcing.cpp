// Why four bytes suffice: the CRC register is linear over GF(2), and feeding
// the four bytes b0..b3 from register r leaves the same register as feeding
// four zero bytes from r ^ (b0 | b1 << 8 | b2 << 16 | b3 << 24). So the
// register wanted after the four bytes is found by running the CRC backwards
// from the target over the bytes that follow them, then backwards over four
// zero bytes; exclusive-or with the register before them gives the four bytes.

#include "engine/crc32_forcing.h"

#include <array>
#include <stdexcept>
#include <string>

#include "engine/crc32.h"

namespace upd {
namespace {

struct Tables {
  std::array<uint32_t, 256> forward{};
  // The table index whose entry has this top byte; the top bytes of the 256
  // entries are all different, which is what makes a step reversible.
  std::array<uint8_t, 256> indexOfTopByte{};

  Tables() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t r = i;
      for (int bit = 0; bit < 8; ++bit) r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
      forward[i] = r;
      indexOfTopByte[r >> 24] = static_cast<uint8_t>(i);
    }
  }
};

const Tables& CrcTables() {
  static const Tables tables;
  return tables;
}

// One step back: the register before feeding `byte`, given the one after.
uint32_t StepBack(uint32_t after, uint8_t byte) {
  const uint8_t index = CrcTables().indexOfTopByte[after >> 24];
  const uint32_t high = (after ^ CrcTables().forward[index]) << 8;
  return high | static_cast<uint8_t>(index ^ byte);
}

}  // namespace

void ForceCrc32(std::span<uint8_t> bytes, size_t position, uint32_t target) {
  if (position > bytes.size() || bytes.size() - position < 4)
    throw std::out_of_range("ForceCrc32: no room for four bytes at " + std::to_string(position));
  // The register after the bytes before `position` (Crc32Update answers it inverted).
  const uint32_t before = ~Crc32Update(0, bytes.data(), position);
  uint32_t after = ~target;
  for (size_t i = bytes.size(); i > position + 4; --i) after = StepBack(after, bytes[i - 1]);
  for (int i = 0; i < 4; ++i) after = StepBack(after, 0);
  const uint32_t word = after ^ before;
  for (int i = 0; i < 4; ++i) bytes[position + i] = static_cast<uint8_t>(word >> (8 * i));
}

}  // namespace upd
