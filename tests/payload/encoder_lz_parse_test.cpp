// The LZ stage of the encoder: its parse must be the cheapest under the
// prices it is given. A slow search over every position, every run length
// and every distance of the window is the measure; inputs with runs of one
// byte value exercise the shortcut that treats a run's starts as one interval
// of distances.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "encoder_reference_decoder.h"
#include "payload/encoder_lz_parse.h"

namespace upd {
namespace {

constexpr int kEveryCandidate = 1 << 30;

// The cheapest token stream's price under each set of prices, found by
// trying every token at every position.
std::vector<uint64_t> CheapestParses(const std::vector<uint8_t>& in, const std::vector<SymbolCosts>& prices) {
  const size_t n = in.size();
  std::vector<std::vector<uint64_t>> best(prices.size(), std::vector<uint64_t>(n + 1, UINT64_MAX));
  for (auto& b : best) b[0] = 0;
  for (size_t i = 0; i < n; ++i) {
    for (size_t p = 0; p < prices.size(); ++p) {
      uint64_t literals = 0;
      for (size_t len = 1; len <= 128 && i + len <= n; ++len) {
        literals += prices[p][in[i + len - 1]];
        best[p][i + len] = std::min(best[p][i + len], best[p][i] + prices[p][0x80 | (len - 1)] + literals);
      }
    }
    for (size_t d = 1; d <= std::min<size_t>(i, 4095); ++d) {
      size_t len = 0;
      while (len < 10 && i + len < n && in[i + len - d] == in[i + len]) ++len;
      for (size_t k = 3; k <= len; ++k)
        for (size_t p = 0; p < prices.size(); ++p)
          best[p][i + k] = std::min(best[p][i + k], best[p][i] + prices[p][((k - 3) << 4) | (d >> 8)] + prices[p][d & 0xFF]);
    }
  }
  std::vector<uint64_t> result;
  for (const auto& b : best) result.push_back(b[n]);
  return result;
}

uint64_t PriceOf(const std::vector<uint8_t>& tokens, const SymbolCosts& price) {
  uint64_t total = 0;
  for (uint8_t t : tokens) total += price[t];
  return total;
}

uint32_t Next(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 16;
}

// Runs of several lengths and byte values between short random stretches,
// the same values recurring so that earlier runs are candidates.
std::vector<uint8_t> Runs(uint32_t seed, size_t n) {
  std::vector<uint8_t> v;
  while (v.size() < n) {
    const uint8_t value = static_cast<uint8_t>(Next(seed) % 3 * 0x41);
    v.insert(v.end(), Next(seed) % 40 + 1, value);
    for (uint32_t i = Next(seed) % 6; i > 0; --i) v.push_back(static_cast<uint8_t>(Next(seed)));
  }
  v.resize(n);
  return v;
}

std::vector<uint8_t> Periodic(std::string_view pattern, size_t n) {
  std::vector<uint8_t> v;
  while (v.size() < n) v.insert(v.end(), pattern.begin(), pattern.end());
  v.resize(n);
  return v;
}

std::vector<uint8_t> Mixed(uint32_t seed, size_t n) {
  std::vector<uint8_t> v;
  while (v.size() < n) {
    const uint32_t kind = Next(seed) % 3;
    const size_t len = Next(seed) % 60 + 1;
    if (kind == 0 || v.size() < 20) {
      for (size_t i = 0; i < len; ++i) v.push_back(static_cast<uint8_t>("abcde"[Next(seed) % 5]));
    } else if (kind == 1) {
      const size_t from = v.size() - 1 - Next(seed) % std::min<size_t>(v.size() - 1, 5000);
      for (size_t i = 0; i < len; ++i) v.push_back(v[from + i]);
    } else {
      v.insert(v.end(), len, 0);
    }
  }
  v.resize(n);
  return v;
}

struct ParseCase {
  const char* name;
  std::vector<uint8_t> input;
};

std::vector<ParseCase> Cases() {
  std::vector<ParseCase> cases = {
      {"runs between short stretches", Runs(1, 3000)},
      {"runs ending the input", [] {
         std::vector<uint8_t> v = Runs(2, 500);
         v.insert(v.end(), 7, 0x41);  // shorter than the longest copy
         return v;
       }()},
      {"a run longer than the window", [] {
         std::vector<uint8_t> v = Runs(3, 100);
         v.insert(v.end(), 4200, 0);
         v.push_back(9);
         v.insert(v.end(), 30, 0);
         return v;
       }()},
      {"a short run at the very start and a longer one after it", [] {
         std::vector<uint8_t> v(4, 0x41);  // ends closer to the start than the longest copy
         v.push_back(1);
         v.insert(v.end(), 30, 0x41);
         return v;
       }()},
      {"period three", Periodic("abc", 900)},
      {"period two beside runs", [] {
         using namespace std::string_view_literals;
         std::vector<uint8_t> v = Periodic("\x01\x00"sv, 300);
         v.insert(v.end(), 50, 0);
         std::vector<uint8_t> w = Periodic("\x00\x01"sv, 300);
         v.insert(v.end(), w.begin(), w.end());
         return v;
       }()},
      {"copies, runs and noise", Mixed(4, 6000)},
      {"one byte", {0x80}},
  };
  return cases;
}

// Prices of a few shapes: every byte value alike, random, and one where the
// zero byte and long copies are cheap.
std::vector<SymbolCosts> Prices() {
  std::vector<SymbolCosts> prices(3);
  prices[0].fill(8 * kLzCostScale);
  uint32_t seed = 99;
  for (auto& p : prices[1]) p = (Next(seed) % 13 + 2) * kLzCostScale + Next(seed) % kLzCostScale;
  for (int s = 0; s < 256; ++s) prices[2][s] = static_cast<uint32_t>((s == 0 ? 2 : s >= 0x70 && s < 0x80 ? 3 : 11) * kLzCostScale);
  return prices;
}

TEST(LzOptimalParser, FindsTheCheapestParseUnderEachSetOfPrices) {
  const std::vector<SymbolCosts> prices = Prices();
  for (const ParseCase& c : Cases()) {
    LzOptimalParser parser(c.input);
    const std::vector<uint64_t> cheapest = CheapestParses(c.input, prices);
    for (size_t p = 0; p < prices.size(); ++p) {
      const std::vector<uint8_t> tokens = parser.Parse(prices[p], kEveryCandidate);
      testing::ReferencePayload decoded;
      ASSERT_NO_THROW(testing::ReferenceLzDecode(tokens, decoded)) << c.name;
      ASSERT_TRUE(decoded.output == c.input) << c.name;
      EXPECT_EQ(PriceOf(tokens, prices[p]), cheapest[p]) << c.name << ", prices " << p;
    }
  }
}

TEST(LzOptimalParser, AShortSearchStillGivesAValidParse) {
  const std::vector<uint8_t> input = Mixed(5, 20000);
  LzOptimalParser parser(input);
  SymbolCosts price;
  price.fill(8 * kLzCostScale);
  const std::vector<uint8_t> tokens = parser.Parse(price, 1);
  testing::ReferencePayload decoded;
  testing::ReferenceLzDecode(tokens, decoded);
  EXPECT_TRUE(decoded.output == input);
  EXPECT_GE(PriceOf(tokens, price), PriceOf(parser.Parse(price, kEveryCandidate), price));
}

}  // namespace
}  // namespace upd
