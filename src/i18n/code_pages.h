#pragma once
// Single-byte code pages as constant tables, one UTF-16 code unit per byte.
//
// The three Windows code pages the product's texts are written in (1250 Central
// European, 1251 Cyrillic, 1252 Western), with every byte the code page leaves
// undefined mapped to the code point of the same number, as Windows itself does.
// From them the message catalogue's display maps are made: the same code pages
// with a few bytes shown differently (see CentralEuropeanMap and its siblings).
//
// The tables are also the compile-time encoders of the catalogue: a text written
// in UTF-8 in the source becomes code page bytes during compilation, and a
// character the code page lacks stops the build.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace upd {

using CodePageTable = std::array<char16_t, 256>;

namespace code_page_detail {

// Bytes 0x00-0x7F are ASCII in every table; `upper` holds 0x80-0xFF.
constexpr CodePageTable WithAsciiLowerHalf(const std::array<char16_t, 128>& upper) {
  CodePageTable table{};
  for (size_t b = 0; b < 128; ++b) table[b] = static_cast<char16_t>(b);
  for (size_t b = 0; b < 128; ++b) table[128 + b] = upper[b];
  return table;
}

constexpr CodePageTable WithExceptions(CodePageTable table,
                                       std::initializer_list<std::pair<uint8_t, char16_t>> exceptions) {
  for (const auto& [byte, unit] : exceptions) table[byte] = unit;
  return table;
}

}  // namespace code_page_detail

// Windows code page 1250 (Central European).
inline constexpr CodePageTable kWindows1250 = code_page_detail::WithAsciiLowerHalf({
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 80 (81, 83 undefined)
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88 (88 undefined)
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90 (90 undefined)
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98 (98 undefined)
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
});

// Windows code page 1251 (Cyrillic).
inline constexpr CodePageTable kWindows1251 = code_page_detail::WithAsciiLowerHalf({
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98 (98 undefined)
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0 А..З
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8 И..П
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0 Р..Ч
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8 Ш..Я
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0 а..з
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8 и..п
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0 р..ч
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8 ш..я
});

// Windows code page 1252 (Western); 0xA0-0xFF are the Latin-1 characters of the
// same number.
inline constexpr CodePageTable kWindows1252 = [] {
  std::array<char16_t, 128> upper{
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80 (81 undefined)
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88 (8D, 8F undefined)
      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90 (90 undefined)
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98 (9D undefined)
  };
  for (size_t b = 0xA0; b <= 0xFF; ++b) upper[b - 0x80] = static_cast<char16_t>(b);
  return code_page_detail::WithAsciiLowerHalf(upper);
}();

namespace code_page_detail {

// The catalogue shows three ASCII characters as typographic marks in every
// language: an apostrophe as a prime, a circumflex as a caret, a grave accent as
// a reversed prime.
constexpr CodePageTable WithCatalogueMarks(const CodePageTable& table) {
  return WithExceptions(table, {{0x27, 0x2032}, {0x5E, 0x2038}, {0x60, 0x2035}});
}

}  // namespace code_page_detail

// Polish and Hungarian texts: code page 1250, except that Ť ť ˘ ˛ Ľ ˝ ľ give
// way to the Latin-1 characters of their byte numbers.
inline constexpr CodePageTable CentralEuropeanMap = code_page_detail::WithExceptions(
    code_page_detail::WithCatalogueMarks(kWindows1250),
    {{0x8D, 0x008D}, {0x9D, 0x009D}, {0xA2, 0x00A2}, {0xB2, 0x00B2},  // not Ť ť ˘ ˛
     {0xBC, 0x00BC}, {0xBD, 0x00BD}, {0xBE, 0x00BE}});                // not Ľ ˝ ľ

// English, French, German, Italian and Spanish texts: code page 1252, except
// that ƒ ˆ ˜ give way to the Latin-1 characters of their byte numbers and the
// ordinal indicators to the Turkish Ş and ş.
inline constexpr CodePageTable WesternMap = code_page_detail::WithExceptions(
    code_page_detail::WithCatalogueMarks(kWindows1252),
    {{0x83, 0x0083}, {0x88, 0x0088}, {0x98, 0x0098},  // not ƒ ˆ ˜
     {0xAA, 0x015E}, {0xBA, 0x015F}});                // Ş ş, not ª º

