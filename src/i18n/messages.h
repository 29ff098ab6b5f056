#pragma once
// The message catalogue: every text the updater shows, in every display language.

#include <cstdint>
#include <string>
#include <vector>

namespace upd {

// Display languages.
enum : uint8_t {
  kPolish = 0,
  kEnglish = 1,
  kFrench = 2,
  kGerman = 3,
  kItalian = 4,
  kSpanish = 5,
  kRussian = 6,
  kHungarian = 7,
};

// Text of message `id` (1..320) in `language`, as UTF-16; empty for an id out of range.
std::u16string GetMessageText(int language, int id, bool forceLanguageMap = false);

// Message `id` with each "%s" replaced, in order, by the next single-byte
// argument (widened with the system's code page).
std::u16string FormatMessageText(int id, int language, const std::vector<std::string>& args);

}  // namespace upd
