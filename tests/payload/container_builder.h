#pragma once
// Builds payload containers field by field for the tests, independently of
// the encoder: a bit writer (most significant bit first), the code table, the
// token count and the data, so that malformed containers can be made one
// field at a time.

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace upd::testing {

class BitWriter {
 public:
  void Bit(uint32_t bit) {
    if (used_ == 8) bytes_.push_back(0), used_ = 0;
    if (bit & 1) bytes_.back() |= static_cast<uint8_t>(0x80u >> used_);
    ++used_;
  }
  // `count` bits of `value`, most significant first.
  void Bits(uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) Bit(value >> i);
  }
  // Fills the rest of the current byte with `fill` bits (the padding).
  void Pad(uint32_t fill = 0) {
    while (used_ != 8) Bit(fill);
  }
  void Byte(uint8_t b) {
    Pad();
    bytes_.push_back(b);
  }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>(v >> (8 * i)));
  }
  size_t BitCount() const { return bytes_.size() * 8 - (8 - used_); }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  int used_ = 8;  // bits used of the last byte
};

struct Code {
  int length;  // 1..16; 16 is stored as a length field of 0
  uint32_t bits;
};
// Symbol -> code; symbols not in the map are absent.
using CodeTable = std::map<int, Code>;

inline void WriteCodeTable(BitWriter& w, const CodeTable& table) {
  for (int s = 0; s < 256; ++s) {
    auto it = table.find(s);
    w.Bit(it != table.end());
    if (it == table.end()) continue;
    w.Bits(it->second.length == 16 ? 0 : it->second.length, 4);
    w.Bits(it->second.bits, it->second.length);
  }
}

// A whole container: the table, padding of `pad_fill` bits, the token count
// (the number of symbols unless `count` is given) and the symbols' codes.
inline std::vector<uint8_t> MakeContainer(const CodeTable& table, const std::vector<int>& symbols,
                                          int64_t count = -1, uint32_t pad_fill = 0) {
  BitWriter w;
  WriteCodeTable(w, table);
  w.Pad(pad_fill);
  w.U32(count < 0 ? static_cast<uint32_t>(symbols.size()) : static_cast<uint32_t>(count));
  for (int s : symbols) w.Bits(table.at(s).bits, table.at(s).length);
  return w.Bytes();
}

// Every byte value with the 8-bit code equal to itself.
inline CodeTable IdentityTable() {
  CodeTable t;
  for (int s = 0; s < 256; ++s) t[s] = {8, static_cast<uint32_t>(s)};
  return t;
}

// A token stream of literal runs only.
inline std::vector<uint8_t> LiteralTokens(const std::string& bytes) {
  std::vector<uint8_t> tokens;
  for (size_t at = 0; at < bytes.size(); at += 128) {
    size_t n = std::min<size_t>(128, bytes.size() - at);
    tokens.push_back(static_cast<uint8_t>(0x80 | (n - 1)));
    tokens.insert(tokens.end(), bytes.begin() + static_cast<ptrdiff_t>(at),
                  bytes.begin() + static_cast<ptrdiff_t>(at + n));
  }
  return tokens;
}

// A valid payload that decodes to `bytes` (at least 1 byte): literal runs
// under the identity code.
inline std::vector<uint8_t> PlainPayload(const std::string& bytes) {
  std::vector<uint8_t> tokens = LiteralTokens(bytes);
  return MakeContainer(IdentityTable(), std::vector<int>(tokens.begin(), tokens.end()));
}

}  // namespace upd::testing
