// The start-up facts: the system's display language from its thread locale,
// and both facts read from the platform once.

#include <gtest/gtest.h>

#include "i18n/messages.h"
#include "i18n/startup_facts.h"
#include "platform/system_info.h"

namespace upd {
namespace {

TEST(StartupFacts, SystemLanguageFromLocale) {
  struct Case {
    uint32_t locale;
    int language;
  } cases[] = {
      {0x0407, kGerman},   // Germany
      {0x0807, kGerman},   // Switzerland
      {0x0C07, kGerman},   // Austria
      {0x1007, kGerman},   // Luxembourg
      {0x1407, kGerman},   // Liechtenstein
      {0x040A, kSpanish},  // Spain, traditional sort
      {0x080A, kSpanish},  // Mexico
      {0x0C0A, kSpanish},  // Spain, international sort
      {0x040C, kFrench},   // France
      {0x080C, kFrench},   // Belgium
      {0x0C0C, kFrench},   // Canada
      {0x0410, kItalian},  // Italy
      {0x0810, kItalian},  // Switzerland
      {0x0419, kRussian},  // Russia
      {0x0415, kPolish},   // Poland
      // Outside the list: Polish, never English or Hungarian.
      {0x0409, kPolish},   // English, United States
      {0x0809, kPolish},   // English, United Kingdom
      {0x040E, kPolish},   // Hungarian
      {0x100C, kPolish},   // French, Switzerland: not in the list
      {0x100A, kPolish},   // Spanish, Guatemala: not in the list
      {0x0819, kPolish},   // Russian, Moldova: not in the list
      {0x10407, kPolish},  // German with phone-book sort: the whole identifier counts
      {0x0000, kPolish},
  };
  for (const Case& c : cases) EXPECT_EQ(SystemLanguageFromLocale(c.locale), c.language) << std::hex << c.locale;
}

TEST(StartupFacts, ReadFromThePlatformOnce) {
  ScopedStartupFacts unset;
  platform::PortableSystemInfo system;
  platform::ScopedOverride<platform::SystemInfo> use(system);
  system.SetThreadLocale(0x0807);
  system.SetNtPlatform(false);

  InitStartupFacts();
  system.SetThreadLocale(0x0419);  // later changes are not seen
  system.SetNtPlatform(true);
  InitStartupFacts();

  EXPECT_FALSE(IsNtPlatform());
  EXPECT_EQ(SystemLanguage(), kGerman);
}

TEST(StartupFacts, FirstReadFixesThemWithoutAnExplicitStart) {
  ScopedStartupFacts unset;
  platform::PortableSystemInfo system;
  platform::ScopedOverride<platform::SystemInfo> use(system);
  system.SetThreadLocale(0x040C);

  EXPECT_EQ(SystemLanguage(), kFrench);
  system.SetThreadLocale(0x0410);
  EXPECT_EQ(SystemLanguage(), kFrench);
  EXPECT_TRUE(IsNtPlatform());
}

}  // namespace
}  // namespace upd
