// Fonts per display language and the start-up choice of face, over a fake
// list of installed faces.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "i18n/fonts.h"
#include "platform/fonts.h"

namespace upd {
namespace {

class Fonts : public ::testing::Test {
 protected:
  platform::FakeFontCatalog installed_;
  platform::ScopedOverride<platform::FontCatalog> use_{installed_};
};

TEST_F(Fonts, ChoiceOfTheUserInterfaceFace) {
  const std::vector<uint8_t> none;
  struct Case {
    std::vector<uint8_t> arial;
    std::vector<uint8_t> tahoma;
    std::u16string chosen;
    std::vector<std::u16string> examined;
  } cases[] = {
      {{0, 238, 204, 161}, {0, 238}, u"Arial", {u"Arial"}},           // Arial suffices: Tahoma not examined
      {{0, 204, 161}, {0, 238, 204}, u"Tahoma", {u"Arial", u"Tahoma"}},  // only Tahoma is Central European
      {{0, 204}, {0, 204}, u"Arial", {u"Arial", u"Tahoma"}},           // neither is: Arial all the same
      {none, none, u"Arial", {u"Arial", u"Tahoma"}},                    // neither installed
  };
  for (const Case& c : cases) {
    platform::FakeFontCatalog fonts;
    platform::ScopedOverride<platform::FontCatalog> use(fonts);
    if (!c.arial.empty()) fonts.Add(u"Arial", c.arial);
    if (!c.tahoma.empty()) fonts.Add(u"Tahoma", c.tahoma);
    EXPECT_EQ(ChooseUiFontFace(), c.chosen);
    EXPECT_EQ(UiFontFace(), c.chosen);
    EXPECT_EQ(fonts.Asked(), c.examined);
  }
}

TEST_F(Fonts, LanguageFontTakesTheFaceAndTheLanguageCharset) {
  installed_.Add(u"Tahoma", {238});
  ASSERT_EQ(ChooseUiFontFace(), u"Tahoma");
  const uint8_t expected[] = {
      238,  // Polish
      238,  // English, like Polish
      0,    // French
      238,  // German, like Polish
      0,    // Italian
      0,    // Spanish
      204,  // Russian
      238,  // Hungarian
  };
  for (int language = 0; language < 8; ++language) {
    FontDescription font{u"Courier New", 1, 12, kFontBold | kFontItalic};
    ApplyLanguageFont(font, language);
    EXPECT_EQ(font.face, u"Tahoma");
    EXPECT_EQ(font.charset, expected[language]) << "language " << language;
    EXPECT_EQ(font.size, 12);
    EXPECT_EQ(font.style, kFontBold | kFontItalic);
  }
}

TEST_F(Fonts, ListsCharsetNamesInEnumerationOrder) {
  installed_.Add(u"Arial", {0, 238, 238, 99, 77, 255});
  std::vector<std::string> list{"already there"};
  ListFontCharsets(u"Arial", list);
  EXPECT_EQ(list, (std::vector<std::string>{"already there", "ANSI_CHARSET", "EASTEUROPE_CHARSET",
                                            "EASTEUROPE_CHARSET", "Unknown charset 99", "MAC_CHARSET",
                                            "OEM_CHARSET"}));
  ListFontCharsets(u"Not Installed", list);
  EXPECT_EQ(list.size(), 7u);
}

TEST_F(Fonts, FaceNamesLongerThanALogicalFontHoldAreCut) {
  const std::u16string longFace = u"A Font Family With A Very Long Name Indeed";
  installed_.Add(longFace.substr(0, 31), {238});
  EXPECT_TRUE(FontHasCharset(longFace, "EASTEUROPE_CHARSET"));
  EXPECT_EQ(installed_.Asked().back().size(), 31u);
}

TEST_F(Fonts, HasCharsetComparesNamesWithoutCase) {
  installed_.Add(u"Arial", {238, 99});
  struct Case {
    const char* name;
    bool has;
  } cases[] = {
      {"EASTEUROPE_CHARSET", true},
      {"easteurope_charset", true},   // case does not matter
      {"RUSSIAN_CHARSET", false},
      {"Unknown charset 99", true},   // an unnamed number is found only by its own text
      {"UNKNOWN CHARSET 99", true},
      {"DEFAULT_CHARSET", false},
      {"EASTEUROPE", false},          // whole names only
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(FontHasCharset(u"Arial", c.name), c.has) << c.name;
}

}  // namespace
}  // namespace upd
