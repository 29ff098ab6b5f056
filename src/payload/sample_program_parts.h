#pragma once
// Parts of the sample program generator (payload/sample_product.cpp): the
// plan of its five releases, deterministic randomness, byte buffers, and the
// makers of its text, code and data, and resources. Internal to the generator.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "payload/sample_product.h"

namespace upd::sample_program {

// How the program grows: cumulative counts of the model's items per release
// (index 0 is release 1), the share of old functions each release edits, in
// tenths of a percent, and the share of texts, dialogs and forms it rewords,
// in per cent. Release 4 is the large one; release 5 a small fix.
struct Release {
  uint32_t functions;
  uint32_t strings;
  uint32_t wideStrings;
  uint32_t globals;
  uint32_t classes;
  uint32_t dialogs;
  uint32_t bitmaps;
  uint32_t editPerMille;
  uint32_t rewordPercent;
};
constexpr std::array<Release, kSampleProgramVersions> kReleases = {{
    {5935, 5200, 1500, 2600, 150, 14, 18, 0, 0},
    {6250, 5430, 1580, 2720, 158, 15, 19, 40, 8},
    {6280, 5460, 1590, 2730, 159, 15, 19, 15, 3},
    {6700, 5830, 1720, 2930, 172, 17, 22, 50, 10},
    {6701, 5832, 1720, 2930, 172, 17, 22, 2, 1},
}};

inline uint32_t AlignUp(uint32_t value, uint32_t alignment) { return (value + alignment - 1) / alignment * alignment; }

// The release (1-based) that introduced item `id`, given cumulative counts.
template <class Count>
int IntroducedIn(uint32_t id, Count count) {
  for (int r = 0; r < kSampleProgramVersions; ++r)
    if (id < count(kReleases[r])) return r + 1;
  return kSampleProgramVersions + 1;
}

// ---------------------------------------------------------------------------
// Deterministic pseudo-random numbers (SplitMix64).

inline uint64_t Mix(uint64_t z) {
  z += 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

inline uint64_t Seed(uint64_t a, uint64_t b = 0, uint64_t c = 0) { return Mix(Mix(Mix(a) ^ b) ^ c); }

class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() { return Mix(state_++); }
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>(Next() % n); }
  int Between(int lo, int hi) { return lo + static_cast<int>(Below(static_cast<uint32_t>(hi - lo + 1))); }
  bool Percent(uint32_t p) { return Below(100) < p; }
  template <class T, size_t N>
  const T& Pick(const std::array<T, N>& items) { return items[Below(N)]; }

 private:
  uint64_t state_;
};

// ---------------------------------------------------------------------------
// Byte buffers.

struct Bytes {
  std::vector<uint8_t> b;
  uint32_t Size() const { return static_cast<uint32_t>(b.size()); }
  void U8(uint32_t v) { b.push_back(static_cast<uint8_t>(v)); }
  void U16(uint32_t v) { U8(v), U8(v >> 8); }
  void U32(uint32_t v) { U16(v), U16(v >> 16); }
  void Raw(const std::vector<uint8_t>& v) { b.insert(b.end(), v.begin(), v.end()); }
  void Ascii(std::string_view s) { b.insert(b.end(), s.begin(), s.end()); }
  void Zeros(uint32_t n) { b.insert(b.end(), n, 0); }
  void Align(uint32_t n, uint8_t fill = 0) {
    while (b.size() % n) b.push_back(fill);
  }
  void Put32(uint32_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }
  void Put16(uint32_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
  }
};
// ---------------------------------------------------------------------------
// Text (sample_program_text.cpp).

// The release, up to `release`, that last reworded item `id` of some kind.
int LastChange(uint64_t kind, uint32_t id, int release);
// A phrase of the interface in German or Polish, UTF-8.
std::string MakePhrase(Random& rng);
// A German or Polish word of the interface, UTF-8.
std::string_view PickWord(Random& rng);
// A class or property name of the program's user interface library.
std::string_view PickIdentifier(Random& rng);
// Text item `id` of a kind (0: 8-bit strings, 1: UTF-16 strings) as release
// `release` has it, UTF-8.
std::string MakeString(uint32_t id, uint64_t kind, int release);
std::vector<uint8_t> Cp1250(std::string_view utf8);
void Utf16(Bytes& out, std::string_view utf8);

// ---------------------------------------------------------------------------
// Code and data (sample_program_model.cpp).

constexpr uint32_t kImageBase = 0x00400000;

struct Fixup {
  uint32_t rva;  // where a 32-bit absolute address sits
};

// Addresses (RVAs) of the model's items, by id.
struct Layout {
  std::vector<uint32_t> function, string, wideString, global, import, classTable;
};

enum class RefKind : uint8_t { None, Function, String, WideString, Global, Import, Class };

// One instruction pattern with its operands; `target` names the item a call
// or an absolute address refers to.
struct Statement {
  uint8_t op;
  uint8_t r1, r2;
  int32_t imm;
  RefKind ref;
  uint32_t target;
};

enum Op : uint8_t {
  kLoadLocal, kStoreLocal, kMoveImm, kMoveReg, kLeaLocal, kCompareImm, kTest, kJcc, kCall, kCallImport,
  kPushImm, kPushString, kLoadGlobal, kStoreGlobal, kXorSelf, kAddImm, kLoadField, kStoreField, kIncDec,
  kPushPop, kJmpShort, kCallVirtual, kLoadByte, kShift, kCompareLocal, kOpCount
};

struct Function {
  uint32_t id;
  uint64_t order;  // position in the code section
  uint8_t prologue, epilogue;
  std::vector<Statement> body;
};

// Everything of one release except the resources and relocations.
struct Program {
  std::vector<Function> functions;                 // in the order of the code section
  std::vector<std::vector<uint8_t>> strings;      // code page 1250, zero-terminated
  std::vector<std::vector<uint8_t>> wideStrings;  // UTF-16, zero-terminated
  std::vector<std::vector<uint8_t>> globals;      // initialised data
  std::vector<std::vector<std::pair<uint32_t, uint32_t>>> globalPointers;  // per global: (offset, string id)
  std::vector<std::vector<uint32_t>> classMethods;  // per class: function ids of its method table
  std::vector<std::string> classNames;
};

Program MakeProgram(int release);

// Writes the code section. Without a layout every address is 0 and only the
// functions' addresses are learnt (into `functionRva`, by id); with one, the
// code is final and the absolute addresses are listed in `fixups`.
void WriteCode(const Program& program, Bytes& out, uint32_t sectionRva, const Layout* layout,
               std::vector<uint32_t>* functionRva, std::vector<Fixup>* fixups);

// Lookup tables of the kind every program carries.
void WriteConstantTables(Bytes& out);

// The import section at `rva`; answers the RVA of each imported function's
// address-table slot, and the address table's place and size.
std::vector<uint32_t> WriteImports(Bytes& out, uint32_t rva, uint32_t& iatRva, uint32_t& iatSize);
uint32_t ImportDescriptorsSize();

// ---------------------------------------------------------------------------
// Resources (sample_program_resources.cpp).

struct Resource {
  uint32_t type;
  uint32_t name;
  std::vector<uint8_t> data;
};

constexpr uint32_t kRtBitmap = 2;

std::vector<Resource> MakeResources(int release);
// A device-independent bitmap of 8 or 24 bits a pixel.
std::vector<uint8_t> MakeBitmap(uint64_t seed, int width, int height, int bits);
// The resource section at `rva`: directories, data entries, then the data.
std::vector<uint8_t> WriteResources(std::vector<Resource> resources, uint32_t rva);

}  // namespace upd::sample_program
