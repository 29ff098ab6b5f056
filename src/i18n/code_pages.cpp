#include "i18n/code_pages.h"

namespace upd {

std::u16string WidenWith(std::string_view text, const CodePageTable& table) {
  std::u16string out(text.size(), u'\0');
  for (size_t i = 0; i < text.size(); ++i) out[i] = table[static_cast<uint8_t>(text[i])];
  return out;
}

}  // namespace upd
