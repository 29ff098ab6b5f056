// The start-up facts and message formatting on a real Windows system (Wine)
// started in a given locale; CTest runs one group per locale (see
// CMakeLists.txt): PolishSystem under pl_PL.UTF-8, SwissGermanSystem under
// de_CH.UTF-8.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "i18n/code_pages.h"
#include "i18n/messages.h"
#include "i18n/startup_facts.h"
#include "i18n/utf8.h"

namespace upd {
namespace {

// Wine falls back to English (0x0409, code page 1252) when the Linux locale
// named by LANG is not generated.
::testing::AssertionResult RunsIn(LCID locale, UINT codePage) {
  if (GetThreadLocale() == locale && GetACP() == codePage) return ::testing::AssertionSuccess();
  char text[200];
  std::snprintf(text, sizeof text,
                "the system runs with locale 0x%04lX and code page %u, not 0x%04lX and %u: "
                "is the Linux locale generated (locale -a; make deps)?",
                static_cast<unsigned long>(GetThreadLocale()), GetACP(), static_cast<unsigned long>(locale), codePage);
  return ::testing::AssertionFailure() << text;
}

TEST(PolishSystem, FactsAndAPathWithPolishLetters) {
  ASSERT_TRUE(RunsIn(0x0415, 1250));
  InitStartupFacts();
  EXPECT_TRUE(IsNtPlatform());
  EXPECT_EQ(SystemLanguage(), kPolish);

  // A path as the registry gives it: bytes of the ANSI code page.
  const std::string path(Cp1250<u8"C:\\Program Files\\Tłumacz\\Zażółć gęślą jaźń.exe">);
  EXPECT_EQ(Utf16ToUtf8(FormatMessageText(278, kPolish, {path})),
            "Błąd - nie znaleziono pliku \"C:\\Program Files\\Tłumacz\\Zażółć gęślą jaźń.exe\" w katalogu programu.");
  // The Italian è is missing from code page 1250; the text keeps it.
  EXPECT_EQ(Utf16ToUtf8(FormatMessageText(278, kItalian, {path})),
            "Errore – il file \"C:\\Program Files\\Tłumacz\\Zażółć gęślą jaźń.exe\" nel catalogo del programma non è "
            "stato trovato.");
}

TEST(SwissGermanSystem, FactsAndAPathWithUmlauts) {
  ASSERT_TRUE(RunsIn(0x0807, 1252));
  InitStartupFacts();
  EXPECT_TRUE(IsNtPlatform());
  EXPECT_EQ(SystemLanguage(), kGerman);

  const std::string path(Cp1252<u8"C:\\Programme\\Übersetzer\\Größe.exe">);
  EXPECT_EQ(Utf16ToUtf8(FormatMessageText(279, kGerman, {path})),
            "Fehler - unbekannte Version der Datei \"C:\\Programme\\Übersetzer\\Größe.exe\".");
  // Polish letters are missing from code page 1252; the text keeps them.
  EXPECT_EQ(Utf16ToUtf8(FormatMessageText(279, kPolish, {path})),
            "Błąd - nieznana wersja pliku \"C:\\Programme\\Übersetzer\\Größe.exe\".");
}

}  // namespace
}  // namespace upd
