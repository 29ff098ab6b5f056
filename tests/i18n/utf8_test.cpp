// UTF-8 and UTF-16 conversions, including what becomes of malformed input.

#include <gtest/gtest.h>

#include "i18n/utf8.h"

namespace upd {
namespace {

TEST(Utf8, RoundTripsEveryEncodedLength) {
  const std::u16string samples[] = {
      u"",
      u"ASCII",
      u"Zażółć gęślą jaźń",  // two-byte sequences
      u"Язык ′ – „x” €",     // three-byte sequences
      u"\U0001F600 \U00010000 \U0010FFFF",  // four-byte sequences: surrogate pairs
  };
  for (const std::u16string& s : samples) EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(s)), s);
  EXPECT_EQ(Utf16ToUtf8(u"ł€\U0001F600"), "\xC5\x82\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
  struct Case {
    std::string utf8;
    std::u16string utf16;
  } cases[] = {
      {"a\x80" "b", u"a\uFFFDb"},               // stray continuation byte
      {"a\xC5", u"a\uFFFD"},                    // sequence cut short at the end
      {"\xC5" "b", u"\uFFFDb"},                 // lead byte without its continuation
      {"\xC0\xAF", u"\uFFFD\uFFFD"},            // overlong "/"
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800') + u"x"), "\xEF\xBF\xBDx");  // lone high surrogate
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD");          // lone low surrogate
}

}  // namespace
}  // namespace upd
