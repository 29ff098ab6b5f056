#pragma once
// The message catalogue: every text the updater shows, in every display language.

#include <cstdint>
#include <string>
#include <string_view>
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

inline constexpr int kDisplayLanguageCount = 8;

// Text of message `id` (1..320) in `language`, as UTF-16; empty for an id out of
// range, an empty entry or a language outside 0..7. Russian is the
// transliteration of the Russian-mode column. The code-page map follows the
// language on NT systems or when `forceLanguageMap` is set (only the message
// dialog's caption sets it), otherwise the system's language.
std::u16string GetMessageText(int language, int id, bool forceLanguageMap = false);

// Message `id` with each "%s" replaced, in order, by the next single-byte
// argument (widened with the system's code page: paths and names from the
// system). A "%s" left without an argument stays as it is.
std::u16string FormatMessageText(int id, int language, const std::vector<std::string>& args);

// The same with arguments already widened: catalogue texts, which are code
// page 1250 whatever the system's code page, go through WidenForLanguage.
std::u16string FormatMessageWide(int id, int language, const std::vector<std::u16string>& args);

// Widens catalogue bytes, one code unit per byte, with the map of `language`,
// or of the system's language on a system outside the NT family unless `force`.
std::u16string WidenForLanguage(std::string_view text, int language, bool force);

}  // namespace upd
