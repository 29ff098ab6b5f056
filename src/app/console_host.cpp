#include "app/console_host.h"

namespace upd {

void ConsoleHost::SetStatusText(const std::u16string& text) {
  std::u16string piece;
  if (text.size() >= status_.size() && text.compare(0, status_.size(), status_) == 0) {
    piece = text.substr(status_.size());  // the text grew: print what was added
  } else {
    piece = (at_line_start_ ? u"" : u"\n") + text;  // replaced: start afresh on a new line
  }
  status_ = text;
  if (piece.empty()) return;
  out_(piece);
  at_line_start_ = piece.back() == u'\n';
}

void ConsoleHost::Finish() {
  if (!at_line_start_) out_(u"\n");
  at_line_start_ = true;
}

}  // namespace upd
