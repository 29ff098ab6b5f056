// CRC-32 two ways, with the same result for every input:
//
//  - Slicing-by-8 for every CPU: eight 256-entry tables, eight bytes per step.
//    The first table is the standard byte-wise table of the polynomial.
//  - Folding with carry-less multiplication (PCLMULQDQ) on x86 CPUs that have
//    it, checked at run time: 64 bytes per step in four 128-bit lanes, folded to
//    one lane, reduced to 32 bits by Barrett reduction. The method is Intel's
//    "Fast CRC Computation for Generic Polynomials Using PCLMULQDQ Instruction"
//    (Gopal et al., 2009), in its bit-reflected form; the constants are derived
//    below from the polynomial at compile time.
//
// Crc32Update folds the 16-byte-aligned bulk of long inputs when it can and
// finishes with the tables.

#include "engine/crc32.h"

#include <array>
#include <bit>
#include <cstring>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define UPD_CRC32_FOLDING 1
#include <immintrin.h>
#endif

namespace upd {
namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;  // reflected form of 0x04C11DB7

// ---- Tables ----

using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables MakeTables() {
  Tables t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t r = i;
    for (int bit = 0; bit < 8; ++bit) r = (r & 1) ? (r >> 1) ^ kPolynomial : r >> 1;
    t[0][i] = r;
  }
  // t[k][i]: the register after byte i followed by k zero bytes.
  for (int k = 1; k < 8; ++k)
    for (uint32_t i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
  return t;
}

constexpr Tables kTables = MakeTables();
static_assert(kTables[0][1] == 0x77073096u, "standard table, entry 1");
static_assert(kTables[0][255] == 0x2D02EF8Du, "standard table, entry 255");

// Advances the register (not inverted) over `size` bytes.
uint32_t TableRegister(uint32_t r, const unsigned char* p, size_t size) {
  while (size >= 8) {
    uint32_t lo, hi;
    std::memcpy(&lo, p, 4);
    std::memcpy(&hi, p + 4, 4);
    if constexpr (std::endian::native == std::endian::big) {
      lo = __builtin_bswap32(lo);
      hi = __builtin_bswap32(hi);
    }
    lo ^= r;
    r = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^ kTables[4][lo >> 24] ^
        kTables[3][hi & 0xFF] ^ kTables[2][(hi >> 8) & 0xFF] ^ kTables[1][(hi >> 16) & 0xFF] ^ kTables[0][hi >> 24];
    p += 8;
    size -= 8;
  }
  while (size-- > 0) r = kTables[0][(r ^ *p++) & 0xFF] ^ (r >> 8);
  return r;
}

#ifdef UPD_CRC32_FOLDING

// ---- Folding constants ----
//
// In the reflected domain a constant for "x^n mod P" is that remainder with its
// 32 bits reversed, shifted left by one. P(x) = 0x104C11DB7 in normal order.

constexpr uint64_t kP = 0x104C11DB7u;

constexpr uint64_t XPowModP(int n) {
  uint64_t r = 1;
  for (int i = 0; i < n; ++i) {
    r <<= 1;
    if (r >> 32) r ^= kP;
  }
  return r;
}

constexpr uint64_t Reflect(uint64_t v, int bits) {
  uint64_t r = 0;
  for (int i = 0; i < bits; ++i) r |= ((v >> i) & 1) << (bits - 1 - i);
  return r;
}

// floor(x^64 / P(x)), the Barrett constant.
constexpr uint64_t XPow64DivP() {
  uint64_t remainder = 0, quotient = 0;
  for (int bit = 64; bit >= 0; --bit) {
    remainder = (remainder << 1) | (bit == 64 ? 1 : 0);
    if (remainder >> 32) {
      remainder ^= kP;
      quotient |= uint64_t{1} << bit;
    }
  }
  return quotient;
}

constexpr uint64_t FoldConstant(int n) { return Reflect(XPowModP(n), 32) << 1; }

constexpr uint64_t kFold4Lo = FoldConstant(4 * 128 + 32);  // k1: folds a lane 512 bits ahead
constexpr uint64_t kFold4Hi = FoldConstant(4 * 128 - 32);  // k2
constexpr uint64_t kFold1Lo = FoldConstant(128 + 32);      // k3: folds a lane 128 bits ahead
constexpr uint64_t kFold1Hi = FoldConstant(128 - 32);      // k4
constexpr uint64_t kFold64 = FoldConstant(64);             // k5: 96 bits to 64
constexpr uint64_t kBarrettP = Reflect(kP, 33);
constexpr uint64_t kBarrettMu = Reflect(XPow64DivP(), 33);
// The values the paper lists for this polynomial.
static_assert(kFold4Lo == 0x154442BD4u && kFold4Hi == 0x1C6E41596u);
static_assert(kFold1Lo == 0x1751997D0u && kFold1Hi == 0x0CCAA009Eu);
static_assert(kFold64 == 0x163CD6124u && kBarrettP == 0x1DB710641u && kBarrettMu == 0x1F7011641u);

#define UPD_FOLDING_TARGET __attribute__((target("pclmul,sse4.1")))

// One fold: the lane times the constants (low half by the low constant, high
// half by the high one), added to the next 128 bits of data.
UPD_FOLDING_TARGET inline __m128i Fold(__m128i lane, __m128i constants, __m128i next) {
  __m128i lo = _mm_clmulepi64_si128(lane, constants, 0x00);
  __m128i hi = _mm_clmulepi64_si128(lane, constants, 0x11);
  return _mm_xor_si128(_mm_xor_si128(lo, hi), next);
}

UPD_FOLDING_TARGET inline __m128i Load(const unsigned char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Advances the register (not inverted) over `size` bytes; `size` is at least 64
// and a multiple of 16.
UPD_FOLDING_TARGET uint32_t FoldRegister(uint32_t r, const unsigned char* p, size_t size) {
  const __m128i fold4 = _mm_set_epi64x(static_cast<long long>(kFold4Hi), static_cast<long long>(kFold4Lo));
  const __m128i fold1 = _mm_set_epi64x(static_cast<long long>(kFold1Hi), static_cast<long long>(kFold1Lo));

  __m128i a = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(r)));
  __m128i b = Load(p + 16), c = Load(p + 32), d = Load(p + 48);
  p += 64;
  size -= 64;
  for (; size >= 64; p += 64, size -= 64) {
    a = Fold(a, fold4, Load(p));
    b = Fold(b, fold4, Load(p + 16));
    c = Fold(c, fold4, Load(p + 32));
    d = Fold(d, fold4, Load(p + 48));
  }
  __m128i x = Fold(Fold(Fold(a, fold1, b), fold1, c), fold1, d);
  for (; size >= 16; p += 16, size -= 16) x = Fold(x, fold1, Load(p));

