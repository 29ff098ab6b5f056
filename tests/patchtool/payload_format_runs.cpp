// patchtool decode and encode against a model of the payload written here from
// the format's description alone: payloads this file writes must decode with
// the tool to the bytes the tokens stand for, and payloads the tool writes must
// decode with this file's plain walk back to their input.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "patchtool/run_patchtool.h"
#include "payload/container_builder.h"
#include "support/temp_dir.h"

namespace upd::testing {
namespace {

constexpr size_t kMaxOutput = 2097152;  // the decoder's output buffer
using Tokens = std::vector<uint8_t>;

// ---------------------------------------------------------------------------
// Token streams

Tokens Literal(const std::string& bytes) { return LiteralTokens(bytes); }

// A back-reference of `length` (3 to 10) bytes from `distance` (0 to 4095) back.
Tokens Ref(int distance, int length) {
  return {static_cast<uint8_t>(((length - 3) << 4) | (distance >> 8)), static_cast<uint8_t>(distance & 0xFF)};
}

Tokens& operator+=(Tokens& a, const Tokens& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Tokens operator+(Tokens a, const Tokens& b) { return a += b; }

// `total` (at least 4) bytes 'a': one literal, then back-references of distance 1.
Tokens RunOfA(size_t total) {
  Tokens t = Literal("a");
  size_t rest = total - 1;
  while (rest > 12) t += Ref(1, 10), rest -= 10;
  if (rest > 10) t += Ref(1, 5), rest -= 5;
  return t += Ref(1, static_cast<int>(rest));
}

// A greedy LZ parse with one candidate per 3-byte hash: plain, but it uses
// every token form, overlapping references and distances up to 4095.
Tokens GreedyTokens(const std::string& in) {
  Tokens t;
  std::string pending;
  auto flush = [&] {
    if (!pending.empty()) t += Literal(pending);
    pending.clear();
  };
  std::vector<int64_t> last(1 << 16, -1);
  for (size_t i = 0; i < in.size();) {
    size_t best = 0, distance = 0;
    if (i + 3 <= in.size()) {
      const unsigned h = (static_cast<uint8_t>(in[i]) * 506832829u ^ static_cast<uint8_t>(in[i + 1]) * 2654435761u ^
                          static_cast<uint8_t>(in[i + 2])) & 0xFFFF;
      const int64_t candidate = last[h];
      last[h] = static_cast<int64_t>(i);
      if (candidate >= 0 && i - static_cast<size_t>(candidate) <= 4095) {
        size_t length = 0;
        while (length < 10 && i + length < in.size() && in[static_cast<size_t>(candidate) + length] == in[i + length])
          ++length;
        if (length >= 3) best = length, distance = i - static_cast<size_t>(candidate);
      }
    }
    if (best == 0) {
      pending += in[i++];
      continue;
    }
    flush();
    t += Ref(static_cast<int>(distance), static_cast<int>(best));
    i += best;
  }
  flush();
  return t;
}

// ---------------------------------------------------------------------------
// Containers written by this file

size_t TableBits(const CodeTable& table) {
  size_t bits = 256;
  for (const auto& [symbol, code] : table) bits += 4 + static_cast<size_t>(code.length);
  return bits;
}

// A prefix code for the symbols of `tokens` that a decoder cannot take for
// granted. The most frequent symbols get 2 to 8 bits; the least frequent one
// and any past the seventh get 16 bits (a length field of 0). The codes are
// assigned canonically and then every bit is flipped where a fixed pattern has
// a 1: still prefix-free, but neither canonical nor ordered by symbol, and
// codes of different lengths share values. Unused 15-bit symbols are added
// until the table ends `end_bit` bits into a byte (0: on a byte boundary; -1:
// anywhere) and holds at least two symbols.
CodeTable ScrambledTable(const Tokens& tokens, int end_bit) {
  std::array<size_t, 256> freq{};
  for (uint8_t b : tokens) ++freq[b];
  std::vector<int> used;
  for (int s = 0; s < 256; ++s)
    if (freq[s]) used.push_back(s);
  std::stable_sort(used.begin(), used.end(), [&](int a, int b) { return freq[a] > freq[b]; });
  std::map<int, int> lengths;
  for (size_t i = 0; i < used.size(); ++i)
    lengths[used[i]] = (i + 1 == used.size() && i > 0) || i >= 7 ? 16 : static_cast<int>(i) + 2;
  auto bits = [&] {
    size_t n = 256;
    for (const auto& [s, length] : lengths) n += 4 + static_cast<size_t>(length);
    return n;
  };
  for (int filler = 255; lengths.size() < 2 || (end_bit >= 0 && bits() % 8 != static_cast<size_t>(end_bit));
       --filler) {
    if (filler < 0) throw std::logic_error("no unused symbol left to shape the table");
    if (!freq[filler]) lengths[filler] = 15;
  }
  std::vector<std::pair<int, int>> order;  // (length, symbol)
  for (const auto& [s, length] : lengths) order.emplace_back(length, s);
  std::sort(order.begin(), order.end());
  CodeTable table;
  uint32_t code = 0;
  int previous = order.front().first;
  for (const auto& [length, s] : order) {
    code <<= length - previous;
    previous = length;
    table[s] = {length, (code ^ (0xB5A3u >> (16 - length))) & ((1u << length) - 1)};
    ++code;
  }
  return table;
}

// The container: code table, padding of ones, token count, the codes, the
// rest of the last byte filled with ones, then `trailing` bytes.
std::string Container(const CodeTable& table, const Tokens& tokens, const std::string& trailing = "") {
  BitWriter w;
  WriteCodeTable(w, table);
  w.Pad(1);
  w.U32(static_cast<uint32_t>(tokens.size()));
  for (uint8_t b : tokens) w.Bits(table.at(b).bits, table.at(b).length);
  w.Pad(1);
  return std::string(w.Bytes().begin(), w.Bytes().end()) + trailing;
}

// ---------------------------------------------------------------------------
// This file's decoder: a bit-by-bit walk, then the tokens one by one.

class BitReader {
 public:
  explicit BitReader(const std::string& bytes) : bytes_(bytes) {}
  std::optional<uint32_t> Bits(int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i, ++at_) {
      if (at_ >= bytes_.size() * 8) return std::nullopt;
      value = value << 1 | ((static_cast<uint8_t>(bytes_[at_ / 8]) >> (7 - at_ % 8)) & 1u);
    }
    return value;
  }
  void SkipToByte() { at_ = (at_ + 7) / 8 * 8; }
  size_t At() const { return at_; }

 private:
  const std::string& bytes_;
  size_t at_ = 0;
};

struct ModelPayload {
  CodeTable table;
  size_t table_bits = 0;
  Tokens tokens;
  std::string output;
  std::string fault;  // empty when the payload is valid
};

ModelPayload ModelDecode(const std::string& container) {
  ModelPayload p;
  auto fail = [&p](const char* fault) {
    p.fault = fault;
    return p;
  };
  BitReader in(container);
  for (int s = 0; s < 256; ++s) {
    auto present = in.Bits(1);
    if (!present) return fail("table cut short");
    if (!*present) continue;
    auto field = in.Bits(4);
    const int length = field ? (*field == 0 ? 16 : static_cast<int>(*field)) : 0;
    auto code = field ? in.Bits(length) : std::nullopt;
    if (!code) return fail("table cut short");
    p.table[s] = {length, *code};
  }
  p.table_bits = in.At();
  if (p.table.size() < 2) return fail("fewer than 2 symbols");
  std::map<std::pair<int, uint32_t>, int> symbols;
  for (const auto& [s, code] : p.table) symbols.emplace(std::pair(code.length, code.bits), s);
  in.SkipToByte();
  uint32_t count = 0;
  for (int i = 0; i < 4; ++i) {
    auto byte = in.Bits(8);
    if (!byte) return fail("token count cut short");
    count |= *byte << (8 * i);
  }
  if (count == 0) return fail("no tokens");
  for (uint32_t n = 0; n < count; ++n) {
    uint32_t code = 0;
    for (int length = 1;; ++length) {
      auto bit = in.Bits(1);
      if (!bit) return fail("data cut short");
      code = code << 1 | *bit;
      if (auto it = symbols.find({length, code}); it != symbols.end()) {
        p.tokens.push_back(static_cast<uint8_t>(it->second));
        break;
      }
      if (length == 16) return fail("bits that match no code");
    }
  }
  std::string& out = p.output;
  for (size_t at = 0; at < p.tokens.size();) {
    const uint8_t b = p.tokens[at++];
    if (b & 0x80) {
      const size_t n = (b & 0x7Fu) + 1;
      if (n > p.tokens.size() - at) return fail("literal run past the end");
      if (out.size() + n > kMaxOutput) return fail("output too long");
      out.append(p.tokens.begin() + static_cast<ptrdiff_t>(at), p.tokens.begin() + static_cast<ptrdiff_t>(at + n));
      at += n;
      continue;
    }
    if (at == p.tokens.size()) return fail("back-reference past the end");
    const size_t length = ((b >> 4) & 7u) + 3;
    const size_t distance = (b & 0x0Fu) * 256 + p.tokens[at++];
    if (distance == 0 || distance > out.size()) return fail("bad distance");
    if (out.size() + length > kMaxOutput) return fail("output too long");
    for (size_t i = 0; i < length; ++i) out.push_back(out[out.size() - distance]);
  }
  return p;
}

// What keeps a valid table from being one the decoder must accept.
std::string TableFault(const CodeTable& table) {
  if (table.size() < 2 || table.size() > 256) return "holds " + std::to_string(table.size()) + " symbols";
  for (const auto& [a, ca] : table) {
    if (ca.length < 1 || ca.length > 16) return "symbol " + std::to_string(a) + " has a code of bad length";
    for (const auto& [b, cb] : table)
      if (a != b && ca.length <= cb.length && cb.bits >> (cb.length - ca.length) == ca.bits)
        return "the code of " + std::to_string(a) + " begins the code of " + std::to_string(b);
  }
  return "";
}

// ---------------------------------------------------------------------------
// Inputs

std::string RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 rng(seed);
  std::string bytes(size, '\0');
  for (auto& c : bytes) c = static_cast<char>(rng());
  return bytes;
}

std::string Text(size_t size) {
  static const char* const words[] = {"slownik ", "update ", "the ", "file ", "payload\r\n", "of ", "a ", "line\r\n"};
  std::mt19937 rng(7);
  std::string text;
  while (text.size() < size) text += words[rng() % 8];
  return text.substr(0, size);
}

std::string Runs(size_t size) {
  std::mt19937 rng(11);
  std::string bytes;
  while (bytes.size() < size) bytes.append(1 + rng() % 300, static_cast<char>(rng() % 4 == 0 ? 0 : rng()));
  return bytes.substr(0, size);
}

std::string Mixed(size_t size) {
  std::string bytes;
  for (uint32_t part = 0; bytes.size() < size; ++part)
    bytes += part % 3 == 0 ? Text(20000 + part * 7) : part % 3 == 1 ? Runs(15000) : RandomBytes(9000, part);
  return bytes.substr(0, size);
}

std::string ByteString(std::initializer_list<int> values) { return std::string(values.begin(), values.end()); }

// ---------------------------------------------------------------------------
// patchtool decode

struct DecodeRun {
  ToolResult result;
  std::string output;  // the OUTPUT file, when the tool left one
  bool has_output = false;
  bool has_partial = false;
};

// Runs `patchtool decode` on `container`; OUTPUT holds `earlier` before the
// run, or does not exist when that is not given.
DecodeRun Decode(const TempDir& dir, const std::string& container, const std::string* earlier = nullptr) {
  dir.Write("payload", container);
  std::filesystem::remove(dir.File("out"));
  if (earlier) dir.Write("out", *earlier);
  DecodeRun run;
  run.result = RunPatchtool({"decode", dir.File("payload"), dir.File("out")}, dir);
  run.has_output = dir.Exists("out");
  if (run.has_output) run.output = dir.Read("out");
  run.has_partial = dir.Exists("out.partial");
  return run;
}

TEST(PatchtoolDecode, TokenFormsThroughTableShapes) {
  const std::string lit128 = RandomBytes(128, 1);
  std::string lit4096 = RandomBytes(4096, 2);  // 64 byte values, so the table can be shaped
  for (auto& c : lit4096) c = static_cast<char>(0x40 | (c & 0x3F));
  const struct {
    const char* why;
    Tokens tokens;
    std::string expected;
  } cases[] = {
      {"a literal run of 1 byte (0x80)", Literal("x"), "x"},
      {"a literal run of 128 bytes (0xFF)", Literal(lit128), lit128},
      {"0x00 0x01 repeats the last byte three times", Literal("x") + Ref(1, 3), "xxxx"},
      {"distance 2, length 7: copied a byte at a time", Literal("AB") + Ref(2, 7), "ABABABABA"},
      {"distance 3, length 10, then a literal", Literal("abc") + Ref(3, 10) + Literal("Z"), "abcabcabcabcaZ"},
      {"0x7F 0xFF: 10 bytes from 4095 back", Literal(lit4096) + Ref(4095, 10), lit4096 + lit4096.substr(1, 10)},
  };
  const struct {
    const char* why;
    int end_bit;
    std::string trailing;
  } shapes[] = {
      {"table ends on a byte boundary", 0, ""},
      {"table ends 1 bit into a byte: 7 padding bits of 1; bytes after the data", 1, std::string("\xFF\x00\x5A", 3)},
      {"table ends 4 bits into a byte", 4, ""},
  };
  TempDir dir;
  for (const auto& shape : shapes) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(shape.why) + "; " + c.why);
      const CodeTable table = ScrambledTable(c.tokens, shape.end_bit);
      ASSERT_EQ(TableBits(table) % 8, static_cast<size_t>(shape.end_bit));
      ASSERT_TRUE(std::any_of(table.begin(), table.end(), [](const auto& e) { return e.second.length == 16; }));
      const DecodeRun run = Decode(dir, Container(table, c.tokens, shape.trailing));
      EXPECT_EQ(run.result.status, 0) << run.result.err;
      EXPECT_TRUE(run.output == c.expected) << run.output.size() << " bytes, expected " << c.expected.size();
      EXPECT_FALSE(run.has_partial);
    }
  }
}

