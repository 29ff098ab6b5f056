#include <gtest/gtest.h>

#include "app/product_identity.h"
#include "engine/catalogue.h"
#include "i18n/messages.h"
#include "i18n/startup_facts.h"
#include "platform/message_box.h"

namespace upd {
namespace {

TEST(ProductIdentity, LanguagesByAppId) {
  struct Case {
    int32_t appId;
    int foreign;
    int home;
    bool unknown;
  } cases[] = {
      {1, kFrench, kPolish, false},   {2, kEnglish, kPolish, false},  {3, kEnglish, kPolish, false},
      {4, kGerman, kPolish, false},   {5, kGerman, kPolish, false},   {6, kEnglish, kPolish, false},
      {7, kEnglish, kPolish, false},  {8, kItalian, kPolish, false},  {9, kSpanish, kPolish, false},
      {10, kRussian, kPolish, false}, {11, kFrench, kPolish, false},  {12, kGerman, kPolish, false},
      {13, kEnglish, kHungarian, false},  // the Hungarian product's home language
      {0, 0, kPolish, true},  {14, 0, kPolish, true},  {-1, 0, kPolish, true},  // unknown: a message box, languages 0
  };
  for (const Case& c : cases) {
    platform::RecordingMessageBox box;
    platform::ScopedOverride<platform::PlainMessageBox> use(box);
    InitProductIdentity(c.appId);
    EXPECT_EQ(Product().AppId, c.appId);
    EXPECT_EQ(Product().ForeignLanguage, c.foreign) << c.appId;
    EXPECT_EQ(Product().HomeLanguage, c.home) << c.appId;
    EXPECT_EQ(box.Shown(), c.unknown ? "Unknown AppId !\n" : "") << c.appId;
  }
}

TEST(ProductIdentity, InitialDisplayLanguage) {
  struct Case {
    int32_t appId;
    int system;
    bool useForeign;
    int expected;
  } cases[] = {
      {4, kGerman, false, kGerman},    // a German locale starts this build in German
      {4, kPolish, false, kPolish},    // English, Polish and other locales: Polish
      {4, kRussian, false, kPolish},
      {4, kFrench, true, kGerman},     // a special edition may start in the foreign language
      {10, kRussian, false, kRussian},
      {13, kPolish, false, kHungarian},  // the system language is never English
      {13, kPolish, true, kEnglish},
  };
  for (const Case& c : cases) {
    ScopedStartupFacts facts(true, c.system);
    InitProductIdentity(c.appId);
    BuildConstants constants;
    constants.AppId = c.appId;
    constants.CurrentPatchNumber = 33;
    constants.SpecialEditionInfo.UseForeignLanguage = c.useForeign;  // acts even when not Present
    AssignBuildConstants(constants);
    EXPECT_EQ(InitialDisplayLanguage(), c.expected) << c.appId << " " << c.system;
  }
}

TEST(ProductIdentity, AnnouncedNameFollowsTheDisplayLanguage) {
  BuildConstants constants;
  constants.CurrentPatchNumber = 33;
  AssignBuildConstants(constants);
  EXPECT_EQ(AnnouncedName(kPolish), PatchCatalogue(33).DisplayName[0]);
  for (int language : {kEnglish, kFrench, kGerman, kItalian, kSpanish, kRussian, kHungarian})
    EXPECT_EQ(AnnouncedName(language), PatchCatalogue(33).DisplayName[1]);
  EXPECT_EQ(AnnouncedVersion(), "2.2.1");
}

}  // namespace
}  // namespace upd
