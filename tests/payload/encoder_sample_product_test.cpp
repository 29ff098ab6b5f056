// The sample product: five versions of the program file with the sizes and
// CRC-32 values of the catalogue, shaped like a 32-bit Windows program, the
// older ones sharing most of their content with the newest; and the choice of
// four bytes that gives a buffer any CRC-32.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "encoder_reference_decoder.h"
#include "engine/crc32.h"
#include "payload/encoder.h"
#include "payload/sample_product.h"

namespace upd {
namespace {

uint32_t Crc(std::span<const uint8_t> bytes) { return Crc32Update(0, bytes.data(), bytes.size()); }

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 3]} << 24;
}
uint32_t Le16(const std::vector<uint8_t>& b, size_t at) { return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8; }

// The versions of catalogue entry 33, "DerodUz.exe".
struct Known {
  int slot;
  uint32_t size;
  uint32_t crc;
};
constexpr Known kKnown[] = {
    {1, 2050048, 0x8F07E7C9u}, {2, 2143744, 0xD4A4D0B1u}, {3, 2155008, 0x121C663Du},
    {4, 2314752, 0x37BA25E3u}, {5, 2315264, 0x65E3C03Eu},
};

class SampleProgram : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const Known& k : kKnown) versions_.push_back(MakeSampleProgram(k.slot));
  }
  static void TearDownTestSuite() { versions_.clear(); }
  static inline std::vector<std::vector<uint8_t>> versions_;
};

TEST_F(SampleProgram, EachVersionHasTheCatalogueSizeAndCrc) {
  for (const Known& k : kKnown) {
    const std::vector<uint8_t>& file = versions_[k.slot - 1];
    EXPECT_EQ(file.size(), k.size) << "slot " << k.slot;
    EXPECT_EQ(Crc(file), k.crc) << "slot " << k.slot;
    EXPECT_EQ(SampleProgramVersionInfo(k.slot).size, k.size);
    EXPECT_EQ(SampleProgramVersionInfo(k.slot).crc, k.crc);
  }
  EXPECT_THROW(SampleProgramVersionInfo(0), std::out_of_range);
  EXPECT_THROW(MakeSampleProgram(6), std::out_of_range);
}

TEST_F(SampleProgram, IsLaidOutLikeAWindowsProgram) {
  for (const std::vector<uint8_t>& file : versions_) {
    ASSERT_EQ(file[0], 'M');
    ASSERT_EQ(file[1], 'Z');
    const uint32_t pe = Le32(file, 0x3C);
    ASSERT_EQ(Le32(file, pe), 0x00004550u);  // "PE\0\0"
    EXPECT_EQ(Le16(file, pe + 4), 0x014Cu);  // i386
    const uint32_t sections = Le16(file, pe + 6);
    const uint32_t optional = pe + 24;
    EXPECT_EQ(Le16(file, optional), 0x010Bu);  // PE32
    const uint32_t fileAlignment = Le32(file, optional + 36);
    // The sections' raw data follow the headers back to back, each padded to
    // the file alignment, and end exactly at the end of the file.
    uint32_t end = Le32(file, optional + 60);  // size of the headers
    for (uint32_t s = 0; s < sections; ++s) {
      const uint32_t header = optional + Le16(file, pe + 20) + 40 * s;
      const uint32_t rawSize = Le32(file, header + 16), rawOffset = Le32(file, header + 20);
      if (rawSize == 0) continue;  // uninitialised data
      EXPECT_EQ(rawOffset, end);
      EXPECT_EQ(rawSize % fileAlignment, 0u);
      end = rawOffset + rawSize;
    }
    EXPECT_EQ(end, file.size());
  }
}

// Share of the 32-byte blocks of `older` (at multiples of 32) that occur
// anywhere in `newer`, in per cent. Moved code and data change the addresses
// inside many blocks, as between real builds, so the share stays well below
// the share of unchanged content.
int SharedBlocks(const std::vector<uint8_t>& older, const std::vector<uint8_t>& newer) {
  auto hash = [](const uint8_t* p) {
    uint64_t h = 0;
    for (int i = 0; i < 32; ++i) h = h * 0x100000001B3ull ^ p[i];
    return h;
  };
  std::vector<uint64_t> windows;
  for (size_t i = 0; i + 32 <= newer.size(); ++i) windows.push_back(hash(&newer[i]));
  std::sort(windows.begin(), windows.end());
  size_t shared = 0, blocks = 0;
  for (size_t i = 0; i + 32 <= older.size(); i += 32, ++blocks)
    if (std::binary_search(windows.begin(), windows.end(), hash(&older[i]))) ++shared;
  return static_cast<int>(shared * 100 / blocks);
}

TEST_F(SampleProgram, OlderVersionsShareContentWithTheNewestAndDifferFromIt) {
  const std::vector<uint8_t>& newest = versions_[4];
  int previous = 100;
  for (int slot = 4; slot >= 1; --slot) {
    const int shared = SharedBlocks(versions_[slot - 1], newest);
    EXPECT_GE(shared, 25) << "slot " << slot;
    EXPECT_LT(shared, 100) << "slot " << slot;
    EXPECT_LE(shared, previous) << "slot " << slot << " shares more than a newer one";
    previous = shared;
  }
}

TEST_F(SampleProgram, TheNewestVersionsTwoPiecesRoundTripAsTheBuildEmbedsThem) {
  const std::vector<uint8_t>& newest = versions_[4];
  const std::span<const uint8_t> first(newest.data(), 1500000), second(newest.data() + 1500000, 815264);
  const testing::ReferencePayload a = testing::ReferenceDecode(EncodePayload(first));
  const testing::ReferencePayload b = testing::ReferenceDecode(EncodePayload(second));
  EXPECT_TRUE(std::equal(a.output.begin(), a.output.end(), first.begin(), first.end()));
  EXPECT_TRUE(std::equal(b.output.begin(), b.output.end(), second.begin(), second.end()));
}

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
  EXPECT_THROW(ForceCrc32(small, 7, 0), std::invalid_argument);
  EXPECT_THROW(ForceCrc32(small, 11, 0), std::invalid_argument);
}

}  // namespace
}  // namespace upd