TEST(PatchtoolDecode, CodesAreMatchedByLengthAndValueAsStored) {
  // Every code but the last has the value 1, at lengths 1 to 4; the order by
  // symbol is neither the order by length nor by value.
  const CodeTable table = {
      {0x80, {1, 0b1}}, {'a', {2, 0b01}}, {'b', {3, 0b001}}, {0x00, {4, 0b0001}}, {0x01, {4, 0b0000}}};
  ASSERT_EQ(TableFault(table), "");
  TempDir dir;
  const DecodeRun run = Decode(dir, Container(table, Literal("a") + Literal("b") + Ref(1, 3)));
  EXPECT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(run.output, "abbbb");
}

TEST(PatchtoolDecode, LongStreamFromAGreedyParse) {
  const std::string input = Mixed(300 * 1024);
  const Tokens tokens = GreedyTokens(input);
  const std::string container = Container(ScrambledTable(tokens, -1), tokens);
  ASSERT_EQ(ModelDecode(container).output, input);  // the fixture itself is sound
  TempDir dir;
  const DecodeRun run = Decode(dir, container);
  EXPECT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_TRUE(run.output == input) << run.output.size() << " bytes, expected " << input.size();
}

TEST(PatchtoolDecode, OutputOfExactlyTheBufferSize) {
  TempDir dir;
  const Tokens tokens = RunOfA(kMaxOutput);
  const DecodeRun run = Decode(dir, Container(ScrambledTable(tokens, 0), tokens));
  EXPECT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_TRUE(run.output == std::string(kMaxOutput, 'a')) << run.output.size() << " bytes";
}