// The Russian mode: code page 1251, except that some letters Russian does not
// use (Serbian, Macedonian, Ukrainian, Belarusian) give way to the Western
// letters Š Ž š ž Ş ş, or to the Latin-1 characters of their byte numbers, and
// the euro sign moves from 0x88 to 0x80.
inline constexpr CodePageTable CyrillicMap = code_page_detail::WithExceptions(
    code_page_detail::WithCatalogueMarks(kWindows1251),
    {{0x80, 0x20AC}, {0x8A, 0x0160}, {0x8E, 0x017D}, {0x9A, 0x0161},  // € Š Ž š
     {0x9E, 0x017E}, {0xAA, 0x015E}, {0xBA, 0x015F},                  // ž Ş ş
     {0x81, 0x0081}, {0x83, 0x0083}, {0x88, 0x0088}, {0x8D, 0x008D},  // not Ѓ ѓ € Ќ
     {0x90, 0x0090}, {0x9D, 0x009D}, {0xA1, 0x00A1}, {0xA2, 0x00A2},  // not ђ ќ Ў ў
     {0xB2, 0x00B2}, {0xBC, 0x00BC}, {0xBD, 0x00BD}, {0xBE, 0x00BE}});  // not І ј Ѕ ѕ

// Widens single-byte text with `table`, one code unit per byte.
std::u16string WidenWith(std::string_view text, const CodePageTable& table);

// ---------------------------------------------------------------------------
// Compile-time encoding of UTF-8 source text into a code page.

namespace code_page_detail {

template <size_t N>
struct Utf8Literal {
  char8_t text[N]{};
  consteval Utf8Literal(const char8_t (&literal)[N]) {
    for (size_t i = 0; i < N; ++i) text[i] = literal[i];
  }
};

template <size_t N>
struct EncodedText {
  char bytes[N]{};  // never longer than the UTF-8 it came from
  size_t size = 0;
};

consteval uint8_t EncodeUnit(const CodePageTable& table, char32_t c) {
  for (size_t b = 0; b < 256; ++b)
    if (table[b] == c) return static_cast<uint8_t>(b);
  throw "a character of this text is missing from its code page";
}

template <size_t N>
consteval EncodedText<N> Encode(const CodePageTable& table, const Utf8Literal<N>& utf8) {
  EncodedText<N> out;
  for (size_t i = 0; i + 1 < N;) {  // the literal's final NUL is not text
    char32_t c = utf8.text[i];
    size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (length > 1) c &= (0x7F >> length);
    for (size_t k = 1; k < length; ++k) c = (c << 6) | (utf8.text[i + k] & 0x3F);
    i += length;
    out.bytes[out.size++] = static_cast<char>(EncodeUnit(table, c));
  }
  return out;
}

template <const CodePageTable& Table, Utf8Literal Text>
inline constexpr auto kEncoded = Encode(Table, Text);

}  // namespace code_page_detail

// The byte of `table` that stands for `c`; a character the table lacks stops the build.
consteval uint8_t CodePageByte(const CodePageTable& table, char32_t c) { return code_page_detail::EncodeUnit(table, c); }

// Cp1250<u8"Zakończ">: the code page 1250 bytes of a UTF-8 literal, as a string
// view into constant storage. Cp1252 likewise.
template <code_page_detail::Utf8Literal Text>
inline constexpr std::string_view Cp1250{code_page_detail::kEncoded<kWindows1250, Text>.bytes,
                                         code_page_detail::kEncoded<kWindows1250, Text>.size};
template <code_page_detail::Utf8Literal Text>
inline constexpr std::string_view Cp1252{code_page_detail::kEncoded<kWindows1252, Text>.bytes,
                                         code_page_detail::kEncoded<kWindows1252, Text>.size};

}  // namespace upd
