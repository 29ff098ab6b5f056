#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "payload/container_builder.h"
#include "payload/decoder.h"
#include "payload/reference_decoder.h"

namespace upd {
namespace {

using testing::BitWriter;
using testing::Code;
using testing::CodeTable;
using testing::MakeContainer;

std::vector<uint8_t> Bytes(std::initializer_list<int> values) { return std::vector<uint8_t>(values.begin(), values.end()); }

std::vector<uint8_t> RunPrefixStage(PayloadDecoder& d, const std::vector<uint8_t>& container) {
  d.buffer = container;
  EXPECT_EQ(DecodeHuffmanStage(d), DecodeStatus::Ok) << DecodeStatusText(d.status);
  EXPECT_EQ(d.tokens.size(), d.token_count);
  return d.tokens;
}

// ---------------------------------------------------------------------------
// Prefix-code stage

TEST(PrefixCodeStage, ContainerLayouts) {
  struct Case {
    const char* why;
    CodeTable table;
    std::vector<int> symbols;
    uint32_t pad_fill;
  };
  const Case cases[] = {
      {"two 1-bit codes; table of 256 + 2*5 bits ends 2 bits into byte 33, padding of ones ignored",
       {{0, {1, 0}}, {1, {1, 1}}}, {0, 1, 1, 0, 1}, 1},
      {"length field 0 is a 16-bit code", {{5, {16, 0xABCD}}, {6, {1, 0}}}, {5, 6, 5, 5}, 1},
      {"table ends exactly at a byte boundary (256 + 8 + 1 + 7 bits): token count follows directly",
       {{10, {1, 0}}, {20, {7, 0x7F}}}, {20, 10, 20}, 1},
      {"table ends one bit into a byte: the other 7 bits are skipped",
       {{10, {1, 0}}, {20, {8, 0xFF}}}, {20, 10, 20}, 1},
      {"codes as stored, not canonical: same lengths, reversed values",
       {{0, {2, 3}}, {1, {2, 2}}, {2, {2, 1}}, {3, {2, 0}}}, {0, 1, 2, 3, 3, 2}, 0},
      {"the only 4-bit code is 1001, among longer ones",
       {{128, {4, 0b1001}}, {1, {5, 0b00000}}, {2, {5, 0b11111}}}, {128, 1, 128, 2}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    PayloadDecoder d;
    std::vector<uint8_t> tokens = RunPrefixStage(d, MakeContainer(c.table, c.symbols, -1, c.pad_fill));
    EXPECT_EQ(tokens, std::vector<uint8_t>(c.symbols.begin(), c.symbols.end()));
  }
}

TEST(PrefixCodeStage, TableSizeAndTokenCountPosition) {
  // 256 flag bits + (4 + L) per present symbol; the count sits at the next byte.
  CodeTable exact = {{10, {1, 0}}, {20, {7, 0x7F}}};   // 272 bits = 34 bytes
  CodeTable inside = {{10, {1, 0}}, {20, {8, 0xFF}}};  // 273 bits: 7 bits of padding
  BitWriter w1, w2;
  testing::WriteCodeTable(w1, exact);
  testing::WriteCodeTable(w2, inside);
  EXPECT_EQ(w1.BitCount(), 272u);
  EXPECT_EQ(w2.BitCount(), 273u);

  PayloadDecoder d;
  std::vector<uint8_t> c = MakeContainer(inside, {20});
  ASSERT_EQ(c.size(), 35u + 4u + 1u);
  RunPrefixStage(d, c);
  EXPECT_EQ(d.byte_index, 40u);  // after the count at bytes 35..38 and one 8-bit code
  EXPECT_EQ(d.bits_unread, 8);
}

TEST(PrefixCodeStage, SortIsByLengthAndKeepsSymbolOrderAmongEqualLengths) {
  PayloadDecoder d;
  RunPrefixStage(d, MakeContainer({{200, {2, 0b10}}, {3, {2, 0b11}}, {100, {1, 0}}, {50, {16, 0xFFFF}}}, {100}));
  ASSERT_EQ(d.entry_count, 4);
  EXPECT_EQ((std::vector<int>(d.symbol.begin(), d.symbol.begin() + 4)), (std::vector<int>{100, 3, 200, 50}));
  EXPECT_EQ((std::vector<int>(d.code_length.begin(), d.code_length.begin() + 4)), (std::vector<int>{1, 2, 2, 16}));
  EXPECT_EQ((std::vector<int>(d.code.begin(), d.code.begin() + 4)), (std::vector<int>{0, 3, 2, 0xFFFF}));
}

TEST(PrefixCodeStage, TablesThatAreNotPrefixCodesDecodeToTheFirstMatchInSortedOrder) {
  struct Case {
    const char* why;
    CodeTable table;
    std::vector<uint8_t> container_data;  // the data bits as bytes
    uint32_t count;
    std::vector<uint8_t> tokens;
  };
  const Case cases[] = {
      {"equal codes of equal length: the lower symbol wins", {{9, {2, 0b10}}, {7, {2, 0b10}}, {1, {1, 0}}},
       {0b10000000}, 3, {7, 1, 1}},
      {"a shorter code that is a prefix of a longer one wins", {{4, {1, 1}}, {2, {3, 0b101}}, {3, {2, 0b01}}},
       {0b10110000}, 3, {4, 3, 4}},
      {"equal values of different lengths do not collide", {{4, {2, 0b01}}, {2, {3, 0b001}}, {3, {1, 1}}},
       {0b00101100}, 3, {2, 4, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    BitWriter w;
    testing::WriteCodeTable(w, c.table);
    w.U32(c.count);
    std::vector<uint8_t> container = w.Bytes();
    container.insert(container.end(), c.container_data.begin(), c.container_data.end());
    PayloadDecoder d;
    EXPECT_EQ(RunPrefixStage(d, container), c.tokens);
    EXPECT_EQ(testing::ReferenceHuffmanStage(container).bytes, c.tokens);
  }
}

TEST(PrefixCodeStage, BitsAfterTheLastCodeAndLaterBytesAreIgnored) {
  CodeTable t = {{0, {3, 0b000}}, {1, {3, 0b111}}};
  std::vector<uint8_t> plain = MakeContainer(t, {1, 0});  // 6 data bits in the last byte
  std::vector<uint8_t> noisy = plain;
  noisy.back() |= 0b11;
  noisy.insert(noisy.end(), {0xFF, 0x00, 0x12});
  PayloadDecoder d;
  EXPECT_EQ(RunPrefixStage(d, plain), Bytes({1, 0}));
  EXPECT_EQ(RunPrefixStage(d, noisy), Bytes({1, 0}));
}

// A container made of the table {0: 00, 1: 01, 2: 1} and the given tail
// (token count and data).
std::vector<uint8_t> WithSmallTable(std::initializer_list<int> tail) {
  BitWriter w;
  testing::WriteCodeTable(w, {{0, {2, 0b00}}, {1, {2, 0b01}}, {2, {1, 1}}});
  w.Pad();
  std::vector<uint8_t> c = w.Bytes();
  c.insert(c.end(), tail.begin(), tail.end());
  return c;
}

TEST(PrefixCodeStage, MalformedContainersFailWithTheirOwnStatus) {
  std::vector<uint8_t> one_symbol = MakeContainer({{65, {1, 0}}}, {65, 65});
  std::vector<uint8_t> no_symbol(32, 0x00);
  no_symbol.insert(no_symbol.end(), {1, 0, 0, 0, 0});
  std::vector<uint8_t> small = WithSmallTable({});
  BitWriter cut;  // symbol 0 present with a 16-bit code, of which 8 bits are there
  cut.Bit(1);
  cut.Bits(0, 4);
  cut.Bits(0x12, 8);
  std::vector<uint8_t> cut_in_code = cut.Bytes();
  std::vector<uint8_t> sixteen = MakeContainer({{0, {16, 0x1234}}, {1, {16, 0x4321}}}, {0, 1});

  struct Case {
    const char* why;
    std::vector<uint8_t> container;
    DecodeStatus status;
  };
  const Case cases[] = {
      {"empty container", {}, DecodeStatus::CodeTableTruncated},
      {"ends after 255 of 256 absent-symbol flags", std::vector<uint8_t>(31, 0x00), DecodeStatus::CodeTableTruncated},
      {"ends inside a code of the table", cut_in_code, DecodeStatus::CodeTableTruncated},
      {"ends inside a length field", Bytes({0xFF}), DecodeStatus::CodeTableTruncated},
      {"no symbol at all", no_symbol, DecodeStatus::TooFewSymbols},
      {"a single symbol", one_symbol, DecodeStatus::TooFewSymbols},
      {"no token count", small, DecodeStatus::TokenCountTruncated},
      {"three bytes of token count", WithSmallTable({1, 0, 0}), DecodeStatus::TokenCountTruncated},
      {"token count 0", WithSmallTable({0, 0, 0, 0, 0xFF}), DecodeStatus::ZeroTokenCount},
      {"token count 5, data for 4", WithSmallTable({5, 0, 0, 0, 0b00010000}), DecodeStatus::DataTruncated},
      {"token count 2^32-1 and one data byte: refused before sizing the buffer",
       WithSmallTable({0xFF, 0xFF, 0xFF, 0xFF, 0x00}), DecodeStatus::DataTruncated},
      {"token count 1 and no data", WithSmallTable({1, 0, 0, 0}), DecodeStatus::DataTruncated},
      {"last 16-bit code cut after 8 bits", std::vector<uint8_t>(sixteen.begin(), sixteen.end() - 1),
       DecodeStatus::DataTruncated},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    PayloadDecoder d;
    d.buffer = c.container;
    EXPECT_EQ(DecodeHuffmanStage(d), c.status) << DecodeStatusText(d.status);
    EXPECT_EQ(testing::ReferenceHuffmanStage(c.container).status, c.status);
    EXPECT_TRUE(d.tokens.empty());
    EXPECT_EQ(d.token_count, 0u);
  }
}

TEST(PrefixCodeStage, BitsMatchingNoCodeFail) {
  // {0: 00, 1: 01}: a data sequence starting with 1 matches nothing.
  BitWriter w;
  testing::WriteCodeTable(w, {{0, {2, 0b00}}, {1, {2, 0b01}}});
  w.U32(3);
  w.Byte(0b00011100);
  PayloadDecoder d;
  d.buffer = w.Bytes();
  EXPECT_EQ(DecodeHuffmanStage(d), DecodeStatus::InvalidCode);
  EXPECT_EQ(testing::ReferenceHuffmanStage(w.Bytes()).status, DecodeStatus::InvalidCode);
}

// Random containers of every kind: random lengths and codes (mostly not a
// prefix code), complete prefix codes with codes shuffled among equal lengths,
// data made of table codes with some noise, token counts off by a little, and
// cuts anywhere. The decoder must agree with the linear walk on the status
// and, where it accepts, on every token.
TEST(PrefixCodeStage, AgreesWithTheLinearWalkOnRandomContainers) {
  std::mt19937 rng(20240611);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  std::map<DecodeStatus, int> seen;
  for (int iteration = 0; iteration < 4000; ++iteration) {
    CodeTable table;
    int kind = uniform(0, 2);
    int symbols = uniform(0, 3) == 0 ? uniform(0, 3) : uniform(2, 256);
    std::vector<int> chosen(256);
    for (int i = 0; i < 256; ++i) chosen[i] = i;
    std::shuffle(chosen.begin(), chosen.end(), rng);
    chosen.resize(symbols);
    if (kind == 0) {
      // Arbitrary lengths and values.
      int max_len = uniform(1, 16);
      for (int s : chosen) {
        int len = uniform(1, max_len);
        table[s] = {len, static_cast<uint32_t>(uniform(0, (1 << len) - 1))};
      }
    } else if (symbols >= 2) {
      // A complete prefix code: split leaves until there are enough, then
      // hand the codes of each length to the symbols in shuffled order.
      std::vector<Code> leaves = {{1, 0}, {1, 1}};
      while (static_cast<int>(leaves.size()) < symbols) {
        size_t i = static_cast<size_t>(uniform(0, static_cast<int>(leaves.size()) - 1));
        if (leaves[i].length == 16) continue;
        Code c = leaves[i];
        leaves[i] = {c.length + 1, c.bits << 1};
        leaves.push_back({c.length + 1, (c.bits << 1) | 1});
      }
      std::shuffle(leaves.begin(), leaves.end(), rng);
      for (int i = 0; i < symbols; ++i) table[chosen[i]] = leaves[i];
      if (kind == 2 && symbols > 2) table[chosen[0]] = table[chosen[1]];  // a duplicate code
    } else {
      for (int s : chosen) table[s] = {uniform(1, 16), 0};
    }

    BitWriter w;
    testing::WriteCodeTable(w, table);
    w.Pad(static_cast<uint32_t>(uniform(0, 1)));
    int n = uniform(0, 3) == 0 ? uniform(0, 3) : uniform(1, 300);
    int count = n + (uniform(0, 4) == 0 ? uniform(-2, 2) : 0);
    w.U32(static_cast<uint32_t>(std::max(count, 0)));
    std::vector<int> keys;
    for (auto& [s, c] : table) keys.push_back(s);
    for (int i = 0; i < n && !keys.empty(); ++i) {
      if (uniform(0, 50) == 0) {
        w.Bits(static_cast<uint32_t>(uniform(0, 255)), uniform(1, 8));  // noise
      } else {
        const Code& c = table[keys[static_cast<size_t>(uniform(0, static_cast<int>(keys.size()) - 1))]];
        w.Bits(c.bits, c.length);
      }
    }
    w.Bits(static_cast<uint32_t>(uniform(0, 255)), uniform(0, 8));
    std::vector<uint8_t> container = w.Bytes();
    if (uniform(0, 6) == 0) container.resize(static_cast<size_t>(uniform(0, static_cast<int>(container.size()))));

    testing::ReferenceResult expected = testing::ReferenceHuffmanStage(container);
    PayloadDecoder d;
    d.buffer = container;
    ASSERT_EQ(DecodeHuffmanStage(d), expected.status) << "iteration " << iteration;
    ASSERT_EQ(d.tokens, expected.bytes) << "iteration " << iteration;
    ++seen[expected.status];
  }
  // The generator reaches acceptance and every fault of the stage.
  for (DecodeStatus s : {DecodeStatus::Ok, DecodeStatus::CodeTableTruncated, DecodeStatus::TooFewSymbols,
                         DecodeStatus::TokenCountTruncated, DecodeStatus::ZeroTokenCount,
                         DecodeStatus::DataTruncated, DecodeStatus::InvalidCode})
    EXPECT_GT(seen[s], 0) << DecodeStatusText(s);
}

// ---------------------------------------------------------------------------
// LZ stage

std::vector<uint8_t> RunLz(PayloadDecoder& d, const std::vector<uint8_t>& tokens, DecodeStatus expect) {
  d.tokens = tokens;
  d.token_count = static_cast<uint32_t>(tokens.size());
  d.buffer.assign(kPayloadOutputSize, 0xEE);
  EXPECT_EQ(DecodeLzStage(d), expect) << DecodeStatusText(d.status);
  return std::vector<uint8_t>(d.buffer.begin(), d.buffer.begin() + static_cast<ptrdiff_t>(d.output_count));
}

std::vector<uint8_t> Concat(std::vector<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

std::string Letters(size_t n) {
  std::string s(n, ' ');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + i * 7 % 26);
  return s;
}

std::vector<uint8_t> AsBytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

TEST(LzStage, Tokens) {
  std::vector<uint8_t> far = testing::LiteralTokens(Letters(4095));
  std::string far_out = Letters(4095);
  far_out += far_out.substr(0, 10);
  struct Case {
    const char* why;
    std::vector<uint8_t> tokens;
    std::string output;
  };
  const Case cases[] = {
      {"0x80 is a run of 1 byte", Bytes({0x80, 'x'}), "x"},
      {"0xFF is a run of 128 bytes", testing::LiteralTokens(Letters(128)), Letters(128)},
      {"0x00 0x01: 3 copies of the last byte", Bytes({0x80, 'a', 0x00, 0x01}), "aaaa"},
      {"distance 2, length 7 after A B repeats them cyclically", Bytes({0x81, 'A', 'B', 0x40, 0x02}), "ABABABABA"},
      {"0x7F 0xFF: 10 bytes from 4095 back", Concat({far, Bytes({0x7F, 0xFF})}), far_out},
      {"distance equal to the length", Bytes({0x82, 'x', 'y', 'z', 0x00, 0x03}), "xyzxyz"},
      {"distance 16 and more: a plain copy", Concat({testing::LiteralTokens(Letters(20)), Bytes({0x70, 20})}),
       Letters(20) + Letters(10)},
      {"ends exactly after a back-reference", Bytes({0x80, 'q', 0x10, 0x01}), "qqqqq"},
      {"ends exactly after a run, after a back-reference", Bytes({0x80, 'q', 0x00, 0x01, 0x81, '!', '?'}),
       "qqqq!?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    PayloadDecoder d;
    EXPECT_EQ(RunLz(d, c.tokens, DecodeStatus::Ok), AsBytes(c.output));
    EXPECT_EQ(testing::ReferenceLzStage(c.tokens).bytes, AsBytes(c.output));
  }
}

TEST(LzStage, MalformedTokenStreamsFailWithTheirOwnStatus) {
  // 16,384 runs of 128 bytes fill the output buffer exactly.
  std::vector<uint8_t> full;
  for (size_t i = 0; i < kPayloadOutputSize / 128; ++i) {
    full.push_back(0xFF);
    full.insert(full.end(), 128, static_cast<uint8_t>(i));
  }
  std::vector<uint8_t> almost(full.begin(), full.end() - 129);  // 128 bytes short of full
  struct Case {
    const char* why;
    std::vector<uint8_t> tokens;
    DecodeStatus status;
  };
  const Case cases[] = {
      {"run of 4 with 3 bytes left", Bytes({0x83, 'a', 'b', 'c'}), DecodeStatus::TokenTruncated},
      {"run byte as the last byte", Bytes({0x80, 'a', 0x85}), DecodeStatus::TokenTruncated},
      {"back-reference without its second byte", Bytes({0x80, 'a', 0x00}), DecodeStatus::TokenTruncated},
      {"distance 0", Bytes({0x80, 'a', 0x00, 0x00}), DecodeStatus::ZeroDistance},
      {"distance one past the output", Bytes({0x80, 'a', 0x00, 0x02}), DecodeStatus::DistanceTooFar},
      {"back-reference before any output", Bytes({0x00, 0x01}), DecodeStatus::DistanceTooFar},
      {"one run past 2 MiB", Concat({full, Bytes({0x80, 'x'})}), DecodeStatus::OutputTooLong},
      {"a back-reference of 10 with 9 bytes of room",
       Concat({almost, testing::LiteralTokens(Letters(119)), Bytes({0x70, 0x20})}), DecodeStatus::OutputTooLong},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    PayloadDecoder d;
    EXPECT_TRUE(RunLz(d, c.tokens, c.status).empty());
    EXPECT_EQ(testing::ReferenceLzStage(c.tokens).status, c.status);
  }
}

TEST(LzStage, FillsTheOutputBufferToItsLastByte) {
  std::vector<uint8_t> tokens;
  for (size_t i = 0; i + 1 < kPayloadOutputSize / 128; ++i) {
    tokens.push_back(0xFF);
    tokens.insert(tokens.end(), 128, static_cast<uint8_t>(i * 31));
  }
  // 118 literal bytes, then a back-reference of 10 at distance 16 ends at the
  // very last byte, where a wide copy would not fit.
  std::vector<uint8_t> tail = testing::LiteralTokens(Letters(118));
  tokens.insert(tokens.end(), tail.begin(), tail.end());
  tokens.insert(tokens.end(), {0x70, 0x10});
  PayloadDecoder d;
  std::vector<uint8_t> out = RunLz(d, tokens, DecodeStatus::Ok);
  ASSERT_EQ(out.size(), kPayloadOutputSize);
  EXPECT_TRUE(out == testing::ReferenceLzStage(tokens).bytes);
}

// Random token streams, mostly valid, with runs of every length, distances
// below and above the length, and corrupt bytes now and then.
TEST(LzStage, AgreesWithTheByteWiseCopyOnRandomStreams) {
  std::mt19937 rng(77);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  std::map<DecodeStatus, int> seen;
  PayloadDecoder d;
  for (int iteration = 0; iteration < 2000; ++iteration) {
    std::vector<uint8_t> tokens;
    size_t produced = 0;
    int count = uniform(1, 60);
    for (int t = 0; t < count; ++t) {
      if (produced == 0 || uniform(0, 2) == 0) {
        int n = uniform(1, 128);
        tokens.push_back(static_cast<uint8_t>(0x80 | (n - 1)));
        for (int i = 0; i < n; ++i) tokens.push_back(static_cast<uint8_t>(uniform(0, 3)));
        produced += static_cast<size_t>(n);
      } else {
        int k = uniform(3, 10);
        int dist = uniform(1, static_cast<int>(std::min<size_t>(produced, uniform(0, 1) ? 12 : 4095)));
        tokens.push_back(static_cast<uint8_t>((k - 3) << 4 | dist >> 8));
        tokens.push_back(static_cast<uint8_t>(dist & 0xFF));
        produced += static_cast<size_t>(k);
      }
    }
    if (uniform(0, 5) == 0) tokens[static_cast<size_t>(uniform(0, static_cast<int>(tokens.size()) - 1))] ^= 0x80;
    if (uniform(0, 8) == 0) tokens.resize(static_cast<size_t>(uniform(1, static_cast<int>(tokens.size()))));

    testing::ReferenceResult expected = testing::ReferenceLzStage(tokens);
    ASSERT_EQ(RunLz(d, tokens, expected.status), expected.bytes) << "iteration " << iteration;
    ++seen[expected.status];
  }
  EXPECT_GT(seen[DecodeStatus::Ok], 1000);
}

// ---------------------------------------------------------------------------
// Both stages

TEST(DecodePayload, DecodesAContainerIntoTheReusedPayloadBuffer) {
  std::string content = Letters(1000) + std::string(300, '\0') + Letters(77);
  // Literal runs, then a back-reference into them, under a code that is not
  // the identity: every byte value gets its own 8-bit code, reversed.
  std::vector<uint8_t> tokens = Concat({testing::LiteralTokens(content), Bytes({0x75, 0x00})});
  CodeTable table;
  for (int s = 0; s < 256; ++s) table[s] = {8, static_cast<uint32_t>(255 - s)};
  std::vector<uint8_t> container = MakeContainer(table, std::vector<int>(tokens.begin(), tokens.end()));

  PayloadDecoder& d = SharedPayloadDecoder();
  ASSERT_EQ(DecodePayload(d, container), DecodeStatus::Ok);
  EXPECT_EQ(d.buffer.size(), kPayloadOutputSize);
  std::string expected = content + content.substr(content.size() - 1280, 10);
  EXPECT_EQ(std::string(d.buffer.begin(), d.buffer.begin() + static_cast<ptrdiff_t>(d.output_count)), expected);

  // A later failing payload leaves nothing to write.
  container[container.size() - 1] ^= 0xFF;
  EXPECT_NE(DecodePayload(d, container), DecodeStatus::Ok);
  EXPECT_EQ(d.output_count, 0u);
}

TEST(DecodeStatusText, EveryStatusHasItsOwnMessage) {
  std::set<std::string_view> texts;
  for (int s = 0; s <= static_cast<int>(DecodeStatus::OutputTooLong); ++s) {
    std::string_view text = DecodeStatusText(static_cast<DecodeStatus>(s));
    EXPECT_FALSE(text.empty());
    texts.insert(text);
  }
  EXPECT_EQ(texts.size(), static_cast<size_t>(DecodeStatus::OutputTooLong) + 1);
}

}  // namespace
}  // namespace upd