struct Malformed {
  const char* why;
  std::string container;
  const char* reason;  // a word of the message the tool gives
};

// Containers the decoder must refuse.
std::vector<Malformed> MalformedContainers() {
  auto lz = [](const Tokens& tokens) { return Container(ScrambledTable(tokens, 0), tokens); };
  const Tokens valid_tokens = Literal("abc") + Ref(3, 10) + Literal(Text(600));
  const std::string valid = lz(valid_tokens);
  const size_t table_bytes = (TableBits(ScrambledTable(valid_tokens, 0)) + 7) / 8;

  BitWriter one_symbol;  // only 0x80, whose code "0" would give a 1-byte literal run
  WriteCodeTable(one_symbol, {{0x80, {1, 0}}});
  one_symbol.U32(2);
  one_symbol.Bits(0, 2);

  BitWriter no_tokens;
  WriteCodeTable(no_tokens, {{0x80, {1, 0}}, {'x', {1, 1}}});
  no_tokens.U32(0);
  no_tokens.Byte(0x7F);  // a code's worth of data that must not be read

  BitWriter unmatched;  // 0x80 is "0", 'x' is "10": "11" begins no code
  WriteCodeTable(unmatched, {{0x80, {1, 0}}, {'x', {2, 0b10}}});
  unmatched.U32(2);
  unmatched.Bits(0b011, 3);

  BitWriter unmatched_at_16;  // codes 0, 10, 110, ..., 1111111111111110: only 16 ones match nothing
  CodeTable ladder;
  for (int length = 1; length <= 15; ++length) ladder[0x80 + length] = {length, (1u << length) - 2};
  ladder[0x80] = {16, 0xFFFE};
  WriteCodeTable(unmatched_at_16, ladder);
  unmatched_at_16.U32(1);
  unmatched_at_16.Bits(0xFFFF, 16);
  unmatched_at_16.Byte(0xFF);

  auto bytes = [](const BitWriter& w) { return std::string(w.Bytes().begin(), w.Bytes().end()); };
  return {
      {"an empty file", "", "code table"},
      {"one symbol present", bytes(one_symbol), "fewer than 2"},
      {"cut inside the code table", valid.substr(0, table_bytes / 2), "code table"},
      {"cut after the code table", valid.substr(0, table_bytes), "token count"},
      {"cut inside the token count", valid.substr(0, table_bytes + 2), "token count"},
      {"token count 0", bytes(no_tokens), "token count is 0"},
      {"cut after the token count", valid.substr(0, table_bytes + 4), "data"},
      {"cut inside the data", valid.substr(0, valid.size() - 2), "data"},
      {"bits that begin no code", bytes(unmatched), "no code"},
      {"16 bits that match no code", bytes(unmatched_at_16), "no code"},
      {"distance 0", lz(Literal("x") + Ref(0, 3)), "distance 0"},
      {"reference before position 0", lz(Literal("xy") + Ref(3, 3)), "before the start"},
      {"a back-reference as the first token", lz(Ref(1, 3) + Literal("x")), "before the start"},
      {"a literal run past the end of the tokens", lz(Tokens{0x85, 'a', 'b'}), "past the end"},
      {"a back-reference without its second byte", lz(Literal("x") + Tokens{0x00}), "past the end"},
      {"output of one byte over 2 MiB", lz(RunOfA(kMaxOutput + 1)), "2,097,152"},
  };
}

