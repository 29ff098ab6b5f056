#include "i18n/messages.h"

#include "i18n/code_pages.h"
#include "i18n/message_table.h"
#include "i18n/russian_mode.h"
#include "i18n/startup_facts.h"
#include "platform/system_info.h"
#include "util/pl_text.h"

namespace upd {
namespace {

const CodePageTable& MapForLanguage(int language) {
  switch (language) {
    case kEnglish:
    case kFrench:
    case kGerman:
    case kItalian:
    case kSpanish:
      return WesternMap;
    case kRussian:
      return CyrillicMap;
    default:  // Polish, Hungarian
      return CentralEuropeanMap;
  }
}

}  // namespace

std::u16string WidenForLanguage(std::string_view text, int language, bool force) {
  const int mapLanguage = force || IsNtPlatform() ? language : SystemLanguage();
  return WidenWith(text, MapForLanguage(mapLanguage));
}

std::u16string GetMessageText(int language, int id, bool forceLanguageMap) {
  std::string text;
  if (InRange64(id, 1, kMessageIdCount) && InRange64(language, 0, kDisplayLanguageCount - 1))
    text = MessageTable[id][LanguageColumn(language)];
  if (language == kRussian) text = RussianModeText(text);
  return WidenForLanguage(text, language, forceLanguageMap);
}

// The template is substituted in UTF-16. Narrowing it to the system's code page
// first, inserting the arguments as bytes and widening the whole again would
// give the same text where the code page holds every character of the template,
// and a replacement character for every letter it lacks: a Polish text on a
// Western system, an Italian è on a Polish one, the primes anywhere.
std::u16string FormatMessageText(int id, int language, const std::vector<std::string>& args) {
  std::vector<std::u16string> wide;
  wide.reserve(args.size());
  for (const std::string& arg : args) wide.push_back(platform::Sys().AnsiToUtf16(arg));
  return FormatMessageWide(id, language, wide);
}

std::u16string FormatMessageWide(int id, int language, const std::vector<std::u16string>& args) {
  const std::u16string pattern = GetMessageText(language, id, false);
  std::u16string out;
  out.reserve(pattern.size());
  size_t next = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] == u's' && next < args.size()) {
      out += args[next++];
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

}  // namespace upd
