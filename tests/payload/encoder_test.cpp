// The payload encoder, checked through a decoder written from the format
// description (encoder_reference_decoder.h): every payload must decode to its
// input and stay within the format's limits, and the encoder must make the
// most of the format where that is easy to see.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "encoder_reference_decoder.h"
#include "payload/encoder.h"

namespace upd {
namespace {

using testing::ReferenceDecode;
using testing::ReferencePayload;

// A small deterministic generator, so that inputs are the same everywhere.
class Bytes {
 public:
  explicit Bytes(uint32_t seed) : state_(seed) {}
  uint8_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<uint8_t>(state_ >> 24);
  }
  std::vector<uint8_t> Random(size_t n) {
    std::vector<uint8_t> v(n);
    for (auto& b : v) b = Next();
    return v;
  }

 private:
  uint32_t state_;
};

void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& more) { to.insert(to.end(), more.begin(), more.end()); }

std::vector<uint8_t> Text(size_t n) {
  static const char* const kWords[] = {"the ",   "dictionary ", "of ",   "word ",   "Wörterbuch ", "and ",
                                       "słownik ", "translation ", "is ",  "update ", "file ",        "a ",
                                       "entry ",  "meaning ",     "verb ", "noun ",   "plural, ",    ". "};
  Bytes rng(7);
  std::vector<uint8_t> v;
  while (v.size() < n) {
    const std::string w = kWords[rng.Next() % std::size(kWords)];
    v.insert(v.end(), w.begin(), w.end());
  }
  v.resize(n);
  return v;
}

// A random block, the same block again exactly 4095 bytes later (the longest
// distance), another block repeated 4096 bytes later (one byte too far), a
// two-byte pattern and a run (copies that overlap their own output).
std::vector<uint8_t> Repeats() {
  Bytes rng(11);
  std::vector<uint8_t> v;
  const std::vector<uint8_t> near = rng.Random(4095), far = rng.Random(4096);
  Append(v, near);
  Append(v, near);
  Append(v, far);
  Append(v, far);
  for (int i = 0; i < 3000; ++i) v.push_back(i % 2 ? 'a' : 'b');
  v.insert(v.end(), 5000, 'z');
  return v;
}

// Blocks of random bytes, some repeated at random distances, to the largest size.
std::vector<uint8_t> LargestPiece() {
  Bytes rng(13);
  std::vector<uint8_t> v;
  while (v.size() < kMaxPayloadPieceSize) {
    const size_t n = 64 + rng.Next() * 8;
    if (v.size() > 5000 && rng.Next() < 128) {
      const size_t from = v.size() - 1 - (size_t{rng.Next()} << 4);
      for (size_t i = 0; i < n; ++i) v.push_back(v[from + i]);
    } else {
      Append(v, rng.Random(n));
    }
  }
  v.resize(kMaxPayloadPieceSize);
  return v;
}

struct RoundTripCase {
  const char* name;
  std::function<std::vector<uint8_t>()> make;
};

class EncoderRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(EncoderRoundTrip, DecodesToItsInputWithinTheFormatsLimits) {
  const std::vector<uint8_t> input = GetParam().make();
  const std::vector<uint8_t> payload = EncodePayload(input);
  const ReferencePayload decoded = ReferenceDecode(payload);
  ASSERT_EQ(decoded.output.size(), input.size());
  EXPECT_TRUE(decoded.output == input);
  EXPECT_EQ(decoded.tokenCount, decoded.tokens.size());
  EXPECT_GE(decoded.symbols, 2);
  for (int length : decoded.codeLength) EXPECT_LE(length, 16);
  // Nothing after the data: the payload ends in the byte of the last code.
  const size_t dataBits = [&] {
    size_t bits = 0;
    for (uint8_t t : decoded.tokens) bits += static_cast<size_t>(decoded.codeLength[t]);
    return bits;
  }();
  EXPECT_EQ(payload.size(), (static_cast<size_t>(decoded.tableBits) + 7) / 8 + 4 + (dataBits + 7) / 8);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, EncoderRoundTrip,
    ::testing::Values(
        RoundTripCase{"OneByte", [] { return std::vector<uint8_t>{'A'}; }},
        // The token stream 0x80 0x80 uses one byte value; the container still needs two codes.
        RoundTripCase{"OneByteThatIsItsOwnRunByte", [] { return std::vector<uint8_t>{0x80}; }},
        RoundTripCase{"TwoBytes", [] { return std::vector<uint8_t>{0x00, 0xFF}; }},
        RoundTripCase{"AllEqual", [] { return std::vector<uint8_t>(100000, 0); }},
        RoundTripCase{"AllEqualButTheLast", [] {
          std::vector<uint8_t> v(9999, 0x55);
          v.push_back(0x56);
          return v;
        }},
        RoundTripCase{"Random", [] { return Bytes(3).Random(300000); }},
        RoundTripCase{"Text", [] { return Text(200000); }},
        RoundTripCase{"RepeatsAtTheLongestDistanceAndOverlapping", Repeats},
        RoundTripCase{"LargestPiece", LargestPiece}),
    [](const ::testing::TestParamInfo<RoundTripCase>& param) { return std::string(param.param.name); });

TEST(EncodePayload, RejectsAnEmptyInputAndOneLongerThanTwoMebibytes) {
  EXPECT_THROW(EncodePayload({}), std::invalid_argument);
  const std::vector<uint8_t> tooLong(kMaxPayloadPieceSize + 1, 0);
  EXPECT_THROW(EncodePayload(tooLong), std::invalid_argument);
}

TEST(EncodePayload, RandomBytesBecomeRunsOf128AtAboutOneByteInEach129) {
  const std::vector<uint8_t> input = Bytes(5).Random(300000);
  const std::vector<uint8_t> payload = EncodePayload(input);
  const ReferencePayload decoded = ReferenceDecode(payload);
  // Incompressible bytes cost their 8 bits plus a run byte per 128; the code
  // table adds at most 256 * 21 bits. A parse with short runs would cost more.
  EXPECT_LE(payload.size(), input.size() + (input.size() + 127) / 128 + 672 + 4 + 1);
  EXPECT_GE(decoded.fullLiteralRuns * 100, decoded.literalRuns * 95);
}

TEST(EncodePayload, UsesTheWholeWindowAndOverlappingCopies) {
  const ReferencePayload decoded = ReferenceDecode(EncodePayload(Repeats()));
  EXPECT_EQ(decoded.longestDistance, 4095);
  EXPECT_GT(decoded.overlappingCopies, 0);
}

TEST(EncodePayload, ABlockRepeated4095BytesLaterCostsLittleAnd4096BytesLaterAsMuchAgain) {
  auto extraForRepeat = [](size_t blockSize) {
    const std::vector<uint8_t> block = Bytes(19).Random(blockSize);
    std::vector<uint8_t> twice = block;
    Append(twice, block);
    return static_cast<long>(EncodePayload(twice).size()) - static_cast<long>(EncodePayload(block).size());
  };
  EXPECT_LT(extraForRepeat(4095), 4095 / 4);  // ten bytes per back-reference of two symbols
  EXPECT_GT(extraForRepeat(4096), 4096 * 9 / 10);
}

}  // namespace
}  // namespace upd
