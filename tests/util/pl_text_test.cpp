// Case folding, tag lists and the position-checked scans over code page 1250 text.

#include <gtest/gtest.h>

#include <climits>

#include "util/pl_text.h"

namespace upd {
namespace {

TEST(LowerCharPl, FoldsExactlyTheListedBytes) {
  struct Range {
    unsigned char first, last, lowerOfFirst;
  };
  const Range folded[] = {
      {0x41, 0x5A, 0x61},  // A-Z
      {0x8A, 0x8A, 0x9A},  // S caron
      {0x8C, 0x8F, 0x9C},  // S acute, T caron, Z caron, Z acute
      {0xA3, 0xA3, 0xB3},  // L stroke
      {0xA5, 0xA5, 0xB9},  // A ogonek
      {0xAA, 0xAA, 0xBA},  // S cedilla
      {0xAF, 0xAF, 0xBF},  // Z dot above
      {0xC0, 0xD6, 0xE0},  // R acute .. O diaeresis
      {0xD8, 0xDE, 0xF8},  // R caron .. T cedilla
  };
  for (int c = 0; c < 256; ++c) {
    int expected = c;  // every byte not listed stays
    for (const Range& r : folded)
      if (c >= r.first && c <= r.last) expected = r.lowerOfFirst + (c - r.first);
    EXPECT_EQ(LowerCharPl(static_cast<unsigned char>(c)), expected) << "byte 0x" << std::hex << c;
  }
}

TEST(LowerCharPl, BytesBetweenTheRangesStay) {
  EXPECT_EQ(LowerCharPl(0xD7), 0xD7);  // multiplication sign, inside the accented capitals
  EXPECT_EQ(LowerCharPl(0xDF), 0xDF);  // sharp s, right after them
  EXPECT_EQ(LowerCharPl(0xBC), 0xBC);  // capital L caron is not folded to 0xBE
  EXPECT_EQ(LowerCharPl(0x8B), 0x8B);  // the angle quote between S caron and S acute
}

TEST(LowerCasePl, FoldsPolishTextAndKeepsItsLength) {
  // "ŁÓDŹ ŻÓŁĆ" and "łódź żółć" in code page 1250.
  EXPECT_EQ(LowerCasePl("\xA3\xD3\x44\x8F \xAF\xD3\xA3\xC6"), "\xB3\xF3\x64\x9F \xBF\xF3\xB3\xE6");
  EXPECT_EQ(LowerCasePl("Stra\xDF" "e"), "stra\xDF" "e");
  EXPECT_EQ(LowerCasePl(std::string("A\0B", 3)), std::string("a\0b", 3));  // an embedded zero is a byte like any other
  EXPECT_EQ(LowerCasePl(""), "");
}

TEST(StripTrailingDigits, KeepsTheFirstCharacter) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"abc12", "abc"},
      {"123", "1"},      // the first character is never removed
      {"7", "7"},
      {"", ""},
      {"a1b2", "a1b"},   // only the digits at the end
      {"Trans", "Trans"},
  };
  for (const auto& c : cases) EXPECT_EQ(StripTrailingDigits(c.in), c.out) << c.in;
}

