// The sample product: five versions of the program file with the sizes and
// CRC-32 values of the catalogue, shaped like a 32-bit Windows program, the
// older ones sharing content with the newest.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
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
    EXPECT_EQ(SampleProgramFileName(k.slot), "DerodUz-slot" + std::to_string(k.slot) + ".exe");
  }
  EXPECT_THROW(MakeSampleProgram(0), std::out_of_range);
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

}  // namespace
}  // namespace upd
