#include "dictionary/dictionary_host.h"

namespace upd {

std::u16string ProgressStatusText(const std::u16string& caption, int32_t percent) {
  std::u16string text = caption;
  for (char c : std::to_string(percent)) text += static_cast<char16_t>(c);
  text += u'%';
  return text;
}

}  // namespace upd
