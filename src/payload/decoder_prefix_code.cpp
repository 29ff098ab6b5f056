// The prefix-code stage: container -> token stream.
//
// State: the bit reader (decoder.byte_index, decoder.bits_unread) walks the
// code table bit by bit; the data section is then read through a 64-bit
// window (`window`, holding `window_bits` valid bits at its top) and decoded
// by one lookup per code in decoder.lookup.
//
// The lookup table gives exactly what a linear walk of the sorted table gives:
// the first entry, in sorted order, whose code equals that many next bits.
// It is filled entry by entry in sorted order; an entry whose range of table
// slots already begins with an earlier entry is shadowed by it (the earlier
// code is a prefix of its code, or equal to it) and is left out, so each slot
// holds the first matching entry even when the stored codes are not a prefix
// code.

#include <algorithm>
#include <bit>
#include <cstring>

#include "payload/decoder.h"

namespace upd {
namespace {

constexpr int kSymbols = 256;
constexpr int kLengthFieldBits = 4;
constexpr int kMaxCodeLength = 16;  // a length field of 0
constexpr size_t kTokenCountBytes = 4;

// Reads `count` bits (at most 16) MSB-first into `value`; false when the
// container ends first.
bool ReadBits(PayloadDecoder& d, int count, uint32_t& value) {
  value = 0;
  for (int i = 0; i < count; ++i) {
    if (d.byte_index >= d.buffer.size()) return false;
    uint32_t bit = (d.buffer[d.byte_index] >> (d.bits_unread - 1)) & 1u;
    value = (value << 1) | bit;
    if (--d.bits_unread == 0) {
      ++d.byte_index;
      d.bits_unread = 8;
    }
  }
  return true;
}

DecodeStatus ReadCodeTable(PayloadDecoder& d) {
  std::array<uint8_t, kSymbols> length{};
  std::array<uint16_t, kSymbols> code{};
  int present = 0;
  for (int s = 0; s < kSymbols; ++s) {
    uint32_t flag, field, bits;
    if (!ReadBits(d, 1, flag)) return DecodeStatus::CodeTableTruncated;
    if (flag == 0) continue;
    if (!ReadBits(d, kLengthFieldBits, field)) return DecodeStatus::CodeTableTruncated;
    int len = field == 0 ? kMaxCodeLength : static_cast<int>(field);
    if (!ReadBits(d, len, bits)) return DecodeStatus::CodeTableTruncated;
    length[s] = static_cast<uint8_t>(len);
    code[s] = static_cast<uint16_t>(bits);
    ++present;
  }
  if (present < 2) return DecodeStatus::TooFewSymbols;

  // Sorted by length, shortest first; taking the symbols in ascending order
  // for each length keeps equal lengths in symbol order (a stable sort).
  d.entry_count = 0;
  for (int len = 1; len <= kMaxCodeLength; ++len)
    for (int s = 0; s < kSymbols; ++s)
      if (length[s] == len) {
        d.code_length[d.entry_count] = static_cast<uint8_t>(len);
        d.code[d.entry_count] = code[s];
        d.symbol[d.entry_count] = static_cast<uint8_t>(s);
        ++d.entry_count;
      }
  return DecodeStatus::Ok;
}

// Slot value: symbol in the high byte, code length in the low byte (0 = no
// entry); the length comes first in the chain from one code to the next.
void BuildLookup(PayloadDecoder& d) {
  int max_len = d.code_length[d.entry_count - 1];
  d.max_length = max_len;
  d.lookup.assign(size_t{1} << max_len, 0);
  for (int i = 0; i < d.entry_count; ++i) {
    int len = d.code_length[i];
    size_t first = size_t{d.code[i]} << (max_len - len);
    size_t span = size_t{1} << (max_len - len);
    if (d.lookup[first] != 0) continue;  // shadowed by an earlier entry
    uint16_t value = static_cast<uint16_t>(d.symbol[i] << 8 | len);
    std::fill_n(d.lookup.begin() + static_cast<ptrdiff_t>(first), span, value);
  }
}

inline uint64_t LoadBigEndian64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  return v;
}

DecodeStatus DecodeData(PayloadDecoder& d) {
  const uint8_t* const begin = d.buffer.data();
  const uint8_t* const end = begin + d.buffer.size();
  const uint8_t* p = begin + d.byte_index;
  const uint16_t* const lookup = d.lookup.data();
  const int max_len = d.max_length;
  const int shift = 64 - max_len;
  uint8_t* out = d.tokens.data();
  const uint32_t n = d.token_count;

  uint64_t window = 0;  // next bits at the top; the bits below window_bits are zero or already-loaded bits
  int window_bits = 0;
  uint32_t i = 0;

  // Fast part: eight bytes can be loaded, so after a refill the window holds at
  // least 56 bits, enough for three codes of up to 16 bits.
  while (n - i >= 3 && end - p >= 8) {
    window |= LoadBigEndian64(p) >> window_bits;
    p += (63 - window_bits) >> 3;
    window_bits |= 56;
    for (int k = 0; k < 3; ++k) {
      uint16_t slot = lookup[window >> shift];
      int len = slot & 0xFF;
      if (len == 0) return DecodeStatus::InvalidCode;
      out[i++] = static_cast<uint8_t>(slot >> 8);
      window <<= len;
      window_bits -= len;
    }
  }

  // Tail: byte-wise refills and every bound checked.
  while (i < n) {
    while (window_bits <= 56 && p < end) {
      window |= uint64_t{*p++} << (56 - window_bits);
      window_bits += 8;
    }
    uint16_t slot = lookup[window >> shift];
    int len = slot & 0xFF;
    if (len == 0 || len > window_bits) {
      // With a full window no entry matches. With fewer bits left than the
      // longest code, the shorter entries did not match either, and a walk of
      // the table would run out of data before trying the longer ones.
      return window_bits >= max_len ? DecodeStatus::InvalidCode : DecodeStatus::DataTruncated;
    }
    out[i++] = static_cast<uint8_t>(slot >> 8);
    window <<= len;
    window_bits -= len;
  }

  // Leave the bit reader after the last code.
  size_t consumed_bits = static_cast<size_t>(p - begin) * 8 - static_cast<size_t>(window_bits);
  d.byte_index = consumed_bits / 8;
  d.bits_unread = 8 - static_cast<int>(consumed_bits % 8);
  return DecodeStatus::Ok;
}

DecodeStatus Run(PayloadDecoder& d) {
  d.byte_index = 0;
  d.bits_unread = 8;
  d.entry_count = 0;
  d.tokens.clear();
  d.token_count = 0;

  if (DecodeStatus s = ReadCodeTable(d); s != DecodeStatus::Ok) return s;

  // The token count starts at the next byte boundary.
  if (d.bits_unread != 8) {
    ++d.byte_index;
    d.bits_unread = 8;
  }
  if (d.buffer.size() < d.byte_index || d.buffer.size() - d.byte_index < kTokenCountBytes)
    return DecodeStatus::TokenCountTruncated;
  const uint8_t* c = d.buffer.data() + d.byte_index;
  uint32_t n = uint32_t{c[0]} | uint32_t{c[1]} << 8 | uint32_t{c[2]} << 16 | uint32_t{c[3]} << 24;
  d.byte_index += kTokenCountBytes;
  if (n == 0) return DecodeStatus::ZeroTokenCount;

  // Every code takes at least the shortest length: a count that cannot fit in
  // the rest of the container is refused before the token buffer is sized.
  uint64_t available_bits = uint64_t{d.buffer.size() - d.byte_index} * 8;
  if (uint64_t{n} * d.code_length[0] > available_bits) return DecodeStatus::DataTruncated;

  d.token_count = n;
  d.tokens.resize(n);
  BuildLookup(d);
  return DecodeData(d);
}

}  // namespace

DecodeStatus DecodeHuffmanStage(PayloadDecoder& decoder) {
  decoder.status = Run(decoder);
  if (decoder.status != DecodeStatus::Ok) {
    decoder.tokens.clear();
    decoder.token_count = 0;
  }
  return decoder.status;
}

}  // namespace upd
