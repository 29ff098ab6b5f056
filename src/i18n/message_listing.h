#pragma once
// Catalogue texts as lines of a console, for release engineers checking what
// the updater will show (patchtool message).

#include <optional>
#include <string>
#include <string_view>

namespace upd {

// `text` in UTF-8 on one line: a CR is shown as the two characters \r, an LF as \n.
std::string ConsoleLine(std::u16string_view text);

// Message `id` as GetMessageText gives it: for one display language its
// console line; without a language one line per language 0 to 7, each prefixed
// by the language number and a tab. Every line ends with "\n".
std::string MessageListing(int id, std::optional<int> language);

}  // namespace upd
