#pragma once
// A plain decoder of payloads, written from the format description alone for
// the encoder's tests: one bit at a time, codes looked up by (length, code),
// every rule checked, nothing shared with the updater's decoder. Besides the
// bytes it reports what the encoder chose, so tests can look at the code
// table and the tokens.

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace upd::testing {

struct ReferencePayload {
  std::array<int, 256> codeLength{};  // 0 for a symbol without a code
  int symbols = 0;                    // symbols with a code
  int tableBits = 0;                  // length of the code table in bits
  uint32_t tokenCount = 0;
  std::vector<uint8_t> tokens;
  std::vector<uint8_t> output;
  // Of the tokens:
  int literalRuns = 0;
  int fullLiteralRuns = 0;  // of 128 bytes
  int backReferences = 0;
  int overlappingCopies = 0;  // distance below the length
  int longestDistance = 0;
};

// Expands a token stream; throws std::runtime_error on a malformed one.
// Fills the token statistics of `into` and its output.
inline void ReferenceLzDecode(std::span<const uint8_t> tokens, ReferencePayload& into) {
  std::vector<uint8_t>& out = into.output;
  out.clear();
  for (size_t i = 0; i < tokens.size();) {
    const uint8_t b = tokens[i++];
    if (b & 0x80) {
      const size_t n = (b & 0x7F) + 1u;
      if (tokens.size() - i < n) throw std::runtime_error("literal run past the end of the tokens");
      out.insert(out.end(), tokens.begin() + static_cast<std::ptrdiff_t>(i),
                 tokens.begin() + static_cast<std::ptrdiff_t>(i + n));
      i += n;
      ++into.literalRuns;
      if (n == 128) ++into.fullLiteralRuns;
    } else {
      if (i >= tokens.size()) throw std::runtime_error("back-reference past the end of the tokens");
      const int k = ((b >> 4) & 7) + 3;
      const int d = (b & 0x0F) * 256 + tokens[i++];
      if (d == 0 || static_cast<size_t>(d) > out.size()) throw std::runtime_error("back-reference out of range");
      for (int j = 0; j < k; ++j) out.push_back(out[out.size() - static_cast<size_t>(d)]);
      ++into.backReferences;
      if (d < k) ++into.overlappingCopies;
      into.longestDistance = std::max(into.longestDistance, d);
    }
    if (out.size() > 2097152) throw std::runtime_error("output past 2 MiB");
  }
}

// Decodes a whole container; throws std::runtime_error when it breaks a rule
// of the format (fewer than two codes, a code that is the start of another,
// lengths beyond 16, a token count of 0, data that ends early or holds a bit
// sequence without a code).
inline ReferencePayload ReferenceDecode(std::span<const uint8_t> payload) {
  size_t byte = 0;
  int bit = 7;
  auto readBit = [&]() -> uint32_t {
    if (byte >= payload.size()) throw std::runtime_error("payload ends early");
    const uint32_t v = (payload[byte] >> bit) & 1u;
    if (--bit < 0) bit = 7, ++byte;
    return v;
  };
  auto readBits = [&](int n) {
    uint32_t v = 0;
    while (n-- > 0) v = v << 1 | readBit();
    return v;
  };

  ReferencePayload p;
  std::map<std::pair<int, uint32_t>, uint8_t> codes;  // (length, code) -> symbol
  for (int s = 0; s < 256; ++s) {
    ++p.tableBits;
    if (!readBit()) continue;
    int length = static_cast<int>(readBits(4));
    if (length == 0) length = 16;
    const uint32_t code = readBits(length);
    p.tableBits += 4 + length;
    p.codeLength[s] = length;
    ++p.symbols;
    if (!codes.emplace(std::pair{length, code}, static_cast<uint8_t>(s)).second)
      throw std::runtime_error("two symbols share a code");
  }
  if (p.symbols < 2) throw std::runtime_error("fewer than two codes");
  for (const auto& [a, sa] : codes)
    for (const auto& [b, sb] : codes)
      if (sa != sb && a.first <= b.first && (b.second >> (b.first - a.first)) == a.second)
        throw std::runtime_error("a code is the start of another");

  if (bit != 7) bit = 7, ++byte;
  if (payload.size() - byte < 4) throw std::runtime_error("payload ends inside the token count");
  p.tokenCount = uint32_t{payload[byte]} | uint32_t{payload[byte + 1]} << 8 | uint32_t{payload[byte + 2]} << 16 |
                 uint32_t{payload[byte + 3]} << 24;
  byte += 4;
  if (p.tokenCount == 0) throw std::runtime_error("token count 0");
  for (uint32_t t = 0; t < p.tokenCount; ++t) {
    uint32_t code = 0;
    for (int length = 1;; ++length) {
      if (length > 16) throw std::runtime_error("bits without a code");
      code = code << 1 | readBit();
      if (auto it = codes.find({length, code}); it != codes.end()) {
        p.tokens.push_back(it->second);
        break;
      }
    }
  }
  ReferenceLzDecode(p.tokens, p);
  return p;
}

}  // namespace upd::testing
