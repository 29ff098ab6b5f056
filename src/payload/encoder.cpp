// The encoder alternates two optimisations, as the best DEFLATE encoders do:
// parse the input as cheaply as possible under a price per token-stream byte
// value, then choose the best length-limited prefix code for that parse's
// statistics, and parse again under prices from them. The first parse prices
// every byte value alike; the rounds that follow use information content
// (fractional bits), which settles on better statistics than whole-bit code
// lengths do; the last rounds use the code lengths themselves. Every round's
// payload size is measured exactly and the smallest payload is written.
//
// Container, read as bits from the most significant bit of each byte:
//   for s = 0..255: 1 presence bit; if present, a 4-bit length (0 means 16)
//                   and the code's bits, most significant first
//   padding to the next byte
//   N, the token count, 4 bytes little-endian
//   the N codes of the token-stream bytes, back to back

#include "payload/encoder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "payload/encoder_lz_parse.h"
#include "payload/encoder_prefix_code.h"

namespace upd {
namespace {

class BitWriter {
 public:
  void Put(uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      acc_ = static_cast<uint8_t>(acc_ << 1 | ((value >> i) & 1));
      if (++used_ == 8) Flush();
    }
  }
  void PadToByte() {
    if (used_ > 0) {
      acc_ = static_cast<uint8_t>(acc_ << (8 - used_));
      Flush();
    }
  }
  void PutByte(uint8_t b) { bytes_.push_back(b); }  // only at a byte boundary
  std::vector<uint8_t> Take() {
    PadToByte();
    return std::move(bytes_);
  }

 private:
  void Flush() {
    bytes_.push_back(acc_);
    acc_ = 0;
    used_ = 0;
  }
  std::vector<uint8_t> bytes_;
  uint8_t acc_ = 0;
  int used_ = 0;
};

using Histogram = std::array<uint64_t, 256>;

constexpr int kQuickChainVisits = 16;
constexpr int kFinalPasses = 2;

Histogram Count(const std::vector<uint8_t>& tokens) {
  Histogram h{};
  for (uint8_t t : tokens) ++h[t];
  return h;
}

// Every present symbol costs 1 + 4 + length bits in the table on top of its
// uses, and an absent one 1 bit; padding and the token count add the rest.
uint64_t ContainerBits(const Histogram& counts, const CodeLengths& lengths) {
  uint64_t table = 0, data = 0;
  for (int s = 0; s < 256; ++s) {
    table += lengths[s] ? 5 + lengths[s] : 1;
    data += counts[s] * lengths[s];
  }
  return (table + 7) / 8 * 8 + 32 + data;
}

// Weight = uses + 1 for a present symbol: its code length is paid once more,
// in the table, so this minimises table and data bits together.
CodeLengths ChooseCode(const Histogram& counts) {
  SymbolWeights w{};
  for (int s = 0; s < 256; ++s) w[s] = counts[s] ? counts[s] + 1 : 0;
  return LengthLimitedCodeLengths(w, kMaxPrefixCodeLength);
}

// Prices for a parse that settles the statistics: each symbol's information
// content -log2(count / total), the marginal cost of one more use under an
// ideal code. A symbol not yet used is priced as rarer than any used one.
SymbolCosts PricesFromCounts(const Histogram& counts) {
  uint64_t total = 0;
  for (uint64_t c : counts) total += c;
  SymbolCosts costs;
  for (int s = 0; s < 256; ++s) {
    const double bits = counts[s] ? std::log2(static_cast<double>(total) / static_cast<double>(counts[s]))
                                  : std::log2(static_cast<double>(total)) + 2;
    costs[s] = static_cast<uint32_t>(std::lround(std::clamp(bits, 1.0, 18.0) * kLzCostScale));
  }
  return costs;
}

// Prices for the last parses: the lengths of the code that will be written, so
// the parse also avoids the rounding losses of whole-bit codes.
SymbolCosts PricesFromCode(const CodeLengths& lengths) {
  int longest = 0;
  for (uint8_t l : lengths) longest = std::max<int>(longest, l);
  const int absent = std::min(longest + 2, kMaxPrefixCodeLength);
  SymbolCosts costs;
  for (int s = 0; s < 256; ++s) costs[s] = static_cast<uint32_t>((lengths[s] ? lengths[s] : absent) * kLzCostScale);
  return costs;
}

std::vector<uint8_t> WriteContainer(const std::vector<uint8_t>& tokens, const CodeLengths& lengths) {
  const auto codes = AssignPrefixCodes(lengths);
  BitWriter out;
  for (int s = 0; s < 256; ++s) {
    if (lengths[s] == 0) {
      out.Put(0, 1);
      continue;
    }
    out.Put(1, 1);
    out.Put(lengths[s] == 16 ? 0 : lengths[s], 4);
    out.Put(codes[s], lengths[s]);
  }
  out.PadToByte();
  const auto n = static_cast<uint32_t>(tokens.size());
  for (int i = 0; i < 4; ++i) out.PutByte(static_cast<uint8_t>(n >> (8 * i)));
  for (uint8_t t : tokens) out.Put(codes[t], lengths[t]);
  return out.Take();
}

}  // namespace

std::vector<uint8_t> EncodePayload(std::span<const uint8_t> input, const PayloadEncoderOptions& options) {
  if (input.empty() || input.size() > kMaxPayloadPieceSize)
    throw std::invalid_argument("a payload carries 1 to 2097152 bytes, not " + std::to_string(input.size()));

  LzOptimalParser parser(input);
  struct Round {
    std::vector<uint8_t> tokens;
    Histogram counts;
    CodeLengths lengths;
    uint64_t bits;
  };
  auto parse = [&](const SymbolCosts& prices, int chainVisits) {
    Round r;
    r.tokens = parser.Parse(prices, chainVisits);
    r.counts = Count(r.tokens);
    r.lengths = ChooseCode(r.counts);
    r.bits = ContainerBits(r.counts, r.lengths);
    return r;
  };

  // The statistics settle with a short match search; the thorough search is
  // kept for the last rounds, whose parses are the ones written.
  const int quickVisits = std::min(options.maxChainVisits, kQuickChainVisits);
  SymbolCosts flat;
  flat.fill(8 * kLzCostScale);
  Round best = parse(flat, quickVisits);
  for (int pass = 1; pass < options.maxPasses; ++pass) {
    Round r = parse(PricesFromCounts(best.counts), quickVisits);
    if (r.bits >= best.bits) break;
    best = std::move(r);
  }
  for (int pass = 0; pass < kFinalPasses; ++pass) {
    Round r = parse(PricesFromCode(best.lengths), options.maxChainVisits);
    if (r.bits >= best.bits) break;
    best = std::move(r);
  }
  return WriteContainer(best.tokens, best.lengths);
}

}  // namespace upd
