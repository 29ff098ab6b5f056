// The message catalogue: the updater's texts in every display language, the
// bytes they are stored as, and the choice of code-page map.

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "i18n/message_table.h"
#include "i18n/messages.h"
#include "i18n/startup_facts.h"
#include "text_matchers.h"
#include "updater_texts.h"

namespace upd {
namespace {

using testing_texts::kUpdaterTexts;

// On an NT system every lookup widens by the display language.
class MessageCatalogue : public ::testing::Test {
 protected:
  ScopedStartupFacts facts_{true, kPolish};
};

TEST_F(MessageCatalogue, UpdaterTextsInEveryDisplayLanguage) {
  for (const auto& text : kUpdaterTexts) {
    for (int language = 0; language < kDisplayLanguageCount; ++language) {
      SCOPED_TRACE("message " + std::to_string(text.id) + ", language " + std::to_string(language));
      // Hungarian reads the Polish column through the Central European map.
      const char* expected = text.shown[language == kHungarian ? kPolish : language];
      EXPECT_TRUE(ShowsText(GetMessageText(language, text.id), expected));
    }
  }
}

TEST_F(MessageCatalogue, TextsAreStoredInTheirCodePages) {
  struct Case {
    int id;
    int column;
    std::string_view bytes;
  } cases[] = {
      {268, 0, "B\xB3\xB9" "d\r\n"},                   // ł ą in code page 1250, CR LF
      {7, 6, "Zako\xF1" "cz"},                          // the Russian-mode column holds the Polish bytes
      {261, 4, "%s \x96 Attualizzazione"},              // en dash
      {261, 5, "%s \x96 Actualizado"},                  // en dash
      {272, 5, "Presione \x84" "Finish\x94 para"},      // low and high double quotation marks
      {273, 5, "\"Update\" si desea reintentarlo o \x93" "Finish\x94 si"},  // left and right
      {274, 1, "doesn't"},                              // a plain apostrophe, shown as a prime
      {280, 3, "Fehler beim \xD6" "ffnen"},             // Ö in code page 1252
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("message " + std::to_string(c.id) + ", column " + std::to_string(c.column));
    EXPECT_NE(MessageTable[c.id][c.column].find(c.bytes), std::string_view::npos);
  }
}

TEST_F(MessageCatalogue, MissingTextsAreEmpty) {
  for (int id : {0, -1, 321, INT_MIN, INT_MAX, 262, 269}) {  // out of range, and two empty entries
    for (int language = 0; language < kDisplayLanguageCount; ++language) {
      EXPECT_EQ(GetMessageText(language, id), u"") << "message " << id << ", language " << language;
    }
  }
  EXPECT_EQ(GetMessageText(8, 6), u"");   // no such display language
  EXPECT_EQ(GetMessageText(-1, 6), u"");
}

TEST_F(MessageCatalogue, RussianModeSpellsTheSourceInCyrillic) {
  EXPECT_TRUE(ShowsText(GetMessageText(kRussian, 10), "Язык"));  // from "Âzyk"
}

TEST_F(MessageCatalogue, AsciiMarksShowAsTypographicMarksInEveryMap) {
  for (int language = 0; language < kDisplayLanguageCount; ++language) {
    EXPECT_TRUE(ShowsText(WidenForLanguage("'^`\"", language, false), "′‸‵\"")) << "language " << language;
  }
}

// Systems outside the NT family widen every text with the map of the system's
// language, unless the lookup forces the map of its own language.
TEST(MessageCatalogueMapChoice, FollowsTheSystemLanguageOutsideNt) {
  struct Case {
    bool nt;
    int systemLanguage;
    int language;
    bool force;
    std::string_view bytes;
    const char* shown;
  } cases[] = {
      {true, kPolish, kGerman, false, "\x8C", "Œ"},             // NT: the German text's own map
      {false, kPolish, kGerman, false, "\x8C", "Ś"},            // older system, Polish: Central European map
      {false, kPolish, kGerman, true, "\x8C", "Œ"},             // forced: the language's map after all
      {false, kPolish, kGerman, false, "\xFC\xDF", "üß"},       // ü and ß are the same in both
      {false, kGerman, kPolish, false, "B\xB3\xB9" "d", "B³¹d"},  // German system: Polish letters lost
      {false, kGerman, kPolish, true, "B\xB3\xB9" "d", "Błąd"},   // ... unless forced
      {false, kRussian, kFrench, false, "\xE9", "й"},           // Russian system: Cyrillic map
      {false, kPolish, kRussian, false, "\xDF", "ß"},           // Russian text on a Polish system
      {true, kPolish, kHungarian, false, "\xF5\xFB", "őű"},     // Hungarian: Central European map
  };
  for (const Case& c : cases) {
    ScopedStartupFacts facts(c.nt, c.systemLanguage);
    EXPECT_TRUE(ShowsText(WidenForLanguage(c.bytes, c.language, c.force), c.shown))
        << "nt " << c.nt << ", system language " << c.systemLanguage << ", language " << c.language << ", force "
        << c.force;
  }
}

TEST(MessageCatalogueMapChoice, GermanTextOnAnOlderPolishSystemKeepsItsUmlauts) {
  ScopedStartupFacts facts(false, kPolish);
  EXPECT_TRUE(ShowsText(GetMessageText(kGerman, 272),
                        "Aktualisierung erfolgreich beendet. Drücken Sie \"Beenden\", um das Programm zu schließen."));
}

}  // namespace
}  // namespace upd
