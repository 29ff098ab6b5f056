#pragma once
// The message catalogue's table: 320 message ids by 7 columns of single-byte
// texts, shared with the product's installer and uninstaller. The updater shows
// twenty of the ids (6, 7, 181 to 183, 261 to 280); the rest belong to the
// installer's screens and are mostly empty here.

#include <array>
#include <string_view>

namespace upd {

inline constexpr int kMessageIdCount = 320;

// Columns 0 Polish (code page 1250), 1 English, 2 French, 3 German, 4 Italian,
// 5 Spanish (code page 1252), 6 the Latin-letter source of the Russian mode
// (code page 1250; for the updater's own ids the Polish text).
using MessageRow = std::array<std::string_view, 7>;

// MessageTable[id][column] for ids 1..320; row 0 is unused and empty. Line
// breaks inside texts are CR LF pairs.
extern const std::array<MessageRow, kMessageIdCount + 1> MessageTable;

// The column a display language reads: its own number, Hungarian (7) the Polish
// column.
int LanguageColumn(int language);

}  // namespace upd
