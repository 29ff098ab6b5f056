// The code-page tables against the system's own converter (glibc's iconv on
// Linux, MultiByteToWideChar under Windows), and the display maps against
// their code pages.

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "i18n/code_pages.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace upd {
namespace {

// The system's conversion of one byte of a Windows code page, or nullopt
// where the code page leaves the byte undefined.
std::optional<char16_t> SystemDecode(int codePage, uint8_t byte) {
  const char in = static_cast<char>(byte);
#ifdef _WIN32
  wchar_t out = 0;
  if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &in, 1, &out, 1) != 1) return std::nullopt;
  return static_cast<char16_t>(out);
#else
  const std::string name = "CP" + std::to_string(codePage);
  iconv_t cd = iconv_open("UTF-16LE", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    ADD_FAILURE() << "iconv knows no " << name;
    return std::nullopt;
  }
  char* inPtr = const_cast<char*>(&in);
  size_t inLeft = 1;
  unsigned char out[4] = {};
  char* outPtr = reinterpret_cast<char*>(out);
  size_t outLeft = sizeof out;
  size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1) || outLeft != 2) return std::nullopt;
  return static_cast<char16_t>(out[0] | (out[1] << 8));
#endif
}

TEST(CodePages, AgreeWithTheSystemConverter) {
  struct Page {
    int number;
    const CodePageTable* table;
  } pages[] = {{1250, &kWindows1250}, {1251, &kWindows1251}, {1252, &kWindows1252}};
  for (const Page& page : pages) {
    for (int b = 0; b < 256; ++b) {
      // An undefined byte stands for the code point of its own number.
      const char16_t expected = SystemDecode(page.number, static_cast<uint8_t>(b)).value_or(static_cast<char16_t>(b));
      EXPECT_EQ(static_cast<int>((*page.table)[b]), static_cast<int>(expected))
          << "code page " << page.number << ", byte " << std::hex << b;
    }
  }
}

// Each display map is its code page but for the bytes listed here.
TEST(CodePages, DisplayMapsDifferFromTheirCodePagesOnlyWhereListed) {
  const std::map<uint8_t, char16_t> marks = {{0x27, u'′'}, {0x5E, u'‸'}, {0x60, u'‵'}};
  struct Map {
    const char* name;
    const CodePageTable* map;
    const CodePageTable* codePage;
    std::map<uint8_t, char16_t> changed;
  } maps[] = {
      {"CentralEuropeanMap", &CentralEuropeanMap, &kWindows1250,
       {{0x8D, 0x008D}, {0x9D, 0x009D}, {0xA2, 0x00A2}, {0xB2, 0x00B2},  // instead of Ť ť ˘ ˛
        {0xBC, 0x00BC}, {0xBD, 0x00BD}, {0xBE, 0x00BE}}},               // instead of Ľ ˝ ľ
      {"WesternMap", &WesternMap, &kWindows1252,
       {{0x83, 0x0083}, {0x88, 0x0088}, {0x98, 0x0098},  // instead of ƒ ˆ ˜
        {0xAA, u'Ş'}, {0xBA, u'ş'}}},                     // instead of ª º
      {"CyrillicMap", &CyrillicMap, &kWindows1251,
       {{0x80, u'€'}, {0x8A, u'Š'}, {0x8E, u'Ž'}, {0x9A, u'š'}, {0x9E, u'ž'}, {0xAA, u'Ş'}, {0xBA, u'ş'},
        // instead of Ѓ ѓ € Ќ ђ ќ Ў ў І ј Ѕ ѕ
        {0x81, 0x0081}, {0x83, 0x0083}, {0x88, 0x0088}, {0x8D, 0x008D}, {0x90, 0x0090}, {0x9D, 0x009D},
        {0xA1, 0x00A1}, {0xA2, 0x00A2}, {0xB2, 0x00B2}, {0xBC, 0x00BC}, {0xBD, 0x00BD}, {0xBE, 0x00BE}}},
  };
  for (Map& m : maps) {
    m.changed.insert(marks.begin(), marks.end());
    for (int b = 0; b < 256; ++b) {
      auto it = m.changed.find(static_cast<uint8_t>(b));
      const char16_t expected = it != m.changed.end() ? it->second : (*m.codePage)[b];
      EXPECT_EQ(static_cast<int>((*m.map)[b]), static_cast<int>(expected)) << m.name << ", byte " << std::hex << b;
    }
  }
}

}  // namespace
}  // namespace upd
