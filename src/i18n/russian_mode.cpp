#include "i18n/russian_mode.h"

#include <array>
#include <cstdint>

#include "i18n/code_pages.h"
#include "util/pl_text.h"

namespace upd {
namespace {

// Latin letters (code page 1250) and the Cyrillic letters (code page 1251)
// they become, pair by pair.
struct TransliterationPairs {
  std::u16string_view latin;
  std::u16string_view cyrillic;
};

constexpr TransliterationPairs kPairs[] = {
    {u"ABCDEFGHIJKLMNOPRSTUVYZ", u"АБЦДЕФГХИЙКЛМНОПРСТУВЫЗ"},
    {u"abcdefghijklmnoprstuvyz", u"абцдефгхийклмнопрстувыз"},
    {u"$'", u"ъь"},
    {u"ŠŽŞÁÂÄČÉĘËĚÍÓÚŰÜÝ", u"ШЖЩАЯЯЧЕЭЁЭИОУЮЮЫ"},
    {u"šžşáâäčéęëěíóúűüý", u"шжщаяячеэёэиоуююы"},
};

consteval std::array<uint8_t, 256> BuildTransliteration() {
  std::array<uint8_t, 256> table{};
  for (size_t b = 0; b < 256; ++b) table[b] = static_cast<uint8_t>(b);
  for (const TransliterationPairs& pairs : kPairs) {
    if (pairs.latin.size() != pairs.cyrillic.size()) throw "every Latin letter needs its Cyrillic letter";
    for (size_t i = 0; i < pairs.latin.size(); ++i)
      table[CodePageByte(kWindows1250, pairs.latin[i])] = CodePageByte(kWindows1251, pairs.cyrillic[i]);
  }
  return table;
}

constexpr std::array<uint8_t, 256> kTransliteration = BuildTransliteration();

}  // namespace

std::string TransliterateToCyrillic(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(kTransliteration[static_cast<uint8_t>(c)]);
  return out;
}

std::string RussianModeText(const std::string& text) {
  static constexpr TCharSet kPercent{'%'};
  static constexpr TCharSet kPlaceholderLetters{'d', 's'};
  std::string result = TransliterateToCyrillic(text);
  // Positions count from 1, as the scans do.
  int32_t p = 1;
  while (ScanToCharInSet(text, p, kPercent, false)) {
    if (CharInSetAt(kPlaceholderLetters, text, p + 1)) result[p] = text[p];  // 1-based p + 1
    p = p + 1;
  }
  return result;
}

}  // namespace upd
