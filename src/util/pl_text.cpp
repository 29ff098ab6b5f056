#include "util/pl_text.h"

namespace upd {
namespace {

// Lower-case map of code page 1250. Only the listed capitals fold. 0xD7 (the
// multiplication sign) and 0xDF (sharp s) have no capital form here; 0xBC
// (capital L with caron) is deliberately left unfolded, so texts compared after
// folding must be folded by this same map.
constexpr std::array<unsigned char, 256> MakeLowerTable() {
  std::array<unsigned char, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = static_cast<unsigned char>(c);
  for (int c = 0x41; c <= 0x5A; ++c) t[c] = static_cast<unsigned char>(c + 0x20);  // A-Z
  t[0x8A] = 0x9A;  // S caron
  t[0x8C] = 0x9C;  // S acute
  t[0x8D] = 0x9D;  // T caron
  t[0x8E] = 0x9E;  // Z caron
  t[0x8F] = 0x9F;  // Z acute
  t[0xA3] = 0xB3;  // L stroke
  t[0xA5] = 0xB9;  // A ogonek
  t[0xAA] = 0xBA;  // S cedilla
  t[0xAF] = 0xBF;  // Z dot
  for (int c = 0xC0; c <= 0xD6; ++c) t[c] = static_cast<unsigned char>(c + 0x20);
  for (int c = 0xD8; c <= 0xDE; ++c) t[c] = static_cast<unsigned char>(c + 0x20);
  return t;
}

constexpr std::array<unsigned char, 256> kLower = MakeLowerTable();

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

unsigned char LowerCharPl(unsigned char c) { return kLower[c]; }

std::string LowerCasePl(const std::string& s) {
  std::string out = s;
  for (char& c : out) c = static_cast<char>(LowerCharPl(static_cast<unsigned char>(c)));
  return out;
}

std::string StripTrailingDigits(const std::string& s) {
  size_t length = s.size();
  // The first character always stays, digit or not.
  while (length > 1 && IsDigit(s[length - 1])) --length;
  return s.substr(0, length);
}

bool IsInTagList(const std::string& name, const std::string& list, bool ignoreCase, bool stripDigits) {
  std::string n = stripDigits ? StripTrailingDigits(name) : name;
  std::string l = list;
  if (ignoreCase) {
    n = LowerCasePl(n);
    l = LowerCasePl(l);
  }
  return l.find("<" + n + ">") != std::string::npos;
}

std::string DropLastChars(const std::string& s, int32_t n) {
  int64_t keep = static_cast<int64_t>(s.size()) - n;
  if (keep <= 0) return {};
  // A negative n asks for more than there is: the whole string.
  return s.substr(0, static_cast<size_t>(keep));
}

bool InRange64(int64_t value, int64_t min, int64_t max) { return min <= value && value <= max; }

bool CharInSetAt(const TCharSet& set, const std::string& s, int32_t pos) {
  return InRange64(pos, 1, static_cast<int64_t>(s.size())) && set.Has(static_cast<unsigned char>(s[pos - 1]));
}

bool ScanToCharInSet(const std::string& s, int32_t& pos, const TCharSet& set, bool backwards) {
  if (pos <= 0) return false;
  const int64_t length = static_cast<int64_t>(s.size());
  while (InRange64(pos, 1, length) && !set.Has(static_cast<unsigned char>(s[pos - 1]))) pos += backwards ? -1 : 1;
  return InRange64(pos, 1, length);
}

}  // namespace upd
