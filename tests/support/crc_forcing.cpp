#include "support/crc_forcing.h"

#include <array>
#include <stdexcept>

namespace upd::testing {
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

// One step forward: the register after feeding `byte`.
uint32_t Step(uint32_t r, unsigned char byte) { return CrcTables().forward[(r ^ byte) & 0xFF] ^ (r >> 8); }

// One step back: the register before feeding `byte`, given the one after.
uint32_t StepBack(uint32_t after, unsigned char byte) {
  uint8_t index = CrcTables().indexOfTopByte[after >> 24];
  uint32_t high = (after ^ CrcTables().forward[index]) << 8;
  return high | static_cast<uint8_t>(index ^ byte);
}

}  // namespace

void ForceCrc32(std::span<unsigned char> bytes, size_t position, uint32_t target) {
  if (position > bytes.size() || bytes.size() - position < 4) throw std::out_of_range("ForceCrc32: no room for 4 bytes");
  uint32_t before = 0xFFFFFFFFu;
  for (size_t i = 0; i < position; ++i) before = Step(before, bytes[i]);
  uint32_t after = ~target;
  for (size_t i = bytes.size(); i > position + 4; --i) after = StepBack(after, bytes[i - 1]);
  for (int i = 0; i < 4; ++i) after = StepBack(after, 0);
  uint32_t word = after ^ before;
  for (int i = 0; i < 4; ++i) bytes[position + i] = static_cast<unsigned char>(word >> (8 * i));
}

void ForceCrc32(std::string& bytes, size_t position, uint32_t target) {
  ForceCrc32(std::span<unsigned char>(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size()), position, target);
}

}  // namespace upd::testing
