// CRC-32 with slicing-by-8: eight 256-entry tables, eight bytes per step. The
// first table is the standard byte-wise table of the polynomial; the results
// are those of the byte-at-a-time loop for every input.

#include "engine/crc32.h"

#include <array>
#include <bit>
#include <cstring>

namespace upd {
namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;  // reflected form of 0x04C11DB7

using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables MakeTables() {
  Tables t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t r = i;
    for (int bit = 0; bit < 8; ++bit) r = (r & 1) ? (r >> 1) ^ kPolynomial : r >> 1;
    t[0][i] = r;
  }
  // t[k][i]: the register after byte i followed by k zero bytes.
  for (int k = 1; k < 8; ++k)
    for (uint32_t i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
  return t;
}

constexpr Tables kTables = MakeTables();
static_assert(kTables[0][1] == 0x77073096u, "standard table, entry 1");
static_assert(kTables[0][255] == 0x2D02EF8Du, "standard table, entry 255");

constexpr size_t kBlockSize = 8192;

}  // namespace

uint32_t Crc32Update(uint32_t crc, const void* data, size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  uint32_t r = ~crc;
  while (size >= 8) {
    uint32_t lo, hi;
    std::memcpy(&lo, p, 4);
    std::memcpy(&hi, p + 4, 4);
    if constexpr (std::endian::native == std::endian::big) {
      lo = __builtin_bswap32(lo);
      hi = __builtin_bswap32(hi);
    }
    lo ^= r;
    r = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^ kTables[4][lo >> 24] ^
        kTables[3][hi & 0xFF] ^ kTables[2][(hi >> 8) & 0xFF] ^ kTables[1][(hi >> 16) & 0xFF] ^ kTables[0][hi >> 24];
    p += 8;
    size -= 8;
  }
  while (size-- > 0) r = kTables[0][(r ^ *p++) & 0xFF] ^ (r >> 8);
  return ~r;
}

std::optional<uint32_t> StreamCrc32(platform::InputFile& file) {
  auto size = file.Size();
  if (!size) return std::nullopt;
  std::array<unsigned char, kBlockSize> buffer;
  uint32_t crc = 0;
  while (file.Position() != *size) {
    auto got = file.Read(buffer.data(), buffer.size());
    // A read that yields nothing before the size is reached (the file shrank)
    // ends with failure instead of looping.
    if (!got || *got == 0) return std::nullopt;
    crc = Crc32Update(crc, buffer.data(), *got);
  }
  return crc;
}

std::optional<uint32_t> FileCrc32(const std::string& path) {
  auto file = platform::Files().OpenRead(path);
  if (!file) return std::nullopt;
  return StreamCrc32(*file);
}

}  // namespace upd
