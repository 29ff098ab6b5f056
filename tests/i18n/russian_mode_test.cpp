// The Russian mode: code page 1250 Latin letters become code page 1251
// Cyrillic letters, and the placeholders survive.

#include <gtest/gtest.h>

#include "i18n/code_pages.h"
#include "i18n/messages.h"
#include "i18n/russian_mode.h"
#include "i18n/startup_facts.h"
#include "platform/system_info.h"
#include "text_matchers.h"

namespace upd {
namespace {

// Source text as code page 1250 bytes, result read as plain code page 1251.
std::u16string Transliterated(std::string_view source) { return WidenWith(TransliterateToCyrillic(source), kWindows1251); }
std::u16string RussianMode(std::string_view source) { return WidenWith(RussianModeText(std::string(source)), kWindows1251); }

TEST(RussianMode, TransliteratesEveryLetterOfItsTable) {
  struct Case {
    std::string_view source;
    const char* cyrillic;
  } cases[] = {
      {Cp1250<u8"ABCDEFGHIJKLMNOPQRSTUVWXYZ">, "АБЦДЕФГХИЙКЛМНОПQРСТУВWXЫЗ"},  // Q, W, X stay
      {Cp1250<u8"abcdefghijklmnopqrstuvwxyz">, "абцдефгхийклмнопqрстувwxыз"},
      {Cp1250<u8"$'">, "ъь"},
      {Cp1250<u8"ŠŽŞÁÂÄČÉĘËĚÍÓÚŰÜÝ">, "ШЖЩАЯЯЧЕЭЁЭИОУЮЮЫ"},
      {Cp1250<u8"šžşáâäčéęëěíóúűüý">, "шжщаяячеэёэиоуююы"},
      // Bytes outside the table keep their value and read as code page 1251:
      // Polish letters without a pair, digits, punctuation, "%".
      {Cp1250<u8"łążśńćŁ 09.,%\"\r\n">, "і№їњсжЈ 09.,%\"\r\n"},
  };
  for (const Case& c : cases) EXPECT_TRUE(ShowsText(Transliterated(c.source), c.cyrillic));
}

TEST(RussianMode, RestoresTheLetterAfterEveryPercentSign) {
  struct Case {
    std::string_view source;
    const char* shown;
  } cases[] = {
      {"%s", "%s"},                       // the placeholder of the updater's texts
      {"%d", "%d"},                       // the installer's number placeholder
      {"Plik %s: %d", "Плик %s: %d"},     // placeholders amid text
      {"%s%d", "%s%d"},                   // back to back
      {"%%s", "%%s"},                     // the second "%" restores the "s"
      {"%S %a %x", "%С %а %x"},           // only a small "d" or "s" is restored
      {"s%", "с%"},                       // a "%" at the end: nothing follows to restore
      {"%", "%"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_TRUE(ShowsText(RussianMode(c.source), c.shown)) << c.source;
}

TEST(RussianMode, ProgressLineStillReceivesTheFileName) {
  ScopedStartupFacts facts(true, kPolish);
  platform::PortableSystemInfo system;
  platform::ScopedOverride<platform::SystemInfo> use(system);
  EXPECT_TRUE(ShowsText(FormatMessageText(276, kRussian, {"DerodUz.exe"}), "Трwа актуализацйа плику \"DerodUz.exe\" ... "));
}

}  // namespace
}  // namespace upd
