#pragma once
// REGEDIT4 files for `reg import`: the release tools record values the way the
// product's installer stores them, for the demo and the tests. The updater
// itself never writes the registry.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace upd {

struct RegFileValue {
  std::string name;
  bool isDword = false;
  std::string text;  // a string value's bytes in the ANSI code page, without terminator
  uint32_t number = 0;
};

struct RegFileKey {
  std::string path;  // with its hive: "HKEY_CURRENT_USER\SOFTWARE\..."
  std::vector<RegFileValue> values;
};

// The file's text, lines ending in CR LF. A string of printable ASCII is
// written quoted; any other string as hex(1) bytes with the terminating zero,
// so that `reg import` stores exactly those bytes. Names are always quoted: a
// name with a control byte or a zero cannot be written, and gives nullopt with
// `error` saying why.
std::optional<std::string> MakeRegFile(const RegFileKey& key, std::string& error);

}  // namespace upd