TEST(IsInTagList, MatchesWholeTokens) {
  const struct {
    const char* name;
    const char* list;
    bool ignoreCase, stripDigits, expected;
  } cases[] = {
      {"ZeZorUr2.exe", "<ZeZorUr2.exe>", false, false, true},
      {"zezorur2.exe", "<ZeZorUr2.exe>", false, false, false},  // bytes compared exactly
      {"zezorur2.exe", "<ZeZorUr2.exe>", true, false, true},
      {"Trans12", "<trans>", true, true, true},
      {"Trans12", "<trans>", true, false, false},               // digits kept without StripDigits
      {"trans", "<transfer>", false, false, false},             // a prefix of a token is no match
      {"b", "<a><b><c>", false, false, true},                   // a token in the middle
      {"", "<a>", false, false, false},
      {"", "<a><>", false, false, true},                        // an empty name needs an empty token
      {"\xA3\xD3\x44\x8F", "<\xB3\xF3\x64\x9F>", true, false, true},  // Polish letters fold in both
      {"x", "", true, true, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsInTagList(c.name, c.list, c.ignoreCase, c.stripDigits), c.expected)
        << c.name << " in " << c.list << " ignoreCase=" << c.ignoreCase << " stripDigits=" << c.stripDigits;
}

TEST(DropLastChars, NeverGoesBelowEmpty) {
  const struct {
    const char* in;
    int32_t n;
    const char* out;
  } cases[] = {
      {"abcdef", 2, "abcd"},
      {"abcdef", 0, "abcdef"},
      {"abcdef", 5, "a"},
      {"abcdef", 6, ""},
      {"abcdef", 7, ""},
      {"abcdef", INT32_MAX, ""},
      {"abcdef", -3, "abcdef"},         // more than the whole string is the whole string
      {"abcdef", INT32_MIN, "abcdef"},  // without overflow
      {"", 1, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DropLastChars(c.in, c.n), c.out) << c.in << " minus " << c.n;
}

TEST(InRange64, IncludesBothEnds) {
  EXPECT_TRUE(InRange64(1, 1, 3));
  EXPECT_TRUE(InRange64(3, 1, 3));
  EXPECT_FALSE(InRange64(0, 1, 3));
  EXPECT_FALSE(InRange64(4, 1, 3));
  EXPECT_TRUE(InRange64(INT64_MIN, INT64_MIN, INT64_MAX));
  EXPECT_FALSE(InRange64(-1, 0, INT64_MAX));  // signed comparison
}

const TCharSet kSeparators{' ', ',', 0xA0};

TEST(CharInSetAt, AnswersFalseOutsideTheString) {
  const std::string s = "ab, c";  // ',' at 3, ' ' at 4
  const struct {
    int32_t pos;
    bool expected;
  } cases[] = {
      {INT32_MIN, false}, {0, false}, {1, false}, {3, true}, {4, true}, {5, false},
      {6, false},  // Length + 1
      {INT32_MAX, false},
  };
  for (const auto& c : cases) EXPECT_EQ(CharInSetAt(kSeparators, s, c.pos), c.expected) << "pos " << c.pos;
  EXPECT_FALSE(CharInSetAt(kSeparators, "", 1));
  EXPECT_TRUE(CharInSetAt(kSeparators, "x\xA0", 2));  // a byte above 0x7F
}

TEST(ScanToCharInSet, StopsOnTheCharacterOrJustPastAnEnd) {
  const std::string s = "ab cd";  // ' ' at 3
  const struct {
    int32_t start;
    bool backwards;
    bool found;
    int32_t end;
  } cases[] = {
      {1, false, true, 3},   // forward to the space
      {3, false, true, 3},   // already on it: no move
      {3, true, true, 3},
      {5, true, true, 3},    // backward to the space
      {4, false, false, 6},  // runs off the end: Length + 1
      {2, true, false, 0},   // runs off the start: 0
      {0, false, false, 0},  // not started
      {-7, true, false, -7},
      {6, false, false, 6},  // starts beyond the end: unchanged
      {INT32_MAX, true, false, INT32_MAX},
  };
  for (const auto& c : cases) {
    int32_t pos = c.start;
    EXPECT_EQ(ScanToCharInSet(s, pos, kSeparators, c.backwards), c.found) << "from " << c.start;
    EXPECT_EQ(pos, c.end) << "from " << c.start << (c.backwards ? " backwards" : " forwards");
  }
  int32_t pos = 1;
  EXPECT_FALSE(ScanToCharInSet("", pos, kSeparators, false));
  EXPECT_EQ(pos, 1);
}

}  // namespace
}  // namespace upd
