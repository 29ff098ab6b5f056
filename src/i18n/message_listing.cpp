#include "i18n/message_listing.h"

#include "i18n/messages.h"
#include "i18n/utf8.h"

namespace upd {

std::string ConsoleLine(std::u16string_view text) {
  std::string line;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != u'\r' && text[i] != u'\n') continue;
    line += Utf16ToUtf8(text.substr(start, i - start));
    if (i < text.size()) line += text[i] == u'\r' ? "\\r" : "\\n";
    start = i + 1;
  }
  return line;
}

std::string MessageListing(int id, std::optional<int> language) {
  if (language) return ConsoleLine(GetMessageText(*language, id, false)) + "\n";
  std::string out;
  for (int l = 0; l < kDisplayLanguageCount; ++l)
    out += std::to_string(l) + "\t" + ConsoleLine(GetMessageText(l, id, false)) + "\n";
  return out;
}

}  // namespace upd
