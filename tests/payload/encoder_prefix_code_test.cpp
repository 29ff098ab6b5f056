// Length-limited prefix codes: the package-merge lengths against an
// exhaustive search on small alphabets, the limit on the most skewed
// weights, and the two-code minimum of the container.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

#include "payload/encoder_prefix_code.h"

namespace upd {
namespace {

// Kraft's sum scaled by 2^16: 65536 for a complete code.
uint64_t KraftSum(const CodeLengths& lengths) {
  uint64_t sum = 0;
  for (uint8_t l : lengths)
    if (l) sum += uint64_t{1} << (16 - l);
  return sum;
}

uint64_t Cost(const std::vector<uint64_t>& weights, const CodeLengths& lengths) {
  uint64_t cost = 0;
  for (size_t s = 0; s < weights.size(); ++s) cost += weights[s] * lengths[s];
  return cost;
}

// The cheapest cost over every assignment of lengths 1..limit that satisfies
// Kraft's inequality, tried one by one.
uint64_t ExhaustiveBest(const std::vector<uint64_t>& weights, int limit) {
  uint64_t best = UINT64_MAX;
  std::vector<int> lengths(weights.size(), 1);
  std::function<void(size_t, uint64_t, uint64_t)> search = [&](size_t i, uint64_t kraft, uint64_t cost) {
    if (kraft > (uint64_t{1} << limit)) return;
    if (i == weights.size()) {
      best = std::min(best, cost);
      return;
    }
    for (int l = 1; l <= limit; ++l) search(i + 1, kraft + (uint64_t{1} << (limit - l)), cost + weights[i] * l);
  };
  search(0, 0, 0);
  return best;
}

SymbolWeights ToWeights(const std::vector<uint64_t>& w) {
  SymbolWeights weights{};
  std::copy(w.begin(), w.end(), weights.begin());
  return weights;
}

std::vector<uint64_t> Fibonacci(int n) {
  std::vector<uint64_t> f = {1, 1};
  while (static_cast<int>(f.size()) < n) f.push_back(f[f.size() - 1] + f[f.size() - 2]);
  f.resize(n);
  return f;
}

struct SmallCase {
  std::vector<uint64_t> weights;
  int limit;
};

TEST(LengthLimitedCodeLengths, MatchesAnExhaustiveSearchOnSmallAlphabets) {
  const SmallCase cases[] = {
      {{1, 1}, 1},                                  // the smallest code
      {{5, 5, 5, 5, 5}, 3},                         // equal weights, not a power of two
      {{1, 2, 4, 8, 16, 32, 64, 128}, 4},           // unlimited depth 7, cut to 4
      {Fibonacci(8), 4},                            // the most skewed weights, tight limit
      {Fibonacci(8), 5},                            // ... looser
      {Fibonacci(8), 7},                            // ... not binding
      {{100, 1, 1, 1, 1, 1, 1, 1}, 3},              // the limit forces a flat code
      {{3, 1, 4, 1, 5, 9, 2, 6}, 4},                // mixed
      {{1000000, 1, 1000000, 1, 2, 1000000, 3}, 4}, // large and small together
  };
  for (const SmallCase& c : cases) {
    const CodeLengths lengths = LengthLimitedCodeLengths(ToWeights(c.weights), c.limit);
    EXPECT_EQ(Cost(c.weights, lengths), ExhaustiveBest(c.weights, c.limit)) << "limit " << c.limit;
    EXPECT_EQ(KraftSum(lengths), 65536u);
    for (size_t s = 0; s < c.weights.size(); ++s) {
      EXPECT_GE(lengths[s], 1);
      EXPECT_LE(lengths[s], c.limit);
    }
  }
}

TEST(LengthLimitedCodeLengths, HoldsFibonacciWeightsWithin16Bits) {
  // Without a limit these weights give a code of every length from 1 to 29.
  const std::vector<uint64_t> weights = Fibonacci(30);
  const CodeLengths lengths = LengthLimitedCodeLengths(ToWeights(weights));
  EXPECT_EQ(*std::max_element(lengths.begin(), lengths.end()), 16);
  EXPECT_EQ(KraftSum(lengths), 65536u);
  // Heavier symbols never get longer codes than lighter ones.
  for (size_t s = 1; s < weights.size(); ++s) EXPECT_LE(lengths[s], lengths[s - 1]);
}

TEST(LengthLimitedCodeLengths, GivesTwoCodesWhenFewerThanTwoSymbolsOccur) {
  struct Case {
    std::vector<int> used;  // symbols with weight 1
    std::vector<int> coded;
  };
  const Case cases[] = {
      {{}, {0, 1}},      // nothing occurs
      {{0}, {0, 1}},     // symbol 0 and a partner
      {{200}, {0, 200}}, // the partner is symbol 0
      {{0, 255}, {0, 255}},
  };
  for (const Case& c : cases) {
    SymbolWeights weights{};
    for (int s : c.used) weights[s] = 1;
    const CodeLengths lengths = LengthLimitedCodeLengths(weights);
    std::vector<int> coded;
    for (int s = 0; s < 256; ++s)
      if (lengths[s]) {
        coded.push_back(s);
        EXPECT_EQ(lengths[s], 1);
      }
    EXPECT_EQ(coded, c.coded);
  }
}

TEST(LengthLimitedCodeLengths, AllByteValuesAndImpossibleLimits) {
  SymbolWeights weights{};
  weights.fill(7);
  const CodeLengths lengths = LengthLimitedCodeLengths(weights, 8);
  EXPECT_TRUE(std::all_of(lengths.begin(), lengths.end(), [](uint8_t l) { return l == 8; }));
  EXPECT_THROW(LengthLimitedCodeLengths(weights, 7), std::invalid_argument);  // 256 codes need 8 bits
  EXPECT_THROW(LengthLimitedCodeLengths(weights, 0), std::invalid_argument);
  EXPECT_THROW(LengthLimitedCodeLengths(weights, 17), std::invalid_argument);  // the container stores up to 16
}

TEST(AssignPrefixCodes, NoCodeBeginsAnother) {
  const CodeLengths lengths = LengthLimitedCodeLengths(ToWeights(Fibonacci(40)));
  const auto codes = AssignPrefixCodes(lengths);
  for (int a = 0; a < 256; ++a) {
    if (!lengths[a]) continue;
    EXPECT_LT(codes[a], 1u << lengths[a]);
    for (int b = 0; b < 256; ++b) {
      if (b != a && lengths[b] && lengths[b] >= lengths[a]) {
        EXPECT_NE(codes[b] >> (lengths[b] - lengths[a]), codes[a]) << a << " begins " << b;
      }
    }
  }
}

}  // namespace
}  // namespace upd
