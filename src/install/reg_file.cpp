#include "install/reg_file.h"

#include <cstdio>

namespace upd {
namespace {

bool PrintableAscii(const std::string& s) {
  for (unsigned char c : s)
    if (c < 0x20 || c > 0x7E) return false;
  return true;
}

// Inside quotes only the backslash and the quote are escaped.
std::string Quoted(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

// hex(1):41,42,00 with the line continued as regedit does it ("," + "\" at the
// end of a line, two spaces at the start of the next) to stay within 80 columns.
std::string HexString(const std::string& prefix, const std::string& bytes) {
  std::string out = prefix + "hex(1):";
  size_t column = out.size();
  std::string data = bytes;
  data += '\0';
  for (size_t i = 0; i < data.size(); ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(data[i]));
    out += byte;
    column += 2;
    if (i + 1 == data.size()) break;
    out += ',';
    ++column;
    if (column >= 76) {
      out += "\\\r\n  ";
      column = 2;
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> MakeRegFile(const RegFileKey& key, std::string& error) {
  std::string out = "REGEDIT4\r\n\r\n[" + key.path + "]\r\n";
  for (const RegFileValue& v : key.values) {
    for (unsigned char c : v.name)
      if (c < 0x20) {
        error = "a value name with control bytes cannot be written in a .reg file";
        return std::nullopt;
      }
    const std::string name = Quoted(v.name) + "=";
    if (v.isDword) {
      char number[16];
      std::snprintf(number, sizeof number, "dword:%08x", static_cast<unsigned>(v.number));
      out += name + number;
    } else if (PrintableAscii(v.text)) {
      out += name + Quoted(v.text);
    } else {
      out += HexString(name, v.text);
    }
    out += "\r\n";
  }
  return out + "\r\n";
}

}  // namespace upd
