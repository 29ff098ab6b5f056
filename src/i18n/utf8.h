#pragma once
// Conversions between UTF-16, in which texts are shown, and UTF-8, in which
// consoles, logs and source files hold them. Malformed input (a lone surrogate,
// a broken UTF-8 sequence) becomes U+FFFD rather than being dropped.

#include <string>
#include <string_view>

namespace upd {

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace upd
