#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "engine/crc32.h"
#include "support/temp_dir.h"

namespace upd {
namespace {

// The byte-at-a-time loop with the standard table, as a reference.
uint32_t ReferenceCrc(const std::string& bytes) {
  uint32_t r = 0xFFFFFFFFu;
  for (unsigned char b : bytes) {
    r ^= b;
    for (int i = 0; i < 8; ++i) r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
  }
  return ~r;
}

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  uint32_t x = 12345;
  for (auto& c : s) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
  return s;
}

TEST(Crc32, KnownValues) {
  EXPECT_EQ(Crc32Update(0, "", 0), 0x00000000u);
  EXPECT_EQ(Crc32Update(0, "abc", 3), 0x352441C2u);
  EXPECT_EQ(Crc32Update(0, "123456789", 9), 0xCBF43926u);  // the check value of the CRC catalogues
}

TEST(Crc32, AgreesWithTheByteWiseLoopAtEveryLengthAndSplit) {
  std::string data = Pattern(300);
  for (size_t n = 0; n <= data.size(); ++n) {
    std::string piece = data.substr(0, n);
    ASSERT_EQ(Crc32Update(0, piece.data(), n), ReferenceCrc(piece)) << n;
    size_t half = n / 3;
    ASSERT_EQ(Crc32Update(Crc32Update(0, piece.data(), half), piece.data() + half, n - half), ReferenceCrc(piece));
  }
}

// Folding takes the 16-byte-aligned bulk of inputs of 64 bytes and more, in
// 64-byte steps, then 16-byte steps, and leaves the rest to the tables: lengths
// around each of those steps, at several alignments of the start.
TEST(Crc32, FoldingAndTablesAgreeWithTheByteWiseLoop) {
  if (!Crc32FoldingAvailable()) std::cout << "note: this CPU does not fold; only the tables are tested\n";
  std::string data = Pattern(1300);
  for (size_t start : {0u, 1u, 7u, 15u}) {
    for (size_t n = 0; start + n <= data.size(); n += n < 300 ? 1 : 29) {
      std::string piece = data.substr(start, n);
      uint32_t expected = ReferenceCrc(piece);
      ASSERT_EQ(Crc32Update(0, data.data() + start, n), expected) << start << " " << n;
      ASSERT_EQ(Crc32UpdateTables(0, data.data() + start, n), expected) << start << " " << n;
    }
  }
  // A long input, whole and continued from a CRC taken over an odd-sized head.
  std::string big = Pattern((1u << 20) + 7);
  uint32_t whole = Crc32UpdateTables(0, big.data(), big.size());
  EXPECT_EQ(Crc32Update(0, big.data(), big.size()), whole);
  EXPECT_EQ(Crc32Update(Crc32Update(0, big.data(), 333), big.data() + 333, big.size() - 333), whole);
}

TEST(FileCrc32, WholeFilesAroundTheBlockSize) {
  testing::TempDir dir;
  for (size_t size : {0u, 1u, 3u, 8191u, 8192u, 8193u, 16384u, 3000001u}) {
    std::string bytes = Pattern(size);
    dir.Write("f", bytes);
    auto crc = FileCrc32(dir.File("f"));
    ASSERT_TRUE(crc) << size;
    EXPECT_EQ(*crc, ReferenceCrc(bytes)) << size;
  }
}

TEST(FileCrc32, MissingFileOrDirectoryFails) {
  testing::TempDir dir;
  EXPECT_FALSE(FileCrc32(dir.File("missing")));
  EXPECT_FALSE(FileCrc32(dir.Path()));
}

}  // namespace
}  // namespace upd
