// Optimal parse of the LZ stage. Three parts:
//
// - Match finding. Hash chains over the first three bytes of every position
//   list the earlier positions in descending order. Runs of one byte value
//   (zero padding above all) would make those chains as long as the window, so
//   a position that starts with three equal bytes b treats each earlier run of
//   b as a whole: every start inside it far enough from its end matches for the
//   same length, which makes one interval of distances; only the last few
//   starts of the run are compared one by one.
// - Distance prices. A back-reference of length k and distance d costs the
//   price of ((k - 3) << 4) | (d >> 8) plus the price of d & 0xFF, so prices do
//   not grow with the distance. For every k a range-minimum table over d
//   (sparse table, O(1) per interval) gives the cheapest distance of an
//   interval; single distances are priced directly.
// - The shortest path. cost[j] is the cheapest coding of the first j bytes.
//   Back-references are pushed forward from each position; literal runs are
//   pulled: a run of n bytes ending at j costs the run byte's price plus the
//   prices of its n bytes, so with P the prefix sums of literal prices and
//   g[i] = cost[i] - P[i], cost[j] = P[j] + min over n = 1..128 of
//   (g[j - n] + price(0x80 | (n - 1))), a fixed-length loop the compiler
//   vectorises. Consecutive runs are just consecutive steps of the path, so
//   splitting long literal stretches is optimal too.

#include "payload/encoder_lz_parse.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace upd {
namespace {

constexpr int kHashBits = 17;
constexpr uint32_t kNoPrice = std::numeric_limits<uint32_t>::max();
constexpr int kDistanceBits = 12;  // a packed price is (cost << 12) | distance
constexpr int kLevels = 12;        // sparse table levels: intervals up to 2^11 long are covered twice
constexpr int kLengths = kLzMaxMatch - kLzMinMatch + 1;
// Prices are capped at 24 bits a symbol, so a path through 2 MiB costs at most
// about 2^21 * 24 * 16 * 129 / 128 < 2^30, and a sum of a path cost and a few
// prices never reaches kUnreached, let alone overflows.
constexpr uint32_t kMaxSymbolPrice = 24 * kLzCostScale;
constexpr int32_t kUnreached = std::numeric_limits<int32_t>::max() - 4096;

uint32_t Hash(uint32_t key) { return (key * 2654435761u) >> (32 - kHashBits); }

// A step of the path ending at a position: a literal run (kRunFlag | n) or a
// back-reference (k << 12 | d).
constexpr uint32_t kRunFlag = 0x80000000u;

}  // namespace

// Packed prices of every back-reference (k, d) under one set of symbol prices,
// with range minima over distances for each length.
class LzOptimalParser::DistancePrices {
 public:
  explicit DistancePrices(const SymbolCosts& costs)
      : table_(size_t{kLevels} * kLengths * kStride, kNoPrice), byDistance_(kStride * kLengths, kNoPrice) {
    for (int k = kLzMinMatch; k <= kLzMaxMatch; ++k) {
      uint32_t* row = Row(0, k);
      for (int d = 1; d <= kLzMaxDistance; ++d) {
        uint32_t price = costs[((k - kLzMinMatch) << 4) | (d >> 8)] + costs[d & 0xFF];
        row[d] = price << kDistanceBits | static_cast<uint32_t>(d);
        byDistance_[d * kLengths + (k - kLzMinMatch)] = row[d];
      }
      for (int level = 1; level < kLevels; ++level) {
        const uint32_t* below = Row(level - 1, k);
        uint32_t* out = Row(level, k);
        const int half = 1 << (level - 1);
        for (int d = 1; d + 2 * half - 1 <= kLzMaxDistance; ++d) out[d] = std::min(below[d], below[d + half]);
      }
    }
  }

  // Packed prices of lengths 3..10 at distance d, side by side.
  const uint32_t* AtDistance(int d) const { return &byDistance_[static_cast<size_t>(d) * kLengths]; }

  // The cheapest packed price of length k over distances lo..hi (lo <= hi).
  uint32_t RangeMin(int k, int lo, int hi) const {
    const int level = std::bit_width(static_cast<unsigned>(hi - lo + 1)) - 1;
    const uint32_t* row = Row(level, k);
    return std::min(row[lo], row[hi - (1 << level) + 1]);
  }