TEST(PatchtoolDecode, MalformedPayloadsFailAndLeaveNoOutput) {
  TempDir dir;
  for (const auto& [why, container, reason] : MalformedContainers()) {
    SCOPED_TRACE(why);
    ASSERT_NE(ModelDecode(container).fault, "");
    const DecodeRun run = Decode(dir, container);
    EXPECT_NE(run.result.status, 0);
    EXPECT_NE(run.result.err.find(dir.File("payload")), std::string::npos) << run.result.err;
    EXPECT_NE(run.result.err.find(reason), std::string::npos) << run.result.err;
    EXPECT_EQ(run.result.out, "");
    EXPECT_FALSE(run.has_output);
    EXPECT_FALSE(run.has_partial);
  }
}

TEST(PatchtoolDecode, AFailedDecodeLeavesAnEarlierOutputAsItWas) {
  TempDir dir;
  for (const auto& [why, container, reason] : MalformedContainers()) {
    SCOPED_TRACE(why);
    const std::string earlier = "from an earlier run";
    const DecodeRun run = Decode(dir, container, &earlier);
    EXPECT_NE(run.result.status, 0);
    EXPECT_EQ(run.output, "from an earlier run");
    EXPECT_FALSE(run.has_partial);
  }
}

// ---------------------------------------------------------------------------
// patchtool encode

