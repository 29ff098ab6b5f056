// The value scrambler: variant choice, the round trip over every product, mode
// and flag, and decoding of text that no encoder produced.

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>

#include "install/kod.h"
#include "install/kod_keys.h"

namespace upd {
namespace {

using Variant = TKod::Variant;

std::string Hex(const std::string& s) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

TEST(KodVariant, FollowsProductModeAndFlag) {
  struct Case {
    int32_t appId, mode;
    bool flag;
    Variant want;
  } cases[] = {
      {0, 5, false, Variant::Unchanged},         // product below the range
      {14, 5, false, Variant::Unchanged},        // product above the range
      {-1, 5, false, Variant::Unchanged},        // the legacy product line is not scrambled
      {INT32_MIN, 5, true, Variant::Unchanged},  // far outside, no wrap-around
      {4, 0, false, Variant::Unchanged},         // mode below the range
      {4, 7, true, Variant::Unchanged},          // mode above the range
      {1, 5, false, Variant::Additive},          // AppId 1..3: additive whatever the flag
      {3, 1, true, Variant::Additive},
      {3, 6, true, Variant::Additive},
      {4, 5, false, Variant::Chain},  // this build's product, old format
      {4, 5, true, Variant::Chain3},  // ... and with ForceNewReg
      {11, 6, false, Variant::Chain},
      {11, 1, true, Variant::Chain3},
      {12, 5, false, Variant::Chain3},  // AppId 12, 13: registry mode is always three-class
      {13, 5, false, Variant::Chain3},
      {12, 6, false, Variant::Chain},  // ... but the caption mode is not
      {13, 4, false, Variant::Chain},
      {13, 6, true, Variant::Chain3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TKod::VariantFor(c.appId, c.mode, c.flag), c.want)
        << "AppId " << c.appId << " mode " << c.mode << " flag " << c.flag;
}

// Decode(Encode(S)) = S for texts of bytes 1..255 of many lengths, for every
// product, mode and flag; and the scrambled text never holds a zero byte, so it
// can be stored as a registry string.
TEST(KodRoundTrip, EveryProductModeAndFlag) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> byte(1, 255);
  std::vector<std::string> texts;
  for (int c = 1; c <= 255; ++c) texts.push_back(std::string(1, static_cast<char>(c)));  // every one-byte text
  for (size_t length = 2; length <= 64; ++length)
    for (int n = 0; n < 4; ++n) {
      std::string s;
      for (size_t i = 0; i < length; ++i) s += static_cast<char>(byte(random));
      texts.push_back(s);
    }
  std::string all;  // every byte value in every key column
  for (int round = 0; round < 10; ++round)
    for (int c = 1; c <= 255; ++c) all += static_cast<char>(c);
  texts.push_back(all);
  texts.push_back(std::string(300, '#'));  // nothing but class-1 markers
  texts.push_back("C:\\Program Files (x86)\\Varsko\\\xA3\xF3" "d\x9F");

  const TKod& kod = Kod();
  for (int32_t app = 1; app <= 13; ++app)
    for (int32_t mode = 1; mode <= 6; ++mode)
      for (bool flag : {false, true})
        for (const std::string& s : texts) {
          std::string enc = kod.Encode(s, app, mode, flag);
          ASSERT_EQ(kod.Decode(enc, app, mode, flag), s)
              << "AppId " << app << " mode " << mode << " flag " << flag << " text " << Hex(s);
          ASSERT_EQ(enc.find('\0'), std::string::npos) << "AppId " << app << " mode " << mode << " text " << Hex(s);
        }
}

TEST(KodRoundTrip, EmptyAndOutOfRangeComeBackUnchanged) {
  const TKod& kod = Kod();
  for (int32_t app : {-1, 0, 1, 4, 12, 13, 14})
    for (int32_t mode : {0, 1, 5, 6, 7})
      for (bool flag : {false, true}) {
        EXPECT_EQ(kod.Encode("", app, mode, flag), "");
        EXPECT_EQ(kod.Decode("", app, mode, flag), "");
      }
  const std::string text = "Katalog\x01\xFF";
  struct Case {
    int32_t app, mode;
  } outside[] = {{0, 5}, {14, 5}, {-1, 5}, {INT32_MAX, 5}, {4, 0}, {4, 7}, {4, INT32_MIN}};
  for (const Case& c : outside)
    for (bool flag : {false, true}) {
      EXPECT_EQ(kod.Encode(text, c.app, c.mode, flag), text) << c.app << "/" << c.mode;
      EXPECT_EQ(kod.Decode(text, c.app, c.mode, flag), text) << c.app << "/" << c.mode;
    }
}

TEST(KodAdditive, KeepsLengthAndPassesBytesBelow30) {
  std::string text;
  for (int c = 1; c < 30; ++c) {
    text += static_cast<char>(c);
    text += static_cast<char>(200 + c);  // interleaved with bytes that are keyed
  }
  for (int32_t app = 1; app <= 3; ++app)
    for (int32_t mode = 1; mode <= 6; ++mode) {
      std::string enc = Kod().Encode(text, app, mode, false);
      ASSERT_EQ(enc.size(), text.size());
      for (size_t i = 0; i < text.size(); ++i) {
        unsigned char in = text[i], out = enc[i];
        if (in < 30)
          EXPECT_EQ(out, in) << "position " << i;
        else
          EXPECT_GE(out, 30) << "position " << i;  // the wrap skips 0..29
      }
    }
}

TEST(KodAdditive, WrapsWithinThirtyTo255) {
  // AppId 1, mode 5, a one-byte text: Off = 1, position 1, key column 2.
  const unsigned k = kod::AdditiveKeys[0][4][2];
  const unsigned char top = 255, low = 30;
  EXPECT_EQ(static_cast<unsigned char>(Kod().Encode(std::string(1, top), 1, 5, false)[0]), 255 + k - 256 + 30);
  EXPECT_EQ(static_cast<unsigned char>(Kod().Encode(std::string(1, low), 1, 5, false)[0]), 30 + k);
}

TEST(KodFlag, ChangesOnlyWhereTheVariantDiffers) {
  const std::string name = "Katalog";
  const TKod& kod = Kod();
  for (int32_t app = 1; app <= 3; ++app)
    for (int32_t mode = 1; mode <= 6; ++mode)
      EXPECT_EQ(kod.Encode(name, app, mode, false), kod.Encode(name, app, mode, true)) << app << "/" << mode;
  for (int32_t app : {12, 13}) {
    EXPECT_EQ(kod.Encode(name, app, 5, false), kod.Encode(name, app, 5, true)) << app;
    EXPECT_NE(kod.Encode(name, app, 6, false), kod.Encode(name, app, 6, true)) << app;
  }
}

TEST(KodChain, OneByteTextsGiveTwoOrThreeBytesAndTheChainByteAloneGivesNothing) {
  std::set<size_t> lengths;
  for (int32_t app = 4; app <= 13; ++app)
    for (int32_t mode = 1; mode <= 6; ++mode)
      for (bool flag : {false, true})
        for (int c = 1; c <= 255; ++c)
          lengths.insert(Kod().Encode(std::string(1, static_cast<char>(c)), app, mode, flag).size());
  EXPECT_EQ(lengths, (std::set<size_t>{2, 3}));  // plain, or marker + escaped byte; then the chain byte
  for (bool flag : {false, true}) EXPECT_EQ(Kod().Decode("\x41", 4, 5, flag), "");
}

// Values that were written must stay readable: a change of the tables or of the
// algorithm breaks every value stored before it. These scrambled names were
// taken from this implementation when the tables were fixed.
TEST(KodChain, ScrambledNamesStayAsStored) {
  struct Case {
    int32_t app;
    bool flag;
    const char* text;
    const char* hex;
  } cases[] = {
      {1, false, "ForceNewReg", "A5B27ECDFADF60ADFA2AC6"},  // additive
      {4, false, "Katalog", "F423442D372339F09751"},             // one-class chain
      {4, true, "Katalog", "7D6423442D3723397D607B5651"},              // three-class chain
      {12, false, "ForceNewReg", "7D2F7B667D627D3F7B683B7B3F7B72327B517B5D5B"},        // three-class chain without the flag
  };
  for (const Case& c : cases) EXPECT_EQ(Hex(Kod().Encode(c.text, c.app, 5, c.flag)), c.hex) << c.app << " " << c.text;
}

// Text that no encoder produced still decodes into some bytes, and never reads
// beyond its end (the sanitizers watch this).
TEST(KodChain, DecodesAnyTextWithinItsBounds) {
  const uint8_t m1 = kod::EscapeClasses[0].marker, m3 = kod::EscapeClasses[2].marker;
  const uint8_t s1 = kod::EscapeClasses[0].shift;
  const uint8_t b = 0x50;
  // A marker in the last data position takes the chain byte as its escaped byte.
  std::string t = {static_cast<char>(m1), static_cast<char>(b)};
  std::string plain = Kod().Decode(t, 4, 5, false);
  ASSERT_EQ(plain.size(), 1u);
  EXPECT_EQ(static_cast<uint8_t>(plain[0]), static_cast<uint8_t>((b - s1) ^ kod::ChainKeys[3][4][1] ^ b));
  // A marker as the chain byte is just the chain byte.
  EXPECT_EQ(Kod().Decode(std::string("AB") + static_cast<char>(m3), 4, 5, true).size(), 2u);

  std::mt19937 random(99);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> marker(0, 2);
  for (int n = 0; n < 2000; ++n) {
    std::string s(1 + n % 40, '\0');
    for (char& c : s) c = static_cast<char>(n % 3 ? kod::EscapeClasses[marker(random)].marker : byte(random));
    for (bool flag : {false, true}) EXPECT_LE(Kod().Decode(s, 4, 5, flag).size(), s.size() - 1);
  }
}

}  // namespace
}  // namespace upd
