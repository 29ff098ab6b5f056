#include "i18n/startup_facts.h"

#include "i18n/messages.h"
#include "platform/system_info.h"

namespace upd {
namespace {

std::optional<ScopedStartupFacts::Facts>& Current() {
  static std::optional<ScopedStartupFacts::Facts> facts;
  return facts;
}

const ScopedStartupFacts::Facts& Fixed() {
  InitStartupFacts();
  return *Current();
}

}  // namespace

int SystemLanguageFromLocale(uint32_t localeId) {
  switch (localeId) {
    case 0x0407:  // Germany
    case 0x0807:  // Switzerland
    case 0x0C07:  // Austria
    case 0x1007:  // Luxembourg
    case 0x1407:  // Liechtenstein
      return kGerman;
    case 0x040A:  // Spain, traditional sort
    case 0x080A:  // Mexico
    case 0x0C0A:  // Spain, international sort
      return kSpanish;
    case 0x040C:  // France
    case 0x080C:  // Belgium
    case 0x0C0C:  // Canada
      return kFrench;
    case 0x0410:  // Italy
    case 0x0810:  // Switzerland
      return kItalian;
    case 0x0419:  // Russia
      return kRussian;
    default:  // Polish, English, Hungarian and every other locale
      return kPolish;
  }
}

void InitStartupFacts() {
  if (Current()) return;
  platform::SystemInfo& system = platform::Sys();
  Current() = ScopedStartupFacts::Facts{system.IsNtPlatform(), SystemLanguageFromLocale(system.ThreadLocale())};
}

bool IsNtPlatform() { return Fixed().isNtPlatform; }
int SystemLanguage() { return Fixed().systemLanguage; }

ScopedStartupFacts::ScopedStartupFacts() : previous_(Current()) { Current().reset(); }

ScopedStartupFacts::ScopedStartupFacts(bool isNtPlatform, int systemLanguage) : previous_(Current()) {
  Current() = Facts{isNtPlatform, systemLanguage};
}

ScopedStartupFacts::~ScopedStartupFacts() { Current() = previous_; }

}  // namespace upd
