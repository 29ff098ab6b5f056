#pragma once
// Readable reference decoders, kept beside the fast ones as a control (in the
// spirit of zlib's puff): the prefix-code stage as a linear walk of the code
// table sorted by a bubble sort, and the LZ stage as a byte-at-a-time copy.
// They report the same faults as the decoder; a container the walk accepts
// must give the decoder's tokens exactly. Used by the tests and the fuzz
// targets.

#include <cstdint>
#include <span>
#include <vector>

#include "payload/decoder.h"

namespace upd::testing {

struct ReferenceResult {
  DecodeStatus status = DecodeStatus::Ok;
  std::vector<uint8_t> bytes;  // tokens or output; empty after a failure
};

inline ReferenceResult ReferenceHuffmanStage(std::span<const uint8_t> in) {
  size_t byte = 0;
  int unread = 8;
  // Appends one bit to `value`; false at the end of the container.
  auto read_bit = [&](uint32_t& value) {
    if (byte >= in.size()) return false;
    value = (value << 1) | ((in[byte] >> (unread - 1)) & 1u);
    if (--unread == 0) ++byte, unread = 8;
    return true;
  };
  auto read_bits = [&](int count, uint32_t& value) {
    value = 0;
    for (int i = 0; i < count; ++i)
      if (!read_bit(value)) return false;
    return true;
  };

  struct Entry {
    int length;
    uint32_t code;
    uint8_t symbol;
  };
  std::vector<Entry> table;
  for (int s = 0; s < 256; ++s) {
    uint32_t flag, field, code;
    if (!read_bits(1, flag)) return {DecodeStatus::CodeTableTruncated, {}};
    if (!flag) continue;
    if (!read_bits(4, field)) return {DecodeStatus::CodeTableTruncated, {}};
    int length = field == 0 ? 16 : static_cast<int>(field);
    if (!read_bits(length, code)) return {DecodeStatus::CodeTableTruncated, {}};
    table.push_back({length, code, static_cast<uint8_t>(s)});
  }
  if (table.size() < 2) return {DecodeStatus::TooFewSymbols, {}};
  for (size_t pass = 0; pass + 1 < table.size(); ++pass)
    for (size_t i = 0; i + 1 < table.size(); ++i)
      if (table[i].length > table[i + 1].length) std::swap(table[i], table[i + 1]);

  if (unread != 8) ++byte, unread = 8;
  if (byte > in.size() || in.size() - byte < 4) return {DecodeStatus::TokenCountTruncated, {}};
  uint32_t n = in[byte] | in[byte + 1] << 8 | in[byte + 2] << 16 | uint32_t{in[byte + 3]} << 24;
  byte += 4;
  if (n == 0) return {DecodeStatus::ZeroTokenCount, {}};
  // N codes of at least the shortest length must fit in what is left.
  if (uint64_t{n} * table[0].length > uint64_t{in.size() - byte} * 8) return {DecodeStatus::DataTruncated, {}};

  std::vector<uint8_t> tokens;
  for (uint32_t i = 0; i < n; ++i) {
    size_t e = 0;
    int current = table[0].length;
    uint32_t code;
    if (!read_bits(current, code)) return {DecodeStatus::DataTruncated, {}};
    for (;;) {
      if (table[e].code == code) {
        tokens.push_back(table[e].symbol);
        break;
      }
      if (++e == table.size()) return {DecodeStatus::InvalidCode, {}};
      for (; table[e].length > current; ++current)
        if (!read_bit(code)) return {DecodeStatus::DataTruncated, {}};
    }
  }
  return {DecodeStatus::Ok, tokens};
}

inline ReferenceResult ReferenceLzStage(std::span<const uint8_t> tokens, size_t limit = kPayloadOutputSize) {
  std::vector<uint8_t> out;
  size_t rp = 0;
  while (rp < tokens.size()) {
    uint8_t b = tokens[rp++];
    if (b >= 0x80) {
      size_t n = (b & 0x7Fu) + 1;
      if (n > tokens.size() - rp) return {DecodeStatus::TokenTruncated, {}};
      if (out.size() + n > limit) return {DecodeStatus::OutputTooLong, {}};
      for (size_t i = 0; i < n; ++i) out.push_back(tokens[rp++]);
    } else {
      if (rp == tokens.size()) return {DecodeStatus::TokenTruncated, {}};
      uint8_t c = tokens[rp++];
      size_t k = ((b >> 4) & 7u) + 3;
      size_t d = (b & 0x0Fu) * 256u + c;
      if (d == 0) return {DecodeStatus::ZeroDistance, {}};
      if (d > out.size()) return {DecodeStatus::DistanceTooFar, {}};
      if (out.size() + k > limit) return {DecodeStatus::OutputTooLong, {}};
      size_t source = out.size() - d;
      for (size_t i = 0; i < k; ++i) {
        uint8_t copied = out[source++];
        out.push_back(copied);
      }
    }
  }
  return {DecodeStatus::Ok, out};
}

}  // namespace upd::testing