  // 128 bits to 64: the low half times k4 added to the high half, then the
  // low 32 bits of that times k5 added to the rest.
  const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);
  x = _mm_xor_si128(_mm_srli_si128(x, 8), _mm_clmulepi64_si128(x, fold1, 0x10));
  x = _mm_xor_si128(_mm_srli_si128(x, 4),
                    _mm_clmulepi64_si128(_mm_and_si128(x, low32), _mm_set_epi64x(0, static_cast<long long>(kFold64)), 0x00));

  // Barrett reduction to 32 bits.
  const __m128i barrett = _mm_set_epi64x(static_cast<long long>(kBarrettMu), static_cast<long long>(kBarrettP));
  __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x, low32), barrett, 0x10);
  t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), barrett, 0x00);
  return static_cast<uint32_t>(_mm_extract_epi32(_mm_xor_si128(x, t), 1));
}

bool DetectFolding() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
}

#endif  // UPD_CRC32_FOLDING

// Below this many bytes the tables are as fast as setting up the lanes.
constexpr size_t kFoldingMinimum = 64;

constexpr size_t kBlockSize = 8192;

}  // namespace

bool Crc32FoldingAvailable() {
#ifdef UPD_CRC32_FOLDING
  static const bool available = DetectFolding();
  return available;
#else
  return false;
#endif
}

uint32_t Crc32UpdateTables(uint32_t crc, const void* data, size_t size) {
  return ~TableRegister(~crc, static_cast<const unsigned char*>(data), size);
}

uint32_t Crc32Update(uint32_t crc, const void* data, size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  uint32_t r = ~crc;
#ifdef UPD_CRC32_FOLDING
  if (size >= kFoldingMinimum && Crc32FoldingAvailable()) {
    size_t bulk = size & ~size_t{15};
    r = FoldRegister(r, p, bulk);
    p += bulk;
    size -= bulk;
  }
#endif
  return ~TableRegister(r, p, size);
}

std::optional<uint32_t> StreamCrc32(platform::InputFile& file) {
  auto size = file.Size();
  if (!size) return std::nullopt;
  std::array<unsigned char, kBlockSize> buffer;
  uint32_t crc = 0;
  while (file.Position() != *size) {
    auto got = file.Read(buffer.data(), buffer.size());
    // A read that yields nothing before the size is reached (the file shrank)
    // ends with failure instead of looping.
    if (!got || *got == 0) return std::nullopt;
    crc = Crc32Update(crc, buffer.data(), *got);
  }
  return crc;
}

std::optional<uint32_t> FileCrc32(const std::string& path) {
  auto file = platform::Files().OpenRead(path);
  if (!file) return std::nullopt;
  return StreamCrc32(*file);
}

}  // namespace upd
