// The LZ stage: token stream -> file piece.
//
// State: the read position in decoder.tokens and the output count in
// decoder.buffer. Each token is checked whole before any of its bytes is
// copied: its bytes must lie inside the token stream, a back-reference must
// reach into the output already written, and the output must stay inside the
// buffer. Back-references copy one byte at a time in the order of the format;
// where source and destination cannot overlap the same bytes are moved in one
// block, which gives the same result.

#include <algorithm>
#include <cstring>

#include "payload/decoder.h"

namespace upd {
namespace {

constexpr uint8_t kLiteralFlag = 0x80;
constexpr size_t kMinMatch = 3;
constexpr size_t kWideCopy = 16;  // covers every back-reference (at most 10 bytes) and short runs

DecodeStatus Run(PayloadDecoder& d) {
  const uint8_t* const tokens = d.tokens.data();
  const size_t n = std::min<size_t>(d.token_count, d.tokens.size());
  uint8_t* const out = d.buffer.data();
  const size_t capacity = std::min(d.buffer.size(), kPayloadOutputSize);
  size_t rp = 0;
  size_t count = 0;

  while (rp < n) {
    const uint8_t b = tokens[rp++];
    if (b & kLiteralFlag) {
      size_t length = size_t{b & 0x7Fu} + 1;
      if (length > n - rp) return DecodeStatus::TokenTruncated;
      if (length > capacity - count) return DecodeStatus::OutputTooLong;
      if (length <= kWideCopy && n - rp >= kWideCopy && capacity - count >= kWideCopy)
        std::memcpy(out + count, tokens + rp, kWideCopy);  // short runs: one fixed-size copy
      else
        std::memcpy(out + count, tokens + rp, length);
      rp += length;
      count += length;
    } else {
      if (rp == n) return DecodeStatus::TokenTruncated;
      size_t distance = size_t{b & 0x0Fu} << 8 | tokens[rp++];
      size_t length = ((b >> 4) & 7u) + kMinMatch;
      if (distance == 0) return DecodeStatus::ZeroDistance;
      if (distance > count) return DecodeStatus::DistanceTooFar;
      if (length > capacity - count) return DecodeStatus::OutputTooLong;
      uint8_t* dst = out + count;
      const uint8_t* src = dst - distance;
      if (distance >= kWideCopy && capacity - count >= kWideCopy) {
        // Disjoint: the bytes past `length` are overwritten by later tokens
        // or lie beyond the output count.
        std::memcpy(dst, src, kWideCopy);
      } else {
        for (size_t j = 0; j < length; ++j) dst[j] = src[j];
      }
      count += length;
    }
  }
  d.output_count = count;
  return DecodeStatus::Ok;
}

}  // namespace

DecodeStatus DecodeLzStage(PayloadDecoder& decoder) {
  decoder.output_count = 0;
  decoder.status = Run(decoder);
  return decoder.status;
}

}  // namespace upd
