#pragma once
// The LZ stage of the payload encoder: turns a piece of a file into the token
// stream that the decoder's LZ stage expands, choosing the tokens that cost the
// fewest bits under a given price per token-stream byte value.
//
// Token stream: a literal run is the byte 0x80 | (n - 1) followed by n bytes
// (n = 1..128); a back-reference is ((k - 3) << 4) | (d >> 8) followed by
// d & 0xFF, copying k = 3..10 bytes from d = 1..4095 bytes back, one byte at a
// time (so d < k repeats the last d bytes).

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace upd {

inline constexpr int kLzMinMatch = 3;
inline constexpr int kLzMaxMatch = 10;
inline constexpr int kLzMaxDistance = 4095;
inline constexpr int kLzMaxLiteralRun = 128;

// Price of each token-stream byte value, in 1/kLzCostScale bits (capped at
// 24 bits by the parser).
inline constexpr int kLzCostScale = 16;
using SymbolCosts = std::array<uint32_t, 256>;

// Finds matches once for an input and then parses it as often as asked, each
// time with new prices. The parse is a shortest path over input positions:
// from each position, a literal run of every length 1..128 and a
// back-reference of every length 3..10 at its cheapest distance. It is exact
// for the given prices except that only so many earlier positions are examined
// per position (a run of one byte value counts once, however long).
class LzOptimalParser {
 public:
  // `input` (at most 2,097,152 bytes) must outlive the parser.
  explicit LzOptimalParser(std::span<const uint8_t> input);

  // The token stream of the cheapest parse under `costs`, looking at no more
  // than `maxChainVisits` earlier positions per position.
  std::vector<uint8_t> Parse(const SymbolCosts& costs, int maxChainVisits);

 private:
  class DistancePrices;

  uint32_t Key(size_t pos) const {
    return uint32_t{input_[pos]} << 16 | uint32_t{input_[pos + 1]} << 8 | input_[pos + 2];
  }
  int MatchLength(size_t earlier, size_t pos, int limit) const;
  // Fills best[k] (k = 3..limit) with the packed price of the cheapest
  // back-reference of length k at pos.
  void FindBestMatches(size_t pos, int limit, const DistancePrices& prices, int maxChainVisits, uint32_t* best) const;

  std::span<const uint8_t> input_;
  std::vector<int32_t> previous_;  // previous position with the same first three bytes' hash, or -1
  std::vector<uint32_t> runStart_;  // start of the run of equal bytes that holds each position
  std::vector<uint32_t> runEnd_;    // its end (exclusive)
};

}  // namespace upd
