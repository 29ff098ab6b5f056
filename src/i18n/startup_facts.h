#pragma once
// The two facts about the running system that the message catalogue's choice
// of code-page map needs. They are read from the platform once, at start-up
// before any window exists, and never change afterwards; the thread locale is
// read only then.

#include <cstdint>
#include <optional>

namespace upd {

// The display language a Windows locale identifier stands for: German, Spanish,
// French, Italian and Russian locales of the list below, every other one Polish.
// Never English or Hungarian.
int SystemLanguageFromLocale(uint32_t localeId);

// Reads the platform (platform::Sys()) and fixes the facts; a later call changes
// nothing. Reading a fact before this call makes it.
void InitStartupFacts();

bool IsNtPlatform();
int SystemLanguage();

// Test hook: replaces the start-up facts for its lifetime and puts the previous
// ones back afterwards. Without values the facts are unset, so that the next
// InitStartupFacts reads the platform again.
class ScopedStartupFacts {
 public:
  ScopedStartupFacts();
  ScopedStartupFacts(bool isNtPlatform, int systemLanguage);
  ~ScopedStartupFacts();
  ScopedStartupFacts(const ScopedStartupFacts&) = delete;
  ScopedStartupFacts& operator=(const ScopedStartupFacts&) = delete;

  struct Facts {
    bool isNtPlatform;
    int systemLanguage;
  };

 private:
  std::optional<Facts> previous_;
};

}  // namespace upd
