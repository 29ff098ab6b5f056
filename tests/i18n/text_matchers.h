#pragma once
// Comparing shown texts: the expectation is written in UTF-8 so that a reader
// can check it, converted to UTF-16 and compared code unit for code unit; a
// mismatch is printed in UTF-8.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "i18n/utf8.h"

namespace upd {

inline ::testing::AssertionResult ShowsText(const std::u16string& actual, std::string_view expectedUtf8) {
  if (actual == Utf8ToUtf16(expectedUtf8)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\n  shown:    \"" << Utf16ToUtf8(actual) << "\"\n  expected: \"" << expectedUtf8
                                       << "\"";
}

}  // namespace upd
