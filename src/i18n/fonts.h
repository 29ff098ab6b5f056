#pragma once
// Fonts per display language: one face for the whole user interface, chosen
// once at start-up, and a GDI character set that depends on the language.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace upd {

// What the user interface needs to know of a display language's keyboard and
// font; the updater reads only the character set.
struct TMapKeysInfo {
  uint8_t Charset;  // GDI character-set number
};

inline constexpr uint8_t kAnsiCharset = 0;
inline constexpr uint8_t kDefaultCharset = 1;
inline constexpr uint8_t kRussianCharset = 204;
inline constexpr uint8_t kEastEuropeCharset = 238;

// Indexed by display language.
inline constexpr std::array<TMapKeysInfo, 8> LanguageKeyInfo{{
    {kEastEuropeCharset},  // 0 Polish
    {kEastEuropeCharset},  // 1 English
    {kAnsiCharset},        // 2 French
    {kEastEuropeCharset},  // 3 German
    {kAnsiCharset},        // 4 Italian
    {kAnsiCharset},        // 5 Spanish
    {kRussianCharset},     // 6 Russian
    {kEastEuropeCharset},  // 7 Hungarian
}};

// A name of a GDI character-set constant and its number.
struct TCharSetRec {
  std::string_view Name;
  uint8_t Charset;
};

// Searched in this order; the first entry with a number names it.
inline constexpr std::array<TCharSetRec, 19> CharsetNames{{
    {"ANSI_CHARSET", 0},         {"DEFAULT_CHARSET", 1},     {"SYMBOL_CHARSET", 2},
    {"SHIFTJIS_CHARSET", 128},   {"HANGEUL_CHARSET", 129},   {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136}, {"OEM_CHARSET", 255},      {"JOHAB_CHARSET", 130},
    {"HEBREW_CHARSET", 177},     {"ARABIC_CHARSET", 178},    {"GREEK_CHARSET", 161},
    {"TURKISH_CHARSET", 162},    {"VIETNAMESE_CHARSET", 163}, {"THAI_CHARSET", 222},
    {"EASTEUROPE_CHARSET", 238}, {"RUSSIAN_CHARSET", 204},   {"MAC_CHARSET", 77},
    {"BALTIC_CHARSET", 186},
}};

enum FontStyle : uint8_t {
  kFontBold = 1,
  kFontItalic = 2,
  kFontUnderline = 4,
  kFontStrikeOut = 8,
};

// A font as the windows create it.
struct FontDescription {
  std::u16string face;
  uint8_t charset = kDefaultCharset;
  int size = 8;       // in points
  uint8_t style = 0;  // FontStyle bits
};

// The face of the whole user interface: "Arial" or "Tahoma", fixed by
// ChooseUiFontFace at start-up ("Arial" before that).
const std::u16string& UiFontFace();

// Dresses `font` for a display language: the user interface's face and the
// language's character set; size and style stay. A language outside 0..7
// leaves the character set as it was.
void ApplyLanguageFont(FontDescription& font, int language);

// Appends the name of the character set of every font the system enumerates
// for `face` (at most 31 characters of it count), in the order enumerated; a
// number without a name is listed as "Unknown charset <number>".
void ListFontCharsets(const std::u16string& face, std::vector<std::string>& list);

// Whether ListFontCharsets for `face` yields `charsetName`, compared without
// regard to case.
bool FontHasCharset(const std::u16string& face, std::string_view charsetName);

// The start-up choice of UiFontFace: Arial when it offers the Central European
// character set, else Tahoma when that does, else Arial all the same. Sets the
// face and answers it.
const std::u16string& ChooseUiFontFace();

}  // namespace upd
