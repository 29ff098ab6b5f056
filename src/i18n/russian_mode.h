#pragma once
// The Russian mode of the message catalogue: a Latin-letter source text in code
// page 1250 is spelt in Cyrillic letters of code page 1251, byte by byte.

#include <string>
#include <string_view>

namespace upd {

// Replaces every byte that stands for a letter of the transliteration (A-Z and
// a-z but Q, W, X, the signs $ and ', and accented letters such as Â or ü) by
// the code page 1251 byte of its Cyrillic letter; every other byte stays.
std::string TransliterateToCyrillic(std::string_view text);

// The transliteration of `text`, with the "d" or "s" after every "%" of the
// source restored, so that the placeholders "%s" and "%d" survive.
std::string RussianModeText(const std::string& text);

}  // namespace upd