TEST(PatchtoolEncode, PayloadsDecodeBackWithinTheFormatsLimits) {
  const std::string mixed = Mixed(400 * 1024);
  const struct {
    const char* why;
    std::string input;
  } cases[] = {
      {"text", Text(50000)},
      {"binary with runs", Runs(80000)},
      {"one repeated byte", std::string(70000, 'z')},
      {"1 byte", "A"},
      {"1 byte 0x80: its token stream holds one symbol value", ByteString({0x80})},
      {"2 bytes 0x00", ByteString({0, 0})},
      {"random bytes: every symbol in use", RandomBytes(60000, 3)},
      {"a few hundred KiB of mixed data", mixed},
      {"the largest payload, 2 MiB", Mixed(kMaxOutput)},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    dir.Write("in", c.input);
    const ToolResult r = RunPatchtool({"encode", dir.File("in"), dir.File("payload")}, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string container = dir.Read("payload");
    EXPECT_EQ(r.out, dir.File("payload") + ": " + std::to_string(c.input.size()) + " bytes from offset 0 -> " +
                         std::to_string(container.size()) + " bytes\n");
    const ModelPayload p = ModelDecode(container);
    EXPECT_EQ(p.fault, "");
    EXPECT_EQ(TableFault(p.table), "");
    EXPECT_TRUE(p.output == c.input) << p.output.size() << " bytes, expected " << c.input.size();
  }
}

TEST(PatchtoolEncode, AByteRangeOfTheInput) {
  const std::string input = Mixed(100000);
  TempDir dir;
  dir.Write("in", input);
  const ToolResult r =
      RunPatchtool({"encode", dir.File("in"), dir.File("payload"), "--offset", "1000", "--length", "70000"}, dir);
  ASSERT_EQ(r.status, 0) << r.err;
  const ModelPayload p = ModelDecode(dir.Read("payload"));
  EXPECT_EQ(p.fault, "");
  EXPECT_TRUE(p.output == input.substr(1000, 70000)) << p.output.size() << " bytes";
}

}  // namespace
}  // namespace upd::testing
