#pragma once
// Edit scripts: the records that turn an old dictionary file into the new one,
// and their application through the line channel.
//
// A script is a plain sequence of records, one field per line, with no header,
// count or end marker:
//   "DOD", N, text   add: the text becomes line N + 1 (from 1) of the new file
//   "USUN", N        delete: drop the old line that would become line N + 1
// N counts the lines of the new file before the place of the edit. Records come
// in non-decreasing order of N; deleting does not advance the place, adding
// does. Any other first line makes a two-line record that only copies up to N.
// Every line the records do not touch is copied.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_host.h"

namespace upd {

// Splits script text into lines: a line ends at CR, at LF or at one CR LF pair;
// a last line without terminator counts, empty lines count, and a byte 0x00
// ends the text.
std::vector<std::string> SplitScriptText(std::string_view text);
std::vector<std::string> SplitScriptText(std::span<const uint8_t> text);

// The value of a script's number line: decimal digits with an optional leading
// '+' or '-', nothing else (no blanks, no other bases), within the signed 32-bit
// range. nullopt for anything else.
std::optional<int32_t> ParseScriptNumber(std::string_view line);

// used * 100 / total rounded to the nearest integer, halves to the even one.
int32_t ScriptPercent(int64_t used, int64_t total);

// Applies `script` to the file `inputPath`, writing `outputPath` (created or
// truncated) through the line channel. `percent` is set to the share of the
// script used so far after every record, and the window may handle its
// messages once per record. True when every step went through; false on a
// file error, a number line that is not a number or a record cut short by the
// end of the script. Nothing is thrown; what reached the output file stays
// there, closed, for the caller to delete.
bool ApplyEditScript(const std::string& inputPath, const std::string& outputPath,
                     const std::vector<std::string>& script, int32_t& percent, MessagePump& host);

}  // namespace upd