 private:
  static constexpr size_t kStride = kLzMaxDistance + 1;
  static size_t RowStart(int level, int k) {
    return (static_cast<size_t>(level) * kLengths + (k - kLzMinMatch)) * kStride;
  }
  uint32_t* Row(int level, int k) { return &table_[RowStart(level, k)]; }
  const uint32_t* Row(int level, int k) const { return &table_[RowStart(level, k)]; }

  std::vector<uint32_t> table_;       // [level][k][d]: minimum over d .. d + 2^level - 1
  std::vector<uint32_t> byDistance_;  // [d][k], level 0 again, for single distances
};

LzOptimalParser::LzOptimalParser(std::span<const uint8_t> input) : input_(input) {
  const size_t n = input.size();
  previous_.assign(n, -1);
  if (n >= 3) {
    std::vector<int32_t> head(size_t{1} << kHashBits, -1);
    for (size_t i = 0; i + 3 <= n; ++i) {
      uint32_t h = Hash(Key(i));
      previous_[i] = head[h];
      head[h] = static_cast<int32_t>(i);
    }
  }
  runStart_.resize(n);
  runEnd_.resize(n);
  for (size_t s = 0; s < n;) {
    size_t e = s + 1;
    while (e < n && input[e] == input[s]) ++e;
    for (size_t i = s; i < e; ++i) {
      runStart_[i] = static_cast<uint32_t>(s);
      runEnd_[i] = static_cast<uint32_t>(e);
    }
    s = e;
  }
}

int LzOptimalParser::MatchLength(size_t earlier, size_t pos, int limit) const {
  int len = 0;
  if (limit >= 8) {
    uint64_t a, b;
    std::memcpy(&a, &input_[earlier], 8);
    std::memcpy(&b, &input_[pos], 8);
    if (a != b) {
      const uint64_t diff = a ^ b;
      return std::endian::native == std::endian::little ? std::countr_zero(diff) / 8 : std::countl_zero(diff) / 8;
    }
    len = 8;
  }
  while (len < limit && input_[earlier + len] == input_[pos + len]) ++len;
  return len;
}

void LzOptimalParser::FindBestMatches(size_t pos, int limit, const DistancePrices& prices, int maxChainVisits,
                                      uint32_t* best) const {
  std::fill(best + kLzMinMatch, best + limit + 1, kNoPrice);
  auto single = [&](size_t earlier) {
    const int len = MatchLength(earlier, pos, limit);
    const int d = static_cast<int>(pos - earlier);
    const uint32_t* price = prices.AtDistance(d) - kLzMinMatch;
    for (int k = kLzMinMatch; k <= len; ++k) best[k] = std::min(best[k], price[k]);
  };
  auto interval = [&](size_t lo, size_t hi, int len) {
    hi = std::min<size_t>(hi, kLzMaxDistance);
    if (lo > hi) return;
    for (int k = kLzMinMatch; k <= len; ++k)
      best[k] = std::min(best[k], prices.RangeMin(k, static_cast<int>(lo), static_cast<int>(hi)));
  };
  const size_t windowStart = pos > static_cast<size_t>(kLzMaxDistance) ? pos - kLzMaxDistance : 0;
  const uint32_t key = Key(pos);
  int visits = 0;

  if (runEnd_[pos] - pos < 3) {
    for (int32_t p = previous_[pos]; p >= 0 && static_cast<size_t>(p) >= windowStart && visits < maxChainVisits;
         p = previous_[p], ++visits) {
      if (Key(p) == key) single(p);
    }
    return;
  }

  // pos starts with at least three copies of one byte b. Within its own run,
  // every earlier start matches for the rest of the run (capped at the
  // longest length): distances 1..pos - start.
  const int runLength = static_cast<int>(std::min<size_t>(kLzMaxMatch, runEnd_[pos] - pos));
  interval(1, pos - runStart_[pos], runLength);
  for (int32_t p = previous_[runStart_[pos]];
       p >= 0 && static_cast<size_t>(p) >= windowStart && visits < maxChainVisits; ++visits) {
    if (Key(p) != key) {
      p = previous_[p];
      continue;
    }
    // p lies in an earlier run [s, e) of b (the chain reaches it at its last
    // start e - 3, and leaves it at the position before s). Starts at least
    // runLength + 1 before e match for exactly runLength bytes (the earlier
    // run outlasts this one, or both reach the longest length); the starts
    // after them are compared one by one.
    const size_t s = runStart_[p];
    const size_t e = runEnd_[p];
    const size_t firstSingle = e - s > static_cast<size_t>(runLength) ? e - runLength : s;
    if (firstSingle > s && firstSingle - 1 >= windowStart)
      interval(pos - (firstSingle - 1), pos - std::max(s, windowStart), runLength);
    for (size_t q = std::max(firstSingle, windowStart); q + 3 <= e; ++q) single(q);
    p = previous_[s];
  }
}

