// Four bytes chosen anywhere in a buffer give it any CRC-32, and nothing else
// of the buffer changes.

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "engine/crc32.h"
#include "engine/crc32_forcing.h"

namespace upd {
namespace {

uint32_t Crc(const std::vector<uint8_t>& bytes) { return Crc32Update(0, bytes.data(), bytes.size()); }

TEST(ForceCrc32, ReachesAnyValueFromFourBytesAnywhere) {
  struct Case {
    size_t size;
    size_t offset;
    uint32_t target;
  };
  const Case cases[] = {
      {4, 0, 0x00000000u},        // the four bytes are the whole buffer
      {4, 0, 0xFFFFFFFFu},
      {100, 0, 0x12345678u},      // at the start
      {100, 50, 0x65E3C03Eu},     // in the middle
      {8195, 8191, 0x8F07E7C9u},  // the last four bytes, past a multiple of the CRC's 8-byte steps
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> data(c.size);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7 + 3);
    const std::vector<uint8_t> before = data;
    ForceCrc32(data, c.offset, c.target);
    EXPECT_EQ(Crc(data), c.target) << c.size << " " << c.offset;
    // Only the four chosen bytes change.
    std::vector<uint8_t> others = data, othersBefore = before;
    others.erase(others.begin() + static_cast<std::ptrdiff_t>(c.offset), others.begin() + static_cast<std::ptrdiff_t>(c.offset + 4));
    othersBefore.erase(othersBefore.begin() + static_cast<std::ptrdiff_t>(c.offset),
                       othersBefore.begin() + static_cast<std::ptrdiff_t>(c.offset + 4));
    EXPECT_EQ(others, othersBefore);
  }
  std::vector<uint8_t> small(10);
  EXPECT_THROW(ForceCrc32(small, 7, 0), std::out_of_range);
  EXPECT_THROW(ForceCrc32(small, 11, 0), std::out_of_range);
}

}  // namespace
}  // namespace upd
