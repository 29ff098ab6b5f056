#include "install/kod.h"

#include "install/kod_keys.h"
#include "util/pl_text.h"

namespace upd {
namespace {

using kod::EscapeClass;
using kod::EscapeClasses;

// Key rows are chosen by product and mode, both 1-based and range-checked by
// VariantFor before any variant runs.
const uint8_t* AdditiveRow(int32_t appId, int32_t mode) { return kod::AdditiveKeys[appId - 1][mode - 1]; }
const uint8_t* ChainRow(int32_t appId, int32_t mode) { return kod::ChainKeys[appId - 1][mode - 1]; }

// ---- Additive variant -------------------------------------------------------
// Position i (1-based) of a text of length L uses key column (L mod 10 + i) mod 10,
// so the same byte is keyed differently in texts of different lengths.

std::string EncodeAdditive(const std::string& s, const uint8_t* keys) {
  std::string out = s;
  const size_t off = s.size() % 10;
  for (size_t i = 1; i <= s.size(); ++i) {
    unsigned c = static_cast<unsigned char>(s[i - 1]);
    if (c < 30) continue;
    unsigned v = c + keys[(off + i) % 10];
    if (v > 255) v = v - 256 + 30;
    out[i - 1] = static_cast<char>(v);
  }
  return out;
}

std::string DecodeAdditive(const std::string& s, const uint8_t* keys) {
  std::string out = s;
  const size_t off = s.size() % 10;
  for (size_t i = 1; i <= s.size(); ++i) {
    int c = static_cast<unsigned char>(s[i - 1]);
    if (c < 30) continue;
    int v = c - keys[(off + i) % 10];
    if (v < 30) v = v - 30 + 256;
    out[i - 1] = static_cast<char>(v);
  }
  return out;
}

// ---- Chain variants ---------------------------------------------------------
// The chain byte b (10 XOR every byte of the text) is appended to the output
// and XORed into every byte together with the key of the byte's plain-text
// position. A byte that lands in an escape set is written as that class's
// marker followed by the byte plus the class's shift. The one-class variant
// uses the first class only, the three-class variant all three in order.

const EscapeClass* ClassOf(uint8_t c, int classCount) {
  for (int k = 0; k < classCount; ++k)
    if (EscapeClasses[k].Holds(c)) return &EscapeClasses[k];
  return nullptr;
}

std::string EncodeChain(const std::string& s, const uint8_t* keys, int classCount) {
  uint8_t b = 10;
  for (char c : s) b ^= static_cast<uint8_t>(c);
  // Only so that the stored chain byte is not a control byte; the shifted value
  // is not tested again.
  if (const EscapeClass* cls = ClassOf(b, classCount)) b = static_cast<uint8_t>(b + cls->shift);

  std::string out;
  out.reserve(2 * s.size() + 1);
  for (size_t k = 1; k <= s.size(); ++k) {
    uint8_t c = keys[k % 10] ^ b ^ static_cast<uint8_t>(s[k - 1]);
    if (const EscapeClass* cls = ClassOf(c, classCount)) {
      out.push_back(static_cast<char>(cls->marker));
      out.push_back(static_cast<char>(static_cast<uint8_t>(c + cls->shift)));
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  out.push_back(static_cast<char>(b));
  return out;
}

// Reads only t[0 .. t.size() - 1]: the last byte is the chain byte, and a
// marker in the last data position takes the chain byte as its escaped byte.
// The chain byte is not checked against the text; it only keys the bytes.
std::string DecodeChain(const std::string& t, const uint8_t* keys, int classCount) {
  const size_t n = t.size();
  const uint8_t b = static_cast<uint8_t>(t[n - 1]);
  std::string out;
  out.reserve(n - 1);
  size_t j = 1;  // plain-text position, which chooses the key column
  for (size_t i = 0; i + 1 < n; ++i, ++j) {
    uint8_t x = static_cast<uint8_t>(t[i]);
    for (int k = 0; k < classCount; ++k) {
      if (x == EscapeClasses[k].marker) {
        ++i;  // i <= n - 1 here: the escaped byte is at most the chain byte
        x = static_cast<uint8_t>(static_cast<uint8_t>(t[i]) - EscapeClasses[k].shift);
        break;
      }
    }
    out.push_back(static_cast<char>(x ^ keys[j % 10] ^ b));
  }
  return out;
}

std::string Apply(bool encode, const std::string& s, int32_t appId, int32_t mode, bool newRegFormat) {
  if (s.empty()) return s;
  try {
    switch (TKod::VariantFor(appId, mode, newRegFormat)) {
      case TKod::Variant::Unchanged:
        return s;
      case TKod::Variant::Additive:
        return encode ? EncodeAdditive(s, AdditiveRow(appId, mode)) : DecodeAdditive(s, AdditiveRow(appId, mode));
      case TKod::Variant::Chain:
        return encode ? EncodeChain(s, ChainRow(appId, mode), 1) : DecodeChain(s, ChainRow(appId, mode), 1);
      case TKod::Variant::Chain3:
        return encode ? EncodeChain(s, ChainRow(appId, mode), 3) : DecodeChain(s, ChainRow(appId, mode), 3);
    }
  } catch (const std::exception&) {
    // Out of memory is the only error a variant can meet; the caller gets its
    // text back rather than a failure.
  }
  return s;
}

}  // namespace

TKod::Variant TKod::VariantFor(int32_t appId, int32_t mode, bool newRegFormat) {
  if (!InRange64(appId, 1, 13) || !InRange64(mode, 1, 6)) return Variant::Unchanged;
  if (appId <= 3) return Variant::Additive;
  if (newRegFormat) return Variant::Chain3;
  if (appId >= 12 && mode == 5) return Variant::Chain3;
  return Variant::Chain;
}

std::string TKod::Encode(const std::string& s, int32_t appId, int32_t mode, bool newRegFormat) const {
  return Apply(true, s, appId, mode, newRegFormat);
}

std::string TKod::Decode(const std::string& s, int32_t appId, int32_t mode, bool newRegFormat) const {
  return Apply(false, s, appId, mode, newRegFormat);
}

const TKod& Kod() {
  static const TKod instance;
  return instance;
}

}  // namespace upd