std::vector<uint8_t> LzOptimalParser::Parse(const SymbolCosts& uncappedCosts, int maxChainVisits) {
  const size_t n = input_.size();
  SymbolCosts costs;
  for (int s = 0; s < 256; ++s) costs[s] = std::min(uncappedCosts[s], kMaxSymbolPrice);
  const DistancePrices prices(costs);

  // runPrice[t] is the price of the run byte for a run of 128 - t bytes, so
  // that the pull loop below walks g and runPrice in the same direction.
  std::array<int32_t, kLzMaxLiteralRun> runPrice;
  for (int t = 0; t < kLzMaxLiteralRun; ++t) runPrice[t] = static_cast<int32_t>(costs[0x80 | (kLzMaxLiteralRun - 1 - t)]);

  std::vector<int32_t> literalPrefix(n + 1, 0);
  for (size_t i = 0; i < n; ++i) literalPrefix[i + 1] = literalPrefix[i] + static_cast<int32_t>(costs[input_[i]]);

  std::vector<int32_t> cost(n + 1, kUnreached);
  std::vector<uint32_t> step(n + 1, 0);
  // g[kLzMaxLiteralRun + i] = cost[i] - literalPrefix[i]; the leading entries
  // stand for positions before the input and never win.
  std::vector<int32_t> g(n + 1 + kLzMaxLiteralRun, kUnreached);
  uint32_t best[kLzMaxMatch + 1];

  cost[0] = 0;
  g[kLzMaxLiteralRun] = 0;
  for (size_t j = 0; j <= n; ++j) {
    if (j > 0) {
      const int32_t* window = &g[j];  // window[t] = g of position j - 128 + t
      int32_t runBest = kUnreached;
      for (int t = 0; t < kLzMaxLiteralRun; ++t) runBest = std::min(runBest, window[t] + runPrice[t]);
      const int32_t viaRun = runBest + literalPrefix[j];
      if (viaRun < cost[j]) {
        int t = kLzMaxLiteralRun - 1;
        while (window[t] + runPrice[t] != runBest) --t;  // the shortest run of that price
        cost[j] = viaRun;
        step[j] = kRunFlag | static_cast<uint32_t>(kLzMaxLiteralRun - t);
      }
      g[kLzMaxLiteralRun + j] = cost[j] - literalPrefix[j];
    }
    const int limit = static_cast<int>(std::min<size_t>(kLzMaxMatch, n - j));
    if (limit < kLzMinMatch) continue;
    FindBestMatches(j, limit, prices, maxChainVisits, best);
    for (int k = kLzMinMatch; k <= limit; ++k) {
      if (best[k] == kNoPrice) continue;
      const int32_t c = cost[j] + static_cast<int32_t>(best[k] >> kDistanceBits);
      if (c < cost[j + k]) {
        cost[j + k] = c;
        step[j + k] = static_cast<uint32_t>(k) << kDistanceBits | (best[k] & ((1u << kDistanceBits) - 1));
      }
    }
  }

  // Walk the path back from the end, then write its tokens in order.
  std::vector<uint32_t> path;
  for (size_t j = n; j > 0;) {
    path.push_back(step[j]);
    j -= (step[j] & kRunFlag) ? (step[j] & ~kRunFlag) : (step[j] >> kDistanceBits);
  }
  std::vector<uint8_t> tokens;
  tokens.reserve(n + n / 64 + 16);
  size_t pos = 0;
  for (auto it = path.rbegin(); it != path.rend(); ++it) {
    if (*it & kRunFlag) {
      const size_t len = *it & ~kRunFlag;
      tokens.push_back(static_cast<uint8_t>(0x80 | (len - 1)));
      tokens.insert(tokens.end(), input_.begin() + pos, input_.begin() + pos + len);
      pos += len;
    } else {
      const uint32_t k = *it >> kDistanceBits;
      const uint32_t d = *it & ((1u << kDistanceBits) - 1);
      tokens.push_back(static_cast<uint8_t>(((k - kLzMinMatch) << 4) | (d >> 8)));
      tokens.push_back(static_cast<uint8_t>(d & 0xFF));
      pos += k;
    }
  }
  return tokens;
}

}  // namespace upd
