// What `patchtool message` prints: each of the updater's texts as one UTF-8
// line, line breaks inside it written as \r\n.

#include <gtest/gtest.h>

#include <string>

#include "i18n/message_listing.h"
#include "i18n/messages.h"
#include "i18n/startup_facts.h"
#include "updater_texts.h"

namespace upd {
namespace {

// The expectation as a console line: CR and LF written as \r and \n.
std::string AsConsoleLine(std::string text) {
  for (size_t at; (at = text.find_first_of("\r\n")) != std::string::npos;)
    text.replace(at, 1, text[at] == '\r' ? "\\r" : "\\n");
  return text;
}

TEST(MessageListing, PrintsEachUpdaterTextExactly) {
  ScopedStartupFacts facts(true, kPolish);
  for (const auto& text : testing_texts::kUpdaterTexts) {
    std::string everyLanguage;
    for (int language = 0; language < kDisplayLanguageCount; ++language) {
      const std::string line = AsConsoleLine(text.shown[language == kHungarian ? kPolish : language]);
      EXPECT_EQ(MessageListing(text.id, language), line + "\n") << "message " << text.id << ", language " << language;
      everyLanguage += std::to_string(language) + "\t" + line + "\n";
    }
    EXPECT_EQ(MessageListing(text.id, std::nullopt), everyLanguage) << "message " << text.id;
  }
}

TEST(MessageListing, ConsoleLineShowsLineBreaksAsEscapes) {
  struct Case {
    std::u16string text;
    std::string line;
  } cases[] = {
      {u"OK\r\n", "OK\\r\\n"},
      {u"\r\n\r\nx", "\\r\\n\\r\\nx"},
      {u"a\nb\rc", "a\\nb\\rc"},  // lone breaks too
      {u"Язык ′x′", "Язык ′x′"},
      {u"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ConsoleLine(c.text), c.line);
}

}  // namespace
}  // namespace upd
