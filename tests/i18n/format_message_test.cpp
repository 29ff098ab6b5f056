// Filling the placeholders of a message: arguments are single-byte texts of the
// system's code page (paths, file names, versions). The template is filled in
// UTF-16, so no character of the template is lost on a system whose code page
// lacks it; where the code page holds them all, the text equals that of
// narrowing the template to the code page, inserting the argument bytes and
// widening the whole again.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "i18n/code_pages.h"
#include "i18n/messages.h"
#include "i18n/startup_facts.h"
#include "platform/system_info.h"
#include "text_matchers.h"
#include "updater_texts.h"

namespace upd {
namespace {

// The round trip through the system's code page, '?' for a character it lacks.
std::u16string NarrowInsertWiden(const std::u16string& pattern, const std::vector<std::string>& args,
                                  const CodePageTable& system) {
  std::string narrow;
  for (char16_t c : pattern) {
    char byte = '?';
    for (int b = 0; b < 256; ++b)
      if (system[b] == c) byte = static_cast<char>(b);
    narrow += byte;
  }
  std::string filled;
  size_t next = 0;
  for (size_t i = 0; i < narrow.size(); ++i) {
    if (narrow.compare(i, 2, "%s") == 0 && next < args.size()) {
      filled += args[next++];
      ++i;
    } else {
      filled += narrow[i];
    }
  }
  return WidenWith(filled, system);
}

bool HoldsEveryCharacter(const CodePageTable& system, const std::u16string& text) {
  for (char16_t c : text) {
    bool found = false;
    for (char16_t unit : system) found = found || unit == c;
    if (!found) return false;
  }
  return true;
}

class FormatMessage : public ::testing::Test {
 protected:
  void UseSystemCodePage(const CodePageTable& table) { system_.SetAnsiCodePage(table); }

  ScopedStartupFacts facts_{true, kPolish};
  platform::PortableSystemInfo system_;  // code page 1250 unless a test changes it
  platform::ScopedOverride<platform::SystemInfo> use_{system_};
};

TEST_F(FormatMessage, PolishPathOnAPolishSystem) {
  const std::string path(Cp1250<u8"C:\\Program Files\\Tłumacz\\Zażółć gęślą jaźń.exe">);
  EXPECT_TRUE(ShowsText(FormatMessageText(278, kPolish, {path}),
                        "Błąd - nie znaleziono pliku \"C:\\Program Files\\Tłumacz\\Zażółć gęślą jaźń.exe\" w katalogu "
                        "programu."));
}

TEST_F(FormatMessage, PlaceholdersTakeTheArgumentsInOrder) {
  EXPECT_TRUE(ShowsText(FormatMessageText(271, kEnglish, {"Derod 2.2", "2.2.1"}),
                        "This program will update ′Derod 2.2′ to version 2.2.1. If Ridurizeve is running, it must be "
                        "closed before updating.\r\n\r\nPress \"Update\" button to continue.\r\n\r\n"));
}

TEST_F(FormatMessage, ArgumentsBeyondThePlaceholdersAreIgnoredAndMissingOnesLeaveThem) {
  EXPECT_TRUE(ShowsText(FormatMessageText(263, kGerman, {"2.2.1", "extra"}), "Version 2.2.1"));
  EXPECT_TRUE(ShowsText(FormatMessageText(263, kGerman, {}), "Version %s"));
  EXPECT_TRUE(ShowsText(FormatMessageText(277, kGerman, {"C:\\x"}), "Fehler - Ordner des Programms nicht gefunden."));
}

TEST_F(FormatMessage, ArgumentsReadInTheSystemCodePage) {
  UseSystemCodePage(kWindows1252);
  EXPECT_TRUE(ShowsText(FormatMessageText(276, kGerman, {"Gr\xF6\xDF" "e.exe"}),
                        "Aktualisierung der Datei \"Größe.exe\" ... "));
  UseSystemCodePage(kWindows1250);
  EXPECT_TRUE(ShowsText(FormatMessageText(276, kGerman, {"\xB3\xF3" "d\x9F.exe"}),
                        "Aktualisierung der Datei \"łódź.exe\" ... "));
}

// Where the system's code page lacks a letter of the template, the round trip
// would turn it into a replacement character; filling in UTF-16 keeps it.
TEST_F(FormatMessage, KeepsLettersTheSystemCodePageLacks) {
  struct Case {
    const CodePageTable* system;
    int id;
    int language;
    std::string argument;
    const char* shown;
    const char* roundTrip;
  } cases[] = {
      {&kWindows1252, 278, kPolish, "C:\\\xDC" "bersetzer\\x.exe",  // Polish text on a Western system
       "Błąd - nie znaleziono pliku \"C:\\Übersetzer\\x.exe\" w katalogu programu.",
       "B??d - nie znaleziono pliku \"C:\\Übersetzer\\x.exe\" w katalogu programu."},
      {&kWindows1250, 278, kItalian, "C:\\T\xB3umacz\\x.exe",  // Italian è on a Polish system
       "Errore – il file \"C:\\Tłumacz\\x.exe\" nel catalogo del programma non è stato trovato.",
       "Errore – il file \"C:\\Tłumacz\\x.exe\" nel catalogo del programma non ? stato trovato."},
      {&kWindows1250, 279, kEnglish, "x.exe",  // the primes of any language
       "Error - unknown version of file ′x.exe′.",
       "Error - unknown version of file ?x.exe?."},
  };
  for (const Case& c : cases) {
    UseSystemCodePage(*c.system);
    EXPECT_TRUE(ShowsText(FormatMessageText(c.id, c.language, {c.argument}), c.shown));
    EXPECT_TRUE(ShowsText(NarrowInsertWiden(GetMessageText(c.language, c.id), {c.argument}, *c.system), c.roundTrip));
  }
}

TEST_F(FormatMessage, EqualsTheCodePageRoundTripWhereTheCodePageHoldsTheTemplate) {
  struct System {
    const CodePageTable* table;
    std::vector<std::string> args;  // a path and a version, in the system's code page
  } systems[] = {
      {&kWindows1250, {std::string(Cp1250<u8"C:\\Tłumacz\\Zażółć.exe">), "2.2.1"}},
      {&kWindows1252, {std::string(Cp1252<u8"C:\\Übersetzer\\Größe.exe">), "2.2.1"}},
  };
  int comparedWithRoundTrip = 0;
  for (const System& system : systems) {
    UseSystemCodePage(*system.table);
    for (const auto& text : testing_texts::kUpdaterTexts) {
      for (int language = 0; language < kDisplayLanguageCount; ++language) {
        const std::u16string pattern = GetMessageText(language, text.id);
        if (!HoldsEveryCharacter(*system.table, pattern)) continue;
        ++comparedWithRoundTrip;
        EXPECT_EQ(FormatMessageText(text.id, language, system.args), NarrowInsertWiden(pattern, system.args, *system.table))
            << "message " << text.id << ", language " << language;
      }
    }
  }
  EXPECT_GT(comparedWithRoundTrip, 100);  // the filter above must leave most texts in
}

}  // namespace
}  // namespace upd
